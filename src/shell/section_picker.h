#pragma once

#include <QDialog>
#include <QPainterPath>
#include <QTransform>
#include <optional>
#include <vector>

#include "profile/dxf_drawing.h"
#include "profile/regions.h"

namespace quoinry::shell {

// Index of the region of `regions` that contains `p` (inside its outline, outside its holes);
// the smallest such region when islands nest. Nothing when p lies in no region.
std::optional<std::size_t> RegionAt(const std::vector<profile::Region>& regions, profile::Point p);

// Index of the smallest region whose outline surrounds `p`, also where `p` lies in one of its
// holes (a click inside a hollow profile's chamber); nothing beside every region.
std::optional<std::size_t> RegionAround(const std::vector<profile::Region>& regions,
                                        profile::Point p);

// Shows a drawing and lets the user click the region to measure, as a CAD program's
// "pick an object" prompt does. Esc or the right mouse button cancels; a click beside every
// region asks again.
class SectionPicker : public QDialog {
  public:
    SectionPicker(const profile::Drawing& drawing, std::vector<profile::Region> regions,
                  QWidget* parent = nullptr);

    std::optional<std::size_t> picked() const { return picked_; }
    // What the prompt says after a click that picked nothing; empty before.
    const QString& prompt() const { return prompt_; }
    // Drawing coordinates of a point of the dialog's canvas, and back.
    profile::Point ToDrawing(QPointF widget_point) const;
    QPointF ToWidget(profile::Point drawing_point) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QTransform DrawingToWidget() const;

    std::vector<profile::Region> regions_;
    std::vector<QPainterPath> region_paths_;  // drawing coordinates
    QPainterPath all_loops_;
    profile::Box extent_;
    std::optional<std::size_t> hovered_;
    std::optional<std::size_t> picked_;
    QString prompt_;
};

}  // namespace quoinry::shell
