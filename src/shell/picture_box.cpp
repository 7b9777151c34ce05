#include "shell/picture_box.h"

#include <QFile>
#include <QPainter>

#include "pdf/metafile_painter.h"
#include "profile/wmf_reader.h"

namespace quoinry::shell {

QLabel* NewPictureBox(QWidget* parent, const char* name, int width, int height) {
    auto* box = new QLabel(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setFixedSize(width, height);
    box->setFrameShape(QFrame::Panel);
    box->setFrameShadow(QFrame::Sunken);
    box->setAlignment(Qt::AlignCenter);
    box->setStyleSheet(QStringLiteral("background: white;"));
    return box;
}

QPixmap RenderMetafileBytes(std::string_view bytes, QSize size) {
    const profile::WmfReading reading = profile::ReadWmf(bytes);
    if (bytes.empty() || !reading.message.empty())
        return {};
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    pdf::DrawMetafile(painter, reading.picture, QRectF(QPointF(0, 0), QSizeF(size)), 1);
    return pixmap;
}

QPixmap RenderMetafile(const std::filesystem::path& file, QSize size) {
    QFile in(QString::fromStdString(file.string()));
    if (!in.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = in.readAll();
    return RenderMetafileBytes(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), size);
}

void LoadMetafile(QLabel* box, const std::filesystem::path& file) {
    const QSize inner = box->contentsRect().size();
    box->setPixmap(RenderMetafile(file, inner.isEmpty() ? box->size() : inner));
}

void LoadMetafileBytes(QLabel* box, std::string_view bytes) {
    const QSize inner = box->contentsRect().size();
    const QPixmap picture = RenderMetafileBytes(bytes, inner.isEmpty() ? box->size() : inner);
    if (picture.isNull())
        box->clear();
    else
        box->setPixmap(picture);
}

void LoadImage(QLabel* box, const std::filesystem::path& file) {
    QPixmap picture(QString::fromStdString(file.string()));
    if (picture.isNull()) {
        box->clear();
        return;
    }
    box->setPixmap(
        picture.scaled(box->contentsRect().size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

}  // namespace quoinry::shell
