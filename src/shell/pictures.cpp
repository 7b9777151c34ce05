#include "shell/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quoinry::shell {
namespace {

const QColor kFrameColor(90, 100, 115);
const QColor kGlassColor(205, 228, 245);
const QColor kMemberColor(200, 60, 40);
const QColor kLoadColor(240, 170, 60, 120);

void DrawNewFile(QPainter& p) {
    p.setPen(QPen(QColor(40, 70, 120), 3));
    p.setBrush(Qt::white);
    QPainterPath page;
    page.moveTo(14, 6);
    page.lineTo(40, 6);
    page.lineTo(52, 18);
    page.lineTo(52, 58);
    page.lineTo(14, 58);
    page.closeSubpath();
    p.drawPath(page);
    p.drawLine(40, 6, 40, 18);
    p.drawLine(40, 18, 52, 18);
    p.setPen(QPen(QColor(30, 140, 60), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(33, 30, 33, 48);
    p.drawLine(24, 39, 42, 39);
}

void DrawProfiles(QPainter& p) {
    // A hollow aluminium section.
    QPainterPath section;
    section.setFillRule(Qt::OddEvenFill);
    section.addRoundedRect(10, 8, 44, 48, 4, 4);
    section.addRect(16, 14, 32, 16);
    section.addRect(16, 34, 32, 16);
    p.setPen(QPen(QColor(60, 60, 70), 2));
    p.setBrush(QColor(170, 180, 195));
    p.drawPath(section);
}

void DrawCircleSign(QPainter& p, const QColor& color, const QString& sign) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(6, 6, 52, 52);
    QFont font = p.font();
    font.setPixelSize(38);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(6, 6, 52, 52), Qt::AlignCenter, sign);
}

void DrawExit(QPainter& p) {
    p.setPen(QPen(QColor(90, 60, 40), 3));
    p.setBrush(QColor(190, 140, 90));
    p.drawRect(10, 6, 28, 52);
    p.setPen(QPen(QColor(190, 40, 30), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(30, 32, 56, 32);
    p.drawLine(46, 22, 56, 32);
    p.drawLine(46, 42, 56, 32);
}

void DrawLabel(QPainter& p, const QRectF& box, const QString& text, int pixels) {
    QFont font = p.font();
    font.setPixelSize(pixels);
    font.setItalic(true);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(box, Qt::AlignCenter, text);
}

// A dimension line from a to b with its text beside the middle.
void DrawDimension(QPainter& p, QPointF a, QPointF b, const QString& text, bool vertical) {
    p.setPen(QPen(Qt::black, 1.2));
    p.drawLine(a, b);
    const QPointF tick = vertical ? QPointF(6, 0) : QPointF(0, 6);
    p.drawLine(a - tick, a + tick);
    p.drawLine(b - tick, b + tick);
    const QPointF mid = (a + b) / 2;
    const QRectF box = vertical ? QRectF(mid.x() - 78, mid.y() - 18, 72, 36)
                                : QRectF(mid.x() - 60, mid.y() + 4, 120, 36);
    DrawLabel(p, box, text, 30);
}

void DrawPanel(QPainter& p, const QRectF& panel) {
    p.setPen(QPen(kFrameColor, 4));
    p.setBrush(kGlassColor);
    p.drawRect(panel);
}

QImage NewCanvas(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// A building: a block with rows of windows.
void DrawProject(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 70), 2));
    p.setBrush(QColor(215, 200, 170));
    p.drawRect(QRectF(14, 8, 36, 50));
    p.setBrush(QColor(120, 170, 220));
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 3; ++column)
            p.drawRect(QRectF(19 + column * 10, 13 + row * 11, 6, 7));
    }
}

}  // namespace

QIcon ToolbarIcon(int index) {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
        case 1:
            DrawNewFile(p);
            break;
        case 2:
            DrawProfiles(p);
            break;
        case 3:
            DrawCircleSign(p, QColor(40, 110, 190), QStringLiteral("i"));
            break;
        case 4:
            DrawCircleSign(p, QColor(30, 150, 90), QStringLiteral("?"));
            break;
        case 5:
            DrawExit(p);
            break;
        case 6:
            DrawProject(p);
            break;
        default:
            break;
    }
    return QIcon(pixmap);
}

