#include "shell/picture_box.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>

#include "profile/wmf_reader.h"

namespace quoinry::shell {
namespace {

QColor ColorOf(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

void DrawPicture(QPainter& painter, const profile::Picture& picture, QSize size) {
    const profile::Box& window = picture.window;
    const double width = window.max.x - window.min.x;
    const double height = window.max.y - window.min.y;
    if (!(width > 0) || !(height > 0))
        return;
    const double scale = std::min(size.width() / width, size.height() / height);
    painter.translate((size.width() - width * scale) / 2, (size.height() - height * scale) / 2);
    painter.scale(scale, scale);
    painter.translate(-window.min.x, -window.min.y);
    for (const profile::PicturePath& path : picture.paths) {
        if (path.points.empty())
            continue;
        QPainterPath shape(QPointF(path.points[0].x, path.points[0].y));
        for (std::size_t i = 1; i < path.points.size(); ++i)
            shape.lineTo(path.points[i].x, path.points[i].y);
        if (path.closed)
            shape.closeSubpath();
        QPen pen(path.stroked ? ColorOf(path.pen_rgb) : Qt::transparent);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.setBrush(path.filled ? QBrush(ColorOf(path.fill_rgb)) : Qt::NoBrush);
        painter.drawPath(shape);
    }
    for (const profile::PictureText& text : picture.texts) {
        QFont font = painter.font();
        font.setPixelSize(std::max(1, static_cast<int>(text.height)));
        painter.setFont(font);
        painter.setPen(ColorOf(text.rgb));
        painter.drawText(QPointF(text.at.x, text.at.y), QString::fromStdString(text.text));
    }
}

}  // namespace

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
    DrawPicture(painter, reading.picture, size);
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
