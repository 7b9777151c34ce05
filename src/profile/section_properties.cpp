#include "profile/section_properties.h"

#include <cmath>
#include <vector>

#include "profile/moments.h"

namespace quoinry::profile {
namespace {

std::vector<Loop> LoopsOf(const Region& region) {
    std::vector<Loop> loops{region.outer};
    loops.insert(loops.end(), region.holes.begin(), region.holes.end());
    return loops;
}

Moments RegionMoments(const std::vector<Loop>& loops, Point reference) {
    Moments m;
    for (const Loop& loop : loops) m += LoopMoments(loop, reference);
    return m;
}

// The pieces along the axis close each side's boundary but add nothing to ∫dA or to the first
// moment about the axis, so a side is the sum over the edge pieces on that side.
void SplitMoments(const std::vector<Loop>& centred, int axis, Moments& negative,
                  Moments& positive) {
    for (const Loop& loop : centred) {
        for (const Edge& edge : loop) {
            for (const Edge& piece : SplitAtLine(edge, axis, 0)) {
                const Point mid = EdgeMidpoint(piece);
                const double side = axis == 0 ? mid.x : mid.y;
                if (side > 0)
                    positive += EdgeMoments(piece, {0, 0});
                if (side < 0)
                    negative += EdgeMoments(piece, {0, 0});
            }
        }
    }
}

SectionPart PartOf(const Moments& m, int axis) {
    const double first = axis == 0 ? m.qx : m.qy;
    if (m.area == 0)
        return {};
    return {m.area, std::abs(first / m.area)};
}

Point Normalised(Point v) {
    const double length = Length(v);
    Point unit = (1 / length) * v;
    if (unit.x < 0 || (unit.x == 0 && unit.y < 0))
        unit = -1 * unit;
    return unit;
}

void SetPrincipal(SectionProperties& s) {
    // Moment about an axis of direction d: dᵀ [[a, b], [b, c]] d.
    const double a = s.ixx_mm4;
    const double c = s.iyy_mm4;
    const double b = -s.ixy_mm4;
    const double mean = (a + c) / 2;
    const double radius = std::hypot((a - c) / 2, b);
    s.principal_mm4[0] = mean - radius;
    s.principal_mm4[1] = mean + radius;
    Point axis0{1, 0};
    if (b == 0) {
        if (a > c)
            axis0 = {0, 1};
    } else {
        const double low = s.principal_mm4[0];
        const Point v1{b, low - a};
        const Point v2{low - c, b};
        axis0 = Normalised(Length(v1) >= Length(v2) ? v1 : v2);
    }
    s.principal_axis[0] = axis0;
    s.principal_axis[1] = Normalised({-axis0.y, axis0.x});
    const bool swap = std::abs(std::nearbyint(axis0.y)) == 1;
    s.ix_mm4 = s.principal_mm4[swap ? 1 : 0];
    s.iy_mm4 = s.principal_mm4[swap ? 0 : 1];
}

}  // namespace

SectionProperties ComputeSection(const Region& region) {
    SectionProperties s;
    const std::vector<Loop> loops = LoopsOf(region);
    const Point middle = 0.5 * (region.box.min + region.box.max);
    const Moments rough = RegionMoments(loops, middle);
    s.area_mm2 = rough.area;
    s.centroid = middle + Point{rough.qx / rough.area, rough.qy / rough.area};

    std::vector<Loop> centred;
    for (const Loop& loop : loops) centred.push_back(Translated(loop, -1 * s.centroid));
    const Moments m = RegionMoments(centred, {0, 0});
    s.ixx_mm4 = m.yy;
    s.iyy_mm4 = m.xx;
    s.ixy_mm4 = m.xy;
    SetPrincipal(s);

    const Box box = LoopBox(centred.front());
    s.right_mm = std::abs(box.max.x);
    s.left_mm = std::abs(box.min.x);
    s.top_mm = std::abs(box.max.y);
    s.bottom_mm = std::abs(box.min.y);

    Moments below, above, left, right;
    SplitMoments(centred, 1, below, above);
    SplitMoments(centred, 0, left, right);
    s.above = PartOf(above, 1);
    s.below = PartOf(below, 1);
    s.left = PartOf(left, 0);
    s.right = PartOf(right, 0);
    return s;
}

}  // namespace quoinry::profile
