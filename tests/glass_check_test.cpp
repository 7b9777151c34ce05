#include "glass/glass_check.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace quoinry {
namespace {

using testing_support::ErrorOf;
using testing_support::HasLine;

struct GlassRun {
    ReportLines lines;
    std::string box = "wind";
};

GlassRun RunGlass(const GlassInput& input, double wk) {
    GlassRun run;
    SharedValues shared;
    shared.WindLoadStandard = wk;
    CalcGlass(input, shared, run.lines, run.box);
    return run;
}

GlassInput Single(const char* kind, const char* t, const char* width, const char* height) {
    return {"单层玻璃", kind, t, "普通玻璃", "6", width, height};
}

TEST(GlassCheck, SingleOrdinaryGlassWorkedExample) {
    const GlassRun run = RunGlass(Single("普通玻璃", "6", "1200", "1500"), 1.0);
    EXPECT_EQ(run.lines[2], "玻璃类别为:单层玻璃,种类为6mm普通玻璃");
    EXPECT_TRUE(HasLine(run.lines, "       =1.800m^2"));
    EXPECT_TRUE(HasLine(run.lines, "     =1000×1200^4/(72000×6^4)/1000000"));
    EXPECT_TRUE(HasLine(run.lines, "     =22.2222"));
    EXPECT_TRUE(HasLine(run.lines, "   η: 折减系数，按θ=22.2222查表6.1.2-2得η=0.91"));
    EXPECT_TRUE(HasLine(run.lines, "   m:玻璃板的弯矩系数(按边长比a/b查表6.1.2-1)0.063"));
    EXPECT_TRUE(HasLine(run.lines, "       =6×0.0628×1000×1200^2×0.91/6^2/1000000"));
    EXPECT_TRUE(HasLine(run.lines, "       =13.716N/mm^2"));
    EXPECT_TRUE(HasLine(run.lines, "   玻璃最大应力设计值σ=19.202N/mm^2≤ｆg=28N/mm^2"));
    EXPECT_TRUE(HasLine(run.lines, "    =1350000.000N·mm"));
    EXPECT_TRUE(HasLine(run.lines, "     =0.00603×1000×1200^4×0.91/1350000/1000000"));
    EXPECT_TRUE(HasLine(run.lines, "     =8.43mm"));
    EXPECT_EQ(run.lines.back(), "   玻璃的挠度满足!");
    EXPECT_EQ(run.box,
              "wind\r\n玻璃最大应力设计值σ=19.202N/mm^2≤ｆg=28N/mm^2强度满足要求!"
              "\r\n玻璃的最大挠度df=8.43mm,小于或等于玻璃短边边长的1/60:20mm玻璃的挠度满足!");
}

TEST(GlassCheck, FailingVerdictsUseTheirOwnTexts) {
    const GlassRun run = RunGlass(Single("普通玻璃", "5", "2000", "3000"), 2.0);
    EXPECT_TRUE(HasLine(run.lines, "   玻璃强度不满足要求!"));
    EXPECT_TRUE(HasLine(run.lines, "   玻璃的挠度不满足!"));
    EXPECT_NE(run.box.find("＞ｆg=28N/mm^2强度不满足要求!"), std::string::npos);
    EXPECT_NE(run.box.find("mm,大于玻璃短边边长的1/60:33.33mm玻璃的挠度不满足!"),
              std::string::npos);
}

TEST(GlassCheck, SquarePaneAndTemperedGlass) {
    const GlassRun run = RunGlass(Single("钢化玻璃", "8", "1000", "1000"), 1.0);
    EXPECT_TRUE(HasLine(run.lines, "   玻璃校核依据: σ≤ｆg=84N/mm^2"));
    EXPECT_TRUE(HasLine(run.lines, "   m:玻璃板的弯矩系数(按边长比a/b查表6.1.2-1)0.044"));
    EXPECT_TRUE(HasLine(run.lines, "   μ: 挠度系数(按边长比a/b查表6.1.3)0.00406"));
}

TEST(GlassCheck, TwoPaneGlassSharesTheLoad) {
    const GlassRun insulating =
        RunGlass({"中空玻璃", "钢化玻璃", "6", "普通玻璃", "6", "1200", "1500"}, 1.0);
    EXPECT_EQ(insulating.lines[2],
              "玻璃类别为:中空玻璃,外片种类为6mm钢化玻璃,内片种类为6mm普通玻璃");
    EXPECT_TRUE(HasLine(insulating.lines, "      =1.1×1.000×6^3/(6^3+6^3)"));
    EXPECT_TRUE(HasLine(insulating.lines, "      =0.550kN/m^2"));
    EXPECT_TRUE(HasLine(insulating.lines, "      =0.500kN/m^2"));
    EXPECT_TRUE(HasLine(insulating.lines, "     =7mm"));
    EXPECT_TRUE(HasLine(insulating.lines, "   D: 玻璃的刚度(N·mm)"));
    // The inner section states the outer pane's value but checks against its own.
    int basis_84 = 0;
    for (const auto& line : insulating.lines)
        basis_84 += line == "   外侧玻璃校核依据: σ≤ｆg=84N/mm^2";
    EXPECT_EQ(basis_84, 2);
    EXPECT_NE(insulating.box.find("内侧玻璃最大应力设计值σ="), std::string::npos);
    EXPECT_NE(insulating.box.find("ｆg=28N/mm^2强度满足要求!"), std::string::npos);

    const GlassRun laminated =
        RunGlass({"夹层玻璃", "普通玻璃", "6", "普通玻璃", "6", "1200", "1500"}, 1.0);
    EXPECT_TRUE(HasLine(laminated.lines, "      =1.000×6^3/(6^3+6^3)"));
    EXPECT_TRUE(HasLine(laminated.lines, "     =8mm"));
    EXPECT_TRUE(HasLine(laminated.lines, "   D: 玻璃的刚度(N.mm)"));
    bool inner_lookup = false;
    for (const auto& line : laminated.lines) {
        inner_lookup = inner_lookup || line.find("θ查表6.1.2-2得η=") != std::string::npos;
    }
    EXPECT_TRUE(inner_lookup);
}

TEST(GlassCheck, UnknownCategoryWritesOnlyTheCommonLines) {
    const GlassRun run =
        RunGlass({"双层玻璃", "普通玻璃", "6", "普通玻璃", "6", "1200", "1500"}, 1.0);
    EXPECT_EQ(run.lines.size(), 10u);
    EXPECT_EQ(run.lines[2], "玻璃类别为:双层玻璃,外片种类为6mm普通玻璃,内片种类为6mm普通玻璃");
    EXPECT_EQ(run.box, "wind");
}

struct GlassErrorCase {
    GlassInput input;
    ErrorKind kind;
    const char* last_line;
};

TEST(GlassCheck, ErrorsStopAfterTheLinesBeforeThem) {
    const GlassErrorCase cases[] = {
        {Single("普通玻璃", "0", "1200", "1500"), ErrorKind::DivisionByZero,
         "     =1000×1200^4/(72000×0^4)/1000000"},
        {Single("普通玻璃", "6", "0", "0"), ErrorKind::DivisionByZero,
         "   η: 折减系数，按θ=0.0000查表6.1.2-2得η=1.00"},
        {{"中空玻璃", "普通玻璃", "0", "普通玻璃", "0", "1200", "1500"},
         ErrorKind::DivisionByZero,
         "      =1.1×1.000×0^3/(0^3+0^3)"},
        {{"中空玻璃", "普通玻璃", "-6", "普通玻璃", "-6", "1200", "1500"},
         ErrorKind::InvalidCall,
         "     =0.95×(-6^3+-6^3)^(1/3)"},
        {Single("普通玻璃", "6", "1e400", "1500"), ErrorKind::Overflow, "(1).玻璃面积:"},
        {{"夹层玻璃", "普通玻璃", "1e5", "普通玻璃", "1e5", "1200", "1500"},
         ErrorKind::Overflow,
         "     =(100000^3+100000^3)^(1/3)"},
    };
    for (const auto& c : cases) {
        GlassRun run;
        SharedValues shared;
        shared.WindLoadStandard = 1.0;
        EXPECT_EQ(ErrorOf([&] { CalcGlass(c.input, shared, run.lines, run.box); }), c.kind)
            << c.last_line;
        ASSERT_FALSE(run.lines.empty());
        EXPECT_EQ(run.lines.back(), c.last_line);
    }
}

}  // namespace
}  // namespace quoinry
