#include "edition/height_tables.h"

#include <array>

namespace quoinry {
namespace {

constexpr std::array<HeightRow, 21> kHeightCoefficients = {{
    {5, {1.09, 1.00, 0.65, 0.51}},   {10, {1.28, 1.00, 0.65, 0.51}},
    {15, {1.42, 1.13, 0.65, 0.51}},  {20, {1.52, 1.23, 0.74, 0.51}},
    {30, {1.67, 1.39, 0.88, 0.51}},  {40, {1.79, 1.52, 1.00, 0.60}},
    {50, {1.89, 1.62, 1.10, 0.69}},  {60, {1.97, 1.71, 1.20, 0.77}},
    {70, {2.05, 1.79, 1.28, 0.84}},  {80, {2.12, 1.87, 1.36, 0.91}},
    {90, {2.18, 1.93, 1.43, 0.98}},  {100, {2.23, 2.00, 1.50, 1.04}},
    {150, {2.46, 2.25, 1.79, 1.33}}, {200, {2.64, 2.46, 2.03, 1.58}},
    {250, {2.78, 2.63, 2.24, 1.81}}, {300, {2.91, 2.77, 2.43, 2.02}},
    {350, {2.91, 2.91, 2.60, 2.22}}, {400, {2.91, 2.91, 2.76, 2.40}},
    {450, {2.91, 2.91, 2.91, 2.58}}, {500, {2.91, 2.91, 2.91, 2.74}},
    {550, {2.91, 2.91, 2.91, 2.91}},
}};

// D at 550 m is 1.59: one public copy's 2.59 breaks the falling column (the formula gives 1.586).
constexpr std::array<HeightRow, 21> kCladdingGust = {{
    {5, {1.65, 1.70, 2.05, 2.40}},   {10, {1.60, 1.70, 2.05, 2.40}},
    {15, {1.57, 1.66, 2.05, 2.40}},  {20, {1.55, 1.63, 1.99, 2.40}},
    {30, {1.53, 1.59, 1.90, 2.40}},  {40, {1.51, 1.57, 1.85, 2.29}},
    {50, {1.49, 1.55, 1.81, 2.20}},  {60, {1.48, 1.54, 1.78, 2.14}},
    {70, {1.48, 1.52, 1.75, 2.09}},  {80, {1.47, 1.51, 1.73, 2.04}},
    {90, {1.46, 1.50, 1.71, 2.01}},  {100, {1.46, 1.50, 1.69, 1.98}},
    {150, {1.43, 1.47, 1.63, 1.87}}, {200, {1.42, 1.45, 1.59, 1.79}},
    {250, {1.41, 1.43, 1.57, 1.74}}, {300, {1.40, 1.42, 1.54, 1.70}},
    {350, {1.40, 1.41, 1.53, 1.67}}, {400, {1.40, 1.41, 1.51, 1.64}},
    {450, {1.40, 1.41, 1.50, 1.62}}, {500, {1.40, 1.41, 1.50, 1.60}},
    {550, {1.40, 1.41, 1.50, 1.59}},
}};

constexpr std::string_view kCategories[] = {"A类", "B类", "C类", "D类"};

}  // namespace

HeightReading ReadByHeight(std::span<const HeightRow> table, int category, double z_m) {
    HeightReading reading;
    reading.below = &table.front();
    reading.above = &table.front();
    if (z_m > table.front().z_m) {
        reading.below = reading.above = &table.back();
        for (std::size_t i = 1; i < table.size(); ++i) {
            if (z_m <= table[i].z_m) {
                reading.below = &table[i - 1];
                reading.above = &table[i];
                break;
            }
        }
    }
    // A height on a row reads that row alone.
    if (z_m == reading.above->z_m)
        reading.below = reading.above;
    const double v0 = reading.below->by_category[category];
    const double v1 = reading.above->by_category[category];
    reading.value = reading.below == reading.above
                        ? v0
                        : v0 + (z_m - reading.below->z_m) /
                                   (reading.above->z_m - reading.below->z_m) * (v1 - v0);
    return reading;
}

int TerrainCategoryIndex(std::string_view text) {
    for (int i = 0; i < 4; ++i) {
        if (kCategories[i] == text)
            return i;
    }
    return -1;
}

std::span<const HeightRow> HeightCoefficientTable2012() {
    return kHeightCoefficients;
}

std::span<const HeightRow> CladdingGustTable2012() {
    return kCladdingGust;
}

}  // namespace quoinry
