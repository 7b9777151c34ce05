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
    edge.elliptic = true;
    edge.ellipse = ellipse;
    edge.t0 = t0;
    return edge;
}

Edge ReversedEdge(const Edge& edge) {
    Edge reversed = edge;
    reversed.start = edge.end;
    reversed.end = edge.start;
    reversed.sweep = -edge.sweep;
    reversed.t0 = edge.t0 + edge.sweep;
    return reversed;
}

Edge TranslatedEdge(const Edge& edge, Point offset) {
    Edge moved = edge;
    moved.start = edge.start + offset;
    moved.end = edge.end + offset;
    moved.ellipse.centre = edge.ellipse.centre + offset;
    return moved;
}

double Cross(Point a, Point b) {
    return a.x * b.y - a.y * b.x;
}
double Dot(Point a, Point b) {
    return a.x * b.x + a.y * b.y;
}
double Length(Point a) {
    return std::hypot(a.x, a.y);
}

Circle ArcCircle(const Edge& arc) {
    const Chord chord = ChordOf(arc);
    const double half_sweep = arc.sweep / 2;
    const double sine = std::sin(half_sweep);
    return {chord.mid + (chord.half * std::cos(half_sweep) / sine) * chord.left,
            chord.half / std::abs(sine)};
}

Point PointOnEdge(const Edge& edge, double t) {
    if (t <= 0)
        return edge.start;
    if (t >= 1)
        return edge.end;
    if (edge.IsElliptic())
        return EllipsePoint(edge.ellipse, edge.t0 + t * edge.sweep);
    if (!edge.IsArc())
        return edge.start + t * (edge.end - edge.start);
    const Circle circle = ArcCircle(edge);
    const Point from = edge.start - circle.center;
    const double angle = std::atan2(from.y, from.x) + t * edge.sweep;
    return circle.center + circle.radius * Point{std::cos(angle), std::sin(angle)};
}

Point EdgeMidpoint(const Edge& edge) {
    if (edge.IsElliptic())
        return PointOnEdge(edge, 0.5);
    const Chord chord = ChordOf(edge);
    if (!edge.IsArc())
        return chord.mid;
    // The arc bulges to the right of the chord when it turns counter-clockwise.
    return chord.mid - (chord.half * std::tan(edge.sweep / 4)) * chord.left;
}

void Box::Add(Point p) {
    min = {std::min(min.x, p.x), std::min(min.y, p.y)};
    max = {std::max(max.x, p.x), std::max(max.y, p.y)};
}

void Box::Add(const Box& other) {
    if (other.Empty())
        return;
    Add(other.min);
    Add(other.max);
}

bool Box::Contains(const Box& inner) const {
    return min.x <= inner.min.x && min.y <= inner.min.y && max.x >= inner.max.x &&
           max.y >= inner.max.y;
}

bool Box::Overlaps(const Box& other, double margin) const {
    return min.x <= other.max.x + margin && other.min.x <= max.x + margin &&
           min.y <= other.max.y + margin && other.min.y <= max.y + margin;
}

Box EdgeBox(const Edge& edge) {
    Box box;
    box.Add(edge.start);
    box.Add(edge.end);
    if (edge.IsElliptic()) {
        // x and y are extreme where their derivative −u sin t + v cos t vanishes.
        const Ellipse& e = edge.ellipse;
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
    const Circle circle = ArcCircle(edge);
    const Point from = edge.start - circle.center;
    const double start_angle = std::atan2(from.y, from.x);
    const Point extremes[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    for (int k = 0; k < 4; ++k) {
        if (TurnAlong(start_angle, k * kPi / 2, edge.sweep) < std::abs(edge.sweep)) {
            box.Add(circle.center + circle.radius * extremes[k]);
        }
    }
    return box;
}

Box LoopBox(const Loop& loop) {
    Box box;
    for (const Edge& edge : loop) box.Add(EdgeBox(edge));
    return box;
}

double LoopArea(const Loop& loop) {
    if (loop.empty())
        return 0;
    return LoopMoments(loop, loop.front().start).area;
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

std::vector<Edge> SplitAtLine(const Edge& edge, int axis, double value) {
    std::vector<double> cuts;  // fractions of the edge, strictly inside
    if (edge.IsElliptic()) {
        // u·cos t + v·sin t along the axis is r·cos(t − φ).
        const Ellipse& e = edge.ellipse;
        const double a = Coordinate(e.u, axis), b = Coordinate(e.v, axis);
        const double r = std::hypot(a, b);
        const double offset = r > 0 ? (value - Coordinate(e.centre, axis)) / r : 2;
        if (std::abs(offset) < 1) {
            const double phi = std::atan2(b, a), half = std::acos(offset);
            for (double t : {phi + half, phi - half}) {
                const double f = TurnAlong(edge.t0, t, edge.sweep) / std::abs(edge.sweep);
                if (f > 1e-12 && f < 1 - 1e-12)
                    cuts.push_back(f);
            }
        }
    } else if (!edge.IsArc()) {
        const double a = Coordinate(edge.start, axis) - value;
        const double b = Coordinate(edge.end, axis) - value;
        if ((a < 0 && b > 0) || (a > 0 && b < 0))
            cuts.push_back(a / (a - b));
    } else {
        const Circle circle = ArcCircle(edge);
        const double offset = (value - Coordinate(circle.center, axis)) / circle.radius;
        if (std::abs(offset) < 1) {
            const Point from = edge.start - circle.center;
            const double start_angle = std::atan2(from.y, from.x);
            const double base = axis == 0 ? std::acos(offset) : std::asin(offset);
            const double crossings[2] = {base, axis == 0 ? -base : kPi - base};
            for (double angle : crossings) {
                const double t = TurnAlong(start_angle, angle, edge.sweep) / std::abs(edge.sweep);
                if (t > 1e-12 && t < 1 - 1e-12)
                    cuts.push_back(t);
            }
        }
    }
    std::sort(cuts.begin(), cuts.end());
    std::vector<Edge> pieces;
    Point from = edge.start;
    double from_t = 0;
    auto piece = [&](Point to, double to_t) {
        Edge part = edge;
        part.start = from;
        part.end = to;
        part.sweep = edge.sweep * (to_t - from_t);
        part.t0 = edge.t0 + edge.sweep * from_t;
        return part;
    };
    for (double t : cuts) {
        Point at = PointOnEdge(edge, t);
        SetCoordinate(at, axis, value);
        pieces.push_back(piece(at, t));
        from = at;
        from_t = t;
    }
    pieces.push_back(piece(edge.end, 1));
    return pieces;
}

std::string PointText(Point p) {
    // Four decimals keep rounding noise out of messages.
    auto tidy = [](double v) { return std::nearbyint(v * 1e4) / 1e4 + 0.0; };
    char text[80];
    std::snprintf(text, sizeof text, "(%.10g, %.10g)", tidy(p.x), tidy(p.y));
    return text;
}

}  // namespace quoinry::profile
