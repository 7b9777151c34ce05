#include "profile/near_points.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace quoinry::profile {
namespace {

struct Cell {
    int64_t x;
    int64_t y;
    bool operator<(const Cell& o) const { return x != o.x ? x < o.x : y < o.y; }
};

int64_t CellOf(double v, double size) {
    return static_cast<int64_t>(std::clamp(std::floor(v / size), -4e18, 4e18));
}

size_t Root(std::vector<size_t>& parent, size_t i) {
    while (parent[i] != i) {
        parent[i] = parent[parent[i]];
        i = parent[i];
    }
    return i;
}

}  // namespace

std::vector<std::pair<size_t, size_t>> NearPairs(const std::vector<Point>& points,
                                                 double tolerance) {
    // Points in cells as large as the tolerance, sorted by cell: each point meets the points of
    // its own cell and of the cells beside it in one contiguous run per column.
    const double size = tolerance > 0 ? tolerance : 1;
    std::vector<std::pair<Cell, size_t>> cells;
    cells.reserve(points.size());
    for (size_t i = 0; i < points.size(); ++i)
        cells.push_back({{CellOf(points[i].x, size), CellOf(points[i].y, size)}, i});
    std::sort(cells.begin(), cells.end(), [](const auto& a, const auto& b) {
        return a.first < b.first || (!(b.first < a.first) && a.second < b.second);
    });
    std::vector<std::pair<size_t, size_t>> pairs;
    auto meet = [&](size_t i, size_t j) {
        if (Length(points[i] - points[j]) <= tolerance)
            pairs.push_back(std::minmax(i, j));
    };
    for (size_t k = 0; k < cells.size(); ++k) {
        const Cell c = cells[k].first;
        // The rest of this column up to the next row of cells, then the next column's three rows.
        for (size_t m = k + 1;
             m < cells.size() && cells[m].first.x == c.x && cells[m].first.y <= c.y + 1; ++m) {
            meet(cells[k].second, cells[m].second);
        }
        auto from = std::lower_bound(cells.begin() + static_cast<long>(k), cells.end(),
                                     Cell{c.x + 1, c.y - 1},
                                     [](const auto& e, const Cell& v) { return e.first < v; });
        for (; from != cells.end() && from->first.x == c.x + 1 && from->first.y <= c.y + 1; ++from)
            meet(cells[k].second, from->second);
    }
    return pairs;
}

std::vector<size_t> GroupNearPoints(const std::vector<Point>& points, double tolerance) {
    std::vector<size_t> parent(points.size());
    std::iota(parent.begin(), parent.end(), size_t{0});
    for (const auto& [a, b] : NearPairs(points, tolerance)) {
        const size_t ra = Root(parent, a), rb = Root(parent, b);
        if (ra != rb)
            parent[std::max(ra, rb)] = std::min(ra, rb);
    }
    std::vector<size_t> group(points.size());
    std::vector<size_t> number(points.size(), points.size());
    size_t next = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const size_t root = Root(parent, i);
        if (number[root] == points.size())
            number[root] = next++;
        group[i] = number[root];
    }
    return group;
}

}  // namespace quoinry::profile
