#include "profile/dxf_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <future>
#include <iterator>
#include <utility>

#include "common/file_bytes.h"
#include "profile/alongside.h"
#include "profile/duplicates.h"
#include "profile/dxf_entities.h"
#include "profile/dxf_placement.h"
#include "profile/dxf_units.h"
#include "profile/loop_chaining.h"
#include "profile/section_error.h"

namespace quoinry::profile {
namespace {

constexpr double kLargestCoordinate = 1e12;  // mm
// A coordinate's rounding step may be at most this part of the drawing's size.
constexpr double kFinestStep = 1e-10;
constexpr double kJoinFloor = 1e-3;    // mm
constexpr double kRelativeGap = 1e-6;  // of the drawing's size
// Chords cut inside a convex curve all along it, so the area they lose adds up to about 2/3 of
// the chord height times the curve's length: a tenth of the gap keeps that well below 1e-6 of
// the section.
constexpr double kRelativeChord = 1e-7;

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", value);
    return text;
}

Box ExtentOf(const PlacedGeometry& g) {
    Box extent = g.chain_extent;
    // A spline lies within its control points.
    for (const Spline& s : g.splines) {
        for (Point p : s.control) extent.Add(p);
    }
    return extent;
}

void CheckRange(const Box& extent) {
    const double far = std::max({std::abs(extent.min.x), std::abs(extent.min.y),
                                 std::abs(extent.max.x), std::abs(extent.max.y)});
    if (!(far <= kLargestCoordinate)) {
        throw SectionError("图形坐标超出范围(约" + Number(far) + "毫米,应在±" +
                           Number(kLargestCoordinate) + "毫米以内),请检查图形单位");
    }
    const double size = std::max(extent.max.x - extent.min.x, extent.max.y - extent.min.y);
    const double step = far * std::ldexp(1.0, -52);
    if (size > 0 && step > kFinestStep * size) {
        throw SectionError("图形离原点太远:坐标约" + Number(far) + "毫米处数值的精度约" +
                           Number(step) + "毫米,不足以表示" + Number(size) +
                           "毫米大小的图形,请把图形移近原点");
    }
}

void Shift(PlacedGeometry& g, Point by) {
    for (Chain& chain : g.chains) {
        for (Edge& edge : chain) MoveBy(edge, by);
    }
    for (Spline& s : g.splines) {
        for (Point& p : s.control) p = p + by;
    }
}

void AddSplines(PlacedGeometry& g, double chord, std::vector<std::string>& notes) {
    if (g.splines.empty())
        return;
    size_t edges = 0;
    for (const Chain& chain : g.chains) edges += chain.size();
    size_t budget = std::min(kMostSplinePoints, kMostEdges - std::min(kMostEdges, edges));
    for (const Spline& s : g.splines) {
        const std::vector<Point> points = FlattenSpline(s, chord, budget);
        Chain chain;
        for (size_t i = 1; i < points.size(); ++i) {
            if (points[i].x != points[i - 1].x || points[i].y != points[i - 1].y)
                chain.push_back({points[i - 1], points[i], 0});
        }
        if (!chain.empty())
            g.chains.push_back(std::move(chain));
    }
    notes.push_back("样条曲线已按折线近似计算(" + std::to_string(g.splines.size()) +
                    "条,弦高误差不超过" + Number(chord) + "毫米)");
}

// A lone straight line shorter than the gap that joining closes would vanish into one point.
void DropSpecks(std::vector<Chain>& chains, double gap) {
    std::erase_if(chains, [&](const Chain& c) {
        return c.size() == 1 && !c[0].IsCurved() && Length(c[0].end - c[0].start) <= gap;
    });
}

std::string NothingClosed(const DxfFile& file, const PlacedGeometry& g) {
    std::string message = "图形中没有封闭的轮廓";
    if (file.solids > 0)
        message += "(面域和三维实体无法读取,请在CAD中分解为多段线)";
    else if (g.construction > 0)
        message += "(非连续线型的线已作为辅助线忽略)";
    return message;
}

}  // namespace

Drawing ReadDxfText(std::string_view text) {
    DxfFile file = ParseDxf(text);
    const LengthUnit unit = UnitOfInsunits(static_cast<int>(std::clamp(file.insunits, -1L, 999L)));
    PlacedGeometry g = PlaceEntities(file, Scaling(unit.millimetres, unit.millimetres));
    Drawing drawing;
    if (!unit.name.empty())
        drawing.notes.push_back("图形单位为" + unit.name + ",已换算为毫米");
    if (g.construction > 0) {
        drawing.notes.push_back("已忽略" + std::to_string(g.construction) +
                                "条非连续线型的线(中心线、虚线等辅助线)");
    }
    const Box extent = ExtentOf(g);
    if (extent.Empty())
        throw SectionError(NothingClosed(file, g));
    CheckRange(extent);
    drawing.origin = 0.5 * (extent.min + extent.max);
    Shift(g, -1 * drawing.origin);
    const double size = std::max(extent.max.x - extent.min.x, extent.max.y - extent.min.y);
    const double gap = std::max(kRelativeGap * size, kJoinFloor);
    AddSplines(g, kRelativeChord * size, drawing.notes);
    DropSpecks(g.chains, gap);
    if (g.chains.empty())
        throw SectionError(NothingClosed(file, g));
    // Where the ends meet is found while repeated lines are looked for: most drawings have none,
    // and then it stands.
    std::future<std::vector<size_t>> end_nodes =
        Alongside(g.chains.size(),
                  [&chains = std::as_const(g.chains), gap] { return EndNodes(chains, gap); });
    const std::vector<bool> repeated = RepeatedChains(g.chains, gap);
    std::vector<size_t> nodes = end_nodes.get();
    if (const size_t removed = RemoveChains(g.chains, repeated)) {
        drawing.notes.push_back("有" + std::to_string(removed) + "处重复绘制的图线,已按一处计算");
        nodes = EndNodes(g.chains, gap);
    }
    drawing.loops = JoinChains(std::move(g.chains), nodes, drawing.origin);
    return drawing;
}

Drawing ReadDxfDrawing(std::istream& dxf) {
    const std::string text{std::istreambuf_iterator<char>(dxf), std::istreambuf_iterator<char>()};
    return ReadDxfText(text);
}

Drawing ReadDxfDrawing(const std::filesystem::path& path) {
    const std::optional<std::string> text = ReadFileBytes(path);
    if (!text)
        throw SectionError("无法打开图形文件 " + path.string());
    return ReadDxfText(*text);
}

}  // namespace quoinry::profile
