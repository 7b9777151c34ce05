#include "profile/spline.h"

#include <algorithm>
#include <cmath>

#include "profile/dxf_tokens.h"
#include "profile/section_error.h"

namespace quoinry::profile {
namespace {

constexpr int kHighestDegree = 11;
constexpr int kDeepestSplit = 30;
constexpr int kFirstPiecesPerSpan = 4;

[[noreturn]] void Refuse(const Spline& s, const std::string& why) {
    throw SectionError(AtLine(s.line) + "样条曲线" + why);
}

// The span [knots[k], knots[k+1]) holding t, within the curve's domain.
size_t SpanOf(const Spline& s, double t) {
    const size_t p = static_cast<size_t>(s.degree);
    const size_t n = s.control.size();
    if (t >= s.knots[n])
        return n - 1;  // the domain's last span holds its end
    const auto after = std::upper_bound(s.knots.begin() + p, s.knots.begin() + n + 1, t);
    return static_cast<size_t>(after - s.knots.begin()) - 1;
}

struct Homogeneous {
    double x, y, w;
};

// Distance from p to the chord a–b.
double Stray(Point p, Point a, Point b) {
    const Point d = b - a;
    const double length = Length(d);
    if (length == 0)
        return Length(p - a);
    return std::abs(Cross(d, p - a)) / length;
}

class Flattener {
  public:
    Flattener(const Spline& s, double tolerance, size_t& budget)
        : s_(s), tolerance_(tolerance), budget_(budget) {}

    void Run(std::vector<Point>& out) {
        const size_t p = static_cast<size_t>(s_.degree);
        const size_t n = s_.control.size();
        out.push_back(SplinePoint(s_, s_.knots[p]));
        for (size_t k = p; k < n; ++k) {
            const double a = s_.knots[k], b = s_.knots[k + 1];
            if (!(b > a))
                continue;
            double from = a;
            Point from_point = out.back();
            for (int i = 1; i <= kFirstPiecesPerSpan; ++i) {
                const double to =
                    i == kFirstPiecesPerSpan ? b : a + (b - a) * i / kFirstPiecesPerSpan;
                const Point to_point = SplinePoint(s_, to);
                Split(from, from_point, to, to_point, SplinePoint(s_, (from + to) / 2), 0, out);
                from = to;
                from_point = to_point;
            }
        }
    }

  private:
    // Adds the points after `a` up to and including `b`; `pm` is the point halfway.
    void Split(double a, Point pa, double b, Point pb, Point pm, int depth,
               std::vector<Point>& out) {
        const double m = (a + b) / 2;
        const Point q1 = SplinePoint(s_, (a + m) / 2);
        const Point q3 = SplinePoint(s_, (m + b) / 2);
        const bool flat = Stray(pm, pa, pb) <= tolerance_ && Stray(q1, pa, pb) <= tolerance_ &&
                          Stray(q3, pa, pb) <= tolerance_;
        if (flat || depth >= kDeepestSplit || !(m > a && m < b)) {
            Add(pb, out);
            return;
        }
        Split(a, pa, m, pm, q1, depth + 1, out);
        Split(m, pm, b, pb, q3, depth + 1, out);
    }

    void Add(Point p, std::vector<Point>& out) {
        if (budget_ == 0)
            Refuse(s_, "过于复杂,折线点数超出上限");
        --budget_;
        out.push_back(p);
    }

    const Spline& s_;
    double tolerance_;
    size_t& budget_;
};

}  // namespace

void CheckSpline(const Spline& s) {
    if (s.degree < 1 || s.degree > kHighestDegree)
        Refuse(s, "的次数" + std::to_string(s.degree) + "不在1至11之间");
    const size_t n = s.control.size();
    const size_t p = static_cast<size_t>(s.degree);
    if (n < p + 1) {
        Refuse(s, "的控制点太少(" + std::to_string(n) + "个," + std::to_string(p) +
                      "次曲线至少需要" + std::to_string(p + 1) + "个)");
    }
    if (s.knots.size() != n + p + 1) {
        Refuse(s, "的节点数" + std::to_string(s.knots.size()) + "与控制点数" + std::to_string(n) +
                      "不符(应为" + std::to_string(n + p + 1) + ")");
    }
    for (size_t i = 1; i < s.knots.size(); ++i) {
        if (s.knots[i] < s.knots[i - 1])
            Refuse(s, "的节点不是递增的");
    }
    if (!(s.knots[n] > s.knots[p]))
        Refuse(s, "的参数区间为空");
    if (!s.weights.empty()) {
        if (s.weights.size() != n)
            Refuse(s, "的权重数与控制点数不符");
        for (double w : s.weights) {
            if (!(w > 0))
                Refuse(s, "的权重应为正数");
        }
    }
}

Point SplinePoint(const Spline& s, double t) {
    const size_t p = static_cast<size_t>(s.degree);
    const size_t k = SpanOf(s, t);
    // de Boor's algorithm in homogeneous coordinates.
    Homogeneous d[kHighestDegree + 1];
    for (size_t j = 0; j <= p; ++j) {
        const size_t i = k - p + j;
        const double w = s.weights.empty() ? 1 : s.weights[i];
        d[j] = {s.control[i].x * w, s.control[i].y * w, w};
    }
    for (size_t r = 1; r <= p; ++r) {
        for (size_t j = p; j >= r; --j) {
            const size_t i = k - p + j;
            const double span = s.knots[i + p - r + 1] - s.knots[i];
            const double alpha = span > 0 ? (t - s.knots[i]) / span : 0;
            d[j] = {(1 - alpha) * d[j - 1].x + alpha * d[j].x,
                    (1 - alpha) * d[j - 1].y + alpha * d[j].y,
                    (1 - alpha) * d[j - 1].w + alpha * d[j].w};
        }
    }
    return {d[p].x / d[p].w, d[p].y / d[p].w};
}

std::vector<Point> FlattenSpline(const Spline& spline, double tolerance, size_t& budget) {
    std::vector<Point> points;
    Flattener(spline, tolerance, budget).Run(points);
    return points;
}

}  // namespace quoinry::profile
