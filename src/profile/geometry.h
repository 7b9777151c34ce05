#pragma once

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace quoinry::profile {

// Drawing coordinates in millimetres.
struct Point {
    double x = 0;
    double y = 0;
};

inline Point operator+(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
inline Point operator-(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}
inline Point operator*(double k, Point a) {
    return {k * a.x, k * a.y};
}
// Inline: every pass over the edges asks these many times.
inline double Cross(Point a, Point b) {
    return a.x * b.y - a.y * b.x;
}
inline double Dot(Point a, Point b) {
    return a.x * b.x + a.y * b.y;
}
inline double Length(Point a) {
    return std::hypot(a.x, a.y);
}

// The curve centre + u·cos t + v·sin t: any affine image of a circle (an ellipse, or a circle
// scaled unevenly by a block insertion). u and v need not be perpendicular.
struct Ellipse {
    Point centre;
    Point u;
    Point v;
};

Point EllipsePoint(const Ellipse& ellipse, double t);

// A straight edge (sweep 0), a circular arc from start to end turning by `sweep` radians,
// counter-clockwise when positive, or an elliptic arc from parameter t0 to t0 + sweep;
// |sweep| < 2π. A full circle or ellipse is two half edges. The ellipse is held apart and shared:
// drawings hold few of them, and every edge the more would cost each pass over the edges.
struct Edge {
    Point start;
    Point end;
    double sweep = 0;
    double t0 = 0;                             // elliptic arcs only
    std::shared_ptr<const Ellipse> ellipse{};  // elliptic arcs only

    bool IsArc() const { return sweep != 0 && !ellipse; }  // circular
    bool IsElliptic() const { return ellipse != nullptr; }
    bool IsCurved() const { return sweep != 0; }
};

// The elliptic arc from parameter t0 turning by sweep; its ends lie on the curve.
Edge EllipticEdge(const Ellipse& ellipse, double t0, double sweep);
Edge ReversedEdge(const Edge& edge);
Edge TranslatedEdge(const Edge& edge, Point offset);
// The same in place: the many edges of a drawing are turned and moved without copies.
void TurnRound(Edge& edge);
void MoveBy(Edge& edge, Point offset);

struct Circle {
    Point center;
    double radius = 0;
};

// Only for arcs.
Circle ArcCircle(const Edge& arc);
Point PointOnEdge(const Edge& edge, double t);  // t in [0, 1] along the edge
Point EdgeMidpoint(const Edge& edge);

// An arc's circle and the angle of its start as seen from the centre: what most questions about
// an arc need, worked out once (trigonometry) for all of them. The functions taking a frame give
// the same values as those without.
struct ArcFrame {
    Circle circle;
    double start_angle = 0;
};
ArcFrame FrameOfArc(const Edge& arc);
Point PointOnArc(const Edge& arc, const ArcFrame& frame, double t);

struct Box {
    Point min{1e300, 1e300};
    Point max{-1e300, -1e300};

    bool Empty() const { return min.x > max.x; }
    void Add(Point p) {
        min = {std::min(min.x, p.x), std::min(min.y, p.y)};
        max = {std::max(max.x, p.x), std::max(max.y, p.y)};
    }
    void Add(const Box& other);
    bool Contains(const Box& inner) const {
        return min.x <= inner.min.x && min.y <= inner.min.y && max.x >= inner.max.x &&
               max.y >= inner.max.y;
    }
    bool Overlaps(const Box& other, double margin) const {
        return min.x <= other.max.x + margin && other.min.x <= max.x + margin &&
               min.y <= other.max.y + margin && other.min.y <= max.y + margin;
    }
};

// Exact for arcs: the extreme points of the circle that lie on the arc count.
Box EdgeBox(const Edge& edge);
Box ArcBox(const Edge& arc, const ArcFrame& frame);

// A closed chain of edges: each edge ends where the next starts, the last where the first starts.
using Loop = std::vector<Edge>;

Box LoopBox(const Loop& loop);
double LoopArea(const Loop& loop);  // signed, positive when counter-clockwise
Loop Reversed(const Loop& loop);
void Reverse(Loop& loop);  // in place
Loop Translated(const Loop& loop, Point offset);

// Splits an edge where it crosses the line coordinate(axis) == value (axis 0: x, 1: y); the
// pieces meet exactly on the line.
std::vector<Edge> SplitAtLine(const Edge& edge, int axis, double value);
// The same for an arc, into `pieces` (at most three); returns their number.
int SplitArcAtLine(const Edge& arc, const ArcFrame& frame, int axis, double value, Edge* pieces);

// "(12.5, 30)" for messages.
std::string PointText(Point p);

}  // namespace quoinry::profile
