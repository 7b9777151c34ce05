#include "member/member_check.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace quoinry {
namespace {

using testing_support::ErrorOf;
using testing_support::HasLine;

// A GR50-like profile: fa 85.5, τd 49.6, E 70000, t 1.4, Ix 50, Wx1 10, Wx2 12, Ss1 8.
MemberInput Member(const char* form, const char* g1, const char* g2, const char* g3) {
    return {form,  "GR50", "GR50-01", "85.5", g1,   g2,  g3,  "49.6", "70000",
            "1.4", "50",   "30",      "10",   "12", "8", "7", "5"};
}

struct MemberRun {
    ReportLines lines;
    std::string box;
};

MemberRun RunMember(const MemberInput& input, double wk, bool insulating = false) {
    MemberRun run;
    SharedValues shared;
    shared.WindLoadStandard = wk;
    shared.IsInsulatingGlass = insulating;
    CalcMember(input, shared, run.lines, run.box);
    return run;
}

TEST(MemberCheck, VerticalWorkedExample) {
    const MemberRun run = RunMember(Member("竖向杆件", "1200", "0", "2400"), 1.0);
    EXPECT_EQ(run.lines[1], "三、门窗竖向受力杆件计算");
    EXPECT_EQ(run.lines[3], "   Wk:风荷载标准值:1kN/m^2");
    EXPECT_TRUE(HasLine(run.lines, "       =0.600kN/m"));
    EXPECT_TRUE(HasLine(run.lines, "      =0.396kN·m"));
    EXPECT_TRUE(HasLine(run.lines, "      =0.540kN"));  // trapezoidal shear: two decimals
    EXPECT_TRUE(HasLine(run.lines, "   选用型材号:GR50\\GR50-01"));
    EXPECT_TRUE(HasLine(run.lines, "   校核依据:Umax≤[U]=20mm 且 Umax≤L/120"));
    EXPECT_TRUE(HasLine(run.lines, "    =3.125"));  // the empty second unit
    EXPECT_EQ(run.lines.back().substr(0, 3), "   ");
    EXPECT_EQ(run.box.substr(0, run.box.find("\r\n")), "σ=55.440≤fa=85.500杆件强度满足!");
}

TEST(MemberCheck, PreselectionOfTheWorkedExample) {
    SharedValues shared;
    shared.WindLoadStandard = 1.0;
    const float wmin = MinimumSectionModulus(Member("竖向杆件", "1200", "0", "2400"), shared);
    EXPECT_EQ(PreselectionText(wmin), "型材预选抵抗矩不能低于:6.584cm^3");
}

TEST(MemberCheck, LoadShapeFollowsTheSingleSpan) {
    // 2.4 as a single is slightly above 2.4, so a 2400 mm unit on a 2400 mm span is trapezoidal;
    // 2500 and 2500 are equal and triangular.
    const MemberRun trapezoid = RunMember(Member("竖向杆件", "2400", "0", "2400"), 1.0);
    EXPECT_TRUE(HasLine(trapezoid.lines, "   qsk1=Wk×Wsk1/2"));
    const MemberRun triangle = RunMember(Member("竖向杆件", "2500", "2600", "2500"), 1.0);
    EXPECT_TRUE(HasLine(triangle.lines, "   qsk1=Wk×Hsk/2"));
    EXPECT_TRUE(HasLine(triangle.lines, "   qsk2=Wk×Hsk/2"));
    EXPECT_TRUE(HasLine(triangle.lines, "   Mw1=qsk1×Hsk^2/12"));
    EXPECT_TRUE(HasLine(triangle.lines, "   Qw1=qsk1×Hsk/2/2"));
    EXPECT_TRUE(HasLine(triangle.lines, "   U2=qsk2×Hsk^4×10^8/(120×E×Ix)"));
    for (const auto& line : triangle.lines) EXPECT_EQ(line.find("C=("), std::string::npos);
}

TEST(MemberCheck, HorizontalMemberUsesItsOwnNames) {
    const MemberRun run = RunMember(Member("横向杆件", "1800", "2400", "900"), 1.105, true);
    EXPECT_EQ(run.lines[1], "三、门窗横向受力杆件计算");
    EXPECT_EQ(run.lines[5], "   Wsk:受力构件受荷单元宽:1.800(m)");
    EXPECT_EQ(run.lines[6], "   Hsk1:受力构件第一受荷单元高:0.900(m)");
    EXPECT_EQ(run.lines[7], "   Hsk2:受力构件第二受荷单元高:1.500(m)");
    EXPECT_TRUE(HasLine(run.lines, "   Mw2=(qsk2×Wsk^2)×(3-4×Ba^2/Wsk^2)/24"));
    EXPECT_TRUE(HasLine(run.lines, "   校核依据:Umax≤[U]=20mm 且 Umax≤L/130"));
    EXPECT_TRUE(HasLine(run.lines, "   Wsk: 杆件长度:1.800m"));
    EXPECT_TRUE(HasLine(run.lines, "   Du=U/Wsk/1000"));
    EXPECT_NE(run.box.find("1/180=0.0056"), std::string::npos);

    // Any other form text is horizontal; a first unit higher than the total gives a negative Hsk2.
    const MemberRun typed = RunMember(Member("竖向", "1800", "900", "1200"), 1.0);
    EXPECT_EQ(typed.lines[1], "三、门窗横向受力杆件计算");
    EXPECT_EQ(typed.lines[7], "   Hsk2:受力构件第二受荷单元高:-0.300(m)");
    EXPECT_TRUE(HasLine(typed.lines, "   Ba = Hsk2/2"));
}

TEST(MemberCheck, SmallerSectionModulusAndLimitsThatPass) {
    MemberInput input = Member("竖向杆件", "1200", "0", "2400");
    input.wx1 = "12";
    input.wx2 = "10";
    const MemberRun smaller = RunMember(input, 1.0);
    EXPECT_TRUE(HasLine(smaller.lines, "     =1.4×0.396×10^3/10.000"));

    // σ = 55.440 exactly at fa passes; above it fails.
    input.strength = "55.44";
    EXPECT_TRUE(HasLine(RunMember(input, 1.0).lines, "   杆件强度满足!"));
    input.strength = "55.439";
    const MemberRun fails = RunMember(input, 1.0);
    EXPECT_TRUE(HasLine(fails.lines, "   σ=55.440＞fa=55.439"));
    EXPECT_TRUE(HasLine(fails.lines, "   杆件强度不能满足!"));
    EXPECT_EQ(fails.box.substr(0, fails.box.find("\r\n")), "σ=55.440＞fa=55.439杆件强度不能满足!");
}

TEST(MemberCheck, ShearIsComparedAtSinglePrecision) {
    // τ = 49.600 against "49.6" passes although 49.6 as a single is below 49.6 as a double.
    MemberInput input = Member("竖向杆件", "1200", "0", "2400");
    input.ss1 = "45.9259";
    const MemberRun run = RunMember(input, 1.0);
    EXPECT_TRUE(HasLine(run.lines, "     =49.600N/mm^2"));
    EXPECT_TRUE(HasLine(run.lines, "   τ=49.600≤49.600N/mm^2"));
    EXPECT_TRUE(HasLine(run.lines, "   杆件抗剪强度可以满足!"));
    input.shear_strength = "49.5";
    EXPECT_TRUE(HasLine(RunMember(input, 1.0).lines, "   杆件抗剪强度不能满足!"));
}

TEST(MemberCheck, WithoutWindEverythingIsZeroAndPasses) {
    const MemberRun run = RunMember(Member("竖向杆件", "1200", "1200", "2400"), 0.0);
    EXPECT_EQ(run.box,
              "σ=0.000≤fa=85.500杆件强度满足!\r\nτ=0.000≤49.600N/mm^2杆件抗剪强度可以满足!\r\n"
              "相对挠度Du=0.0000≤1/120=0.0083且绝对挠度Umax=0.000≤[U]=15mm挠度满足要求!");
}

TEST(MemberCheck, DeflectionVerdictCombinesBothLimits) {
    MemberInput input = Member("竖向杆件", "1200", "1200", "2400");
    input.ix = "10";  // U about 29 mm over 2.4 m: both limits fail
    const MemberRun both = RunMember(input, 1.0);
    EXPECT_NE(both.box.find("＞1/120=0.0083且绝对挠度Umax="), std::string::npos);
    EXPECT_NE(both.box.find("＞[U]=15mm挠度不满足要求!"), std::string::npos);

    input = Member("竖向杆件", "1200", "1200", "1200");
    input.ix = "2.5";  // a short member: relative fails, absolute holds
    const MemberRun relative = RunMember(input, 1.0);
    EXPECT_NE(relative.box.find("＞1/120=0.0083但绝对挠度Umax="), std::string::npos);
    EXPECT_NE(relative.box.find("≤[U]=15mm挠度不满足要求!"), std::string::npos);
}

struct MemberErrorCase {
    const char* what;
    MemberInput input;
    ErrorKind kind;
    const char* last_line;
    const char* box;
};

MemberInput With(MemberInput input, std::string MemberInput::*field, const char* text) {
    input.*field = text;
    return input;
}

TEST(MemberCheck, ErrorsStopAfterTheLinesBeforeThem) {
    const MemberInput base = Member("竖向杆件", "1200", "0", "2400");
    const MemberErrorCase cases[] = {
        {"Wx1 0", With(base, &MemberInput::wx1, "0"), ErrorKind::DivisionByZero,
         "     =1.4×0.396×10^3/0.000", ""},
        {"Ix 0", With(base, &MemberInput::ix, "0"), ErrorKind::DivisionByZero,
         "     =0.756×8.000×100/0.000/1.400", "σ=55.440≤fa=85.500杆件强度满足!"},
        {"t 0", With(base, &MemberInput::wall, "x"), ErrorKind::DivisionByZero,
         "     =0.756×8.000×100/50.000/0.000", "σ=55.440≤fa=85.500杆件强度满足!"},
        {"E 0", With(base, &MemberInput::modulus, ""), ErrorKind::DivisionByZero,
         "     =0.600×2.400^4×10^8×2.820/(240×0.000×50.000)",
         "σ=55.440≤fa=85.500杆件强度满足!\r\nτ=8.640≤49.600N/mm^2杆件抗剪强度可以满足!"},
        {"span 0", Member("竖向杆件", "1200", "0", "0"), ErrorKind::DivisionByZero,
         "     =0.000/0.000/1000", nullptr},
        {"fa 1e400", With(base, &MemberInput::strength, "1e400"), ErrorKind::Overflow,
         "(4).型材的强度计算:", ""},
    };
    for (const auto& c : cases) {
        MemberRun run;
        SharedValues shared;
        shared.WindLoadStandard = 1.0;
        EXPECT_EQ(ErrorOf([&] { CalcMember(c.input, shared, run.lines, run.box); }), c.kind)
            << c.what;
        ASSERT_FALSE(run.lines.empty());
        EXPECT_EQ(run.lines.back(), c.last_line) << c.what;
        if (c.box != nullptr) {
            EXPECT_EQ(run.box, c.box) << c.what;
        }
    }
}

}  // namespace
}  // namespace quoinry
