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
    std::vector<bool> removed(chains.size(), false);
    auto kept_twins = [&](size_t edge) {
        std::vector<size_t> kept;
        for (size_t c : twins[edge]) {
            if (!removed[c])
                kept.push_back(c);
        }
        return kept;
    };
    for (size_t c = 0; c < chains.size(); ++c) {
        const std::vector<size_t> candidates = kept_twins(first_edge[c]);
        if (chains[c].size() == 1) {
            removed[c] = !candidates.empty();
            continue;
        }
        for (size_t d : candidates) {
            if (chains[d].size() != chains[c].size())
                continue;
            bool all = true;
            for (size_t e = first_edge[c] + 1; e < first_edge[c + 1] && all; ++e) {
                const std::vector<size_t>& t = twins[e];
                all = std::find(t.begin(), t.end(), d) != t.end();
            }
            if (all) {
                removed[c] = true;
                break;
            }
        }
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
