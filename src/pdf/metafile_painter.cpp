#include "pdf/metafile_painter.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace quoinry::pdf {
namespace {

QColor ColorOf(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

}  // namespace

void DrawMetafile(QPainter& painter, const profile::Picture& picture, const QRectF& target,
                  qreal pen_width) {
    const profile::Box& window = picture.window;
    const double width = window.max.x - window.min.x;
    const double height = window.max.y - window.min.y;
    if (!(width > 0) || !(height > 0) || target.isEmpty())
        return;
    painter.save();
    const double scale = std::min(target.width() / width, target.height() / height);
    painter.translate(target.left() + (target.width() - width * scale) / 2,
                      target.top() + (target.height() - height * scale) / 2);
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
        pen.setWidthF(pen_width);
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
    painter.restore();
}

}  // namespace quoinry::pdf