QImage BackgroundPicture(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(52, 86, 128));
    sky.setColorAt(1, QColor(150, 182, 210));
    p.fillRect(image.rect(), sky);
    // A facade of windows, each with a mullion and a transom.
    const double w = size.width();
    const double h = size.height();
    const QRectF facade(w * 0.52, h * 0.12, w * 0.4, h * 0.82);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(225, 228, 232));
    p.drawRect(facade);
    const int columns = 4;
    const int rows = 6;
    const double cell_w = facade.width() / columns;
    const double cell_h = facade.height() / rows;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const QRectF window(facade.left() + column * cell_w + cell_w * 0.15,
                                facade.top() + row * cell_h + cell_h * 0.15, cell_w * 0.7,
                                cell_h * 0.7);
            p.setPen(QPen(kFrameColor, 3));
            p.setBrush(QColor(120 + 10 * column, 170, 215));
            p.drawRect(window);
            p.drawLine(QPointF(window.center().x(), window.top()),
                       QPointF(window.center().x(), window.bottom()));
            p.drawLine(QPointF(window.left(), window.top() + window.height() * 0.3),
                       QPointF(window.right(), window.top() + window.height() * 0.3));
        }
    }
    QFont font = p.font();
    // A Latin face for the name: the CJK face's synthetic bold is ragged.
    QFont name_font(QStringLiteral("DejaVu Sans"));
    name_font.setPixelSize(static_cast<int>(h * 0.09));
    name_font.setBold(true);
    p.setFont(name_font);
    p.setPen(Qt::white);
    p.drawText(QRectF(w * 0.06, h * 0.30, w * 0.44, h * 0.14), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Quoinry"));
    font.setPixelSize(static_cast<int>(h * 0.05));
    font.setBold(false);
    p.setFont(font);
    p.drawText(QRectF(w * 0.06, h * 0.45, w * 0.44, h * 0.1), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("铝合金门窗结构计算"));
    font.setPixelSize(static_cast<int>(h * 0.028));
    p.setFont(font);
    p.drawText(QRectF(w * 0.06, h * 0.56, w * 0.44, h * 0.08), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("风荷载 · 玻璃 · 受力杆件 · 计算书"));
    return image;
}

QImage VerticalMemberSketch(QSize size) {
    QImage image = NewCanvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();
    const double left = w * 0.24;
    const double top = h * 0.08;
    const double bottom = h * 0.78;
    const double middle = w * 0.52;
    const double right = w * 0.92;
    DrawPanel(p, QRectF(QPointF(left, top), QPointF(middle, bottom)));
    DrawPanel(p, QRectF(QPointF(middle, top), QPointF(right, bottom)));
    // The load carried by the vertical member: half of each unit beside it.
    p.setPen(Qt::NoPen);
    p.setBrush(kLoadColor);
    p.drawRect(QRectF(QPointF((left + middle) / 2, top), QPointF((middle + right) / 2, bottom)));
    p.setPen(QPen(kMemberColor, 9));
    p.drawLine(QPointF(middle, top), QPointF(middle, bottom));
    DrawDimension(p, {left, h * 0.86}, {middle, h * 0.86}, QStringLiteral("Wsk1"), false);
    DrawDimension(p, {middle, h * 0.86}, {right, h * 0.86}, QStringLiteral("Wsk2"), false);
    DrawDimension(p, {w * 0.18, top}, {w * 0.18, bottom}, QStringLiteral("Hsk"), true);
    return image;
}

QImage HorizontalMemberSketch(QSize size) {
    QImage image = NewCanvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();
    const double left = w * 0.28;
    const double right = w * 0.92;
    const double top = h * 0.06;
    const double middle = h * 0.38;
    const double bottom = h * 0.8;
    DrawPanel(p, QRectF(QPointF(left, top), QPointF(right, middle)));
    DrawPanel(p, QRectF(QPointF(left, middle), QPointF(right, bottom)));
    // The load carried by the horizontal member: half of each unit above and below it.
    p.setPen(Qt::NoPen);
    p.setBrush(kLoadColor);
    p.drawRect(QRectF(QPointF(left, (top + middle) / 2), QPointF(right, (middle + bottom) / 2)));
    p.setPen(QPen(kMemberColor, 9));
    p.drawLine(QPointF(left, middle), QPointF(right, middle));
    DrawDimension(p, {left, h * 0.88}, {right, h * 0.88}, QStringLiteral("Wsk"), false);
    DrawDimension(p, {w * 0.21, top}, {w * 0.21, middle}, QStringLiteral("Hsk1"), true);
    DrawDimension(p, {w * 0.21, middle}, {w * 0.21, bottom}, QStringLiteral("Hsk"), true);
    return image;
}

}  // namespace quoinry::shell
