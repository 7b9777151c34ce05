// Writes the pictures of the program directory: pic/1.jpg (the main window's background),
// image/1.jpg and image/2.jpg (the member sketches). Usage: quoinry_draw_pictures APP_DIR
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "shell/pictures.h"

namespace {

bool Save(const QImage& image, const QString& file) {
    if (image.save(file, "JPG", 92))
        return true;
    std::fprintf(stderr, "quoinry_draw_pictures: cannot write %s\n", qPrintable(file));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quoinry_draw_pictures APP_DIR\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    const QDir app(QString::fromLocal8Bit(argv[1]));
    app.mkpath(QStringLiteral("pic"));
    app.mkpath(QStringLiteral("image"));
    using namespace quoinry::shell;
    const bool saved =
        Save(BackgroundPicture(QSize(1600, 1000)), app.filePath(QStringLiteral("pic/1.jpg"))) &&
        Save(HorizontalMemberSketch(QSize(560, 460)),
             app.filePath(QStringLiteral("image/1.jpg"))) &&
        Save(VerticalMemberSketch(QSize(560, 460)), app.filePath(QStringLiteral("image/2.jpg")));
    return saved ? 0 : 1;
}
