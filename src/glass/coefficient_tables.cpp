#include "glass/coefficient_tables.h"

#include <array>
#include <span>

#include "common/checked_math.h"
#include "common/numbers.h"

namespace quoinry {
namespace {

struct Point {
    double key;
    double value;
};

constexpr std::array<Point, 15> kMoment = {{{0.00, 0.1250},
                                            {0.25, 0.1230},
                                            {0.33, 0.1180},
                                            {0.40, 0.1115},
                                            {0.50, 0.1000},
                                            {0.55, 0.0934},
                                            {0.60, 0.0868},
                                            {0.65, 0.0804},
                                            {0.70, 0.0742},
                                            {0.75, 0.0683},
                                            {0.80, 0.0628},
                                            {0.85, 0.0576},
                                            {0.90, 0.0528},
                                            {0.95, 0.0483},
                                            {1.00, 0.0442}}};

constexpr std::array<Point, 14> kReduction = {{{5, 1.00},
                                               {10, 0.96},
                                               {20, 0.92},
                                               {40, 0.84},
                                               {60, 0.78},
                                               {80, 0.73},
                                               {100, 0.68},
                                               {120, 0.65},
                                               {150, 0.61},
                                               {200, 0.57},
                                               {250, 0.54},
                                               {300, 0.52},
                                               {350, 0.51},
                                               {400, 0.50}}};

constexpr std::array<Point, 15> kDeflection = {{{0.00, 0.01302},
                                                {0.20, 0.01297},
                                                {0.25, 0.01282},
                                                {0.33, 0.01223},
                                                {0.50, 0.01013},
                                                {0.55, 0.00940},
                                                {0.60, 0.00867},
                                                {0.65, 0.00796},
                                                {0.70, 0.00727},
                                                {0.75, 0.00663},
                                                {0.80, 0.00603},
                                                {0.85, 0.00547},
                                                {0.90, 0.00496},
                                                {0.95, 0.00449},
                                                {1.00, 0.00406}}};

// Interpolates between two table points and rounds; the interval test is the caller's.
float Interpolate(const Point& p0, const Point& p1, float x, int decimals) {
    const double value = p0.value + (((static_cast<double>(x) - p0.key) * (p1.value - p0.value)) /
                                     (p1.key - p0.key));
    return ToSingle(RoundN(value, decimals));
}

// The intervals are open below and closed above, keys compared in single precision; x in no
// interval gives 0.
float LookUp(std::span<const Point> table, float x, int decimals) {
    for (std::size_t i = 0; i + 1 < table.size(); ++i) {
        const float k0 = static_cast<float>(table[i].key);
        const float k1 = static_cast<float>(table[i + 1].key);
        if (k0 < x && x <= k1)
            return Interpolate(table[i], table[i + 1], x, decimals);
    }
    return 0.0f;
}

float SideRatio(float a, float b) {
    const float ratio = ToSingle(Div(a, b));
    return ToSingle(RoundN(ratio, 2));
}

}  // namespace

float GlassMomentCoefficient(float a, float b) {
    return LookUp(kMoment, SideRatio(a, b), 4);
}

float GlassDeflectionCoefficient(float a, float b) {
    return LookUp(kDeflection, SideRatio(a, b), 5);
}

float GlassReductionFactor(float theta) {
    if (theta <= 5.0f)
        return 1.0f;
    if (theta >= 400.0f)
        return 0.5f;
    return LookUp(kReduction, theta, 2);
}

}  // namespace quoinry
