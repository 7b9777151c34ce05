#include "profile/regions.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <future>
#include <numbers>
#include <optional>

#include "common/std_compat.h"
#include "profile/alongside.h"
#include "profile/crossings.h"
#include "profile/enclosing.h"
#include "profile/section_error.h"

namespace quoinry::profile {
namespace {

// Inside the segment between an elliptic arc and its chord: seen in the frame where the curve
// is the unit circle.
bool InsideEllipticSegment(const Edge& arc, Point p) {
    const Ellipse& e = *arc.ellipse;
    const double det = Cross(e.u, e.v);
    if (det == 0)
        return false;
    const Point d = p - e.centre;
    const Point q{Cross(d, e.v) / det, Cross(e.u, d) / det};
    if (Dot(q, q) >= 1)
        return false;
    const double t1 = arc.t0 + arc.sweep;
    const Point a{std::cos(arc.t0), std::sin(arc.t0)}, b{std::cos(t1), std::sin(t1)};
    const double side = Cross(b - a, q - a);
    return arc.sweep > 0 ? side < 0 : side > 0;
}

bool InsideSegment(const Edge& arc, Point p) {
    if (arc.IsElliptic())
        return InsideEllipticSegment(arc, p);
    const Circle circle = ArcCircle(arc);
    if (Length(p - circle.center) >= circle.radius)
        return false;
    const double side = Cross(arc.end - arc.start, p - arc.start);
    return arc.sweep > 0 ? side < 0 : side > 0;
}

bool SameBits(Point a, Point b) {
    return compat::Bits(a.x) == compat::Bits(b.x) && compat::Bits(a.y) == compat::Bits(b.y);
}

// Length(d) <= tolerance as Length decides it; the square settles all but lengths within
// rounding of the tolerance, and costs no square root.
bool NoLongerThan(Point d, double tolerance) {
    const double squared = d.x * d.x + d.y * d.y;
    const double limit = tolerance * tolerance;
    if (squared > limit * (1 + 1e-6))
        return false;
    if (squared < limit * (1 - 1e-6))
        return true;
    return Length(d) <= tolerance;
}

// True when WithoutTinyEdges would give the loop back as it is: no edge as short as the
// tolerance, every edge starting exactly where the one before ends. Most loops are.
bool AlreadyClean(const Loop& loop, double tolerance) {
    for (size_t i = 0; i < loop.size(); ++i) {
        const Edge& edge = loop[i];
        if (NoLongerThan(edge.end - edge.start, tolerance) ||
            !SameBits(edge.start, loop[(i + loop.size() - 1) % loop.size()].end))
            return false;
    }
    return true;
}

// Edges shorter than the tolerance are dropped and their neighbours joined. `changed` says
// whether the loop came out other than it went in.
Loop WithoutTinyEdges(const Loop& loop, double tolerance, bool& changed) {
    Loop kept;
    kept.reserve(loop.size());
    for (const Edge& edge : loop) {
        if (Length(edge.end - edge.start) > tolerance)
            kept.push_back(edge);
    }
    changed = kept.size() != loop.size();
    for (size_t i = 0; i < kept.size(); ++i) {
        const Point joined = kept[(i + kept.size() - 1) % kept.size()].end;
        changed = changed || !SameBits(kept[i].start, joined);
        kept[i].start = joined;
    }
    return kept;
}

// The angle an edge turns through as seen from p: its chord's, plus a full turn when p lies in
// the circular segment between chord and arc. A point on the chord's line is seen past the
// halves of the arc instead.
double TurnAround(const Edge& edge, Point p, int depth) {
    const Point a = edge.start - p;
    const Point b = edge.end - p;
    double turn = std::atan2(Cross(a, b), Dot(a, b));
    if (!edge.IsCurved())
        return turn;
    const Point chord = edge.end - edge.start;
    const double side = Cross(chord, p - edge.start);
    if (std::abs(side) <= 1e-9 * Dot(chord, chord) && depth < 4) {
        const Point mid = EdgeMidpoint(edge);
        Edge first = edge, second = edge;
        first.end = second.start = mid;
        first.sweep = second.sweep = edge.sweep / 2;
        second.t0 = edge.t0 + edge.sweep / 2;
        return TurnAround(first, p, depth + 1) + TurnAround(second, p, depth + 1);
    }
    // The segment turns the way the curve runs as seen: a mirrored ellipse runs backwards.
    const bool counter_clockwise =
        edge.IsElliptic() ? (edge.sweep > 0) == (Cross(edge.ellipse->u, edge.ellipse->v) > 0)
                          : edge.sweep > 0;
    if (InsideSegment(edge, p))
        turn += counter_clockwise ? 2 * std::numbers::pi : -2 * std::numbers::pi;
    return turn;
}

// Loop numbers by falling size; the sizes sort beside the numbers, so that the sort compares
// without looking them up.
std::vector<size_t> LargestFirst(const std::vector<double>& areas) {
    std::vector<std::pair<double, size_t>> sized;
    sized.reserve(areas.size());
    for (size_t i = 0; i < areas.size(); ++i) sized.push_back({std::abs(areas[i]), i});
    std::sort(sized.begin(), sized.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<size_t> order;
    order.reserve(sized.size());
    for (const auto& entry : sized) order.push_back(entry.second);
    return order;
}

}  // namespace

double DrawingTolerance(const Box& extent) {
    if (extent.Empty())
        return 1e-9;
    const double size = std::max(extent.max.x - extent.min.x, extent.max.y - extent.min.y);
    return std::max(1e-6 * size, 1e-9);
}

int WindingNumber(const Loop& loop, Point p) {
    double turn = 0;
    for (const Edge& edge : loop) turn += TurnAround(edge, p, 0);
    return static_cast<int>(std::lround(turn / (2 * std::numbers::pi)));
}

namespace {

// The loops as measured: tiny edges gone, with their signed areas, boxes and arcs.
struct CleanLoops {
    std::vector<Loop> loops;
    std::vector<double> areas;
    std::vector<Box> boxes;
    LoopArcs arcs;
    Box extent;
    double tolerance = 0;
};

CleanLoops Cleaned(const std::vector<Loop>& drawn, Point origin) {
    CleanLoops out;
    std::vector<Box> drawn_boxes;
    LoopArcs drawn_arcs;
    drawn_boxes.reserve(drawn.size());
    for (const Loop& loop : drawn) {
        drawn_boxes.push_back(drawn_arcs.Add(loop));
        out.extent.Add(drawn_boxes.back());
    }
    out.tolerance = DrawingTolerance(out.extent);
    std::vector<bool> changed(drawn.size(), false);
    out.loops.reserve(drawn.size());
    out.areas.reserve(drawn.size());
    for (size_t i = 0; i < drawn.size(); ++i) {
        if (AlreadyClean(drawn[i], out.tolerance)) {
            out.loops.push_back(drawn[i]);
        } else {
            bool cleaned = false;
            out.loops.push_back(WithoutTinyEdges(drawn[i], out.tolerance, cleaned));
            changed[i] = cleaned;
        }
        out.areas.push_back(LoopArea(out.loops.back()));
        if (std::abs(out.areas.back()) <= out.tolerance * out.tolerance) {
            throw SectionError("轮廓没有面积,位置 " + PointText(drawn[i].front().start + origin));
        }
    }
    // The boxes and arcs of the loops as cleaned: those drawn, but for the loops cleaning changed.
    if (std::find(changed.begin(), changed.end(), true) == changed.end()) {
        out.boxes = std::move(drawn_boxes);
        out.arcs = std::move(drawn_arcs);
        return out;
    }
    out.boxes.reserve(drawn.size());
    for (size_t i = 0; i < drawn.size(); ++i) {
        if (changed[i]) {
            out.boxes.push_back(out.arcs.Add(out.loops[i]));
        } else {
            out.boxes.push_back(drawn_boxes[i]);
            out.arcs.AddFrom(drawn_arcs, i);
        }
    }
    return out;
}

// Which loop lies directly in which: the parent of a loop is the smallest loop around it (-1
// for none), its depth the number of loops around it.
struct Nesting {
    std::vector<size_t> order;  // largest first
    std::vector<long> parent;
    std::vector<int> depth;
};

Nesting NestingOf(const CleanLoops& c) {
    const size_t n = c.loops.size();
    Nesting nesting{LargestFirst(c.areas), EnclosingLoops(c.loops, c.areas, c.tolerance),
                    std::vector<int>(n, 0)};
    // Largest first: a loop's parent, larger, has its depth already (loops that cross, whose
    // refusal stands, may have a smaller one: any depth does then).
    for (size_t i : nesting.order) {
        if (nesting.parent[i] >= 0)
            nesting.depth[i] = nesting.depth[static_cast<size_t>(nesting.parent[i])] + 1;
    }
    return nesting;
}

// The outer loops (even depth) by falling net area, ties as they come, with each one's net area
// (holes taken off in the order they come) and number of holes.
struct RegionPlan {
    std::vector<size_t> outers;
    std::vector<double> net;
    std::vector<size_t> holes;
};

RegionPlan PlanOf(const CleanLoops& c, const Nesting& nesting) {
    RegionPlan plan{
        {}, std::vector<double>(c.loops.size(), 0), std::vector<size_t>(c.loops.size(), 0)};
    for (size_t i : nesting.order) {
        if (nesting.depth[i] % 2 == 0) {
            plan.net[i] = std::abs(c.areas[i]);
            plan.outers.push_back(i);
        }
    }
    for (size_t i : nesting.order) {
        if (nesting.depth[i] % 2 != 0) {
            plan.net[nesting.parent[i]] -= std::abs(c.areas[i]);
            ++plan.holes[nesting.parent[i]];
        }
    }
    std::stable_sort(plan.outers.begin(), plan.outers.end(),
                     [&](size_t a, size_t b) { return plan.net[a] > plan.net[b]; });
    return plan;
}

// Gives the loops away to their regions, outer loops counter-clockwise, holes clockwise.
std::vector<Region> MadeRegions(CleanLoops& c, const Nesting& nesting, const RegionPlan& plan) {
    std::vector<Region> regions(plan.outers.size());
    std::vector<long> region_of(c.loops.size(), -1);
    for (size_t r = 0; r < plan.outers.size(); ++r) {
        const size_t i = plan.outers[r];
        Region& region = regions[r];
        if (!(c.areas[i] > 0))
            Reverse(c.loops[i]);
        region.outer = std::move(c.loops[i]);
        region.area_mm2 = plan.net[i];
        region.box = c.boxes[i];
        region.holes.reserve(plan.holes[i]);
        region_of[i] = static_cast<long>(r);
    }
    for (size_t i : nesting.order) {
        if (nesting.depth[i] % 2 == 0)
            continue;
        if (!(c.areas[i] < 0))
            Reverse(c.loops[i]);
        regions[region_of[nesting.parent[i]]].holes.push_back(std::move(c.loops[i]));
    }
    return regions;
}

}  // namespace

std::vector<Region> FindRegions(const std::vector<Loop>& drawn, Point origin) {
    if (drawn.empty())
        throw SectionError("图形中没有封闭的轮廓");
    CleanLoops clean = Cleaned(drawn, origin);
    // The nesting needs only the loops as they are: it is worked out while another thread looks
    // for crossings, whose refusal, if any, stands.
    std::future<void> crossings = Alongside(clean.loops.size(), [&] {
        CheckCrossings(clean.loops, clean.boxes, clean.arcs, clean.tolerance, origin);
    });
    const Nesting nesting = NestingOf(clean);
    const RegionPlan plan = PlanOf(clean, nesting);
    crossings.get();  // before the loops are given away
    return MadeRegions(clean, nesting, plan);
}

}  // namespace quoinry::profile
