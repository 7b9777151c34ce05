#pragma once

#include <span>
#include <string_view>

namespace quoinry {

// One row of a coefficient table by height: the value for terrain categories A, B, C, D at z_m.
struct HeightRow {
    double z_m;
    double by_category[4];
};

// A value read from a table by height: between rows `below` and `above` by linear interpolation;
// below the first row the first row, above the last row the last row (then below == above).
struct HeightReading {
    const HeightRow* below = nullptr;
    const HeightRow* above = nullptr;
    double value = 0.0;  // unrounded
};

HeightReading ReadByHeight(std::span<const HeightRow> table, int category, double z_m);

// 0 for "A类" .. 3 for "D类"; -1 for any other text.
int TerrainCategoryIndex(std::string_view text);

// GB 50009-2012 table 8.2.1 (height coefficient μz) and table 8.6.1 (gust factor βgz of
// cladding), 5 m to 550 m.
std::span<const HeightRow> HeightCoefficientTable2012();
std::span<const HeightRow> CladdingGustTable2012();

}  // namespace quoinry
