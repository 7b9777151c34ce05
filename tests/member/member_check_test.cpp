#include "member/member_check.h"

#include <gtest/gtest.h>

#include "member/member_form.h"
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
// Qw = qsk × (L + (L − 2Ba))/4 (the length in single precision). Triangular (a ≥ L):
// qsk = Wk × L/2, Mw = qsk × L²/12, Qw = qsk × L/4. qsk first, each to 3 decimals, the decimals
// the report prints.
const LoadCase kLoads[] = {
    // 0.6 × 5.76 × (3 − 1.44/5.76)/24 = 0.396, 0.6 × 3.6/4 = 0.54; an empty unit adds nothing
    {{kV, "1200", "0", "2400"}, 1.0, {kTrap, 0.6, 0.396, 0.54}, {kTrap, 0, 0, 0}},
    // 0.75 × 7.84 × (3 − 1/7.84)/24 = 0.70375, 0.75 × 4.5999999/4 = 0.86249998;
    // 1.05 × 7.84 × (3 − 1.96/7.84)/24 = 0.94325, 1.05 × 4.1999998/4 = 1.10249995
    {{kV, "1000", "1400", "2800"}, 1.5, {kTrap, 0.75, 0.704, 0.862}, {kTrap, 1.05, 0.943, 1.102}},
    // Both wider than the span: 1.5 × 2.25/12 = 0.28125; 1.5 × 1.5/4 = 0.5625, to even 0.562
    {{kV, "1800", "2000", "1500"}, 2.0, {kTri, 1.5, 0.281, 0.562}, {kTri, 1.5, 0.281, 0.562}},
    // a = L is triangular: 1.25 × 6.25/12 = 0.65104, 1.25 × 2.5/4 = 0.78125
    {{kV, "2500", "0", "2500"}, 1.0, {kTri, 1.25, 0.651, 0.781}, {kTrap, 0, 0, 0}},
    // a just below L: 1.245 × 6.25 × (3 − 6.2001/6.25)/24 = 0.65103, 1.245 × 2.51/4 = 0.78124
    {{kV, "2490", "0", "2500"}, 1.0, {kTrap, 1.245, 0.651, 0.781}, {kTrap, 0, 0, 0}},
    // 2.4 as a single is 2.4000001 > 2.4, so trapezoidal: 1.2 × 5.76 × 2/24, 1.2 × 2.4/4
    {{kV, "2400", "0", "2400"}, 1.0, {kTrap, 1.2, 0.576, 0.72}, {kTrap, 0, 0, 0}},
    // Hsk2 = 2.4 − 0.9; qsk 1.105 × 0.9/2 = 0.49725 and 1.105 × 1.5/2 = 0.82875;
    // 0.497 × 3.24 × (3 − 0.81/3.24)/24 = 0.18451, 0.497 × 2.7/4 = 0.33547;
    // 0.829 × 3.24 × (3 − 2.25/3.24)/24 = 0.25803, 0.829 × 2.1/4 = 0.43522
    {{kH, "1800", "2400", "900"},
     1.105,
     {kTrap, 0.497, 0.185, 0.335},
     {kTrap, 0.829, 0.258, 0.435}},
    // Hsk1 = Hsk2 = 1.5 ≥ 1.2: 0.9 × 1.44/12 = 0.108, 0.9 × 1.2/4 = 0.27
    {{kH, "1200", "3000", "1500"}, 1.5, {kTri, 0.9, 0.108, 0.27}, {kTri, 0.9, 0.108, 0.27}},
};

