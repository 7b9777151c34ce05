#include "profile/loop_chaining.h"

#include "profile/near_points.h"
#include "profile/section_error.h"

namespace quoinry::profile {
namespace {

struct End {
    size_t chain;
    bool at_start;
};

// Only a node with two ends continues a loop; more are counted, not kept.
struct Node {
    Point at;
    End ends[2];
    size_t count = 0;
};

void AppendChain(Loop& loop, Chain& chain, bool forward, Point from, Point to) {
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

std::vector<Point> Ends(const std::vector<Chain>& chains) {
    std::vector<Point> ends;
    ends.reserve(2 * chains.size());
    for (const Chain& chain : chains) {
        ends.push_back(chain.front().start);
        ends.push_back(chain.back().end);
    }
    return ends;
}

}  // namespace

std::vector<size_t> EndNodes(const std::vector<Chain>& chains, double tolerance) {
    return GroupNearPoints(Ends(chains), tolerance);
}

std::vector<Loop> JoinChains(std::vector<Chain> chains, double tolerance, Point origin) {
    const std::vector<size_t> end_nodes = EndNodes(chains, tolerance);
    return JoinChains(std::move(chains), end_nodes, origin);
}

std::vector<Loop> JoinChains(std::vector<Chain> chains, const std::vector<size_t>& group,
                             Point origin) {
    // Ends closer than the tolerance share a node, placed at the first of them.
    const std::vector<Point> ends = Ends(chains);
    std::vector<Node> nodes;
    std::vector<size_t> start_node(chains.size()), end_node(chains.size());
    for (size_t c = 0; c < chains.size(); ++c) {
        for (bool at_start : {true, false}) {
            const size_t end = 2 * c + (at_start ? 0 : 1);
            if (group[end] == nodes.size())
                nodes.push_back({ends[end], {}, 0});
            Node& node = nodes[group[end]];
            if (node.count < 2)
                node.ends[node.count] = {c, at_start};
            ++node.count;
            (at_start ? start_node : end_node)[c] = group[end];
        }
    }
    for (const Node& node : nodes) {
        if (node.count == 1) {
            throw SectionError("图形中有未闭合的线段,端点在 " + PointText(node.at + origin));
        }
        if (node.count > 2) {
            throw SectionError("三条或更多线段交于 " + PointText(node.at + origin) +
                               ",无法确定轮廓");
        }
    }
    std::vector<bool> used(chains.size(), false);
    std::vector<Loop> loops;
    loops.reserve(chains.size());
    std::vector<End> run;  // the chains of one loop in order, and the way each runs
    for (size_t first = 0; first < chains.size(); ++first) {
        if (used[first])
            continue;
        run.clear();
        size_t edges = 0;
        for (End at{first, true}; !used[at.chain];) {
            used[at.chain] = true;
            run.push_back(at);
            edges += chains[at.chain].size();
            const End* ends = nodes[at.at_start ? end_node[at.chain] : start_node[at.chain]].ends;
            at = (ends[0].chain == at.chain && ends[0].at_start != at.at_start) ? ends[1] : ends[0];
        }
        Loop loop;
        if (run.size() == 1)
            loop = std::move(chains[first]);  // a loop of one chain, as most are; its ends below
        else
            loop.reserve(edges);
        for (const End& at : run) {
            const size_t from = at.at_start ? start_node[at.chain] : end_node[at.chain];
            const size_t to = at.at_start ? end_node[at.chain] : start_node[at.chain];
            if (run.size() == 1) {
                loop.front().start = nodes[from].at;
                loop.back().end = nodes[to].at;
            } else {
                AppendChain(loop, chains[at.chain], at.at_start, nodes[from].at, nodes[to].at);
            }
        }
        loops.push_back(std::move(loop));
    }
    return loops;
}

}  // namespace quoinry::profile
