// Writes the pictures of the program directory: pic/1.jpg (the main window's background),
// image/1.jpg and image/2.jpg (the member sketches); with ICON_DIR also the program's icon at the
// desktop's usual sizes, ICON_DIR/hicolor/NxN/apps/quoinry.png.
// Usage: quoinry_draw_pictures APP_DIR [ICON_DIR]
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "shell/pictures.h"

namespace {

bool Save(const QImage& image, const QString& file, const char* format = "JPG") {
    if (image.save(file, format, 92))
        return true;
    std::fprintf(stderr, "quoinry_draw_pictures: cannot write %s\n", qPrintable(file));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: quoinry_draw_pictures APP_DIR [ICON_DIR]\n");
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
    bool icons_saved = true;
    if (argc == 3) {
        const QDir icons(QString::fromLocal8Bit(argv[2]));
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QString folder = QStringLiteral("hicolor/%1x%1/apps").arg(size);
            icons.mkpath(folder);
            icons_saved = icons_saved && Save(ApplicationIcon(size),
                                              icons.filePath(folder + "/quoinry.png"), "PNG");
        }
    }
    return saved && icons_saved ? 0 : 1;
}
