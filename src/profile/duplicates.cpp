#include "profile/duplicates.h"

#include <algorithm>

#include "profile/near_points.h"

namespace quoinry::profile {
namespace {

bool Same(const Edge& a, const Edge& b, double tolerance) {
    auto near = [&](Point p, Point q) { return Length(p - q) <= tolerance; };
    return (near(a.start, b.start) && near(a.end, b.end)) ||
           (near(a.start, b.end) && near(a.end, b.start));
}

struct EdgeAt {
    size_t chain;
    size_t index;
};

}  // namespace

size_t RemoveDuplicateChains(std::vector<Chain>& chains, double tolerance) {
    // Edges are matched by their middles first, then by their ends.
    std::vector<Point> middles;
    std::vector<EdgeAt> where;
    for (size_t c = 0; c < chains.size(); ++c) {
        for (size_t i = 0; i < chains[c].size(); ++i) {
            middles.push_back(EdgeMidpoint(chains[c][i]));
            where.push_back({c, i});
        }
    }
    // For each edge, the earlier chains that hold an edge like it.
    std::vector<std::vector<size_t>> twins(middles.size());
    for (const auto& [a, b] : NearPairs(middles, tolerance)) {
        const EdgeAt first = where[a], second = where[b];
        if (first.chain == second.chain)
            continue;
        if (!Same(chains[first.chain][first.index], chains[second.chain][second.index], tolerance))
            continue;
        twins[b].push_back(first.chain);  // a < b: a's chain comes first
    }
    std::vector<size_t> first_edge(chains.size() + 1, 0);
    for (size_t c = 0; c < chains.size(); ++c) first_edge[c + 1] = first_edge[c] + chains[c].size();
    // A chain goes when each of its edges is drawn already by a chain that stays.
    std::vector<bool> removed(chains.size(), false);
    for (size_t c = 0; c < chains.size(); ++c) {
        bool all = true;
        for (size_t e = first_edge[c]; e < first_edge[c + 1] && all; ++e) {
            all = std::any_of(twins[e].begin(), twins[e].end(),
                              [&](size_t d) { return !removed[d]; });
        }
        removed[c] = all;
    }
    std::vector<Chain> kept;
    kept.reserve(chains.size());
    for (size_t c = 0; c < chains.size(); ++c) {
        if (!removed[c])
            kept.push_back(std::move(chains[c]));
    }
    const size_t count = chains.size() - kept.size();
    chains = std::move(kept);
    return count;
}

}  // namespace quoinry::profile
