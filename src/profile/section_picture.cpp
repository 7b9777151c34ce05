#include "profile/section_picture.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/numbers.h"
#include "profile/wmf_records.h"
#include "profile/wmf_writer.h"

namespace quoinry::profile {
namespace {

constexpr double kLargestSide = 8000;                   // logical units across the longer side
constexpr double kStepRadians = std::numbers::pi / 72;  // picture only: 2.5° per line

struct Mapping {
    Box window;
    double scale;  // logical units per mm

    WmfPoint operator()(Point p) const {
        const double x = std::nearbyint((p.x - window.min.x) * scale);
        const double y = std::nearbyint((window.max.y - p.y) * scale);
        return {static_cast<int16_t>(std::clamp(x, -32768.0, 32767.0)),
                static_cast<int16_t>(std::clamp(y, -32768.0, 32767.0))};
    }
};

std::vector<WmfPoint> Outline(const Loop& loop, const Mapping& map) {
    std::vector<WmfPoint> points;
    for (const Edge& edge : loop) {
        points.push_back(map(edge.start));
        if (!edge.IsCurved())
            continue;
        const int steps = static_cast<int>(std::ceil(std::abs(edge.sweep) / kStepRadians));
        for (int i = 1; i < steps; ++i) {
            points.push_back(map(PointOnEdge(edge, static_cast<double>(i) / steps)));
        }
    }
    return points;
}

}  // namespace

Box ExportWindow(const Box& section) {
    const double h = section.max.y - section.min.y;
    const double b = section.max.x - section.min.x;
    double side = RoundN(((h + 2 * kPictureMargin) * kPictureWidth / kPictureHeight - b) / 2, 2);
    double top = kPictureMargin;
    if (side < 0) {
        side = kPictureMargin;
        top = RoundN(((b + 2 * kPictureMargin) * kPictureHeight / kPictureWidth - h) / 2, 2);
    }
    return {section.min - Point{side, top}, section.max + Point{side, top}};
}

std::string SectionPictureWmf(const std::vector<Loop>& loops, const Box& window) {
    const double width = window.max.x - window.min.x;
    const double height = window.max.y - window.min.y;
    const Mapping map{window, kLargestSide / std::max({width, height, 1e-9})};
    const auto logical_width = static_cast<int16_t>(std::nearbyint(width * map.scale));
    const auto logical_height = static_cast<int16_t>(std::nearbyint(height * map.scale));
    // 96 dots per inch shows the picture 296 dots wide.
    const auto inch = static_cast<uint16_t>(
        std::clamp(std::nearbyint(logical_width * 96 / kPictureWidth), 1.0, 65535.0));
    WmfWriter wmf(logical_width, logical_height, inch);
    const uint16_t paper = wmf.CreateBrush(wmf::kBrushSolid, 0xFFFFFF);
    const uint16_t no_pen = wmf.CreatePen(wmf::kPenNull, 0);
    wmf.Select(paper);
    wmf.Select(no_pen);
    wmf.Rectangle(0, 0, static_cast<int16_t>(logical_width + 1),
                  static_cast<int16_t>(logical_height + 1));
    wmf.Select(wmf.CreatePen(wmf::kPenSolid, 0x000000));
    wmf.Select(wmf.CreateBrush(wmf::kBrushNull, 0));
    const double slack = 1e-9 * std::max(width, height);
    for (const Loop& loop : loops) {
        const Box box = LoopBox(loop);
        if (box.min.x < window.min.x - slack || box.min.y < window.min.y - slack ||
            box.max.x > window.max.x + slack || box.max.y > window.max.y + slack) {
            continue;
        }
        wmf.Polygon(Outline(loop, map));
    }
    return wmf.Finish();
}

}  // namespace quoinry::profile
