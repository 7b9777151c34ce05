#include "profile/enclosing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>

#include "profile/regions.h"

namespace quoinry::profile {
namespace {

// A curved edge as centre + a·cos θ + b·sin θ, θ from theta0 turning by sweep (t from 0 to 1).
struct Curve {
    Point centre;
    Point a;
    Point b;
    double theta0 = 0;
    double sweep = 0;
};

Curve CurveOf(const Edge& edge) {
    if (edge.IsElliptic()) {
        const Ellipse& e = *edge.ellipse;
        return {e.centre, e.u, e.v, edge.t0, edge.sweep};
    }
    const ArcFrame frame = FrameOfArc(edge);
    const double r = frame.circle.radius;
    return {frame.circle.center, {r, 0}, {0, r}, frame.start_angle, edge.sweep};
}

// The values of t in (0, 1) where the curve's coordinate (c·cos θ + s·sin θ) is extreme: where
// θ is the angle of (c, s), or half a turn from it.
std::vector<double> ExtremeTimes(const Curve& curve, double c, double s) {
    std::vector<double> times;
    if ((c == 0 && s == 0) || curve.sweep == 0)
        return times;
    const double base = std::atan2(s, c);
    const double from = std::min(curve.theta0, curve.theta0 + curve.sweep);
    const double to = std::max(curve.theta0, curve.theta0 + curve.sweep);
    const double first = std::ceil((from - base) / std::numbers::pi);
    for (double k = first; base + k * std::numbers::pi <= to && k < first + 4; ++k) {
        const double t = (base + k * std::numbers::pi - curve.theta0) / curve.sweep;
        if (t > 0 && t < 1)
            times.push_back(t);
    }
    std::sort(times.begin(), times.end());
    return times;
}

// A part of an edge along which y only rises or only falls.
struct Piece {
    std::uint32_t loop = 0;
    std::uint32_t edge = 0;
    double t0 = 0;
    double t1 = 1;
    double low = 0;  // its y range
    double high = 0;
    bool up = false;  // y rises from t0 to t1
};

class Pieces {
  public:
    Pieces(const std::vector<Loop>& loops) : loops_(loops) {
        for (std::uint32_t l = 0; l < loops.size(); ++l) {
            for (std::uint32_t e = 0; e < loops[l].size(); ++e) Split(l, e);
        }
    }

    const std::vector<Piece>& all() const { return pieces_; }

    // Its x where y is `y` (within its range).
    double XAt(const Piece& piece, double y) const {
        const Edge& edge = loops_[piece.loop][piece.edge];
        if (!edge.IsCurved()) {
            const double f = (y - edge.start.y) / (edge.end.y - edge.start.y);
            return edge.start.x + std::clamp(f, 0.0, 1.0) * (edge.end.x - edge.start.x);
        }
        double t0 = piece.t0;
        double t1 = piece.t1;
        for (int i = 0; i < 60 && t1 - t0 > 1e-15; ++i) {
            const double mid = (t0 + t1) / 2;
            if ((PointOnEdge(edge, mid).y < y) == piece.up)
                t0 = mid;
            else
                t1 = mid;
        }
        return PointOnEdge(edge, (t0 + t1) / 2).x;
    }

  private:
    void Split(std::uint32_t l, std::uint32_t e) {
        const Edge& edge = loops_[l][e];
        std::vector<double> times{0};
        if (edge.IsCurved()) {
            const Curve curve = CurveOf(edge);
            for (double t : ExtremeTimes(curve, curve.a.y, curve.b.y)) times.push_back(t);
        }
        times.push_back(1);
        for (std::size_t k = 0; k + 1 < times.size(); ++k) {
            const Point p = PointOnEdge(edge, times[k]);
            const Point q = PointOnEdge(edge, times[k + 1]);
            if (p.y == q.y)
                continue;  // level: a ray along it meets the pieces at its ends
            pieces_.push_back(
                {l, e, times[k], times[k + 1], std::min(p.y, q.y), std::max(p.y, q.y), q.y > p.y});
        }
    }

