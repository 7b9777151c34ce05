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

std::vector<bool> RepeatedChains(const std::vector<Chain>& chains, double tolerance) {
    // Edges are matched by their middles first, then by their ends.
    size_t edges = 0;
    for (const Chain& chain : chains) edges += chain.size();
    std::vector<Point> middles;
    std::vector<EdgeAt> where;
    middles.reserve(edges);
    where.reserve(edges);
    for (size_t c = 0; c < chains.size(); ++c) {
        for (size_t i = 0; i < chains[c].size(); ++i) {
            middles.push_back(EdgeMidpoint(chains[c][i]));
            where.push_back({c, i});
        }
    }
    // Each edge with an earlier chain that holds an edge like it; most drawings have none.
    std::vector<std::pair<size_t, size_t>> twins;
    for (const auto& [a, b] : NearPairs(middles, tolerance)) {
        const EdgeAt first = where[a], second = where[b];
        if (first.chain == second.chain)
            continue;
        if (!Same(chains[first.chain][first.index], chains[second.chain][second.index], tolerance))
            continue;
        twins.push_back({b, first.chain});  // a < b: a's chain comes first
    }
    if (twins.empty())
        return {};
    std::sort(twins.begin(), twins.end());
    // A chain goes when each of its edges is drawn already by a chain that stays.
    std::vector<bool> removed(chains.size(), false);
    auto twin = twins.begin();  // of the edge looked at
    size_t edge = 0;            // numbered through all chains
    for (size_t c = 0; c < chains.size(); ++c) {
        bool all = true;
        for (size_t i = 0; i < chains[c].size(); ++i, ++edge) {
            bool drawn = false;
            for (; twin != twins.end() && twin->first <= edge; ++twin)
                drawn = drawn || (twin->first == edge && !removed[twin->second]);
            all = all && drawn;
        }
        removed[c] = all;
    }
    return removed;
}

size_t RemoveChains(std::vector<Chain>& chains, const std::vector<bool>& flagged) {
    if (flagged.empty())
        return 0;
    std::vector<Chain> kept;
    kept.reserve(chains.size());
    for (size_t c = 0; c < chains.size(); ++c) {
        if (!flagged[c])
            kept.push_back(std::move(chains[c]));
    }
    const size_t count = chains.size() - kept.size();
    chains = std::move(kept);
    return count;
}

}  // namespace quoinry::profile
