#include "profile/loop_chaining.h"

#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "profile/section_error.h"

namespace quoinry::profile {
namespace {

struct End {
    size_t chain;
    bool at_start;
};

struct Node {
    Point at;
    std::vector<End> ends;
};

// Ends closer than the tolerance share a node; a grid of tolerance-sized cells finds them.
class NodeIndex {
  public:
    explicit NodeIndex(double tolerance) : tolerance_(tolerance) {}

    size_t NodeAt(Point p) {
        const int64_t cx = Cell(p.x);
        const int64_t cy = Cell(p.y);
        for (int64_t dx = -1; dx <= 1; ++dx) {
            for (int64_t dy = -1; dy <= 1; ++dy) {
                auto found = cells_.find(Key(cx + dx, cy + dy));
                if (found == cells_.end())
                    continue;
                for (size_t n : found->second) {
                    if (Length(nodes_[n].at - p) <= tolerance_)
                        return n;
                }
            }
        }
        nodes_.push_back({p, {}});
        cells_[Key(cx, cy)].push_back(nodes_.size() - 1);
        return nodes_.size() - 1;
    }

    std::vector<Node>& nodes() { return nodes_; }

  private:
    int64_t Cell(double v) const { return static_cast<int64_t>(std::floor(v / tolerance_)); }
    static uint64_t Key(int64_t x, int64_t y) {
        return (static_cast<uint64_t>(x) * 0x9E3779B97F4A7C15ull) ^ static_cast<uint64_t>(y);
    }

    double tolerance_;
    std::vector<Node> nodes_;
    std::unordered_map<uint64_t, std::vector<size_t>> cells_;
};

void AppendChain(Loop& loop, const Chain& chain, bool forward, Point from, Point to) {
    const size_t first = loop.size();
    if (forward) {
        loop.insert(loop.end(), chain.begin(), chain.end());
    } else {
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            loop.push_back(ReversedEdge(*it));
        }
    }
    loop[first].start = from;
    loop.back().end = to;
}

}  // namespace

std::vector<Loop> JoinChains(const std::vector<Chain>& chains, double tolerance, Point origin) {
    NodeIndex index(tolerance);
    std::vector<size_t> start_node(chains.size()), end_node(chains.size());
    for (size_t c = 0; c < chains.size(); ++c) {
        start_node[c] = index.NodeAt(chains[c].front().start);
        index.nodes()[start_node[c]].ends.push_back({c, true});
        end_node[c] = index.NodeAt(chains[c].back().end);
        index.nodes()[end_node[c]].ends.push_back({c, false});
    }
    const std::vector<Node>& nodes = index.nodes();
    for (const Node& node : nodes) {
        if (node.ends.size() == 1) {
            throw SectionError("图形中有未闭合的线段,端点在 " + PointText(node.at + origin));
        }
        if (node.ends.size() > 2) {
            throw SectionError("三条或更多线段交于 " + PointText(node.at + origin) +
                               ",无法确定轮廓");
        }
    }
    std::vector<bool> used(chains.size(), false);
    std::vector<Loop> loops;
    for (size_t first = 0; first < chains.size(); ++first) {
        if (used[first])
            continue;
        Loop loop;
        size_t chain = first;
        bool forward = true;
        while (!used[chain]) {
            used[chain] = true;
            const size_t from = forward ? start_node[chain] : end_node[chain];
            const size_t to = forward ? end_node[chain] : start_node[chain];
            AppendChain(loop, chains[chain], forward, nodes[from].at, nodes[to].at);
            const std::vector<End>& ends = nodes[to].ends;
            const End next =
                (ends[0].chain == chain && ends[0].at_start != forward) ? ends[1] : ends[0];
            chain = next.chain;
            forward = next.at_start;
        }
        loops.push_back(std::move(loop));
    }
    return loops;
}

}  // namespace quoinry::profile
