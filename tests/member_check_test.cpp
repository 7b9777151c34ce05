#include "member/member_check.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace quoinry {
namespace {

using testing_support::ErrorOf;
using testing_support::HasLine;

constexpr const char* kV = "竖向杆件";  // span Hsk = box 4, units Wsk1 = box 2, Wsk2 = box 3
constexpr const char* kH = "横向杆件";  // span Wsk = box 2, units Hsk1 = box 4, box 3 − box 4

struct Geometry {
    const char* form;
    const char* g1;
    const char* g2;
    const char* g3;
};

// A GR50-like profile; the cases below change one property at a time.
struct Profile {
    const char* fa = "85.5";
    const char* tau_d = "49.6";
    const char* t = "1.4";
    const char* ix = "50";
    const char* wx1 = "10";
    const char* wx2 = "12";
    const char* ss1 = "8";
};

// A deeper profile for the two-unit mullion below.
constexpr Profile kHeavy = {.t = "2", .ix = "120", .wx1 = "18", .wx2 = "15", .ss1 = "12"};

MemberInput Input(const Geometry& g, const Profile& p = {}) {
    return {g.form, "GR50", "GR50-01", p.fa,  g.g1,  g.g2,  g.g3, p.tau_d, "70000",
            p.t,    p.ix,   "30",      p.wx1, p.wx2, p.ss1, "7",  "5"};
}

struct MemberRun {
    ReportLines lines;
    std::string box;
    MemberResult result;
};

MemberRun RunMember(const MemberInput& input, double wk, bool insulating = false) {
    MemberRun run;
    SharedValues shared;
    shared.WindLoadStandard = wk;
    shared.IsInsulatingGlass = insulating;
    run.result = CalcMember(input, shared, run.lines, run.box);
    return run;
}

// The second unit keeps its moment and shear in single precision.
double Single(double x) {
    return static_cast<float>(x);
}

std::string Name(const Geometry& g, double wk) {
    return std::string(g.form) + " " + g.g1 + "/" + g.g2 + "/" + g.g3 + " Wk " + std::to_string(wk);
}

constexpr bool kTrap = true;
constexpr bool kTri = false;
constexpr bool kPass = true;
constexpr bool kFail = false;

struct UnitLoad {
    bool trapezoidal;
    double qsk, mw, qw;
};

struct LoadCase {
    Geometry geometry;
    double wk;
    UnitLoad unit1, unit2;
};

// Trapezoidal (a < L): qsk = Wk × a/2, Ba = a/2, Mw = qsk × L² × (3 − 4Ba²/L²)/24,
// Qw = qsk × (L + (L − 2Ba))/4 to 2 decimals. Triangular (a ≥ L): qsk = Wk × L/2,
// Mw = qsk × L²/12, Qw = qsk × L/4 to 3 decimals. qsk is rounded to 3 decimals first.
const LoadCase kLoads[] = {
    // 0.6 × 5.76 × (3 − 1.44/5.76)/24 = 0.396, 0.6 × 3.6/4 = 0.54; an empty unit adds nothing
    {{kV, "1200", "0", "2400"}, 1.0, {kTrap, 0.6, 0.396, 0.54}, {kTrap, 0, 0, 0}},
    // 0.75 × 7.84 × (3 − 1/7.84)/24 = 0.70375, 0.75 × 4.6/4 = 0.8625;
    // 1.05 × 7.84 × (3 − 1.96/7.84)/24 = 0.94325, 1.05 × 4.2/4 = 1.1025
    {{kV, "1000", "1400", "2800"}, 1.5, {kTrap, 0.75, 0.704, 0.86}, {kTrap, 1.05, 0.943, 1.1}},
    // Both wider than the span: 1.5 × 2.25/12 = 0.28125; 1.5 × 1.5/4 = 0.5625, to even 0.562
    {{kV, "1800", "2000", "1500"}, 2.0, {kTri, 1.5, 0.281, 0.562}, {kTri, 1.5, 0.281, 0.562}},
    // a = L is triangular: 1.25 × 6.25/12 = 0.65104, 1.25 × 2.5/4 = 0.78125
    {{kV, "2500", "0", "2500"}, 1.0, {kTri, 1.25, 0.651, 0.781}, {kTrap, 0, 0, 0}},
    // a just below L: 1.245 × 6.25 × (3 − 6.2001/6.25)/24 = 0.65103, 1.245 × 2.51/4 = 0.78124
    {{kV, "2490", "0", "2500"}, 1.0, {kTrap, 1.245, 0.651, 0.78}, {kTrap, 0, 0, 0}},
    // 2.4 as a single is 2.4000001 > 2.4, so trapezoidal: 1.2 × 5.76 × 2/24, 1.2 × 2.4/4
    {{kV, "2400", "0", "2400"}, 1.0, {kTrap, 1.2, 0.576, 0.72}, {kTrap, 0, 0, 0}},
    // Hsk2 = 2.4 − 0.9; qsk 1.105 × 0.9/2 = 0.49725 and 1.105 × 1.5/2 = 0.82875;
    // 0.497 × 3.24 × (3 − 0.81/3.24)/24 = 0.18451, 0.497 × 2.7/4 = 0.33547;
    // 0.829 × 3.24 × (3 − 2.25/3.24)/24 = 0.25803, 0.829 × 2.1/4 = 0.43522
    {{kH, "1800", "2400", "900"}, 1.105, {kTrap, 0.497, 0.185, 0.34}, {kTrap, 0.829, 0.258, 0.44}},
    // Hsk1 = Hsk2 = 1.5 ≥ 1.2: 0.9 × 1.44/12 = 0.108, 0.9 × 1.2/4 = 0.27
    {{kH, "1200", "3000", "1500"}, 1.5, {kTri, 0.9, 0.108, 0.27}, {kTri, 0.9, 0.108, 0.27}},
    // Hsk2 = 0.9 − 1.2 = −0.3 counts against the first unit: 0.6 × 3.24 × (3 − 1.44/3.24)/24
    // = 0.207, 0.6 × 2.4/4 = 0.36; −0.15 × 3.24 × (3 − 0.09/3.24)/24 = −0.06019, −0.15 × 3.9/4
    {{kH, "1800", "900", "1200"}, 1.0, {kTrap, 0.6, 0.207, 0.36}, {kTrap, -0.15, -0.06, -0.15}},
};

TEST(MemberCheck, LoadsMomentsAndShearsOfBothForms) {
    for (const LoadCase& c : kLoads) {
        SCOPED_TRACE(Name(c.geometry, c.wk));
        const MemberResult r = RunMember(Input(c.geometry), c.wk).result;
        EXPECT_EQ(r.vertical, c.geometry.form == kV);
        EXPECT_EQ(r.units[0].trapezoidal, c.unit1.trapezoidal);
        EXPECT_EQ(r.units[0].qsk, c.unit1.qsk);
        EXPECT_EQ(r.units[0].mw, c.unit1.mw);
        EXPECT_EQ(r.units[0].qw, c.unit1.qw);
        EXPECT_EQ(r.units[1].trapezoidal, c.unit2.trapezoidal);
        EXPECT_EQ(r.units[1].qsk, c.unit2.qsk);
        EXPECT_EQ(r.units[1].mw, Single(c.unit2.mw));
        EXPECT_EQ(r.units[1].qw, Single(c.unit2.qw));
    }
}

struct StressCase {
    Geometry geometry;
    double wk;
    Profile profile;
    double sigma;
    bool strength_ok;
    double q, tau;
    bool shear_ok;
};

// σ = 1.4 × Mw × 10³/Wx with the smaller Wx; Q = 1.4 × Qwk; τ = Q × Ss × 100/Ix/t.
const StressCase kStresses[] = {
    // 1.4 × 0.396 × 1000/10 = 55.44; 1.4 × 0.54 = 0.756, 0.756 × 8 × 100/50/1.4 = 8.64
    {{kV, "1200", "0", "2400"}, 1.0, {}, 55.44, kPass, 0.756, 8.64, kPass},
    // Wx2 = 15 < 18: 1.4 × 1.647 × 1000/15 = 153.72; 1.4 × 1.96 = 2.744, × 12 × 100/120/2
    {{kV, "1000", "1400", "2800"}, 1.5, kHeavy, 153.72, kFail, 2.744, 13.72, kPass},
    // 1.4 × 0.562 × 1000/10 = 78.68; 1.4 × 1.124 = 1.5736, 1.574 × 800/50/1.4 = 17.98857
    {{kV, "1800", "2000", "1500"}, 2.0, {}, 78.68, kPass, 1.574, 17.989, kPass},
    // 1.4 × 0.443 × 100 = 62.02; 1.4 × 0.78 = 1.092, 1.092 × 800/70 = 12.48
    {{kH, "1800", "2400", "900"}, 1.105, {}, 62.02, kPass, 1.092, 12.48, kPass},
    // 1.4 × 0.147 × 100 = 20.58; 1.4 × 0.21 = 0.294, 0.294 × 800/70 = 3.36
    {{kH, "1800", "900", "1200"}, 1.0, {}, 20.58, kPass, 0.294, 3.36, kPass},
};

TEST(MemberCheck, BendingAndShearStresses) {
    for (const StressCase& c : kStresses) {
        SCOPED_TRACE(Name(c.geometry, c.wk));
        const MemberResult r = RunMember(Input(c.geometry, c.profile), c.wk).result;
        EXPECT_EQ(r.sigma, c.sigma);
        EXPECT_EQ(r.strength_ok, c.strength_ok);
        EXPECT_EQ(r.q, c.q);
        EXPECT_EQ(r.tau, c.tau);
        EXPECT_EQ(r.shear_ok, c.shear_ok);
    }
}

struct StressLimitCase {
    Profile profile;
    bool strength_ok, shear_ok;
    const char* comparison;  // as the result box states it
};

// The first mullion above: σ = 55.440, and with Ss 45.9259 τ = 0.756 × 4592.59/50/1.4 = 49.59997
// → 49.600; τd is a single and τ is compared with it at single precision.
const StressLimitCase kStressLimits[] = {
    {{.fa = "55.441"}, kPass, kPass, "σ=55.440≤fa=55.441"},
    {{.fa = "55.44"}, kPass, kPass, "σ=55.440≤fa=55.440"},
    {{.fa = "55.439"}, kFail, kPass, "σ=55.440＞fa=55.439"},
    {{.tau_d = "49.601", .ss1 = "45.9259"}, kPass, kPass, "τ=49.600≤49.601N/mm^2"},
    {{.tau_d = "49.6", .ss1 = "45.9259"}, kPass, kPass, "τ=49.600≤49.600N/mm^2"},
    {{.tau_d = "49.599", .ss1 = "45.9259"}, kPass, kFail, "τ=49.600＞49.599N/mm^2"},
};

TEST(MemberCheck, StressesExactlyAtTheirLimitsPass) {
    for (const StressLimitCase& c : kStressLimits) {
        SCOPED_TRACE(c.comparison);
        const MemberRun run = RunMember(Input({kV, "1200", "0", "2400"}, c.profile), 1.0);
        EXPECT_EQ(run.result.strength_ok, c.strength_ok);
        EXPECT_EQ(run.result.shear_ok, c.shear_ok);
        EXPECT_NE(run.box.find(c.comparison), std::string::npos);
    }
}

struct DeflectionCase {
    Geometry geometry;
    double wk;
    Profile profile;
    double c1, c2, u1, u2, du;
};

// C = 25/8 − 5Ba²/L² + 2Ba⁴/L⁴ to 3 decimals; U = qsk × L⁴ × 10⁸ × C/(240 × E × Ix) for a
// trapezoidal unit, qsk × L⁴ × 10⁸/(120 × E × Ix) for a triangular one; Du = U/L/1000.
const DeflectionCase kDeflections[] = {
    // C = 3.125 − 5 × 0.0625 + 2 × 0.0039 = 2.82031, U = 0.6 × 33.1776e8 × 2.82/8.4e8 = 6.68292;
    // an empty unit has C = 3.125 and U = 0; Du = 6.683/2400 = 0.00278
    {{kV, "1200", "0", "2400"}, 1.0, {}, 2.82, 3.125, 6.683, 0, 0.0028},
    // C1 = 3.125 − 5 × 0.03189 + 2 × 0.00102 = 2.96759, U1 = 0.75 × 61.4656e8 × 2.968/2.016e9
    // = 6.78683; C2 = 2.82, U2 = 1.05 × 61.4656e8 × 2.82/2.016e9 = 9.02776; 15.815/2800
    {{kV, "1000", "1400", "2800"}, 1.5, kHeavy, 2.968, 2.82, 6.787, 9.028, 0.0056},
    // No C for triangular units: U = 1.5 × 5.0625e8/(120 × 70000 × 50) = 1.80804; 3.616/1500
    {{kV, "1800", "2000", "1500"}, 2.0, {}, 0, 0, 1.808, 1.808, 0.0024},
    // C1 = 2.82, U1 = 0.497 × 10.4976e8 × 2.82/8.4e8 = 1.75152; C2 = 3.125 − 5 × 0.17361
    // + 2 × 0.03014 = 2.31723, U2 = 0.829 × 10.4976e8 × 2.317/8.4e8 = 2.40044; 4.152/1800
    {{kH, "1800", "2400", "900"}, 1.105, {}, 2.82, 2.317, 1.752, 2.4, 0.0023},
    // C1 = 3.125 − 5 × 0.11111 + 2 × 0.01235 = 2.59414, U1 = 0.6 × 10.4976e8 × 2.594/8.4e8
    // = 1.94506; C2 = 3.125 − 5 × 0.00694 + 2 × 0.00005 = 3.09037,
    // U2 = −0.15 × 10.4976e8 × 3.09/8.4e8 = −0.57924; 1.366/1800
    {{kH, "1800", "900", "1200"}, 1.0, {}, 2.594, 3.09, 1.945, -0.579, 0.0008},
};

TEST(MemberCheck, DeflectionOfBothForms) {
    for (const DeflectionCase& c : kDeflections) {
        SCOPED_TRACE(Name(c.geometry, c.wk));
        const MemberResult r = RunMember(Input(c.geometry, c.profile), c.wk).result;
        EXPECT_EQ(r.c[0], c.c1);
        EXPECT_EQ(r.c[1], c.c2);
        EXPECT_EQ(r.u[0], c.u1);
        EXPECT_EQ(r.u[1], c.u2);
        EXPECT_EQ(r.umax, c.u1 + c.u2);
        EXPECT_EQ(r.du, c.du);
    }
}

constexpr bool kInsulating = true;
constexpr bool kOther = false;

struct DeflectionLimitCase {
    Geometry geometry;
    bool insulating;
    Profile profile;
    double umax, du, limit;
    bool ok;
};

// Wk = 1. Du to 4 decimals against 1/180 = 0.0056 with insulating glass, 1/120 = 0.0083
// without (for both forms), and U against 15 mm; both tests strict.
const DeflectionLimitCase kDeflectionLimits[] = {
    // U = 334.146/Ix: 13.155/2400 = 0.00548, 13.528/2400 = 0.00564, 13.583/2400 = 0.00566
    {{kV, "1200", "0", "2400"}, kInsulating, {.ix = "25.4"}, 13.155, 0.0055, 0.0056, kPass},
    {{kV, "1200", "0", "2400"}, kInsulating, {.ix = "24.7"}, 13.528, 0.0056, 0.0056, kPass},
    {{kV, "1200", "0", "2400"}, kInsulating, {.ix = "24.6"}, 13.583, 0.0057, 0.0056, kFail},
    // C = 3.125 − 5 × 0.16 + 2 × 0.0256 = 2.3762, U = 2 × 0.6 × 5.0625e8 × 2.376/(1.68e7 × Ix)
    // = 2 × 42.95893/Ix: 12.362/1500 = 0.00824, 12.452/1500 = 0.00830, 12.542/1500 = 0.00836
    {{kH, "1500", "2400", "1200"}, kOther, {.ix = "6.95"}, 12.362, 0.0082, 0.0083, kPass},
    {{kH, "1500", "2400", "1200"}, kOther, {.ix = "6.9"}, 12.452, 0.0083, 0.0083, kPass},
    {{kH, "1500", "2400", "1200"}, kOther, {.ix = "6.85"}, 12.542, 0.0084, 0.0083, kFail},
    {{kH, "1500", "2400", "1200"}, kInsulating, {.ix = "6.9"}, 12.452, 0.0083, 0.0056, kFail},
    // C = 3.125 − 5 × 0.04 + 2 × 0.0016 = 2.9282, U = 0.6 × 81e8 × 2.928/(1.68e7 × Ix)
    // = 847.02857/Ix: 14.99899, 14.99988 and 15.00094 mm; Du = 0.005
    {{kV, "1200", "0", "3000"}, kOther, {.ix = "56.472"}, 14.999, 0.005, 0.0083, kPass},
    {{kV, "1200", "0", "3000"}, kOther, {.ix = "56.469"}, 15.0, 0.005, 0.0083, kPass},
    {{kV, "1200", "0", "3000"}, kOther, {.ix = "56.465"}, 15.001, 0.005, 0.0083, kFail},
};

TEST(MemberCheck, DeflectionExactlyAtItsLimitsPasses) {
    for (const DeflectionLimitCase& c : kDeflectionLimits) {
        SCOPED_TRACE(Name(c.geometry, 1.0) + " Ix " + c.profile.ix);
        const MemberResult r = RunMember(Input(c.geometry, c.profile), 1.0, c.insulating).result;
        EXPECT_EQ(r.umax, c.umax);
        EXPECT_EQ(r.du, c.du);
        EXPECT_EQ(r.du_limit, c.limit);
        EXPECT_EQ(r.u_limit, 15.0);
        EXPECT_EQ(r.deflection_ok, c.ok);
    }
}

TEST(MemberCheck, DeflectionVerdictOfEachCombination) {
    const std::pair<MemberRun, const char*> cases[] = {
        {RunMember(Input({kV, "1200", "0", "2400"}, {.ix = "24.7"}), 1.0, kInsulating),
         "相对挠度Du=0.0056≤1/180=0.0056且绝对挠度Umax=13.528≤[U]=15mm挠度满足要求!"},
        {RunMember(Input({kH, "1500", "2400", "1200"}, {.ix = "6.85"}), 1.0),
         "相对挠度Du=0.0084＞1/120=0.0083但绝对挠度Umax=12.542≤[U]=15mm挠度不满足要求!"},
        {RunMember(Input({kV, "1200", "0", "3000"}, {.ix = "56.469"}), 1.0),
         "相对挠度Du=0.0050≤1/120=0.0083且绝对挠度Umax=15.000≤[U]=15mm挠度满足要求!"},
        {RunMember(Input({kV, "1200", "0", "3000"}, {.ix = "56.465"}), 1.0),
         "相对挠度Du=0.0050≤1/120=0.0083但绝对挠度Umax=15.001＞[U]=15mm挠度不满足要求!"},
        // U1 = U2 = 6.683 × 50/10 = 33.415
        {RunMember(Input({kV, "1200", "1200", "2400"}, {.ix = "10"}), 1.0),
         "相对挠度Du=0.0278＞1/120=0.0083且绝对挠度Umax=66.830＞[U]=15mm挠度不满足要求!"},
    };
    for (const auto& [run, line] : cases) {
        EXPECT_EQ(run.box.substr(run.box.rfind("\r\n") + 2), line);
    }
}

struct PreselectionCase {
    Geometry geometry;
    double wk;
    float wx;
};

TEST(MemberCheck, PreselectionUsesTheFixedStrength) {
    // Wx = 1.4 × Mw × 10³/84.2 with the moments of the load table
    const PreselectionCase cases[] = {
        {{kV, "1200", "0", "2400"}, 1.0, 6.584f},      // 1.4 × 0.396 = 0.5544 → 6.58432
        {{kV, "1000", "1400", "2800"}, 1.5, 27.385f},  // 1.4 × 1.647 = 2.3058 → 27.38480
        {{kH, "1800", "900", "1200"}, 1.0, 2.444f},    // 1.4 × 0.147 = 0.2058 → 2.44418
    };
    for (const PreselectionCase& c : cases) {
        SharedValues shared;
        shared.WindLoadStandard = c.wk;
        EXPECT_EQ(MinimumSectionModulus(Input(c.geometry), shared), c.wx) << Name(c.geometry, c.wk);
    }
    EXPECT_EQ(PreselectionText(6.584f), "型材预选抵抗矩不能低于:6.584cm^3");
}

// Report texts kept as they are: the basis line names 20 mm and, for the horizontal member,
// L/130 whatever the check uses; any form text but "竖向杆件" is the horizontal member.
TEST(MemberCheck, BasisLinesAndFormTextsKeptAsTheyAre) {
    const MemberRun vertical = RunMember(Input({kV, "1200", "0", "2400"}), 1.0, kInsulating);
    EXPECT_TRUE(HasLine(vertical.lines, "   校核依据:Umax≤[U]=20mm 且 Umax≤L/180"));
    EXPECT_TRUE(HasLine(vertical.lines, "   选用型材号:GR50\\GR50-01"));
    const MemberRun horizontal = RunMember(Input({kH, "1800", "2400", "900"}), 1.105, kInsulating);
    EXPECT_TRUE(HasLine(horizontal.lines, "   校核依据:Umax≤[U]=20mm 且 Umax≤L/130"));
    EXPECT_EQ(horizontal.lines[7], "   Hsk2:受力构件第二受荷单元高:1.500(m)");
    const MemberRun typed = RunMember(Input({"竖向", "1800", "900", "1200"}), 1.0);
    EXPECT_FALSE(typed.result.vertical);
    EXPECT_EQ(typed.lines[1], "三、门窗横向受力杆件计算");
}

TEST(MemberCheck, WithoutWindEverythingIsZeroAndPasses) {
    const MemberRun run = RunMember(Input({kV, "1200", "1200", "2400"}), 0.0);
    EXPECT_TRUE(run.result.ok);
    EXPECT_EQ(run.box,
              "σ=0.000≤fa=85.500杆件强度满足!\r\nτ=0.000≤49.600N/mm^2杆件抗剪强度可以满足!\r\n"
              "相对挠度Du=0.0000≤1/120=0.0083且绝对挠度Umax=0.000≤[U]=15mm挠度满足要求!");
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
    const MemberInput base = Input({kV, "1200", "0", "2400"});
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
        {"span 0", Input({kV, "1200", "0", "0"}), ErrorKind::DivisionByZero,
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