    const std::vector<Loop>& loops_;
    std::vector<Piece> pieces_;
};

// The point of the loop farthest right.
Point Rightmost(const Loop& loop) {
    Point best = loop.front().start;
    auto take = [&](Point p) {
        if (p.x > best.x)
            best = p;
    };
    for (const Edge& edge : loop) {
        take(edge.end);
        if (edge.IsCurved()) {
            const Curve curve = CurveOf(edge);
            for (double t : ExtremeTimes(curve, curve.a.x, curve.b.x)) take(PointOnEdge(edge, t));
        }
    }
    return best;
}

// Horizontal slabs between the pieces' ends; a piece is kept in the fewest tree nodes whose
// slabs it spans, ordered left to right within each (pieces that do not cross keep one order
// across a slab they span).
class SlabTree {
  public:
    explicit SlabTree(const Pieces& pieces) : pieces_(pieces) {
        for (const Piece& piece : pieces.all()) {
            ys_.push_back(piece.low);
            ys_.push_back(piece.high);
        }
        std::sort(ys_.begin(), ys_.end());
        ys_.erase(std::unique(ys_.begin(), ys_.end()), ys_.end());
        if (ys_.size() < 2)
            return;
        slabs_ = ys_.size() - 1;
        first_.assign(4 * slabs_ + 1, 0);
        ForEachPlace([&](std::size_t node, std::uint32_t) { ++first_[node + 1]; });
        for (std::size_t i = 1; i < first_.size(); ++i) first_[i] += first_[i - 1];
        entries_.resize(first_.back());
        std::vector<std::size_t> next(first_.begin(), first_.end() - 1);
        ForEachPlace([&](std::size_t node, std::uint32_t p) { entries_[next[node]++] = p; });
        SortNodes(1, 0, slabs_);
    }

    // The piece first met going right from p, beyond p.x + margin; nothing when none is.
    std::optional<Piece> FirstRightOf(Point p, double margin) const {
        if (slabs_ == 0 || p.y < ys_.front() || p.y > ys_.back())
            return std::nullopt;
        const auto above = std::upper_bound(ys_.begin(), ys_.end(), p.y);
        const std::size_t slab =
            std::min<std::size_t>(static_cast<std::size_t>(above - ys_.begin()), slabs_) - 1;
        std::optional<Piece> best;
        double best_x = 0;
        std::size_t node = 1, lo = 0, hi = slabs_;
        while (true) {
            const auto begin = entries_.begin() + static_cast<std::ptrdiff_t>(first_[node]);
            const auto end = entries_.begin() + static_cast<std::ptrdiff_t>(first_[node + 1]);
            const auto hit = std::partition_point(begin, end, [&](std::uint32_t q) {
                return pieces_.XAt(pieces_.all()[q], p.y) <= p.x + margin;
            });
            if (hit != end) {
                const double x = pieces_.XAt(pieces_.all()[*hit], p.y);
                if (!best || x < best_x) {
                    best = pieces_.all()[*hit];
                    best_x = x;
                }
            }
            if (hi - lo == 1)
                return best;
            const std::size_t mid = (lo + hi) / 2;
            if (slab < mid) {
                node = 2 * node;
                hi = mid;
            } else {
                node = 2 * node + 1;
                lo = mid;
            }
        }
    }

  private:
    template <typename Visit>
    void ForEachPlace(Visit visit) const {
        const std::vector<Piece>& all = pieces_.all();
        for (std::uint32_t p = 0; p < all.size(); ++p) {
            const std::size_t from = static_cast<std::size_t>(
                std::lower_bound(ys_.begin(), ys_.end(), all[p].low) - ys_.begin());
            const std::size_t to = static_cast<std::size_t>(
                std::lower_bound(ys_.begin(), ys_.end(), all[p].high) - ys_.begin());
            Place(1, 0, slabs_, from, to, p, visit);
        }
    }

