#include "wind/wind_load.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <span>

#include "common/numbers.h"
#include "wind/terrain_category.h"

#include "test_support.h"
#include "wind_test_support.h"

namespace quoinry {
namespace {

using testing_support::ErrorOf;
using testing_support::HasLine;

using testing_support::RunWind;
using testing_support::WindRun;

WindLoadInput Input(const char* pressure, const char* category, const char* mu_s,
                    const char* height, MinimumWkRule rule = MinimumWkRule::None) {
    return {"南京", pressure, category, mu_s, height, rule};
}

// The coefficients of one terrain category at one height, as the report rounds them.
struct HeightCase {
    const char* category;
    const char* height;
    float mu_f, beta_gz, mu_z;
    double wk;
};

// Load code of 2001, worked by hand with Wo = 0.4 kN/m^2 and μs = 1.2, so Wk = βgz × μz × 0.48.
// Every coefficient is rounded to 3 decimals before it is used further. μz is not less than the
// value table 7.2.1 holds at and below the height where the profile starts: A 1.17 (5 m), B 1.00
// (10 m), C 0.74 (15 m), D 0.62 (30 m).
constexpr HeightCase kHeights2001[] = {
    // A: μf = 0.387 × (Z/10)^-0.12 | βgz = 0.92 × (1 + 2μf) | μz = 1.379 × (Z/10)^0.24 | Wk
    // 5 m: 0.42057 | 0.92 × 1.842 = 1.69464 | 1.16766 < 1.17 | 1.695 × 1.17 × 0.48 = 0.95191
    {"A类", "5", 0.421f, 1.695f, 1.17f, 0.952},
    // 10 m: 0.38700 | 0.92 × 1.774 = 1.63208 | 1.37900 | 1.632 × 1.379 × 0.48 = 1.08025
    {"A类", "10", 0.387f, 1.632f, 1.379f, 1.080},
    // 25 m: 0.34670 | 0.92 × 1.694 = 1.55848 | 1.71818 | 1.558 × 1.718 × 0.48 = 1.28479
    {"A类", "25", 0.347f, 1.558f, 1.718f, 1.285},
    // 72 m: 0.30537 | 0.92 × 1.610 = 1.48120 | 2.21475 | 1.481 × 2.215 × 0.48 = 1.57460
    {"A类", "72", 0.305f, 1.481f, 2.215f, 1.575},
    // 100 m: 0.29357 | 0.92 × 1.588 = 1.46096 | 2.39643 | 1.461 × 2.396 × 0.48 = 1.68027
    {"A类", "100", 0.294f, 1.461f, 2.396f, 1.680},
    // 250 m: 0.26300 | 0.92 × 1.526 = 1.40392 | 2.98586 | 1.404 × 2.986 × 0.48 = 2.01233
    {"A类", "250", 0.263f, 1.404f, 2.986f, 2.012},
    // B: μf = 0.5 × (Z/10)^-0.16 | βgz = 0.89 × (1 + 2μf) | μz = (Z/10)^0.32 | Wk
    // 5 m: 0.55864 | 0.89 × 2.118 = 1.88502 | 0.80107 < 1.00 | 1.885 × 1.000 × 0.48 = 0.9048
    {"B类", "5", 0.559f, 1.885f, 1.0f, 0.905},
    // 10 m: 0.50000 | 0.89 × 2.000 = 1.78000 | 1.00000 | 1.780 × 1.000 × 0.48 = 0.85440
    {"B类", "10", 0.500f, 1.780f, 1.000f, 0.854},
    // 25 m: 0.43182 | 0.89 × 1.864 = 1.65896 | 1.34073 | 1.659 × 1.341 × 0.48 = 1.06787
    {"B类", "25", 0.432f, 1.659f, 1.341f, 1.068},
    // 72 m: 0.36458 | 0.89 × 1.730 = 1.53970 | 1.88082 | 1.540 × 1.881 × 0.48 = 1.39044
    {"B类", "72", 0.365f, 1.540f, 1.881f, 1.390},
    // 100 m: 0.34592 | 0.89 × 1.692 = 1.50588 | 2.08930 | 1.506 × 2.089 × 0.48 = 1.51010
    {"B类", "100", 0.346f, 1.506f, 2.089f, 1.510},
    // 250 m: 0.29874 | 0.89 × 1.598 = 1.42222 | 2.80118 | 1.422 × 2.801 × 0.48 = 1.91185
    {"B类", "250", 0.299f, 1.422f, 2.801f, 1.912},
    // C: μf = 0.734 × (Z/10)^-0.22 | βgz = 0.85 × (1 + 2μf) | μz = 0.616 × (Z/10)^0.44 | Wk
    // 5 m: 0.85491 | 0.85 × 2.710 = 2.30350 | 0.45407 < 0.74 | 2.304 × 0.740 × 0.48 = 0.81838
    // μf 0.855 is 0.85500002 as a single: 0.85 × 2.71000004 = 2.30350003 rounds up.
    {"C类", "5", 0.855f, 2.304f, 0.74f, 0.818},
    // 10 m: 0.73400 | 0.85 × 2.468 = 2.09780 | 0.61600 < 0.74 | 2.098 × 0.740 × 0.48 = 0.74521
    {"C类", "10", 0.734f, 2.098f, 0.74f, 0.745},
    // 25 m: 0.60000 | 0.85 × 2.200 = 1.87000 | 0.92188 | 1.870 × 0.922 × 0.48 = 0.82759
    {"C类", "25", 0.600f, 1.870f, 0.922f, 0.828},
    // 72 m: 0.47543 | 0.85 × 1.950 = 1.65750 | 1.46827 | 1.657 × 1.468 × 0.48 = 1.16759
    // μf 0.475 is 0.47499999 as a single: 0.85 × 1.94999999 = 1.65749999 rounds down.
    {"C类", "72", 0.475f, 1.657f, 1.468f, 1.168},
    // 100 m: 0.44228 | 0.85 × 1.884 = 1.60140 | 1.69660 | 1.601 × 1.697 × 0.48 = 1.30411
    {"C类", "100", 0.442f, 1.601f, 1.697f, 1.304},
    // 250 m: 0.36153 | 0.85 × 1.724 = 1.46540 | 2.53907 | 1.465 × 2.539 × 0.48 = 1.78542
    {"C类", "250", 0.362f, 1.465f, 2.539f, 1.785},
    // D: μf = 1.2248 × (Z/10)^-0.3 | βgz = 0.8 × (1 + 2μf) | μz = 0.318 × (Z/10)^0.6 | Wk
    // 5 m: 1.50791 | 0.8 × 4.016 = 3.21280 | 0.20980 < 0.62 | 3.213 × 0.620 × 0.48 = 0.95619
    {"D类", "5", 1.508f, 3.213f, 0.62f, 0.956},
    // 10 m: 1.22480 | 0.8 × 3.450 = 2.76000 | 0.31800 < 0.62 | 2.760 × 0.620 × 0.48 = 0.82138
    {"D类", "10", 1.225f, 2.760f, 0.62f, 0.821},
    // 25 m: 0.93043 | 0.8 × 2.860 = 2.28800 | 0.55105 < 0.62 | 2.288 × 0.620 × 0.48 = 0.68091
    // μf lies 0.00007 below 0.9305: the fourth digit of 1.2248 decides it.
    {"D类", "25", 0.930f, 2.288f, 0.62f, 0.681},
    // 72 m: 0.67743 | 0.8 × 2.354 = 1.88320 | 1.03951 | 1.883 × 1.040 × 0.48 = 0.93999
    {"D类", "72", 0.677f, 1.883f, 1.040f, 0.940},
    // 100 m: 0.61385 | 0.8 × 2.228 = 1.78240 | 1.26598 | 1.782 × 1.266 × 0.48 = 1.08289
    {"D类", "100", 0.614f, 1.782f, 1.266f, 1.083},
    // 250 m: 0.46632 | 0.8 × 1.932 = 1.54560 | 2.19377 | 1.546 × 2.194 × 0.48 = 1.62812
    {"D类", "250", 0.466f, 1.546f, 2.194f, 1.628},
};

void ExpectHeights(std::span<const HeightCase> cases) {
    for (const HeightCase& c : cases) {
        SCOPED_TRACE(std::string(c.category) + " " + c.height + " m");
        const WindLoadResult r = RunWind(Input("400", c.category, "1.2", c.height)).result;
        EXPECT_EQ(r.mu_f, c.mu_f);
        EXPECT_EQ(r.beta_gz, c.beta_gz);
        EXPECT_EQ(r.mu_z, c.mu_z);
        EXPECT_EQ(r.wk_computed, c.wk);
        EXPECT_EQ(r.wk, c.wk);
        EXPECT_EQ(r.bound_applied, MinimumWkRule::None);
    }
}

TEST(WindLoad, CoefficientsOfEveryTerrainCategoryAtHeights) {
    ExpectHeights(kHeights2001);
}

struct CutOffCase {
    const char* category;
    const char* height;
    float formula, mu_z;
    const char* table_line;  // the line after the formula's value; empty: none
};

// Each category at, just above and below the height where its profile starts: the formula's
// value is shown, and where it is below the table's value that one is taken and said.
constexpr CutOffCase kCutOffs[] = {
    // 1.379 × 0.5^0.24 = 1.16766; 1.379 × 0.51^0.24 = 1.17322
    {"A类", "4", 1.107f, 1.17f, "A类地区μz不小于5m及以下的值1.17,取μz=1.170"},
    {"A类", "5", 1.168f, 1.17f, "A类地区μz不小于5m及以下的值1.17,取μz=1.170"},
    {"A类", "5.1", 1.173f, 1.173f, ""},
    // exactly 1 at 10 m: no line
    {"B类", "10", 1.0f, 1.0f, ""},
    // 0.616 × 0.6^0.44 = 0.49197 (34 % low); 0.616 × 1.5^0.44 = 0.73627; 1.52^0.44 gives 0.74145
    {"C类", "6", 0.492f, 0.74f, "C类地区μz不小于15m及以下的值0.74,取μz=0.740"},
    {"C类", "15", 0.736f, 0.74f, "C类地区μz不小于15m及以下的值0.74,取μz=0.740"},
    {"C类", "15.2", 0.741f, 0.741f, ""},
    // 0.318 × 3^0.6 = 0.61485; 0.318 × 3.05^0.6 = 0.62089
    {"D类", "30", 0.615f, 0.62f, "D类地区μz不小于30m及以下的值0.62,取μz=0.620"},
    {"D类", "30.5", 0.621f, 0.621f, ""},
};

TEST(WindLoad, HeightCoefficientNotBelowTheTablesValueUnderTheProfile) {
    for (const CutOffCase& c : kCutOffs) {
        SCOPED_TRACE(std::string(c.category) + " " + c.height + " m");
        const WindRun run = RunWind(Input("400", c.category, "1.2", c.height));
        EXPECT_EQ(run.result.mu_z, c.mu_z);
        const auto formula = std::find(run.lines.begin(), run.lines.end(),
                                       "          =" + FormatFixed(c.formula, 3));
        ASSERT_NE(formula, run.lines.end());
        const std::string table_line =
            *c.table_line ? std::string("       按GB50009-2001表7.2.1,") + c.table_line : "";
        EXPECT_EQ(formula[1].starts_with("       Wk="), table_line.empty());
        if (!table_line.empty()) {
            EXPECT_EQ(formula[1], table_line);
        }
    }
}

// Table 7.2.1's constants below each profile's start are the profile's value there, rounded as
// the table prints it: 1.379 × 0.5^0.24 = 1.168 → 1.17, 1, 0.616 × 1.5^0.44 = 0.736 → 0.74; D's
// 0.62 is the table's although 0.318 × 3^0.6 = 0.615: the higher value, the safe one.
TEST(WindLoad, HeightCoefficientFloorsAreTheTablesValues) {
    struct Floor {
        const char* category;
        double from_m, at_least;
    };
    for (const Floor& f : {Floor{"A类", 5, 1.17}, Floor{"B类", 10, 1.00}, Floor{"C类", 15, 0.74},
                           Floor{"D类", 30, 0.62}}) {
        const TerrainCategory& c = *FindTerrainCategory(f.category);
        EXPECT_EQ(c.mu_z_from_m, f.from_m) << f.category;
        EXPECT_EQ(c.mu_z_at_least, f.at_least) << f.category;
        const double profile = c.r * std::pow(c.mu_z_from_m / 10.0, c.s);
        EXPECT_NEAR(profile, f.at_least, f.category == std::string("D类") ? 0.0055 : 0.005);
    }
}

// GB 50009-2001 7.1.2: Wo not less than 0.30 kN/m^2. B at 10 m: Wk = 1.78 × 1 × Wo.
TEST(WindLoad, BasicPressureNotBelowTheCodesFloor) {
    const WindRun low = RunWind(Input("250", "B类", "1", "10"));
    EXPECT_EQ(low.result.w0_given, 0.25);
    EXPECT_TRUE(low.result.w0_raised);
    EXPECT_EQ(low.result.w0, 0.30);
    EXPECT_EQ(low.result.wk, 0.534);  // 1.78 × 0.3
    EXPECT_TRUE(HasLine(low.lines, "   Wo: 50年一遇的最大风压:Wo=0.30kN/m^2"));
    EXPECT_TRUE(
        HasLine(low.lines,
                "       所在地的基本风压0.25kN/m^2小于0.30kN/m^2,取Wo=0.30kN/m^2(GB50009-2001 "
                "7.1.2)"));
    EXPECT_TRUE(low.lines[24].ends_with("×1×0.3"));
    const WindRun at = RunWind(Input("300", "B类", "1", "10"));
    EXPECT_FALSE(at.result.w0_raised);
    EXPECT_EQ(at.result.wk, 0.534);
    EXPECT_EQ(at.lines.size(), low.lines.size() - 1);
    EXPECT_EQ(RunWind(Input("301", "B类", "1", "10")).result.wk, 0.536);  // 1.78 × 0.301 = 0.53578
}

// Category B at 10 m: μf 0.5, βgz 0.89 × 2 = 1.78, μz 1, so Wk = 1.78 × μs × Wo.
struct BoundCase {
    const char* pressure;
    const char* mu_s;
    MinimumWkRule rule;
    double computed, wk, w;
    bool raised;
};

constexpr auto kNone = MinimumWkRule::None;
constexpr auto k1 = MinimumWkRule::AtLeast1;
constexpr auto k075 = MinimumWkRule::AtLeast075;

constexpr BoundCase kBounds[] = {
    {"561.2", "1", k1, 0.999, 1.0, 1.4, true},          // 1.78 × 0.5612 = 0.99894
    {"561.8", "1", k1, 1.0, 1.0, 1.4, false},           // 1.78 × 0.5618 = 1.000004: at the bound
    {"562.3", "1", k1, 1.001, 1.001, 1.401, false},     // 1.78 × 0.5623 = 1.00089; 1.4 × 1.001
    {"420.8", "1", k075, 0.749, 0.75, 1.05, true},      // 1.78 × 0.4208 = 0.74902
    {"421.3", "1", k075, 0.75, 0.75, 1.05, false},      // 1.78 × 0.4213 = 0.74991: at the bound
    {"421.9", "1", k075, 0.751, 0.751, 1.051, false},   // 1.78 × 0.4219 = 0.75098; 1.4 × 0.751
    {"449.4", "1", k075, 0.8, 0.8, 1.12, false},        // 1.78 × 0.4494 = 0.79993
    {"420.8", "1", k1, 0.749, 1.0, 1.4, true},          // the 1.0 rule also lifts a 0.749
    {"561.2", "1", kNone, 0.999, 0.999, 1.399, false},  // no bound; 1.4 × 0.999 = 1.3986
    // Suction is checked by its size, and a bound applies to the size.
    {"561.8", "-1", kNone, -1.0, 1.0, 1.4, false},
    {"561.2", "-1", k1, -0.999, 1.0, 1.4, true},
    {"561.8", "-1", k1, -1.0, 1.0, 1.4, false},
    {"562.3", "-1", k1, -1.001, 1.001, 1.401, false},
    {"420.8", "-1", k075, -0.749, 0.75, 1.05, true},
    {"449.4", "-1", k075, -0.8, 0.8, 1.12, false},
    // 1.78 × 2.444 = 4.35032: 23 % of it was checked under the old 1.0 rule
    {"2444", "-1", k1, -4.35, 4.35, 6.09, false},
};

TEST(WindLoad, LowerBoundsLiftOnlySizesBelowThem) {
    const std::string line_1 =
        "       根据《玻璃幕墙工程技术规范》JGJ102-2003中第5.3.2条规定取Wk=1.0kN/m^2";
    const std::string line_075 =
        "       根据《建筑玻璃应用技术规程》JGJ113-2003中第4.1.2条规定取Wk=0.75kN/m^2";
    for (const BoundCase& c : kBounds) {
        SCOPED_TRACE(std::string(c.pressure) + " Pa, μs " + c.mu_s);
        const WindRun run = RunWind(Input(c.pressure, "B类", c.mu_s, "10", c.rule));
        EXPECT_EQ(run.result.wk_computed, c.computed);
        EXPECT_EQ(run.result.wk, c.wk);
        EXPECT_EQ(run.result.w, c.w);
        EXPECT_EQ(run.shared.WindLoadStandard, c.wk);
        EXPECT_EQ(run.shared.WindLoadDesign, c.w);
        EXPECT_EQ(run.result.bound_applied, c.raised ? c.rule : kNone);
        EXPECT_EQ(HasLine(run.lines, line_1), c.raised && c.rule == k1);
        EXPECT_EQ(HasLine(run.lines, line_075), c.raised && c.rule == k075);
        const std::string suction =
            "       Wk为负值(风吸力),玻璃和杆件按其绝对值校核:Wk=" + FormatFixed(-c.computed, 3) +
            "kN/m^2";
        EXPECT_EQ(HasLine(run.lines, suction), c.computed < 0);
        EXPECT_TRUE(run.box.starts_with("风荷载的标准值:" + GeneralText(c.wk) + "kN/m^2"));
    }
}

// The report of this example is golden/0001's, compared byte for byte there.
TEST(WindLoad, WorkedExampleCategoryB) {
    // Wo 0.35, μf 0.5 × 2^-0.16 = 0.448, βgz 0.89 × 1.896 = 1.687, μz 2^0.32 = 1.248,
    // Wk 1.248 × 1.687 × 1.5 × 0.35 = 1.10532, W 1.4 × 1.105 = 1.547.
    const WindRun run = RunWind(Input("350", "B类", "1.5", "20"));
    EXPECT_EQ(run.result.w0, 0.35);
    EXPECT_EQ(run.result.z_m, 20.0f);
    EXPECT_EQ(run.result.mu_s, 1.5f);
    EXPECT_EQ(run.shared.WindLoadStandard, 1.105);
    EXPECT_EQ(run.shared.WindLoadDesign, 1.547);
}

TEST(WindLoad, UnknownCategoryWritesNoCoefficientLines) {
    const WindRun run = RunWind(Input("350", "b类", "1.5", "0"));  // no power, so height 0 is fine
    EXPECT_EQ(run.lines.size(), 24u);
    EXPECT_EQ(run.lines[13], "       Wk=βgz×μz×μs×Wo");
    EXPECT_EQ(run.lines[14], "          =0.000×0.000×1.5×0.35");
    EXPECT_FALSE(run.result.category_known);
    EXPECT_EQ(run.shared.WindLoadStandard, 0.0);
    EXPECT_EQ(run.box, "风荷载的标准值:0kN/m^2\r\n风荷载的设计值:0kN/m^2");

    const WindRun raised = RunWind(Input("350", "X", "1.5", "20", MinimumWkRule::AtLeast1));
    EXPECT_TRUE(HasLine(raised.lines, "    =1.4×1.000"));
    EXPECT_EQ(raised.box, "风荷载的标准值:1kN/m^2\r\n风荷载的设计值:1.4kN/m^2");
}

TEST(WindLoad, PressureIsPrintedWithTwoDecimalsAndAsSingleText) {
    const WindRun run = RunWind(Input("325", "B类", "1.5", "15m"));
    EXPECT_EQ(run.lines[7], "   Wo: 50年一遇的最大风压:Wo=0.33kN/m^2");
    EXPECT_EQ(run.lines[12], "   高度15m处风压计算:");
    EXPECT_TRUE(run.lines[23].ends_with("×1.5×0.325"));
    EXPECT_EQ(run.lines[0], "基本参数:南京,基本风压:325Pa");
}

struct WindErrorCase {
    WindLoadInput input;
    ErrorKind kind;
    std::size_t lines_before;
};

TEST(WindLoad, ErrorsStopAfterTheLinesBeforeThem) {
    const WindErrorCase cases[] = {
        {Input("", "B类", "1.5", "20"), ErrorKind::TypeMismatch, 7},
        {Input("35O", "B类", "1.5", "20"), ErrorKind::TypeMismatch, 7},
        {Input("1e400", "B类", "1.5", "20"), ErrorKind::Overflow, 7},
        {Input("350", "B类", "", "20"), ErrorKind::TypeMismatch, 12},
        {Input("350", "B类", "1e39", "20"), ErrorKind::Overflow, 12},
        {Input("350", "B类", "1.5", "0"), ErrorKind::InvalidCall, 13},
        {Input("350", "B类", "1.5", ""), ErrorKind::InvalidCall, 13},
        {Input("350", "A类", "1.5", "-10"), ErrorKind::InvalidCall, 13},
        {Input("350", "B类", "1.5", "1e39"), ErrorKind::Overflow, 12},
        {Input("1e30", "B类", "1e30", "20"), ErrorKind::Overflow, 22},
    };
    for (const auto& c : cases) {
        WindRun run;
        run.shared.WindLoadStandard = 7.0;
        EXPECT_EQ(ErrorOf([&] { CalcWindLoad(c.input, run.shared, run.lines, run.box); }), c.kind)
            << c.input.basic_wind_pressure << " " << c.input.shape_coefficient << " "
            << c.input.height;
        EXPECT_EQ(run.lines.size(), c.lines_before) << c.input.height;
        EXPECT_EQ(run.box, "");
    }
}

}  // namespace
}  // namespace quoinry
