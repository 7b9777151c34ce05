#include "shell/section_picker.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <numbers>

#include "shell/key_state.h"

namespace quoinry::shell {
namespace {

constexpr int kCanvasMargin = 24;
constexpr int kPromptHeight = 28;

void AddLoop(QPainterPath& path, const profile::Loop& loop) {
    if (loop.empty())
        return;
    path.moveTo(loop.front().start.x, loop.front().start.y);
    for (const profile::Edge& edge : loop) {
        if (!edge.IsCurved()) {
            path.lineTo(edge.end.x, edge.end.y);
            continue;
        }
        const int steps =
            std::max(4, static_cast<int>(std::abs(edge.sweep) / (std::numbers::pi / 32)));
        for (int i = 1; i <= steps; ++i) {
            const profile::Point p = profile::PointOnEdge(edge, static_cast<double>(i) / steps);
            path.lineTo(p.x, p.y);
        }
    }
    path.closeSubpath();
}

bool Inside(const profile::Region& region, profile::Point p) {
    if (profile::WindingNumber(region.outer, p) == 0)
        return false;
    for (const profile::Loop& hole : region.holes) {
        if (profile::WindingNumber(hole, p) != 0)
            return false;
    }
    return true;
}

}  // namespace

std::optional<std::size_t> RegionAt(const std::vector<profile::Region>& regions, profile::Point p) {
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < regions.size(); ++i) {
        if (!Inside(regions[i], p))
            continue;
        if (!found || regions[i].area_mm2 < regions[*found].area_mm2)
            found = i;
    }
    return found;
}

std::optional<std::size_t> RegionAround(const std::vector<profile::Region>& regions,
                                        profile::Point p) {
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < regions.size(); ++i) {
        if (profile::WindingNumber(regions[i].outer, p) == 0)
            continue;
        const auto size = [&](std::size_t k) {
            const profile::Box& box = regions[k].box;
            return (box.max.x - box.min.x) * (box.max.y - box.min.y);
        };
        if (!found || size(i) < size(*found))
            found = i;
    }
    return found;
}

SectionPicker::SectionPicker(const profile::Drawing& drawing, std::vector<profile::Region> regions,
                             QWidget* parent)
    : QDialog(parent), regions_(std::move(regions)) {
    setObjectName(QStringLiteral("SectionPicker"));
    setWindowTitle(QStringLiteral("请选择要计算的面域"));
    setMouseTracking(true);
    resize(720, 560);
    all_loops_.setFillRule(Qt::OddEvenFill);
    for (const profile::Loop& loop : drawing.loops) {
        AddLoop(all_loops_, loop);
        extent_.Add(profile::LoopBox(loop));
    }
    for (const profile::Region& region : regions_) {
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        AddLoop(path, region.outer);
        for (const profile::Loop& hole : region.holes) AddLoop(path, hole);
        region_paths_.push_back(path);
    }
}

QTransform SectionPicker::DrawingToWidget() const {
    if (extent_.Empty())
        return {};
    const double width = std::max(extent_.max.x - extent_.min.x, 1e-9);
    const double height = std::max(extent_.max.y - extent_.min.y, 1e-9);
    const double area_width = this->width() - 2.0 * kCanvasMargin;
    const double area_height = this->height() - 2.0 * kCanvasMargin - kPromptHeight;
    const double scale = std::max(std::min(area_width / width, area_height / height), 1e-9);
    const double left = kCanvasMargin + (area_width - width * scale) / 2;
    const double top = kPromptHeight + kCanvasMargin + (area_height - height * scale) / 2;
    // Drawings have y upwards, the screen downwards.
    QTransform transform;
    transform.translate(left - extent_.min.x * scale, top + extent_.max.y * scale);
    transform.scale(scale, -scale);
    return transform;
}

profile::Point SectionPicker::ToDrawing(QPointF widget_point) const {
    const QPointF p = DrawingToWidget().inverted().map(widget_point);
    return {p.x(), p.y()};
}

QPointF SectionPicker::ToWidget(profile::Point drawing_point) const {
    return DrawingToWidget().map(QPointF(drawing_point.x, drawing_point.y));
}

void SectionPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    painter.setPen(prompt_.isEmpty() ? Qt::black : QColor(0xB0, 0, 0));
    painter.drawText(
        QRect(kCanvasMargin, 4, width() - 2 * kCanvasMargin, kPromptHeight),
        Qt::AlignVCenter | Qt::AlignLeft,
        prompt_.isEmpty() ? QStringLiteral("请选择要计算的面域  (Esc 或右键取消)") : prompt_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(DrawingToWidget());
    if (hovered_) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(120, 170, 230, 140));
        painter.drawPath(region_paths_[*hovered_]);
    }
    QPen pen(Qt::black);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(all_loops_);
}

void SectionPicker::mousePressEvent(QMouseEvent* event) {
    if (IsKeyDown(kVirtualKeyRightButton) || event->button() == Qt::RightButton) {
        reject();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    // A click in a hole of a hollow profile means the profile drawn around it; beside every
    // region the prompt says why nothing was picked, and asks again.
    const profile::Point at = ToDrawing(event->position());
    std::optional<std::size_t> region = RegionAt(regions_, at);
    if (!region)
        region = RegionAround(regions_, at);
    if (region) {
        picked_ = region;
        accept();
        return;
    }
    prompt_ = QStringLiteral("这里不在任何封闭的面域之内,请点在型材截面上  (Esc 或右键取消)");
    update();
}

void SectionPicker::mouseMoveEvent(QMouseEvent* event) {
    const auto region = RegionAt(regions_, ToDrawing(event->position()));
    if (region != hovered_) {
        hovered_ = region;
        setCursor(region ? Qt::PointingHandCursor : Qt::CrossCursor);
        update();
    }
}

void SectionPicker::keyPressEvent(QKeyEvent* event) {
    if (IsKeyDown(kVirtualKeyEscape) || event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace quoinry::shell
