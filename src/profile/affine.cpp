#include "profile/affine.h"

#include <cmath>
#include <numbers>

namespace quoinry::profile {

bool Affine::Similar() const {
    const double x = a * a + c * c, y = b * b + d * d;
    return std::abs(x - y) <= 1e-12 * x && std::abs(a * b + c * d) <= 1e-12 * x;
}

Affine Then(const Affine& first, const Affine& second) {
    Affine out;
    out.a = second.a * first.a + second.b * first.c;
    out.b = second.a * first.b + second.b * first.d;
    out.c = second.c * first.a + second.d * first.c;
    out.d = second.c * first.b + second.d * first.d;
    out.shift = second(first.shift);
    return out;
}

Affine Translation(Point by) {
    Affine out;
    out.shift = by;
    return out;
}

Affine Scaling(double x, double y) {
    Affine out;
    out.a = x;
    out.d = y;
    return out;
}

Affine Rotation(double degrees) {
    double turn = std::fmod(degrees, 360.0);
    if (turn < 0)
        turn += 360;
    double c = std::cos(turn * std::numbers::pi / 180), s = std::sin(turn * std::numbers::pi / 180);
    if (turn == 0 || turn == 90 || turn == 180 || turn == 270) {
        const int quarter = static_cast<int>(turn / 90);
        const double cosines[] = {1, 0, -1, 0};
        c = cosines[quarter];
        s = cosines[(quarter + 3) % 4];
    }
    Affine out;
    out.a = c;
    out.b = -s;
    out.c = s;
    out.d = c;
    return out;
}

Edge Transformed(const Edge& edge, const Affine& map) {
    const Point start = map(edge.start), end = map(edge.end);
    if (edge.IsElliptic() || (edge.IsArc() && !map.Similar())) {
        Ellipse e = edge.ellipse ? *edge.ellipse : Ellipse{};
        double t0 = edge.t0;
        if (edge.IsArc()) {
            const Circle circle = ArcCircle(edge);
            const Point from = edge.start - circle.center;
            e = {circle.center, {circle.radius, 0}, {0, circle.radius}};
            t0 = std::atan2(from.y, from.x);
        }
        Edge out = EllipticEdge({map(e.centre), map.Linear(e.u), map.Linear(e.v)}, t0, edge.sweep);
        out.start = start;
        out.end = end;
        return out;
    }
    return {start, end, map.Det() < 0 ? -edge.sweep : edge.sweep};
}

}  // namespace quoinry::profile
