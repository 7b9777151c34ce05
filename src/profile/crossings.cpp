#include "profile/crossings.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <span>
#include <string>

#include "profile/intersections.h"
#include "profile/section_error.h"

namespace quoinry::profile {
namespace {

constexpr int kMostEllipsePieces = 1 << 16;

// Elliptic arcs take part as chords that stay within a quarter of the tolerance of the curve.
std::vector<Loop> WithEllipsesAsChords(const std::vector<Loop>& loops, double tolerance) {
    std::vector<Loop> out;
    out.reserve(loops.size());
    for (const Loop& loop : loops) {
        Loop flat;
        for (const Edge& edge : loop) {
            if (!edge.IsElliptic()) {
                flat.push_back(edge);
                continue;
            }
            // A chord over Δt strays at most r·Δt²/8 from the curve, r the longer of u and v.
            const Ellipse& e = *edge.ellipse;
            const double r = std::max(Length(e.u), Length(e.v));
            const double step = std::sqrt(2 * tolerance / std::max(r, tolerance));
            const int pieces = static_cast<int>(std::clamp(std::ceil(std::abs(edge.sweep) / step),
                                                           1.0, double(kMostEllipsePieces)));
            Point from = edge.start;
            for (int i = 1; i <= pieces; ++i) {
                const Point to = i == pieces ? edge.end : PointOnEdge(edge, double(i) / pieces);
                flat.push_back({from, to, 0});
                from = to;
            }
        }
        out.push_back(std::move(flat));
    }
    return out;
}

// A piece of an edge along which x only grows: lines, and arcs cut at their leftmost and
// rightmost points.
struct Piece {
    Point left;
    Point right;
    bool arc = false;
    bool upper = false;  // on the upper half of its circle
    ArcFrame frame;      // of the whole edge, when it is an arc
    Box box;             // of the whole edge
    size_t loop = 0;
    size_t index = 0;
};

void AddPiece(const Edge& part, Piece p, std::vector<Piece>& pieces) {
    p.left = part.start;
    p.right = part.end;
    if (p.right.x < p.left.x || (p.right.x == p.left.x && p.right.y < p.left.y))
        std::swap(p.left, p.right);
    p.arc = part.IsArc();
    pieces.push_back(p);
}

// `arc`: the edge's facts, when it is a circular arc.
void AddPieces(const Edge& edge, const ArcFacts* arc, size_t loop, size_t index,
               std::vector<Piece>& pieces) {
    Piece p;
    p.loop = loop;
    p.index = index;
    if (!edge.IsArc()) {
        p.box = EdgeBox(edge);
        AddPiece(edge, p, pieces);
        return;
    }
    p.frame = arc->frame;
    p.box = arc->box;
    const double middle = p.frame.circle.center.y;
    Edge parts[3];
    const int count = SplitArcAtLine(edge, p.frame, 1, middle, parts);
    for (int k = 0; k < count; ++k) {
        p.upper = EdgeMidpoint(parts[k]).y > middle;
        AddPiece(parts[k], p, pieces);
    }
}

double YAt(const Piece& p, double x) {
    if (x <= p.left.x)
        return p.left.y;
    if (x >= p.right.x)
        return p.right.y;
    if (!p.arc)
        return p.left.y + (p.right.y - p.left.y) * ((x - p.left.x) / (p.right.x - p.left.x));
    const Circle& circle = p.frame.circle;
    const double dx = x - circle.center.x;
    const double h = std::sqrt(std::max(0.0, circle.radius * circle.radius - dx * dx));
    return p.upper ? circle.center.y + h : circle.center.y - h;
}

// Straight neighbours in a loop meet only at their corner unless the second runs back along the
// first.
bool OnlyTheCorner(const Loop& loop, size_t i, size_t j) {
    const size_t n = loop.size();
    if ((i + 1) % n != j && (j + 1) % n != i)
        return false;
    const Edge& a = loop[i];
    const Edge& b = loop[j];
    if (a.IsCurved() || b.IsCurved() || n < 3)
        return false;
    const Point da = a.end - a.start, db = b.end - b.start;
    return Dot(da, db) > 0 || std::abs(Cross(da, db)) > 1e-9 * Length(da) * Length(db);
}

// Whether all of `box` lies beyond four tolerances of the line through a straight edge: no
// point FindContact finds (each within a tolerance or two of both edges) can then be, which
// spares that search for edges of other loops whose boxes merely overlap.
bool ClearOfLine(const Edge& line, const Box& box, double tolerance) {
    const Point d = line.end - line.start;
    double low = 1e300, high = -1e300;
    for (Point corner :
         {box.min, box.max, Point{box.min.x, box.max.y}, Point{box.max.x, box.min.y}}) {
        const double side = Cross(d, corner - line.start);
        low = std::min(low, side);
        high = std::max(high, side);
    }
    // |side| / |d| is the distance from the line.
    const double nearest = low > 0 ? low : (high < 0 ? -high : 0);
    return nearest * nearest > 16 * tolerance * tolerance * Dot(d, d);
}

// Adjacent edges of a loop share a corner, which is not a crossing.
bool IsSharedCorner(const Loop& loop, size_t i, size_t j, Point p, double tolerance) {
    const size_t n = loop.size();
    auto near = [&](Point corner) { return Length(p - corner) <= tolerance * 4; };
    if ((i + 1) % n == j && near(loop[i].end))
        return true;
    if ((j + 1) % n == i && near(loop[j].end))
        return true;
    return false;
}

// Groups of loop numbers one after another: group k runs from ends[k - 1] (0 for the first)
// to ends[k].
struct Groups {
    std::vector<size_t> loops;
    std::vector<size_t> ends;

