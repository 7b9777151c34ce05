// Edition 2012 worked as a code's own examples: every expectation below is hand arithmetic on
// the printed tables, floors and factors, each value rounded to 3 decimals before it is used.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "common/numbers.h"
#include "edition/code_edition.h"
#include "edition/height_tables.h"
#include "glass/glass_check.h"
#include "member/member_check.h"
#include "test_support.h"
#include "wind/local_shape.h"
#include "wind/performance_grade.h"
#include "wind/wind_load.h"
#include "wind_test_support.h"

namespace quoinry {
namespace {

using testing_support::HasLine;

using testing_support::RunWind;
using testing_support::WindRun;

WindRun Run2012(const char* pressure, const char* category, const char* external,
                const char* height, const char* internal = "0.2",
                MinimumWkRule rule = MinimumWkRule::None) {
    return RunWind({"上海", pressure, category, external, height, rule, "2012", internal, ""});
}

struct HeightCase {
    const char* category;
    const char* height;
    double mu_z, beta_table, beta_floor, beta_gz, wk, w;
};

// Wo = 0.45 kN/m^2, μsl = 1.0 + 0.2 = 1.2; a height below 5 m reads the 5 m row, 550 m the top;
// a row, between rows, and the floor or the table controlling, across the four categories.
// W = 1.5 × Wk rounded half to even (1.5 × 0.983 = 1.4745 → 1.474).
constexpr HeightCase kHeights[] = {
    // A 3 m: μz row 5 = 1.09000 | βgz1 row 5 = 1.65000 | floor 1+0.7/√1.09 = 1.67048 |
    // Wk 1.67×1.2×1.09×0.45 = 0.98296
    {"A类", "3", 1.090, 1.650, 1.670, 1.670, 0.983, 1.474},
    // A 72 m: μz 2.05+(72-70)/10*(2.12-2.05) = 2.06400 | βgz1 1.48+(72-70)/10*(1.47-1.48) = 1.47800
    // | floor 1+0.7/√2.064 = 1.48724 | Wk 1.487×1.2×2.064×0.45 = 1.65735
    {"A类", "72", 2.064, 1.478, 1.487, 1.487, 1.657, 2.486},
    // A 550 m: μz row 550 = 2.91000 | βgz1 row 550 = 1.40000 | floor 1+0.7/√2.91 = 1.41035 |
    // Wk 1.41×1.2×2.91×0.45 = 2.21567
    {"A类", "550", 2.910, 1.400, 1.410, 1.410, 2.216, 3.324},
    // B 15 m: μz row 15 = 1.13000 | βgz1 row 15 = 1.66000 | floor 1+0.7/√1.13 = 1.65850 |
    // Wk 1.66×1.2×1.13×0.45 = 1.01293
    {"B类", "15", 1.130, 1.660, 1.659, 1.660, 1.013, 1.520},
    // B 25 m: μz 1.23+(25-20)/10*(1.39-1.23) = 1.31000 | βgz1 1.63+(25-20)/10*(1.59-1.63) = 1.61000
    // | floor 1+0.7/√1.31 = 1.61159 | Wk 1.612×1.2×1.31×0.45 = 1.14033
    {"B类", "25", 1.310, 1.610, 1.612, 1.612, 1.140, 1.710},
    // C 4 m: μz row 5 = 0.65000 | βgz1 row 5 = 2.05000 | floor 1+0.7/√0.65 = 1.86824 |
    // Wk 2.05×1.2×0.65×0.45 = 0.71955
    {"C类", "4", 0.650, 2.050, 1.868, 2.050, 0.720, 1.080},
    // C 30 m: μz row 30 = 0.88000 | βgz1 row 30 = 1.90000 | floor 1+0.7/√0.88 = 1.74620 |
    // Wk 1.9×1.2×0.88×0.45 = 0.90288
    {"C类", "30", 0.880, 1.900, 1.746, 1.900, 0.903, 1.354},
    // C 72 m: μz 1.28+(72-70)/10*(1.36-1.28) = 1.29600 | βgz1 1.75+(72-70)/10*(1.73-1.75) = 1.74600
    // | floor 1+0.7/√1.296 = 1.61489 | Wk 1.746×1.2×1.296×0.45 = 1.22192
    {"C类", "72", 1.296, 1.746, 1.615, 1.746, 1.222, 1.833},
    // D 35 m: μz 0.51+(35-30)/10*(0.6-0.51) = 0.55500 | βgz1 2.4+(35-30)/10*(2.29-2.4) = 2.34500 |
    // floor 1+0.7/√0.555 = 1.93962 | Wk 2.345×1.2×0.555×0.45 = 0.70280
    {"D类", "35", 0.555, 2.345, 1.940, 2.345, 0.703, 1.054},
    // D 550 m: μz row 550 = 2.91000 | βgz1 row 550 = 1.59000 | floor 1+0.7/√2.91 = 1.41035 |
    // Wk 1.59×1.2×2.91×0.45 = 2.49853
    {"D类", "550", 2.910, 1.590, 1.410, 1.590, 2.499, 3.748},
};

TEST(Wind2012, CoefficientsOfEveryTerrainCategoryAtRowsBetweenBelowAndTop) {
    for (const HeightCase& c : kHeights) {
        SCOPED_TRACE(testing::Message() << c.category << " " << c.height << " m");
        const WindRun run = Run2012("450", c.category, "1.0", c.height);
        EXPECT_DOUBLE_EQ(run.result.factors.mu_z, c.mu_z);
        EXPECT_DOUBLE_EQ(run.result.beta_gz_table, c.beta_table);
        EXPECT_DOUBLE_EQ(run.result.beta_gz_floor, c.beta_floor);
        EXPECT_DOUBLE_EQ(run.result.factors.beta_gz, c.beta_gz);
        EXPECT_DOUBLE_EQ(run.result.mu_sl, 1.2);
        EXPECT_DOUBLE_EQ(run.result.wk, c.wk);
        EXPECT_DOUBLE_EQ(run.result.w, c.w);
        EXPECT_DOUBLE_EQ(run.shared.WindLoadDesign, c.w);
    }
}

// Every cell of both tables from the code's own profiles, rounded to the two decimals the tables
// print: μz = 35^0.30 × (z/zG)^2α, the B profile's 2.91 at 350 m reached by each category at its
// gradient height zG = 300/350/450/550 m, 2α = 0.24/0.30/0.44/0.60, constant below 5/10/15/30 m
// (the commentary's 1.284, 1.000, 0.544, 0.262 are its factors, rounded); βgz = 1 + 2 × 2.5 ×
// I10 × (z/10)^−α, I10 = 0.12/0.14/0.23/0.39, α = 0.12/0.15/0.22/0.30, with the same heights.
TEST(Wind2012, EveryTableCellIsTheCodesProfileRoundedAsPrinted) {
    constexpr double kTwoAlpha[] = {0.24, 0.30, 0.44, 0.60};
    constexpr double kCutOff[] = {5, 10, 15, 30};
    constexpr double kGradient[] = {300, 350, 450, 550};
    constexpr double kI10[] = {0.12, 0.14, 0.23, 0.39};
    constexpr double kAlpha[] = {0.12, 0.15, 0.22, 0.30};
    const auto two_decimals = [](double x) { return std::round(x * 100.0) / 100.0; };
    for (int c = 0; c < 4; ++c) {
        for (const HeightRow& row : HeightCoefficientTable2012()) {
            const double z = std::clamp(row.z_m, kCutOff[c], kGradient[c]);
            const double mu = std::pow(35.0, 0.30) * std::pow(z / kGradient[c], kTwoAlpha[c]);
            EXPECT_DOUBLE_EQ(row.by_category[c], two_decimals(mu)) << "μz " << c << " " << row.z_m;
        }
        for (const HeightRow& row : CladdingGustTable2012()) {
            const double z = std::clamp(row.z_m, kCutOff[c], kGradient[c]);
            const double beta = 1.0 + 2.0 * 2.5 * kI10[c] * std::pow(z / 10.0, -kAlpha[c]);
            EXPECT_DOUBLE_EQ(row.by_category[c], two_decimals(beta))
                << "βgz " << c << " " << row.z_m;
        }
    }
}

// Wo below 0.30 kN/m^2 is raised to it and the report says so; at and above it is kept.
TEST(Wind2012, BasicPressureLowerLimit) {
    struct Case {
        const char* pa;
        double w0;
        bool raised;
    };
    for (const Case& c : {Case{"299", 0.30, true}, Case{"300", 0.30, false},
                          Case{"301", 0.301, false}, Case{"250", 0.30, true}}) {
        const WindRun run = Run2012(c.pa, "B类", "1.0", "10");
        EXPECT_DOUBLE_EQ(run.result.w0, c.w0) << c.pa;
        EXPECT_EQ(run.result.w0_raised, c.raised) << c.pa;
        const bool says =
            HasLine(run.lines, Cat("       所在地的基本风压", GeneralText(std::stod(c.pa) / 1000),
                                   "kN/m^2小于0.30kN/m^2,取Wo=0.30kN/m^2"));
        EXPECT_EQ(says, c.raised) << c.pa;
    }
}

// The internal coefficient is added with the external one's sign, whatever its own sign; Wk
// under suction is checked by its size.
TEST(Wind2012, InternalCoefficientAddsAsUnfavourable) {
    struct Case {
        const char* external;
        const char* internal;
        double mu_sl;
        double wk;  // B, 10 m, Wo 0.5: 1.700 × μsl × 1.000 × 0.5
    };
    for (const Case& c : {Case{"1.0", "0.2", 1.2, 1.020}, Case{"1.0", "-0.2", 1.2, 1.020},
                          Case{"-1.4", "0.2", -1.6, 1.360}, Case{"-0.6", "0", -0.6, 0.510},
                          Case{"-2.0", "0.4", -2.4, 2.040}}) {
        const WindRun run = Run2012("500", "B类", c.external, "10", c.internal);
        EXPECT_DOUBLE_EQ(run.result.mu_sl, c.mu_sl) << c.external << " " << c.internal;
        EXPECT_DOUBLE_EQ(run.result.wk, c.wk) << c.external << " " << c.internal;
        EXPECT_EQ(run.result.wk_computed < 0.0, c.mu_sl < 0.0);
    }
}

// The report says what the internal coefficient assumes, and that the terrain is taken as flat.
TEST(Wind2012, ReportStatesTheInternalCaseAndTheTopography) {
    struct Case {
        const char* internal;
        const char* opening_zone;
        const char* opening_ratio;
        const char* line;
    };
    for (const Case& c : {
             Case{"0.2", "", "", "       内压按封闭式建筑取±0.2"},
             // 8.3.5: ratio 0.15 in 0.10–0.30: 0.6 × |−1.0| = 0.6
             Case{"0.6", "侧面Sb", "0.15",
                  "       内压按仅一面墙有主导洞口计算:洞口位于侧面Sb(μsl=-1),开洞率0.15,"
                  "μsi=0.6×|-1|=0.6"},
             // a coefficient that is not the opening's: the engineer's own
             Case{"0.5", "侧面Sb", "0.15", "       内压系数由设计者给定"},
             Case{"0.3", "", "", "       内压系数由设计者给定"},
         }) {
        WindLoadInput input{
            "上海", "500",      "B类",    "1.0",          "10",           MinimumWkRule::None,
            "2012", c.internal, "迎风面", c.opening_zone, c.opening_ratio};
        const WindRun run = RunWind(input);
        EXPECT_TRUE(HasLine(run.lines, c.line)) << c.internal;
        EXPECT_TRUE(HasLine(
            run.lines, "   η: 地形修正系数,按平坦地形取1.0(GB50009-2012 8.2.2);风向影响系数取1.0"));
    }
}

// The window's lower bounds still apply after the edition's own Wk: 0.51 → 1.0, 0.51 → 0.75.
TEST(Wind2012, LowerBoundOptionsLiftTheSizeOfWk) {
    EXPECT_DOUBLE_EQ(Run2012("500", "B类", "-0.6", "10", "0", MinimumWkRule::AtLeast1).result.wk,
                     1.0);
    EXPECT_DOUBLE_EQ(Run2012("500", "B类", "-0.6", "10", "0", MinimumWkRule::AtLeast075).result.wk,
                     0.75);
    EXPECT_DOUBLE_EQ(Run2012("500", "B类", "-2.0", "10", "0", MinimumWkRule::AtLeast1).result.wk,
                     1.7);
}

// 8.3.4: μ(A) = μ(1) + (0.8μ(1) − μ(1)) × log10(A) / 1.4 between 1 and 25 m^2.
TEST(Wind2012, MemberAreaReductionAtItsLimits) {
    const AreaReduction& rule = Edition2012().member_area;
    struct Case {
        double external, area, reduced;
    };
    for (const Case& c : {
             Case{1.0, 0.5, 1.0},
             Case{1.0, 1.0, 1.0},
             // 1 − 0.2 × 0.69897 / 1.4 = 0.90015
             Case{1.0, 5.0, 0.900},
             // log10(24.9) = 1.39620: 1 − 0.2 × 0.99729 = 0.80054
             Case{1.0, 24.9, 0.801},
             Case{1.0, 25.0, 0.8},
             Case{1.0, 30.0, 0.8},
             // −1.4 + 0.28 × 0.49926 = −1.26021
             Case{-1.4, 5.0, -1.260},
             Case{-1.4, 1.0, -1.4},
             Case{-1.4, 25.0, -1.12},
             Case{-1.4, 30.0, -1.12},
         }) {
        EXPECT_DOUBLE_EQ(ReducedByArea(c.external, c.area, rule), c.reduced)
            << c.external << " at " << c.area << " m^2";
    }
}

// GB/T 7106-2008 table 1: the lowest grade whose P3 range reaches Wk, P3 at least 1.0 kPa.
TEST(Wind2012, PerformanceGradeAtEveryBoundary) {
    struct Case {
        double wk;
        int grade;
    };
    for (const Case& c :
         {Case{0.3, 1}, Case{0.999, 1}, Case{1.0, 1}, Case{1.499, 1}, Case{1.5, 2}, Case{1.999, 2},
          Case{2.0, 3}, Case{2.499, 3}, Case{2.5, 4}, Case{3.0, 5}, Case{3.5, 6}, Case{4.0, 7},
          Case{4.499, 7}, Case{4.5, 8}, Case{4.999, 8}, Case{5.0, 9}, Case{7.2, 9}}) {
        EXPECT_EQ(RequiredPerformanceGrade(c.wk).grade, c.grade) << c.wk;
    }
    EXPECT_DOUBLE_EQ(RequiredPerformanceGrade(1.5).p3_from, 1.5);
    EXPECT_DOUBLE_EQ(RequiredPerformanceGrade(1.5).p3_below, 2.0);
    EXPECT_DOUBLE_EQ(RequiredPerformanceGrade(5.0).p3_below, 0.0);
}

// The last line of wind.txt states P3 ≥ max(Wk, 1.0) and the grade's own range.
TEST(Wind2012, GradeLineOfTheReport) {
    struct Case {
        const char* pa;
        const char* category;
        const char* height;
        const char* line;
    };
    for (const Case& c : {
             // 1.746 × 1.2 × 1.296 × 0.55 = 1.493
             Case{"550", "C类", "72", "   P3≥1.493kPa,所需抗风压性能等级为1级(1.0kPa≤P3<1.5kPa)"},
             // 2.05 × 1.2 × 0.65 × 0.30 = 0.480: P3 not below 1.0
             Case{"300", "C类", "5", "   P3≥1.000kPa,所需抗风压性能等级为1级(1.0kPa≤P3<1.5kPa)"},
             // 1.50 × 1.2 × 2.91 × 2.0 = 10.476
             Case{"2000", "C类", "550", "   P3≥10.476kPa,所需抗风压性能等级为9级(P3≥5.0kPa)"},
         }) {
        const WindRun run = Run2012(c.pa, c.category, "1.0", c.height);
        EXPECT_EQ(run.lines.back(), c.line);
    }
}

// γw × a value of 3 decimals, rounded half to even in decimal; edition 2001 keeps 1.4 × x.
TEST(Wind2012, DesignValuesRoundHalfToEven) {
    struct Case {
        double x, w;
    };
    for (const Case& c :
         {Case{1.493, 2.240}, Case{0.983, 1.474}, Case{1.013, 1.520}, Case{0.001, 0.002},
          Case{0.003, 0.004}, Case{14.275, 21.412}, Case{2.0, 3.0}}) {
        EXPECT_DOUBLE_EQ(DesignValue(Edition2012(), c.x), c.w) << c.x;
    }
    EXPECT_DOUBLE_EQ(DesignValue(Edition2001(), 1.105), 1.547);
}

// 8.3.5: one dominant opening gives 0.4, 0.6 or 0.8 × |μsl| of its wall by its opening ratio;
// below 0.02 there is no dominant opening (the building counts as closed), above 1 no ratio.
TEST(Wind2012, DominantOpeningInternalCoefficient) {
    struct Case {
        double ratio, opening_mu;
        std::optional<double> internal;
    };
    for (const Case& c :
         {Case{0.019, 1.0, std::nullopt}, Case{0.02, 1.0, 0.4}, Case{0.10, 1.0, 0.4},
          Case{0.11, 1.0, 0.6}, Case{0.30, -1.4, 0.84}, Case{0.31, -1.4, 1.12},
          Case{1.0, -0.6, 0.48}, Case{1.01, 1.0, std::nullopt}}) {
        EXPECT_EQ(DominantOpeningInternal(c.ratio, c.opening_mu), c.internal) << c.ratio;
    }
}

struct MemberCase {
    const char* form;
    const char* g1;
    const char* g2;
    const char* g3;
    const char* external;
    double area, reduced, mu_sl, wk;
};

// B, 10 m, Wo 0.5, internal 0.2: Wk = 1.700 × μsl × 1.000 × 0.5 = 0.85 × μsl.
constexpr MemberCase kMembers[] = {
    // Hsk 1.8, Wsk 1.2 both sides: 2 × 0.6 × (1.8 − 0.6) = 1.44; log10 1.44 = 0.15836:
    // 1 − 0.2 × 0.11312 = 0.97738; 0.85 × 1.177 = 1.00045
    {"竖向杆件", "1200", "1200", "1800", "1.0", 1.440, 0.977, 1.177, 1.000},
    // Hsk 1.0 and Wsk 1.5 ≥ Hsk: a triangle 1.0^2 / 4 = 0.25, nothing on the other side; no
    // reduction at or below 1 m^2: 0.85 × 1.2 = 1.02
    {"竖向杆件", "1500", "0", "1000", "1.0", 0.250, 1.0, 1.2, 1.020},
    // Hsk 6, Wsk 3 both sides: 2 × 1.5 × 4.5 = 13.5; log10 13.5 = 1.13033:
    // −1.4 + 0.28 × 0.80738 = −1.17393; −1.374 × 0.85 = −1.1679
    {"竖向杆件", "3000", "3000", "6000", "-1.4", 13.5, -1.174, -1.374, 1.168},
    // Hsk 12, Wsk 6 both sides: 2 × 3 × 9 = 54 ≥ 25: 0.8 × 1.0 = 0.8; 0.85 × 1.0 = 0.85
    {"竖向杆件", "6000", "6000", "12000", "1.0", 54.0, 0.8, 1.0, 0.850},
};

TEST(Wind2012, MemberCarriesItsOwnAreaReducedWk) {
    for (const MemberCase& c : kMembers) {
        SCOPED_TRACE(testing::Message() << c.g1 << "/" << c.g2 << "/" << c.g3);
        WindRun wind = Run2012("500", "B类", c.external, "10");
        const MemberInput input{c.form, "GR50", "GR50-01", "85.5", c.g1,  c.g2,
                                c.g3,   "49.6", "70000",   "2",    "120", "30",
                                "18",   "15",   "12",      "7",    "5"};
        ReportLines lines;
        std::string box;
        const MemberResult member = CalcMember(input, wind.shared, lines, box);
        EXPECT_TRUE(member.own_wind);
        EXPECT_DOUBLE_EQ(member.area_m2, c.area);
        EXPECT_DOUBLE_EQ(member.mu_reduced, c.reduced);
        EXPECT_DOUBLE_EQ(member.mu_sl, c.mu_sl);
        EXPECT_DOUBLE_EQ(member.wk, c.wk);
        EXPECT_TRUE(HasLine(lines, Cat("   Wk:杆件的风荷载标准值:", GeneralText(c.wk), "kN/m^2")));
    }
}

// 8.3.4 reduces the coefficients of walls: a projecting member's −2.0 (8.3.3-2) keeps its value,
// whether its zone is named or the −2.0 is given by hand. B, 10 m, Wo 0.5, internal 0.2:
// Wk = 0.85 × (−2.0 − 0.2) = −1.87 on a member of A = 1.44 m² (it would be −1.967 − 0.2 reduced).
TEST(Wind2012, ProjectingMembersAreNotReducedByArea) {
    for (const char* zone : {"突出构件", ""}) {
        WindLoadInput input{"上海", "500", "B类", "-2.0", "10", MinimumWkRule::None,
                            "2012", "0.2", zone};
        WindRun wind = RunWind(input);
        const MemberInput member_input{"竖向杆件", "GR50", "GR50-01", "85.5", "1200", "1200",
                                       "1800",     "49.6", "70000",   "2",    "120",  "30",
                                       "18",       "15",   "12",      "7",    "5"};
        ReportLines lines;
        std::string box;
        const MemberResult member = CalcMember(member_input, wind.shared, lines, box);
        EXPECT_DOUBLE_EQ(member.area_m2, 1.44) << zone;
        EXPECT_DOUBLE_EQ(member.mu_reduced, -2.0) << zone;
        EXPECT_DOUBLE_EQ(member.wk, 1.87) << zone;
        EXPECT_TRUE(HasLine(lines,
                            "   μse(A): 突出构件的外表面局部体型系数,不按从属面积折减("
                            "GB50009-2012 8.3.4的折减只用于墙面和屋面)"));
    }
}

// At each limit in edition 2012 (γw 1.5, products rounded half to even in decimal): the verdict
// is that of the value before its rounding, the printed relation true.
TEST(Wind2012, StressesAtTheirLimits) {
    struct GlassCase {
        const char* width;
        double wk;
        bool ok;
        const char* line;
    };
    // Single float 6 mm, 1000 × 1500: m 0.0779, θ 16.5681 → η 0.93; σwk = 6 × 0.0779 × 1546 ×
    // 1000^2 × 0.93/36/1e6 = 18.667; 1.5 × 18.667 = 28.0005 > 28, rounds to 28.000 (even).
    // 1014 × 1500 at 1.527: m 0.0767, θ 17.3003, η 0.93, σwk 18.666, 1.5 × 18.666 = 27.999.
    for (const GlassCase& c :
         {GlassCase{"1000", 1.546, false,
                    "玻璃最大应力设计值σ=28.0005N/mm^2＞ｆg=28.0000N/mm^2强度不满足要求!"},
          GlassCase{"1014", 1.527, true,
                    "玻璃最大应力设计值σ=27.999N/mm^2≤ｆg=28N/mm^2强度满足要求!"}}) {
        SharedValues shared;
        shared.WindLoadStandard = c.wk;
        shared.Edition = &Edition2012();
        ReportLines lines;
        std::string box;
        const GlassResult glass = CalcGlass(
            {"单层玻璃", "普通玻璃", "6", "普通玻璃", "6", c.width, "1500"}, shared, lines, box);
        EXPECT_EQ(glass.panes[0].ok, c.ok);
        EXPECT_NE(box.find(c.line), std::string::npos) << box;
    }
    // A member of A ≤ 1 m² carries the glass's Wk: 1000/0/2000, A = 0.5 × 1.5 = 0.75; Wk =
    // 1 × (0.8 + 0.2) × 1 × 1 = 1.0; Mw = 0.5 × 4 × 2.75/24 = 0.229, σ = 1.5 × 229/Wx = 343.5/Wx;
    // Qw = 0.5 × 3/4 = 0.375, Q = 0.5625 → 0.562 (to even), τ = 0.562 × Ss × 100/50/2 = 0.562 Ss.
    struct MemberCase {
        const char* fa;
        const char* wx1;
        const char* ss1;
        const char* box;
    };
    for (const MemberCase& c : {
             MemberCase{"34.35", "10", "8", "σ=34.350≤fa=34.350杆件强度满足!"},
             MemberCase{"34.349", "10", "8", "σ=34.350＞fa=34.349杆件强度不能满足!"},
             // 343.5/9.99999 = 34.3500344
             MemberCase{"34.35", "9.99999", "8", "σ=34.35003＞fa=34.35000杆件强度不能满足!"},
             // 0.562 × 88.2562 = 49.59998: prints 49.600 and passes; 88.2563: 49.600041 fails
             MemberCase{"85.5", "10", "88.2562", "τ=49.600≤49.600N/mm^2杆件抗剪强度可以满足!"},
             MemberCase{"85.5", "10", "88.2563", "τ=49.60004＞49.60000N/mm^2杆件抗剪强度不能满足!"},
         }) {
        SharedValues shared;
        shared.WindLoadStandard = 1.0;
        shared.Edition = &Edition2012();
        shared.Factors = {.beta_gz = 1.0,
                          .mu_z = 1.0,
                          .w0 = 1.0,
                          .mu_external = 0.8,
                          .mu_internal = 0.2,
                          .category_known = true};
        const MemberInput input{"竖向杆件", "GR50", "GR50-01", c.fa, "1000", "0",
                                "2000",     "49.6", "70000",   "2",  "50",   "30",
                                c.wx1,      "12",   c.ss1,     "7",  "5"};
        ReportLines lines;
        std::string box;
        const MemberResult member = CalcMember(input, shared, lines, box);
        EXPECT_DOUBLE_EQ(member.wk, 1.0);
        EXPECT_NE(box.find(c.box), std::string::npos) << c.box << "\n" << box;
    }
}

// A run of edition 2001 never carries a member Wk of its own nor the 2012 texts.
TEST(Wind2012, Edition2001KeepsItsOwnStep) {
    WindRun run;
    const WindLoadInput input{"南京", "350", "B类", "1.5", "20", MinimumWkRule::None};
    run.result = CalcWindLoad(input, run.shared, run.lines, run.box);
    EXPECT_EQ(&EditionOf(run.result), &Edition2001());
    EXPECT_DOUBLE_EQ(run.result.wk, 1.105);
    EXPECT_DOUBLE_EQ(run.result.w, 1.547);
    EXPECT_EQ(run.result.grade, 0);
    for (const std::string& line : run.lines) {
        EXPECT_EQ(line.find("2012"), std::string::npos) << line;
        EXPECT_EQ(line.find("μsl"), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace quoinry
