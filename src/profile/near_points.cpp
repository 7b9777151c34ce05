#include "profile/near_points.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <optional>

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

using Pairs = std::vector<std::pair<size_t, size_t>>;

// Cells too far apart for one packed key: sorted by their two coordinates.
Pairs PairsOfSortedCells(const std::vector<Point>& points, double tolerance) {
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
    Pairs pairs;
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

// Sorts by the bits from `shift` up, equal keys keeping their order: eight bits at a time,
// lowest first, so that the 256 places written to stay in the cache.
void SortFromBit(std::vector<uint64_t>& items, int shift) {
    uint64_t largest = 0;
    for (uint64_t item : items) largest = std::max(largest, item);
    std::vector<uint64_t> sorted(items.size());
    for (; shift < 64 && (largest >> shift) != 0; shift += 8) {
        size_t start[257] = {};
        for (uint64_t item : items) ++start[((item >> shift) & 255) + 1];
        for (size_t b = 1; b < 257; ++b) start[b] += start[b - 1];
        for (uint64_t item : items) sorted[start[(item >> shift) & 255]++] = item;
        items.swap(sorted);
    }
}

int BitsOf(uint64_t value) {
    int bits = 0;
    for (; value != 0; value >>= 1) ++bits;
    return bits;
}

// The same pairs, found through one number per point: its cell's key (column × stride + row,
// with a spare row below and above each column so that the neighbours' keys are key ± 1 and
// key + stride ± 1) above the point's own number. Nothing when the numbers do not fit in 64 bits.
std::optional<Pairs> PairsOfPackedCells(const std::vector<Point>& points, double tolerance) {
    const double size = tolerance > 0 ? tolerance : 1;
    std::vector<Cell> cells;
    cells.reserve(points.size());
    for (const Point& p : points) cells.push_back({CellOf(p.x, size), CellOf(p.y, size)});
    if (cells.empty())
        return Pairs{};
    Cell low = cells[0], high = cells[0];
    for (const Cell& c : cells) {
        low = {std::min(low.x, c.x), std::min(low.y, c.y)};
        high = {std::max(high.x, c.x), std::max(high.y, c.y)};
    }
    // Differences of cells within ±4e18 fit an unsigned 64-bit number.
    const uint64_t columns = static_cast<uint64_t>(high.x) - static_cast<uint64_t>(low.x);
    const uint64_t rows = static_cast<uint64_t>(high.y) - static_cast<uint64_t>(low.y);
    constexpr uint64_t kLargestSpan = uint64_t{1} << 30;
    if (columns >= kLargestSpan || rows >= kLargestSpan)
        return std::nullopt;
    const uint64_t stride = rows + 3;
    const int point_bits = BitsOf(points.size());
    if (BitsOf((columns + 1) * stride) + point_bits > 64)
        return std::nullopt;
    std::vector<uint64_t> keyed;
    keyed.reserve(points.size());
    for (size_t i = 0; i < cells.size(); ++i) {
        const uint64_t column = static_cast<uint64_t>(cells[i].x) - static_cast<uint64_t>(low.x);
        const uint64_t row = static_cast<uint64_t>(cells[i].y) - static_cast<uint64_t>(low.y);
        keyed.push_back((column * stride + row + 1) << point_bits | i);
    }
    SortFromBit(keyed, point_bits);  // the points' numbers are in order already
    const uint64_t mask = (uint64_t{1} << point_bits) - 1;
    // The points in that order, read one after the other below.
    std::vector<Point> near;
    near.reserve(keyed.size());
    for (uint64_t k : keyed) near.push_back(points[k & mask]);
    Pairs pairs;
    auto meet = [&](size_t k, size_t m) {
        if (Length(near[k] - near[m]) <= tolerance)
            pairs.push_back(std::minmax<size_t>(keyed[k] & mask, keyed[m] & mask));
    };
    size_t next_column = 0;  // the first entry at or after the lower neighbour in the next column
    for (size_t k = 0; k < keyed.size(); ++k) {
        const uint64_t key = keyed[k] >> point_bits;
        // The rest of this cell and the cell above it, then the next column's three rows.
        for (size_t m = k + 1; m < keyed.size() && keyed[m] >> point_bits <= key + 1; ++m)
            meet(k, m);
        while (next_column < keyed.size() && keyed[next_column] >> point_bits < key + stride - 1)
            ++next_column;
        for (size_t m = next_column; m < keyed.size() && keyed[m] >> point_bits <= key + stride + 1;
             ++m)
            meet(k, m);
    }
    return pairs;
}

}  // namespace

std::vector<std::pair<size_t, size_t>> NearPairs(const std::vector<Point>& points,
                                                 double tolerance) {
    if (std::optional<Pairs> pairs = PairsOfPackedCells(points, tolerance))
        return std::move(*pairs);
    return PairsOfSortedCells(points, tolerance);
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
