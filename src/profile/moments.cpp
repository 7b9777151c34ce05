#include "profile/moments.h"

#include <cmath>

namespace quoinry::profile {
namespace {

// A circular segment with half-chord 1 and half-angle a, in the frame of its chord: u from the
// chord midpoint towards the arc, v along the chord. By symmetry ∫v and ∫uv vanish.
struct UnitSegment {
    double area;  // ∫dA
    double u;     // ∫u dA
    double uu;    // ∫u² dA
    double vv;    // ∫v² dA
};

double Series(double a, const double* coefficients, int count, int lowest_power) {
    const double a2 = a * a;
    double sum = 0;
    for (int i = count - 1; i >= 0; --i) sum = sum * a2 + coefficients[i];
    return sum * std::pow(a, lowest_power);
}

// Flat segments lose every digit to cancellation in the closed forms, so they take the Taylor
// series (exact to rounding below the switch angle).
double FlatSegmentArea(double a) {
    static const double area[] = {2.0 / 3,
                                  4.0 / 45,
                                  4.0 / 315,
                                  8.0 / 4725,
                                  4.0 / 18711,
                                  5528.0 / 212837625,
                                  8.0 / 2606175,
                                  57872.0 / 162820783125,
                                  175468.0 / 4331032831125};
    return Series(a, area, 9, 1);
}

UnitSegment FlatSegment(double a) {
    static const double u[] = {2.0 / 15,
                               2.0 / 63,
                               4.0 / 675,
                               2.0 / 2079,
                               2764.0 / 19348875,
                               4.0 / 200475,
                               28936.0 / 10854718875,
                               87734.0 / 254766637125};
    static const double uu[] = {4.0 / 105,
                                4.0 / 315,
                                152.0 / 51975,
                                1588.0 / 2837835,
                                20312.0 / 212837625,
                                424.0 / 28194075,
                                5381456.0 / 2406129350625,
                                15160484.0 / 47641361142375};
    static const double vv[] = {2.0 / 15,
                                8.0 / 315,
                                8.0 / 1575,
                                16.0 / 17325,
                                6584.0 / 42567525,
                                5168.0 / 212837625,
                                16.0 / 4417875,
                                11226016.0 / 21655164155625,
                                1314664.0 / 18323600439375};
    return {FlatSegmentArea(a), Series(a, u, 8, 2), Series(a, uu, 8, 3), Series(a, vv, 9, 1)};
}

double RoundSegmentArea(double a, double s, double c) {
    return (a - s * c) / (s * s);
}

// Sector minus triangle about the circle's centre, then moved to the chord.
UnitSegment RoundSegment(double a) {
    const double s = std::sin(a);
    const double c = std::cos(a);
    const double h = c / s;  // centre to chord
    const double area = RoundSegmentArea(a, s, c);
    const double u_centre = 2.0 / 3;
    const double uu_centre = (a + s * c) / (4 * s * s * s * s) - c * c * c / (2 * s * s * s);
    const double vv = (a - s * c) / (4 * s * s * s * s) - c / (6 * s);
    return {area, u_centre - h * area, uu_centre - 2 * h * u_centre + h * h * area, vv};
}

UnitSegment SegmentOfHalfAngle(double a) {
    return a < 0.25 ? FlatSegment(a) : RoundSegment(a);
}

double SegmentAreaOfHalfAngle(double a) {
    return a < 0.25 ? FlatSegmentArea(a) : RoundSegmentArea(a, std::sin(a), std::cos(a));
}

// ∫dA alone of SegmentMoments below.
double SegmentArea(Point p, Point q, double sweep) {
    const double w = Length(q - p) / 2;
    if (w == 0)
        return 0;
    const double sign = sweep > 0 ? 1 : -1;
    return sign * SegmentAreaOfHalfAngle(std::abs(sweep) / 2) * (w * w);
}

// Fan triangle (reference, p, q).
Moments ChordMoments(Point p, Point q) {
    const double c = Cross(p, q);
    Moments m;
    m.area = c / 2;
    m.qx = c * (p.x + q.x) / 6;
    m.qy = c * (p.y + q.y) / 6;
    m.xx = c * (p.x * p.x + p.x * q.x + q.x * q.x) / 12;
    m.yy = c * (p.y * p.y + p.y * q.y + q.y * q.y) / 12;
    m.xy = c * (p.x * q.y + 2 * p.x * p.y + 2 * q.x * q.y + q.x * p.y) / 24;
    return m;
}

// The segment between chord p→q and the arc; positive sweep puts it to the right of the chord,
// inside a counter-clockwise loop.
Moments SegmentMoments(Point p, Point q, double sweep) {
    const Point d = q - p;
    const double w = Length(d) / 2;
    Moments m;
    if (w == 0)
        return m;
    const UnitSegment unit = SegmentOfHalfAngle(std::abs(sweep) / 2);
    const double sign = sweep > 0 ? 1 : -1;
    const Point along = (1 / (2 * w)) * d;
    const Point normal = sign * Point{along.y, -along.x};  // towards the arc
    const Point mid = 0.5 * (p + q);
    const double w2 = w * w;
    const double area = sign * unit.area * w2;
    const double u = sign * unit.u * w2 * w;
    const double uu = sign * unit.uu * w2 * w2;
    const double vv = sign * unit.vv * w2 * w2;
    m.area = area;
    m.qx = mid.x * area + normal.x * u;
    m.qy = mid.y * area + normal.y * u;
    m.xx = mid.x * mid.x * area + 2 * mid.x * normal.x * u + normal.x * normal.x * uu +
           along.x * along.x * vv;
    m.yy = mid.y * mid.y * area + 2 * mid.y * normal.y * u + normal.y * normal.y * uu +
           along.y * along.y * vv;
    m.xy = mid.x * mid.y * area + (mid.x * normal.y + mid.y * normal.x) * u +
           normal.x * normal.y * uu + along.x * along.y * vv;
    return m;
}

// The segment between an elliptic arc and its chord is the image of a unit circle's segment
// under p ↦ c + M·p with M = [u v]; integrals over the image scale by det M (its sign turns
// the orientation) and carry the map into the moments.
Moments EllipticSegmentMoments(const Edge& edge, Point reference) {
    const Ellipse& e = *edge.ellipse;
    const double t1 = edge.t0 + edge.sweep;
    const Moments unit = SegmentMoments({std::cos(edge.t0), std::sin(edge.t0)},
                                        {std::cos(t1), std::sin(t1)}, edge.sweep);
    const double det = Cross(e.u, e.v);
    const Point c = e.centre - reference;
    const Point mq{e.u.x * unit.qx + e.v.x * unit.qy, e.u.y * unit.qx + e.v.y * unit.qy};
    const double sxx =
        e.u.x * e.u.x * unit.xx + 2 * e.u.x * e.v.x * unit.xy + e.v.x * e.v.x * unit.yy;
    const double syy =
        e.u.y * e.u.y * unit.xx + 2 * e.u.y * e.v.y * unit.xy + e.v.y * e.v.y * unit.yy;
    const double sxy = e.u.x * e.u.y * unit.xx + (e.u.x * e.v.y + e.v.x * e.u.y) * unit.xy +
                       e.v.x * e.v.y * unit.yy;
    Moments m;
    m.area = det * unit.area;
    m.qx = det * (c.x * unit.area + mq.x);
    m.qy = det * (c.y * unit.area + mq.y);
    m.xx = det * (c.x * c.x * unit.area + 2 * c.x * mq.x + sxx);
    m.yy = det * (c.y * c.y * unit.area + 2 * c.y * mq.y + syy);
    m.xy = det * (c.x * c.y * unit.area + c.x * mq.y + c.y * mq.x + sxy);
    return m;
}

// ∫dA alone of EllipticSegmentMoments.
double EllipticSegmentArea(const Edge& edge) {
    const Ellipse& e = *edge.ellipse;
    const double t1 = edge.t0 + edge.sweep;
    return Cross(e.u, e.v) * SegmentArea({std::cos(edge.t0), std::sin(edge.t0)},
                                         {std::cos(t1), std::sin(t1)}, edge.sweep);
}

}  // namespace

Moments& Moments::operator+=(const Moments& other) {
    area += other.area;
    qx += other.qx;
    qy += other.qy;
    xx += other.xx;
    yy += other.yy;
    xy += other.xy;
    return *this;
}

double EdgeArea(const Edge& edge, Point reference) {
    const Point p = edge.start - reference;
    const Point q = edge.end - reference;
    double area = Cross(p, q) / 2;
    if (edge.IsElliptic())
        area += EllipticSegmentArea(edge);
    else if (edge.IsArc())
        area += SegmentArea(p, q, edge.sweep);
    return area;
}

Moments EdgeMoments(const Edge& edge, Point reference) {
    const Point p = edge.start - reference;
    const Point q = edge.end - reference;
    Moments m = ChordMoments(p, q);
    if (edge.IsElliptic())
        m += EllipticSegmentMoments(edge, reference);
    else if (edge.IsArc())
        m += SegmentMoments(p, q, edge.sweep);
    return m;
}

Moments LoopMoments(const Loop& loop, Point reference) {
    Moments m;
    for (const Edge& edge : loop) m += EdgeMoments(edge, reference);
    return m;
}

}  // namespace quoinry::profile
