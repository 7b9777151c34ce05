#include "profile/intersections.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quoinry::profile {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// An arc with its frame.
struct Arc {
    const Edge& edge;
    const ArcFrame& frame;
};

bool OnArc(const Arc& arc, Point p, double tolerance) {
    const Circle& circle = arc.frame.circle;
    const double sweep = arc.edge.sweep;
    const Point to = p - circle.center;
    double turn = sweep > 0 ? std::atan2(to.y, to.x) - arc.frame.start_angle
                            : arc.frame.start_angle - std::atan2(to.y, to.x);
    if (!(std::abs(turn) < kTwoPi))  // fmod would return a smaller turn as it is
        turn = std::fmod(turn, kTwoPi);
    if (turn < 0)
        turn += kTwoPi;
    const double slack = tolerance / circle.radius;
    return turn <= std::abs(sweep) + slack || turn >= kTwoPi - slack;
}

bool OnSegment(const Edge& line, Point p, double tolerance) {
    const Point d = line.end - line.start;
    const double length = Length(d);
    const double t = Dot(p - line.start, d) / (length * length);
    const double slack = tolerance / length;
    return t >= -slack && t <= 1 + slack;
}

bool OnEdge(const Edge& edge, const ArcFrame* frame, Point p, double tolerance) {
    return frame ? OnArc({edge, *frame}, p, tolerance) : OnSegment(edge, p, tolerance);
}

EdgeContact LineLine(const Edge& a, const Edge& b, double tolerance) {
    EdgeContact contact;
    const Point r = a.end - a.start;
    const Point s = b.end - b.start;
    const double rr = Dot(r, r);
    const double denominator = Cross(r, s);
    const Point qp = b.start - a.start;
    if (std::abs(denominator) <= 1e-12 * std::sqrt(rr * Dot(s, s))) {
        if (std::abs(Cross(qp, r)) > tolerance * std::sqrt(rr))
            return contact;
        const double t0 = Dot(qp, r) / rr;
        const double t1 = Dot(b.end - a.start, r) / rr;
        const double low = std::max(0.0, std::min(t0, t1));
        const double high = std::min(1.0, std::max(t0, t1));
        const double slack = tolerance / std::sqrt(rr);
        if (high - low > slack) {
            contact.overlap = true;
            contact.points.push_back(a.start + ((low + high) / 2) * r);
        } else if (high - low >= -slack) {
            contact.points.push_back(a.start + ((low + high) / 2) * r);
        }
        return contact;
    }
    const double t = Cross(qp, s) / denominator;
    const double u = Cross(qp, r) / denominator;
    const double slack_a = tolerance / std::sqrt(rr);
    const double slack_b = tolerance / Length(s);
    if (t >= -slack_a && t <= 1 + slack_a && u >= -slack_b && u <= 1 + slack_b) {
        contact.points.push_back(a.start + t * r);
    }
    return contact;
}

// Points where a line through `line` meets a circle; a near-tangent line touches once.
ContactPoints LineCircle(const Edge& line, const Circle& circle, double tolerance) {
    const Point d = line.end - line.start;
    const double length = Length(d);
    const Point unit = (1 / length) * d;
    const Point foot = line.start + Dot(circle.center - line.start, unit) * unit;
    const double distance = Length(foot - circle.center);
    if (distance > circle.radius + tolerance)
        return {};
    if (distance >= circle.radius - tolerance)
        return {foot};
    const double half = std::sqrt(circle.radius * circle.radius - distance * distance);
    return {foot - half * unit, foot + half * unit};
}

ContactPoints CircleCircle(const Circle& a, const Circle& b, double tolerance) {
    const Point d = b.center - a.center;
    const double distance = Length(d);
    if (distance > a.radius + b.radius + tolerance)
        return {};
    if (distance < std::abs(a.radius - b.radius) - tolerance)
        return {};
    const Point unit = (1 / distance) * d;
    if (distance >= a.radius + b.radius - tolerance)
        return {a.center + a.radius * unit};
    if (distance <= std::abs(a.radius - b.radius) + tolerance) {
        const double side = a.radius >= b.radius ? 1 : -1;
        return {a.center + (side * a.radius) * unit};
    }
    const double along =
        (a.radius * a.radius - b.radius * b.radius + distance * distance) / (2 * distance);
    const double half = std::sqrt(std::max(0.0, a.radius * a.radius - along * along));
    const Point base = a.center + along * unit;
    const Point across{-unit.y, unit.x};
    return {base + half * across, base - half * across};
}

// Two arcs of one circle: they overlap unless they meet only at ends.
EdgeContact SameCircle(const Arc& a, const Arc& b, double tolerance) {
    EdgeContact contact;
    const Point inner_b = EdgeMidpoint(b.edge);
    const Point inner_a = EdgeMidpoint(a.edge);
    if (OnArc(a, inner_b, tolerance) || OnArc(b, inner_a, tolerance)) {
        contact.overlap = true;
        contact.points.push_back(inner_b);
        return contact;
    }
    for (Point p : {b.edge.start, b.edge.end}) {
        if (OnArc(a, p, tolerance))
            contact.points.push_back(p);
    }
    return contact;
}

}  // namespace

EdgeContact FindContact(const Edge& a, const ArcFrame* fa, const Edge& b, const ArcFrame* fb,
                        double tolerance) {
    if (!a.IsArc() && !b.IsArc())
        return LineLine(a, b, tolerance);
    if (!a.IsArc())
        return FindContact(b, fb, a, fa, tolerance);
    const Arc arc{a, *fa};
    ContactPoints candidates;
    if (b.IsArc()) {
        if (Length(fa->circle.center - fb->circle.center) <= tolerance &&
            std::abs(fa->circle.radius - fb->circle.radius) <= tolerance) {
            return SameCircle(arc, {b, *fb}, tolerance);
        }
        candidates = CircleCircle(fa->circle, fb->circle, tolerance);
    } else {
        candidates = LineCircle(b, fa->circle, tolerance);
    }
    EdgeContact contact;
    for (Point p : candidates) {
        if (OnArc(arc, p, tolerance) && OnEdge(b, b.IsArc() ? fb : nullptr, p, tolerance))
            contact.points.push_back(p);
    }
    return contact;
}

EdgeContact FindContact(const Edge& a, const Edge& b, double tolerance) {
    const ArcFrame fa = a.IsArc() ? FrameOfArc(a) : ArcFrame{};
    const ArcFrame fb = b.IsArc() ? FrameOfArc(b) : ArcFrame{};
    return FindContact(a, a.IsArc() ? &fa : nullptr, b, b.IsArc() ? &fb : nullptr, tolerance);
}

}  // namespace quoinry::profile