    template <typename Visit>
    void Place(std::size_t node, std::size_t lo, std::size_t hi, std::size_t from, std::size_t to,
               std::uint32_t piece, Visit& visit) const {
        if (to <= lo || hi <= from)
            return;
        if (from <= lo && hi <= to) {
            visit(node, piece);
            return;
        }
        const std::size_t mid = (lo + hi) / 2;
        Place(2 * node, lo, mid, from, to, piece, visit);
        Place(2 * node + 1, mid, hi, from, to, piece, visit);
    }

    void SortNodes(std::size_t node, std::size_t lo, std::size_t hi) {
        const double y = (ys_[lo] + ys_[hi]) / 2;
        std::vector<std::pair<double, std::uint32_t>> keyed;
        for (std::size_t i = first_[node]; i < first_[node + 1]; ++i)
            keyed.push_back({pieces_.XAt(pieces_.all()[entries_[i]], y), entries_[i]});
        std::sort(keyed.begin(), keyed.end());
        for (std::size_t i = 0; i < keyed.size(); ++i) entries_[first_[node] + i] = keyed[i].second;
        if (hi - lo == 1)
            return;
        const std::size_t mid = (lo + hi) / 2;
        SortNodes(2 * node, lo, mid);
        SortNodes(2 * node + 1, mid, hi);
    }

    const Pieces& pieces_;
    std::vector<double> ys_;
    std::size_t slabs_ = 0;
    std::vector<std::size_t> first_;  // where each node's pieces start in entries_
    std::vector<std::uint32_t> entries_;
};

// What the ray from a loop meets first: the loop, and whether the ray starts inside it.
struct Hit {
    long loop = -1;
    bool inside = false;
};

Hit HitFrom(const std::vector<Loop>& loops, const std::vector<double>& areas, const SlabTree& tree,
            std::size_t i, double tolerance) {
    const Point p = Rightmost(loops[i]);
    const std::optional<Piece> piece = tree.FirstRightOf(p, tolerance / 2);
    if (!piece)
        return {};
    const long k = piece->loop;
    // Inside where the edge met runs the way that keeps the loop's inside on the ray's side;
    // at a piece's end (a tangent, a corner) the ray may graze the loop: count it out.
    const bool at_end =
        std::abs(p.y - piece->low) <= tolerance || std::abs(p.y - piece->high) <= tolerance;
    const bool inside = at_end ? WindingNumber(loops[k], p) != 0 : piece->up == (areas[k] > 0);
    return {k, inside};
}

}  // namespace

std::vector<long> EnclosingLoops(const std::vector<Loop>& loops, const std::vector<double>& areas,
                                 double tolerance) {
    const std::size_t n = loops.size();
    const Pieces pieces(loops);
    const SlabTree tree(pieces);
    std::vector<Hit> hits(n);
    for (std::size_t i = 0; i < n; ++i) hits[i] = HitFrom(loops, areas, tree, i, tolerance);
    // A loop met from outside has the same loop around it as the loop the ray came from. Its
    // rightmost point lies farther right, so a chain of such loops ends; loops that cross may
    // still make a cycle, which is cut.
    std::vector<long> parent(n, -1);
    std::vector<char> state(n, 0);  // 0 open, 1 on the chain being followed, 2 settled
    std::vector<std::size_t> chain;
    for (std::size_t start = 0; start < n; ++start) {
        chain.clear();
        std::size_t i = start;
        long found = -1;
        while (true) {
            if (state[i] == 2) {
                found = parent[i];  // the chain came from outside a settled loop
                break;
            }
            if (state[i] == 1)
                break;  // a cycle: loops that cross
            state[i] = 1;
            chain.push_back(i);
            if (hits[i].loop < 0 || hits[i].inside) {
                found = hits[i].loop;
                break;
            }
            i = static_cast<std::size_t>(hits[i].loop);
        }
        for (std::size_t c : chain) {
            parent[c] = found;
            state[c] = 2;
        }
    }
    return parent;
}

}  // namespace quoinry::profile
