#include "profile/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "profile/moments.h"

namespace quoinry::profile {
namespace {

constexpr double kPi = std::numbers::pi;

// Left-hand unit normal of the chord and half its length.
struct Chord {
    Point mid;
    Point left;
    double half = 0;
};

Chord ChordOf(const Edge& edge) {
    const Point d = edge.end - edge.start;
    const double length = Length(d);
    Chord chord;
    chord.mid = 0.5 * (edge.start + edge.end);
    chord.half = length / 2;
    if (length > 0)
        chord.left = {-d.y / length, d.x / length};
    return chord;
}

// Turn from `from` to `to` in the arc's direction, in [0, 2π).
double TurnAlong(double from, double to, double sweep) {
    double turn = sweep > 0 ? to - from : from - to;
    if (!(std::abs(turn) < 2 * kPi))  // fmod would return a smaller turn as it is
        turn = std::fmod(turn, 2 * kPi);
    if (turn < 0)
        turn += 2 * kPi;
    return turn;
}

double Coordinate(Point p, int axis) {
    return axis == 0 ? p.x : p.y;
}

void SetCoordinate(Point& p, int axis, double value) {
    (axis == 0 ? p.x : p.y) = value;
}

}  // namespace

Point EllipsePoint(const Ellipse& e, double t) {
    return e.centre + std::cos(t) * e.u + std::sin(t) * e.v;
}

Edge EllipticEdge(const Ellipse& ellipse, double t0, double sweep) {
    Edge edge{EllipsePoint(ellipse, t0), EllipsePoint(ellipse, t0 + sweep), sweep};
    edge.ellipse = std::make_shared<const Ellipse>(ellipse);
    edge.t0 = t0;
    return edge;
}

void TurnRound(Edge& edge) {
    std::swap(edge.start, edge.end);
    edge.t0 += edge.sweep;
    edge.sweep = -edge.sweep;
}

void MoveBy(Edge& edge, Point offset) {
    edge.start = edge.start + offset;
    edge.end = edge.end + offset;
    // The ellipse may be shared with other edges: this one gets a moved copy.
    if (edge.ellipse) {
        edge.ellipse = std::make_shared<const Ellipse>(
            Ellipse{edge.ellipse->centre + offset, edge.ellipse->u, edge.ellipse->v});
    }
}

Edge ReversedEdge(const Edge& edge) {
    Edge reversed = edge;
    TurnRound(reversed);
    return reversed;
}

Edge TranslatedEdge(const Edge& edge, Point offset) {
    Edge moved = edge;
    MoveBy(moved, offset);
    return moved;
}

Circle ArcCircle(const Edge& arc) {
    const Chord chord = ChordOf(arc);
    const double half_sweep = arc.sweep / 2;
    const double sine = std::sin(half_sweep);
    return {chord.mid + (chord.half * std::cos(half_sweep) / sine) * chord.left,
            chord.half / std::abs(sine)};
}

ArcFrame FrameOfArc(const Edge& arc) {
    ArcFrame frame{ArcCircle(arc), 0};
    const Point from = arc.start - frame.circle.center;
    frame.start_angle = std::atan2(from.y, from.x);
    return frame;
}

Point PointOnArc(const Edge& arc, const ArcFrame& frame, double t) {
    if (t <= 0)
        return arc.start;
    if (t >= 1)
        return arc.end;
    const double angle = frame.start_angle + t * arc.sweep;
    return frame.circle.center + frame.circle.radius * Point{std::cos(angle), std::sin(angle)};
}

Point PointOnEdge(const Edge& edge, double t) {
    if (t <= 0)
        return edge.start;
    if (t >= 1)
        return edge.end;
    if (edge.IsElliptic())
        return EllipsePoint(*edge.ellipse, edge.t0 + t * edge.sweep);
    if (!edge.IsArc())
        return edge.start + t * (edge.end - edge.start);
    return PointOnArc(edge, FrameOfArc(edge), t);
}

Point EdgeMidpoint(const Edge& edge) {
    if (edge.IsElliptic())
        return PointOnEdge(edge, 0.5);
    if (!edge.IsArc())
        return 0.5 * (edge.start + edge.end);
    const Chord chord = ChordOf(edge);
    // The arc bulges to the right of the chord when it turns counter-clockwise.
    return chord.mid - (chord.half * std::tan(edge.sweep / 4)) * chord.left;
}

void Box::Add(const Box& other) {
    if (other.Empty())
        return;
    Add(other.min);
    Add(other.max);
}

Box EdgeBox(const Edge& edge) {
    Box box;
    box.Add(edge.start);
    box.Add(edge.end);
    if (edge.IsElliptic()) {
        // x and y are extreme where their derivative −u sin t + v cos t vanishes.
        const Ellipse& e = *edge.ellipse;
        for (double base : {std::atan2(e.v.x, e.u.x), std::atan2(e.v.y, e.u.y)}) {
            for (double t : {base, base + kPi}) {
                if (TurnAlong(edge.t0, t, edge.sweep) < std::abs(edge.sweep))
                    box.Add(EllipsePoint(e, t));
            }
        }
        return box;
    }
    if (!edge.IsArc())
        return box;
    return ArcBox(edge, FrameOfArc(edge));
}

Box ArcBox(const Edge& arc, const ArcFrame& frame) {
    Box box;
    box.Add(arc.start);
    box.Add(arc.end);
    const Point extremes[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    for (int k = 0; k < 4; ++k) {
        if (TurnAlong(frame.start_angle, k * kPi / 2, arc.sweep) < std::abs(arc.sweep))
            box.Add(frame.circle.center + frame.circle.radius * extremes[k]);
    }
    return box;
}

Box LoopBox(const Loop& loop) {
    Box box;
    for (const Edge& edge : loop) box.Add(EdgeBox(edge));
    return box;
}

double LoopArea(const Loop& loop) {
    double area = 0;
    for (const Edge& edge : loop) area += EdgeArea(edge, loop.front().start);
    return area;
}

void Reverse(Loop& loop) {
    std::reverse(loop.begin(), loop.end());
    for (Edge& edge : loop) TurnRound(edge);
}

Loop Reversed(const Loop& loop) {
    Loop reversed;
    reversed.reserve(loop.size());
    for (auto it = loop.rbegin(); it != loop.rend(); ++it) reversed.push_back(ReversedEdge(*it));
    return reversed;
}

Loop Translated(const Loop& loop, Point offset) {
    Loop moved;
    moved.reserve(loop.size());
    for (const Edge& edge : loop) moved.push_back(TranslatedEdge(edge, offset));
    return moved;
}

namespace {

// Fractions of an edge, strictly inside, where it crosses a line.
struct Cuts {
    double at[2] = {0, 0};
    int count = 0;

    void Add(double t) { at[count++] = t; }
    // A curve's crossing found through its angle; a hair from an end is the end.
    void AddInside(double t) {
        if (t > 1e-12 && t < 1 - 1e-12)
            Add(t);
    }
};

Cuts EllipseCuts(const Edge& edge, int axis, double value) {
    // u·cos t + v·sin t along the axis is r·cos(t − φ).
    Cuts cuts;
    const Ellipse& e = *edge.ellipse;
    const double a = Coordinate(e.u, axis), b = Coordinate(e.v, axis);
    const double r = std::hypot(a, b);
    const double offset = r > 0 ? (value - Coordinate(e.centre, axis)) / r : 2;
    if (std::abs(offset) < 1) {
        const double phi = std::atan2(b, a), half = std::acos(offset);
        for (double t : {phi + half, phi - half})
            cuts.AddInside(TurnAlong(edge.t0, t, edge.sweep) / std::abs(edge.sweep));
    }
    return cuts;
}

Cuts LineCuts(const Edge& edge, int axis, double value) {
    Cuts cuts;
    const double a = Coordinate(edge.start, axis) - value;
    const double b = Coordinate(edge.end, axis) - value;
    if ((a < 0 && b > 0) || (a > 0 && b < 0))
        cuts.Add(a / (a - b));
    return cuts;
}

Cuts ArcCuts(const Edge& edge, const ArcFrame& frame, int axis, double value) {
    Cuts cuts;
    const Circle& circle = frame.circle;
    const double offset = (value - Coordinate(circle.center, axis)) / circle.radius;
    if (std::abs(offset) < 1) {
        const double base = axis == 0 ? std::acos(offset) : std::asin(offset);
        const double crossings[2] = {base, axis == 0 ? -base : kPi - base};
        for (double angle : crossings)
            cuts.AddInside(TurnAlong(frame.start_angle, angle, edge.sweep) / std::abs(edge.sweep));
    }
    return cuts;
}

// The pieces between the cuts; `point_at` gives the point a fraction along the edge.
template <typename PointAt>
int CutInto(const Edge& edge, Cuts cuts, int axis, double value, PointAt point_at, Edge* pieces) {
    if (cuts.count == 2 && cuts.at[1] < cuts.at[0])
        std::swap(cuts.at[0], cuts.at[1]);
    Point from = edge.start;
    double from_t = 0;
    int count = 0;
    auto piece = [&](Point to, double to_t) {
        Edge part = edge;
        part.start = from;
        part.end = to;
        part.sweep = edge.sweep * (to_t - from_t);
        part.t0 = edge.t0 + edge.sweep * from_t;
        return part;
    };
    for (int i = 0; i < cuts.count; ++i) {
        const double t = cuts.at[i];
        Point at = point_at(t);
        SetCoordinate(at, axis, value);
        pieces[count++] = piece(at, t);
        from = at;
        from_t = t;
    }
    pieces[count++] = piece(edge.end, 1);
    return count;
}

}  // namespace

int SplitArcAtLine(const Edge& arc, const ArcFrame& frame, int axis, double value, Edge* pieces) {
    return CutInto(
        arc, ArcCuts(arc, frame, axis, value), axis, value,
        [&](double t) { return PointOnArc(arc, frame, t); }, pieces);
}

std::vector<Edge> SplitAtLine(const Edge& edge, int axis, double value) {
    Edge pieces[3];
    int count = 0;
    if (edge.IsArc()) {
        count = SplitArcAtLine(edge, FrameOfArc(edge), axis, value, pieces);
    } else {
        const Cuts cuts =
            edge.IsElliptic() ? EllipseCuts(edge, axis, value) : LineCuts(edge, axis, value);
        count = CutInto(
            edge, cuts, axis, value, [&](double t) { return PointOnEdge(edge, t); }, pieces);
    }
    return {pieces, pieces + count};
}

std::string PointText(Point p) {
    // Four decimals keep rounding noise out of messages.
    auto tidy = [](double v) { return std::nearbyint(v * 1e4) / 1e4 + 0.0; };
    char text[80];
    std::snprintf(text, sizeof text, "(%.10g, %.10g)", tidy(p.x), tidy(p.y));
    return text;
}

}  // namespace quoinry::profile