// A schedule takes only the exact texts; the calculation takes any text but the vertical one as
// the horizontal member, as design files always have.
TEST(MemberForm, ParsedExactlyWithTheHorizontalFormForAnyOtherText) {
    EXPECT_EQ(ParseMemberForm(kV), MemberFormId::Vertical);
    EXPECT_EQ(ParseMemberForm(kH), MemberFormId::Horizontal);
    for (const char* text : {"", "竖向", "竖向杆件 ", "vertical"}) {
        EXPECT_EQ(ParseMemberForm(text), std::nullopt) << text;
        EXPECT_FALSE(MemberFormOf(text).vertical) << text;
    }
    EXPECT_TRUE(MemberFormOf(kV).vertical);
    ASSERT_EQ(MemberForms().size(), MemberFormTexts().size());
    for (std::size_t i = 0; i < MemberForms().size(); ++i) {
        const MemberForm& form = MemberForms()[i];
        EXPECT_EQ(MemberFormTexts()[i], form.text);
        EXPECT_EQ(&MemberFormOf(form.id), &form);
        EXPECT_EQ(&MemberFormOf(form.text), &form);
    }
    // The span box of each form is labelled with the span the report names.
    EXPECT_EQ(VerticalMemberForm().geometry_labels[2], "受荷单元高Hsk");
    EXPECT_EQ(HorizontalMemberForm().geometry_labels[0], "受荷单元宽Wsk");
}

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
    // Wx2 = 15 < 18: 1.4 × 1.647 × 1000/15 = 153.72; 1.4 × 1.964 = 2.7496, 2.75 × 12 × 100/120/2
    {{kV, "1000", "1400", "2800"}, 1.5, kHeavy, 153.72, kFail, 2.75, 13.75, kPass},
    // 1.4 × 0.562 × 1000/10 = 78.68; 1.4 × 1.124 = 1.5736, 1.574 × 800/50/1.4 = 17.98857
    {{kV, "1800", "2000", "1500"}, 2.0, {}, 78.68, kPass, 1.574, 17.989, kPass},
    // 1.4 × 0.443 × 100 = 62.02; 1.4 × 0.77 = 1.078, 1.078 × 800/70 = 12.32
    {{kH, "1800", "2400", "900"}, 1.105, {}, 62.02, kPass, 1.078, 12.32, kPass},
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

// The first mullion above: σ = 554.4/Wx = 55.440, and τ = 0.756 × Ss × 100/50/1.4 = 1.08 × Ss:
// with Ss 45.9259 49.599972 → 49.600. The verdict is that of the value before its rounding,
// shown with the decimals it takes to tell it from the limit.
const StressLimitCase kStressLimits[] = {
    {{.fa = "55.441"}, kPass, kPass, "σ=55.440≤fa=55.441"},
    {{.fa = "55.44"}, kPass, kPass, "σ=55.440≤fa=55.440"},
    {{.fa = "55.439"}, kFail, kPass, "σ=55.440＞fa=55.439"},
    // 554.4/9.99999 = 55.440055 prints 55.440 but exceeds 55.44
    {{.fa = "55.44", .wx1 = "9.99999"}, kFail, kPass, "σ=55.4401＞fa=55.4400"},
    {{.tau_d = "49.601", .ss1 = "45.9259"}, kPass, kPass, "τ=49.600≤49.601N/mm^2"},
    {{.tau_d = "49.6", .ss1 = "45.9259"}, kPass, kPass, "τ=49.600≤49.600N/mm^2"},
    {{.tau_d = "49.599", .ss1 = "45.9259"}, kPass, kFail, "τ=49.600＞49.599N/mm^2"},
    // 1.08 × 45.9263 = 49.600404 prints 49.600 but exceeds 49.6
    {{.tau_d = "49.6", .ss1 = "45.9263"}, kPass, kFail, "τ=49.6004＞49.6000N/mm^2"},
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
    double umax, span_limit;
    bool ok;
    const char* verdict;  // the last line of the result box
};

