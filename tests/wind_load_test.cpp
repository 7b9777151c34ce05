#include "wind/wind_load.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace quoinry {
namespace {

using testing_support::ErrorOf;
using testing_support::HasLine;

struct WindRun {
    ReportLines lines;
    std::string box;
    SharedValues shared;
};

WindRun RunWind(const WindLoadInput& input) {
    WindRun run;
    CalcWindLoad(input, run.shared, run.lines, run.box);
    return run;
}

WindLoadInput Input(const char* pressure, const char* category, const char* mu_s,
                    const char* height, MinimumWkRule rule = MinimumWkRule::None) {
    return {"南京", pressure, category, mu_s, height, rule};
}

TEST(WindLoad, WorkedExampleCategoryB) {
    const WindRun run = RunWind(Input("350", "B类", "1.5", "20"));
    ASSERT_EQ(run.lines.size(), 33u);  // no minimum line
    EXPECT_EQ(run.lines[0], "基本参数:南京,基本风压:350Pa");
    EXPECT_EQ(run.lines[7], "   Wo: 50年一遇的最大风压:Wo=0.35kN/m^2");
    EXPECT_EQ(run.lines[12], "   高度20m处风压计算:");
    EXPECT_EQ(run.lines[19], "       μz=(Z/10)^0.32");
    EXPECT_EQ(run.lines[20], "          =(20/10)^0.32");
    EXPECT_EQ(run.lines[23], "          =1.687×1.248×1.5×0.35");
    EXPECT_EQ(run.lines[24], "          =1.105kN/m^2");
    EXPECT_EQ(run.lines[31], "    =1.4×1.105");
    EXPECT_EQ(run.lines[32], "    =1.547kN/m^2");
    EXPECT_EQ(run.shared.WindLoadStandard, 1.105);
    EXPECT_EQ(run.shared.WindLoadDesign, 1.547);
    EXPECT_EQ(run.box, "风荷载的标准值:1.105kN/m^2\r\n风荷载的设计值:1.547kN/m^2");
}

TEST(WindLoad, CategoryAAtTenMetres) {
    const WindRun run = RunWind(Input("350", "A类", "1", "10"));
    EXPECT_TRUE(HasLine(run.lines, "          =0.387×(10/10)^(-0.12)"));
    EXPECT_TRUE(HasLine(run.lines, "          =0.387"));
    EXPECT_TRUE(HasLine(run.lines, "           =0.92×(1+2×0.387)"));
    EXPECT_TRUE(HasLine(run.lines, "           =1.632"));
    EXPECT_TRUE(HasLine(run.lines, "          =1.379"));
}

TEST(WindLoad, CategoriesCAndDUseTheirOwnCoefficients) {
    const WindRun c = RunWind(Input("550", "C类", "1.5", "50"));
    EXPECT_TRUE(HasLine(c.lines, "       μf=0.734×(Z/10)^(-0.22)"));
    EXPECT_TRUE(HasLine(c.lines, "          =0.616×(50/10)^0.44"));
    const WindRun d = RunWind(Input("550", "D类", "1.5", "50"));
    EXPECT_TRUE(HasLine(d.lines, "           =0.8×(1+2×" + d.lines[15].substr(11) + ")"));
    EXPECT_TRUE(HasLine(d.lines, "          =1.2248×(50/10)^(-0.3)"));
}

TEST(WindLoad, UnknownCategoryWritesNoCoefficientLines) {
    const WindRun run = RunWind(Input("350", "b类", "1.5", "0"));  // no power, so height 0 is fine
    EXPECT_EQ(run.lines.size(), 24u);
    EXPECT_EQ(run.lines[13], "       Wk=βgz×μz×μs×Wo");
    EXPECT_EQ(run.lines[14], "          =0.000×0.000×1.5×0.35");
    EXPECT_EQ(run.shared.WindLoadStandard, 0.0);
    EXPECT_EQ(run.box, "风荷载的标准值:0kN/m^2\r\n风荷载的设计值:0kN/m^2");
}

TEST(WindLoad, MinimumRulesRaiseOnlyValuesBelowTheirBound) {
    const std::string line_1 =
        "       根据《玻璃幕墙工程技术规范》JGJ102-2003中第5.3.2条规定取Wk=1.0kN/m^2";
    const std::string line_075 =
        "       根据《建筑玻璃应用技术规程》JGJ113-2003中第4.1.2条规定取Wk=0.75kN/m^2";

    const WindRun raised = RunWind(Input("350", "X", "1.5", "20", MinimumWkRule::AtLeast1));
    EXPECT_TRUE(HasLine(raised.lines, line_1));
    EXPECT_TRUE(HasLine(raised.lines, "    =1.4×1.000"));
    EXPECT_EQ(raised.box, "风荷载的标准值:1kN/m^2\r\n风荷载的设计值:1.4kN/m^2");

    const WindRun to075 = RunWind(Input("350", "X", "1.5", "20", MinimumWkRule::AtLeast075));
    EXPECT_TRUE(HasLine(to075.lines, line_075));
    EXPECT_EQ(to075.shared.WindLoadStandard, 0.75);
    EXPECT_EQ(to075.shared.WindLoadDesign, 1.05);

    // 1.379 × 1.632 × 1 × 0.4443 rounds to exactly 1.000: not below the bound.
    const WindRun exact = RunWind(Input("444.3", "A类", "1", "10", MinimumWkRule::AtLeast1));
    EXPECT_EQ(exact.shared.WindLoadStandard, 1.0);
    EXPECT_FALSE(HasLine(exact.lines, line_1));

    const WindRun none = RunWind(Input("350", "X", "1.5", "20"));
    EXPECT_EQ(none.shared.WindLoadStandard, 0.0);
    EXPECT_FALSE(HasLine(none.lines, line_075));

    // A negative shape coefficient keeps its sign and is raised like any low value.
    const WindRun negative = RunWind(Input("350", "B类", "-1.5", "20"));
    EXPECT_EQ(negative.shared.WindLoadStandard, -1.105);
    const WindRun negative_raised =
        RunWind(Input("350", "B类", "-1.5", "20", MinimumWkRule::AtLeast1));
    EXPECT_EQ(negative_raised.shared.WindLoadStandard, 1.0);
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
