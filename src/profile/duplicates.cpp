#include "profile/duplicates.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <unordered_map>

namespace quoinry::profile {
namespace {

bool Near(Point a, Point b, double tolerance) {
    return Length(a - b) <= tolerance;
}

bool Same(const Edge& a, const Edge& b, double tolerance) {
    const bool ends = (Near(a.start, b.start, tolerance) && Near(a.end, b.end, tolerance)) ||
                      (Near(a.start, b.end, tolerance) && Near(a.end, b.start, tolerance));
    return ends && Near(EdgeMidpoint(a), EdgeMidpoint(b), tolerance);
}

// Kept edges found by their middles, in cells as large as the tolerance.
class EdgeIndex {
  public:
    explicit EdgeIndex(double tolerance) : tolerance_(tolerance) {}

    // The kept chains holding an edge like `edge`.
    std::vector<size_t> ChainsWith(const Edge& edge, const std::vector<Chain>& kept) const {
        std::vector<size_t> found;
        const Point mid = EdgeMidpoint(edge);
        const int64_t cx = Cell(mid.x), cy = Cell(mid.y);
        for (int64_t dx = -1; dx <= 1; ++dx) {
            for (int64_t dy = -1; dy <= 1; ++dy) {
                const auto cell = cells_.find(Key(cx + dx, cy + dy));
                if (cell == cells_.end())
                    continue;
                for (const auto& [chain, index] : cell->second) {
                    if (Same(kept[chain][index], edge, tolerance_))
                        found.push_back(chain);
                }
            }
        }
        return found;
    }

    void Add(const Chain& chain, size_t number) {
        for (size_t i = 0; i < chain.size(); ++i) {
            const Point mid = EdgeMidpoint(chain[i]);
            cells_[Key(Cell(mid.x), Cell(mid.y))].push_back({number, i});
        }
    }

  private:
    int64_t Cell(double v) const { return static_cast<int64_t>(std::floor(v / tolerance_)); }
    static uint64_t Key(int64_t x, int64_t y) {
        return (static_cast<uint64_t>(x) * 0x9E3779B97F4A7C15ull) ^ static_cast<uint64_t>(y);
    }

    double tolerance_;
    std::unordered_map<uint64_t, std::vector<std::pair<size_t, size_t>>> cells_;
};

bool Contains(const std::vector<size_t>& list, size_t value) {
    for (size_t v : list) {
        if (v == value)
            return true;
    }
    return false;
}

bool Repeats(const Chain& chain, const EdgeIndex& index, const std::vector<Chain>& kept) {
    const std::vector<size_t> first = index.ChainsWith(chain.front(), kept);
    if (chain.size() == 1)
        return !first.empty();
    for (size_t candidate : first) {
        if (kept[candidate].size() != chain.size())
            continue;
        bool all = true;
        for (size_t i = 1; i < chain.size() && all; ++i)
            all = Contains(index.ChainsWith(chain[i], kept), candidate);
        if (all)
            return true;
    }
    return false;
}

}  // namespace

size_t RemoveDuplicateChains(std::vector<Chain>& chains, double tolerance) {
    EdgeIndex index(tolerance);
    std::vector<Chain> kept;
    kept.reserve(chains.size());
    for (Chain& chain : chains) {
        if (chain.empty() || Repeats(chain, index, kept))
            continue;
        index.Add(chain, kept.size());
        kept.push_back(std::move(chain));
    }
    const size_t removed = chains.size() - kept.size();
    chains = std::move(kept);
    return removed;
}

}  // namespace quoinry::profile