// Wk = 1. U (mm) against L/180 with insulating glass, L/120 without, for both forms, and against
// [U] = 15 mm; U at a limit passes. Du (4 decimals) no longer decides: 13.334/2400 = 0.0056 =
// 1/180 in 4 decimals, yet 13.334 mm > 13.333 mm.
const DeflectionLimitCase kDeflectionLimits[] = {
    // C = 3.125 − 5 × (0.6/1.8)² + 2 × (0.6/1.8)⁴ = 2.594, U = 0.6 × 10.4976e8 × 2.594/(1.68e7
    // × Ix) = 97.25262/Ix; L/180 = 1800/180 = 10 mm
    {{kV, "1200", "0", "1800"},
     kInsulating,
     {.ix = "9.7259"},
     9.999,
     10.0,
     kPass,
     "相对挠度U=9.999mm≤L/180=10.000mm且绝对挠度U=9.999mm≤[U]=15mm挠度满足要求!"},
    {{kV, "1200", "0", "1800"},
     kInsulating,
     {.ix = "9.7249"},
     10.0,
     10.0,
     kPass,
     "相对挠度U=10.000mm≤L/180=10.000mm且绝对挠度U=10.000mm≤[U]=15mm挠度满足要求!"},
    {{kV, "1200", "0", "1800"},
     kInsulating,
     {.ix = "9.724"},
     10.001,
     10.0,
     kFail,
     "相对挠度U=10.001mm＞L/180=10.000mm但绝对挠度U=10.001mm≤[U]=15mm挠度不满足要求!"},
    // 97.25262/9.565 = 10.16755
    {{kV, "1200", "0", "1800"},
     kInsulating,
     {.ix = "9.565"},
     10.168,
     10.0,
     kFail,
     "相对挠度U=10.168mm＞L/180=10.000mm但绝对挠度U=10.168mm≤[U]=15mm挠度不满足要求!"},
    // C = 3.125 − 5 × 0.0625 + 2 × 0.0039 = 2.82, U = 334.14582/Ix: 334.14582/25.06 = 13.33383;
    // L/180 = 13.333
    {{kV, "1200", "0", "2400"},
     kInsulating,
     {.ix = "25.06"},
     13.334,
     2400.0 / 180,
     kFail,
     "相对挠度U=13.334mm＞L/180=13.333mm但绝对挠度U=13.334mm≤[U]=15mm挠度不满足要求!"},
    // C = 3.125 − 5 × 0.16 + 2 × 0.0256 = 2.376, each unit U = 0.6 × 5.0625e8 × 2.376/(1.68e7 ×
    // Ix) = 42.95893/Ix; L/120 = 1500/120 = 12.5 mm
    {{kH, "1500", "2400", "1200"},
     kOther,
     {.ix = "6.874"},
     12.498,
     12.5,
     kPass,
     "相对挠度U=12.498mm≤L/120=12.500mm且绝对挠度U=12.498mm≤[U]=15mm挠度满足要求!"},
    {{kH, "1500", "2400", "1200"},
     kOther,
     {.ix = "6.8729"},
     12.5,
     12.5,
     kPass,
     "相对挠度U=12.500mm≤L/120=12.500mm且绝对挠度U=12.500mm≤[U]=15mm挠度满足要求!"},
    {{kH, "1500", "2400", "1200"},
     kOther,
     {.ix = "6.8718"},
     12.502,
     12.5,
     kFail,
     "相对挠度U=12.502mm＞L/120=12.500mm但绝对挠度U=12.502mm≤[U]=15mm挠度不满足要求!"},
    {{kH, "1500", "2400", "1200"},
     kInsulating,
     {.ix = "6.8729"},
     12.5,
     1500.0 / 180,
     kFail,
     "相对挠度U=12.500mm＞L/180=8.333mm但绝对挠度U=12.500mm≤[U]=15mm挠度不满足要求!"},
    // C = 3.125 − 5 × 0.04 + 2 × 0.0016 = 2.928, U = 0.6 × 81e8 × 2.928/(1.68e7 × Ix) =
    // 847.02857/Ix; L/120 = 25 mm
    {{kV, "1200", "0", "3000"},
     kOther,
     {.ix = "56.4706"},
     14.999,
     25.0,
     kPass,
     "相对挠度U=14.999mm≤L/120=25.000mm且绝对挠度U=14.999mm≤[U]=15mm挠度满足要求!"},
    {{kV, "1200", "0", "3000"},
     kOther,
     {.ix = "56.4668"},
     15.0,
     25.0,
     kPass,
     "相对挠度U=15.000mm≤L/120=25.000mm且绝对挠度U=15.000mm≤[U]=15mm挠度满足要求!"},
    {{kV, "1200", "0", "3000"},
     kOther,
     {.ix = "56.4631"},
     15.001,
     25.0,
     kFail,
     "相对挠度U=15.001mm≤L/120=25.000mm但绝对挠度U=15.001mm＞[U]=15mm挠度不满足要求!"},
    // U1 = U2 = 334.14582/10 = 33.415, both limits exceeded
    {{kV, "1200", "1200", "2400"},
     kOther,
     {.ix = "10"},
     66.83,
     20.0,
     kFail,
     "相对挠度U=66.830mm＞L/120=20.000mm且绝对挠度U=66.830mm＞[U]=15mm挠度不满足要求!"},
};

