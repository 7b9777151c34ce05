#include "glass/coefficient_tables.h"

#include <gtest/gtest.h>

#include "common/calc_error.h"

namespace quoinry {
namespace {

struct RatioCase {
    float a, b;
    float m, mu;
};

TEST(GlassSideRatioTables, InterpolateAndRound) {
    const RatioCase cases[] = {
        {600, 1000, 0.0868f, 0.00867f},   // on a key
        {620, 1000, 0.0842f, 0.00839f},   // between keys
        {1000, 1000, 0.0442f, 0.00406f},  // square pane
        {950, 1000, 0.0483f, 0.00449f},   // the interval that ends at 0.95
        {960, 1000, 0.0475f, 0.0044f},    // 0.00440 after rounding
        {604, 1000, 0.0868f, 0.00867f},   // looked up as 0.60
        {1200, 1500, 0.0628f, 0.00603f},  // 0.80
        {1000, 800, 0.0f, 0.0f},          // swapped sides
        {0, 1000, 0.0f, 0.0f},            // ratio 0 is in no interval
        {-100, 1000, 0.0f, 0.0f},         // negative ratio
        {200, 1000, 0.1234f, 0.01297f},   // m between 0 and 0.25, μ on its 0.20 key
        {400, 1000, 0.1115f, 0.01137f},   // m on its 0.40 key, μ between 0.33 and 0.50
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GlassMomentCoefficient(c.a, c.b), c.m) << c.a << "/" << c.b;
        EXPECT_EQ(GlassDeflectionCoefficient(c.a, c.b), c.mu) << c.a << "/" << c.b;
    }
    // A ratio that rounds to 0.00 matches no interval.
    EXPECT_EQ(GlassMomentCoefficient(1, 1000), 0.0f);
    EXPECT_EQ(GlassDeflectionCoefficient(1, 1000), 0.0f);
}

TEST(GlassSideRatioTables, ZeroLongSideIsADivisionByZero) {
    EXPECT_THROW(GlassMomentCoefficient(0, 0), CalcError);
    EXPECT_THROW(GlassDeflectionCoefficient(100, 0), CalcError);
}

TEST(GlassReductionFactor, ClampsAndInterpolates) {
    const std::pair<float, float> cases[] = {
        {5, 1.0f},         {-3, 1.0f},       {0, 1.0f},    {7, 0.98f},      {30, 0.88f},
        {22.2222f, 0.91f}, {24.5556f, 0.9f}, {360, 0.51f}, {390, 0.5f},     {400, 0.5f},
        {1e30f, 0.5f},     {350, 0.51f},     {10, 0.96f},  {5.0001f, 1.0f},
    };
    for (const auto& [theta, eta] : cases) {
        EXPECT_EQ(GlassReductionFactor(theta), eta) << theta;
    }
}

}  // namespace
}  // namespace quoinry