    size_t size() const { return ends.size(); }
    std::span<const size_t> operator[](size_t k) const {
        const size_t begin = k == 0 ? 0 : ends[k - 1];
        return {loops.data() + begin, loops.data() + ends[k]};
    }
};

// Splits `members` where no box reaches across, adding the parts to `groups`: sorted by the low
// side along the axis, a group ends where the next box starts beyond every box so far.
void SplitApart(std::span<const size_t> members, const std::vector<Box>& boxes, int axis,
                double tolerance, Groups& groups) {
    auto low = [&](size_t i) { return axis == 0 ? boxes[i].min.x : boxes[i].min.y; };
    auto high = [&](size_t i) { return axis == 0 ? boxes[i].max.x : boxes[i].max.y; };
    // The low sides beside the numbers: the sort compares without looking the boxes up.
    std::vector<std::pair<double, size_t>> order;
    order.reserve(members.size());
    for (size_t i : members) order.push_back({low(i), i});
    std::sort(order.begin(), order.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    double reach = 0;
    for (size_t k = 0; k < order.size(); ++k) {
        const auto& [side, i] = order[k];
        if (k == 0 || side > reach + tolerance) {
            if (k > 0)
                groups.ends.push_back(groups.loops.size());
            reach = high(i);
        }
        groups.loops.push_back(i);
        reach = std::max(reach, high(i));
    }
    if (!order.empty())
        groups.ends.push_back(groups.loops.size());
}

// Loops that cannot touch each other are checked apart: columns of loops whose boxes overlap in
// x, then rows of those that overlap in y. A drawing of many small parts then sweeps many short
// lists instead of one long one.
Groups LoopGroups(const std::vector<Box>& boxes, double tolerance) {
    std::vector<size_t> all(boxes.size());
    for (size_t l = 0; l < all.size(); ++l) all[l] = l;
    Groups columns;
    SplitApart(all, boxes, 0, tolerance, columns);
    Groups groups;
    for (size_t k = 0; k < columns.size(); ++k) SplitApart(columns[k], boxes, 1, tolerance, groups);
    return groups;
}

// One sweep for each group of loops; its lists keep their room from group to group.
class Sweep {
  public:
    Sweep(const std::vector<Loop>& loops, const LoopArcs& arcs, double tolerance, Point origin)
        : loops_(loops),
          arcs_(arcs),
          tolerance_(tolerance),
          origin_(origin),
          active_(Below{this}) {}

    // Compares the edges of the loops numbered in `group`.
    void Run(std::span<const size_t> group) {
        if (!SomePairMayMeet(group))
            return;
        pieces_.clear();
        for (size_t l : group) {
            const ArcFacts* arc = arcs_.arcs.data() + arcs_.first[l];
            for (size_t i = 0; i < loops_[l].size(); ++i) {
                const Edge& edge = loops_[l][i];
                AddPieces(edge, edge.IsArc() ? arc++ : nullptr, l, i, pieces_);
            }
        }
        events_.clear();
        for (size_t k = 0; k < pieces_.size(); ++k) {
            events_.push_back({pieces_[k].left.x, false, k});
            events_.push_back({pieces_[k].right.x, true, k});
        }
        // At one x, pieces enter before others leave, so pieces meeting there are compared.
        std::sort(events_.begin(), events_.end(), [](const Event& a, const Event& b) {
            return a.x != b.x ? a.x < b.x : a.leaves < b.leaves;
        });
        where_.resize(pieces_.size());
        for (const Event& event : events_) {
            x_ = event.x;
            if (!event.leaves) {
                where_[event.piece] = Enter(event.piece);
                CompareAround(where_[event.piece]);
            } else {
                auto at = where_[event.piece];
                auto next = std::next(at);
                if (at != active_.begin() && next != active_.end())
                    Compare(*std::prev(at), *next);
                spare_.push_back(active_.extract(at));
            }
        }
    }

  private:
    struct Below {
        const Sweep* sweep;
        bool operator()(size_t a, size_t b) const { return sweep->Lower(a, b); }
    };
    using Active = std::set<size_t, Below>;
    struct Event {
        double x;
        bool leaves;
        size_t piece;
    };

    // The set's nodes of pieces that left serve the next ones.
    Active::iterator Enter(size_t piece) {
        if (spare_.empty())
            return active_.insert(piece).first;
        Active::node_type node = std::move(spare_.back());
        spare_.pop_back();
        node.value() = piece;
        return active_.insert(std::move(node)).position;
    }

    bool Lower(size_t a, size_t b) const {
        const Piece& pa = pieces_[a];
        const Piece& pb = pieces_[b];
        const double ya = YAt(pa, x_), yb = YAt(pb, x_);
        if (ya != yb)
            return ya < yb;
        // Pieces leaving one point are ordered by where they go: halfway to where the first of
        // them ends, since the two halves of a circle meet again at their other end.
        const double further = std::min(pa.right.x, pb.right.x);
        if (further > x_) {
            const double ahead = x_ + (further - x_) / 2;
            const double fa = YAt(pa, ahead), fb = YAt(pb, ahead);
            if (fa != fb)
                return fa < fb;
        }
        return a < b;
    }

    // The new piece against its neighbours; a vertical piece against every piece along it.
    void CompareAround(Active::iterator at) {
        const Piece& p = pieces_[*at];
        const double top = std::max(p.left.y, p.right.y) + tolerance_;
        for (auto up = std::next(at); up != active_.end(); ++up) {
            Compare(*at, *up);
            if (p.left.x != p.right.x || YAt(pieces_[*up], x_) > top)
                break;
        }
        for (auto down = at; down != active_.begin();) {
            --down;
            Compare(*at, *down);
            if (p.left.x != p.right.x || YAt(pieces_[*down], x_) < p.left.y - tolerance_)
                break;
        }
    }

    void Compare(size_t a, size_t b) const {
        const Piece& pa = pieces_[a];
        const Piece& pb = pieces_[b];
        const Fault fault =
            FaultOf({&pa.frame, pa.box, pa.loop, pa.index}, {&pb.frame, pb.box, pb.loop, pb.index});
        if (fault.what)
            throw SectionError(fault.what + PointText(fault.at + origin_));
    }

    // What an edge brings to a comparison.
    struct EdgeFacts {
        const ArcFrame* frame;
        Box box;
        size_t loop;
        size_t index;
    };

    // Why two edges may not stand as drawn (the words before the place), or nothing.
    struct Fault {
        const char* what = nullptr;
        Point at;
    };

    Fault FaultOf(const EdgeFacts& pa, const EdgeFacts& pb) const {
        if ((pa.loop == pb.loop && pa.index == pb.index) || !pa.box.Overlaps(pb.box, tolerance_))
            return {};
        const Edge& ea = loops_[pa.loop][pa.index];
        const Edge& eb = loops_[pb.loop][pb.index];
        if (pa.loop == pb.loop && OnlyTheCorner(loops_[pa.loop], pa.index, pb.index))
            return {};
        if (pa.loop != pb.loop && ((!ea.IsCurved() && ClearOfLine(ea, pb.box, tolerance_)) ||
                                   (!eb.IsCurved() && ClearOfLine(eb, pa.box, tolerance_))))
            return {};
        const EdgeContact contact = FindContact(ea, pa.frame, eb, pb.frame, tolerance_);
        if (contact.points.empty())
            return {};
        if (pa.loop != pb.loop)
            return {"两个轮廓相交、重叠或相接,位置 ", contact.points[0]};
        if (contact.overlap)
            return {"轮廓自身重叠,位置 ", contact.points[0]};
        for (Point q : contact.points) {
            if (!IsSharedCorner(loops_[pa.loop], pa.index, pb.index, q, tolerance_))
                return {"轮廓自相交,位置 ", q};
        }
        return {};
    }

    // A group of few edges is compared pair by pair, which costs less than sweeping it: only
    // when some pair meets does the sweep run, so that it refuses (or lets pass) and names the
    // place exactly as it always has. A line and an arc are compared the same either way
    // round; two lines or two arcs are compared both ways, as the sweep may take either.
    bool SomePairMayMeet(std::span<const size_t> group) {
        size_t count = 0;
        for (size_t l : group) count += loops_[l].size();
        if (count > kFewEdges)
            return true;
        facts_.clear();
        for (size_t l : group) {
            const ArcFacts* arc = arcs_.arcs.data() + arcs_.first[l];
            for (size_t i = 0; i < loops_[l].size(); ++i) {
                const Edge& edge = loops_[l][i];
                if (edge.IsArc()) {
                    facts_.push_back({&arc->frame, arc->box, l, i});
                    ++arc;
                } else {
                    facts_.push_back({nullptr, EdgeBox(edge), l, i});
                }
            }
        }
        for (size_t a = 0; a < facts_.size(); ++a) {
            for (size_t b = a + 1; b < facts_.size(); ++b) {
                if (!facts_[a].box.Overlaps(facts_[b].box, tolerance_))
                    continue;
                if (FaultOf(facts_[a], facts_[b]).what)
                    return true;
                if ((facts_[a].frame == nullptr) == (facts_[b].frame == nullptr) &&
                    FaultOf(facts_[b], facts_[a]).what)
                    return true;
            }
        }
        return false;
    }

    static constexpr size_t kFewEdges = 32;

    const std::vector<Loop>& loops_;
    const LoopArcs& arcs_;
    double tolerance_;
    Point origin_;
    std::vector<Piece> pieces_;
    std::vector<EdgeFacts> facts_;
    std::vector<Event> events_;
    std::vector<Active::iterator> where_;
    double x_ = 0;
    Active active_;
    std::vector<Active::node_type> spare_;
};

void CheckGroups(const std::vector<Loop>& loops, const std::vector<Box>& boxes,
                 const LoopArcs& arcs, double tolerance, Point origin) {
    Sweep sweep(loops, arcs, tolerance, origin);
    const Groups groups = LoopGroups(boxes, tolerance);
    for (size_t k = 0; k < groups.size(); ++k) sweep.Run(groups[k]);
}

}  // namespace

Box LoopArcs::Add(const Loop& loop) {
    first.push_back(arcs.size());
    Box box;
    for (const Edge& edge : loop) {
        if (!edge.IsArc()) {
            box.Add(EdgeBox(edge));
            continue;
        }
        const ArcFrame frame = FrameOfArc(edge);
        arcs.push_back({frame, ArcBox(edge, frame)});
        box.Add(arcs.back().box);
    }
    return box;
}

void LoopArcs::AddFrom(const LoopArcs& other, size_t l) {
    first.push_back(arcs.size());
    const size_t end = l + 1 < other.first.size() ? other.first[l + 1] : other.arcs.size();
    arcs.insert(arcs.end(), other.arcs.begin() + static_cast<long>(other.first[l]),
                other.arcs.begin() + static_cast<long>(end));
}

void CheckCrossings(const std::vector<Loop>& loops, const std::vector<Box>& boxes,
                    const LoopArcs& arcs, double tolerance, Point origin) {
    for (const Loop& loop : loops) {
        for (const Edge& edge : loop) {
            if (edge.IsElliptic()) {
                const std::vector<Loop> flat = WithEllipsesAsChords(loops, tolerance);
                LoopArcs flat_arcs;
                std::vector<Box> flat_boxes;
                for (const Loop& f : flat) flat_boxes.push_back(flat_arcs.Add(f));
                CheckGroups(flat, flat_boxes, flat_arcs, tolerance, origin);
                return;
            }
        }
    }
    CheckGroups(loops, boxes, arcs, tolerance, origin);
}

}  // namespace quoinry::profile