TEST(MemberCheck, DeflectionInMillimetresAgainstBothLimits) {
    for (const DeflectionLimitCase& c : kDeflectionLimits) {
        SCOPED_TRACE(Name(c.geometry, 1.0) + " Ix " + c.profile.ix);
        const MemberRun run = RunMember(Input(c.geometry, c.profile), 1.0, c.insulating);
        EXPECT_EQ(run.result.umax, c.umax);
        EXPECT_DOUBLE_EQ(run.result.u_span_limit, c.span_limit);
        EXPECT_EQ(run.result.u_limit, 15.0);
        EXPECT_EQ(run.result.deflection_ok, c.ok);
        EXPECT_EQ(run.box.substr(run.box.rfind("\r\n") + 2), c.verdict);
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
    };
    for (const PreselectionCase& c : cases) {
        SharedValues shared;
        shared.WindLoadStandard = c.wk;
        EXPECT_EQ(MinimumSectionModulus(Input(c.geometry), shared), c.wx) << Name(c.geometry, c.wk);
    }
    EXPECT_EQ(PreselectionText(6.584f), "型材预选抵抗矩不能低于:6.584cm^3");
}

// The basis line states the limits the check uses, for both forms; any form text but "竖向杆件" is
// the horizontal member.
TEST(MemberCheck, BasisLineStatesTheLimitsItChecks) {
    const MemberRun vertical = RunMember(Input({kV, "1200", "0", "2400"}), 1.0, kInsulating);
    EXPECT_TRUE(HasLine(vertical.lines, "   校核依据:U≤L/180(中空玻璃)且U≤[U]=15mm"));
    EXPECT_TRUE(HasLine(vertical.lines, "   L/180=Hsk×1000/180=2.400×1000/180=13.333mm"));
    EXPECT_TRUE(HasLine(vertical.lines, "   选用型材号:GR50\\GR50-01"));
    const MemberRun horizontal = RunMember(Input({kH, "1800", "2400", "900"}), 1.105);
    EXPECT_TRUE(HasLine(horizontal.lines, "   校核依据:U≤L/120(非中空玻璃)且U≤[U]=15mm"));
    EXPECT_TRUE(HasLine(horizontal.lines, "   L/120=Wsk×1000/120=1.800×1000/120=15.000mm"));
    EXPECT_EQ(horizontal.lines[7], "   Hsk2:受力构件第二受荷单元高:1.500(m)");
    const MemberRun typed = RunMember(Input({"竖向", "1800", "2400", "1200"}), 1.0);
    EXPECT_FALSE(typed.result.vertical);
    EXPECT_EQ(typed.lines[1], "三、门窗横向受力杆件计算");
}

TEST(MemberCheck, WithoutWindEverythingIsZeroAndPasses) {
    const MemberRun run = RunMember(Input({kV, "1200", "1200", "2400"}), 0.0);
    EXPECT_TRUE(run.result.ok);
    EXPECT_EQ(run.box,
              "σ=0.000≤fa=85.500杆件强度满足!\r\nτ=0.000≤49.600N/mm^2杆件抗剪强度可以满足!\r\n"
              "相对挠度U=0.000mm≤L/120=20.000mm且绝对挠度U=0.000mm≤[U]=15mm挠度满足要求!");
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
