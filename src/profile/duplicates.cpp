#include "profile/duplicates.h"

#include <cmath>
#include <cstdint>
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

int64_t Cell(double v, double size) {
    return static_cast<int64_t>(std::floor(v / size));
}

uint64_t Key(int64_t x, int64_t y) {
    return (static_cast<uint64_t>(x) * 0x9E3779B97F4A7C15ull) ^ static_cast<uint64_t>(y);
}

}  // namespace

size_t RemoveDuplicateEdges(std::vector<Edge>& edges, double tolerance) {
    // Edges are found by their middles, in cells as large as the tolerance.
    std::unordered_map<uint64_t, std::vector<size_t>> cells;
    std::vector<Edge> kept;
    kept.reserve(edges.size());
    for (const Edge& edge : edges) {
        const Point mid = EdgeMidpoint(edge);
        const int64_t cx = Cell(mid.x, tolerance), cy = Cell(mid.y, tolerance);
        bool repeated = false;
        for (int64_t dx = -1; dx <= 1 && !repeated; ++dx) {
            for (int64_t dy = -1; dy <= 1 && !repeated; ++dy) {
                const auto found = cells.find(Key(cx + dx, cy + dy));
                if (found == cells.end())
                    continue;
                for (size_t k : found->second) {
                    if (Same(kept[k], edge, tolerance)) {
                        repeated = true;
                        break;
                    }
                }
            }
        }
        if (repeated)
            continue;
        cells[Key(cx, cy)].push_back(kept.size());
        kept.push_back(edge);
    }
    const size_t removed = edges.size() - kept.size();
    edges = std::move(kept);
    return removed;
}

}  // namespace quoinry::profile
