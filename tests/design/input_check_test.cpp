// The input check before each calculation step: the rules of every input at, below and above
// their limits, the messages that name the input, and what a refused step leaves behind.
#include "design/input_check.h"

#include <gtest/gtest.h>

#include "design/design_run.h"
#include "test_support.h"

namespace quoinry {
namespace {

namespace fs = std::filesystem;

// The worked example: B类, 350 Pa, μs 1.5, 20 m; single glass 1200 × 1500 × 6; a vertical member
// 2400 high with load units 1200 and 0.
Design ValidDesign() {
    Design d;
    d.wind = {"南京", "350", "B类", "1.5", "20", MinimumWkRule::None};
    d.glass = {"单层玻璃", "普通玻璃", "6", "普通玻璃", "6", "1200", "1500"};
    d.member =
        MemberInput{"竖向杆件", "GR50", "GR50-01", "85.5", "1200", "0", "2400", "49.6", "70000",
                    "1.4",      "50",   "30",      "10",   "12",   "8", "7",    "5"};
    return d;
}

// The keys of the refused fields, joined: "te3" or "co6,te4".
std::string RefusedKeys(const std::vector<InputRefusal>& refusals) {
    std::string keys;
    for (const InputRefusal& r : refusals)
        keys += (keys.empty() ? "" : ",") + std::string(r.field->key);
    return keys;
}

std::string RefusedKeys(const Design& d) {
    std::vector<InputRefusal> all = CheckWindInput(d.wind);
    for (auto& r : CheckGlassInput(d.glass)) all.push_back(r);
    for (auto& r : CheckMemberInput(*d.member)) all.push_back(r);
    return RefusedKeys(all);
}

struct Case {
    const char* section;
    const char* key;
    const char* text;
    const char* refused;  // the refused keys; "" when the text is accepted
};

TEST(InputCheck, EveryRuleAtBelowAndAboveItsLimit) {
    const Case cases[] = {
        // Height in (0, 550] m, the whole text a number.
        {"glass", "te3", "0", "te3"},
        {"glass", "te3", "0.0001", ""},
        {"glass", "te3", "550", ""},
        {"glass", "te3", "550.0001", "te3"},
        {"glass", "te3", " 20\t", ""},
        {"glass", "te3", "15m", "te3"},
        {"glass", "te3", "", "te3"},
        {"glass", "te3", "1e400", "te3"},
        {"glass", "te3", "1e-300", "te3"},  // 0 in the single precision the wind load uses
        // Basic wind pressure from 100 Pa (0.5 is kN/m^2 typed into the Pa box); the shape
        // coefficient any number but 0 (suction is negative).
        {"glass", "te1", "0", "te1"},
        {"glass", "te1", "-350", "te1"},
        {"glass", "te1", "0.5", "te1"},
        {"glass", "te1", "99.99", "te1"},
        {"glass", "te1", "100", ""},
        {"glass", "te1", "10000", ""},
        {"glass", "te1", "10000.5", "te1"},
        {"glass", "te1", "1e300", "te1"},  // used to end in a bare "溢出"
        {"glass", "te2", "-1.2", ""},
        {"glass", "te2", "-10", ""},
        {"glass", "te2", "10.01", "te2"},
        {"glass", "te2", "0", "te2"},
        {"glass", "te2", "-0", "te2"},
        {"glass", "te2", "1e-300", "te2"},
        {"glass", "te2", "1.5.1", "te2"},
        // Lists compare exactly.
        {"glass", "co3", "E类", "co3"},
        {"glass", "co3", "b类", "co3"},
        {"glass", "co3", "D类", ""},
        {"glass", "co4", "真空玻璃", "co4"},
        {"glass", "co5", "浮法玻璃", "co5"},
        // Glass sides of at least 100 mm; thicknesses > 0, also off the list.
        {"glass", "te4", "100", ""},
        {"glass", "te4", "99.99", "te4"},
        {"glass", "te4", "1,500", "te4"},
        {"glass", "te5", "-1", "te5"},
        {"glass", "te5", "20000", ""},
        {"glass", "te5", "20001", "te5"},
        {"glass", "co6", "7", ""},
        {"glass", "co6", "1", ""},
        {"glass", "co6", "0.9", "co6"},  // σ = 0 used to pass
        {"glass", "co6", "100", ""},
        {"glass", "co6", "100.1", "co6"},
        {"glass", "co6", "6mm", "co6"},
        // Single glass has no inner pane.
        {"glass", "co8", "abc", ""},
        {"glass", "co7", "", ""},
        // The vertical member: span Hsk from 100 mm, load units ≥ 0, all up to 50 m.
        {"gj", "te4", "99.9", "te4"},  // 0.1 mm used to give 0 everywhere and pass
        {"gj", "te4", "100", ""},
        {"gj", "te4", "50000", ""},
        {"gj", "te4", "50000.1", "te4"},
        {"gj", "te2", "-1", "te2"},
        {"gj", "te2", "0.5", ""},
        {"gj", "te2", "1e300", "te2"},
        {"gj", "te3", "-0.5", "te3"},
        {"gj", "co1", "斜向杆件", "co1"},
        // Material and section values > 0, the listed-only ones too.
        {"gj", "te1", "0", "te1"},
        {"gj", "te5", "-49.6", "te5"},
        {"gj", "te6", "-70000", "te6"},
        {"gj", "te6", "999", "te6"},
        {"gj", "te6", "1000", ""},
        {"gj", "te6", "1e300", "te6"},  // no deflection at all used to pass
        {"gj", "te7", "0", "te7"},
        {"gj", "te7", "0.1", ""},
        {"gj", "te7", "0.09", "te7"},
        {"gj", "te1", "1000", ""},
        {"gj", "te1", "1001", "te1"},
        {"gj", "te8", "0.01", ""},
        {"gj", "te8", "0.009", "te8"},
        {"gj", "te8", "1000001", "te8"},
        {"gj", "te13", "0.01", ""},
        {"gj", "te13", "0.0099", "te13"},
        {"gj", "te14", "0.01", ""},
        {"gj", "te14", "0.0099", "te14"},
        {"gj", "te12", "1e-30", "te12"},  // τ = 0 used to pass
        {"gj", "te10", "0", "te10"},
        {"gj", "te11", "-12", "te11"},
        {"gj", "te9", "", "te9"},
        {"gj", "te14", "5 cm", "te14"},
    };
    for (const Case& c : cases) {
        Design d = ValidDesign();
        SetFieldText(d, *FindInputField(c.section, c.key), c.text);
        EXPECT_EQ(RefusedKeys(d), c.refused) << c.section << "." << c.key << "=" << c.text;
    }
}

TEST(InputCheck, LoadUnitsOfBothMemberForms) {
    struct Geometry {
        const char* form;
        const char* g1;
        const char* g2;
        const char* g3;
        const char* refused;
    };
    const Geometry cases[] = {
        {"竖向杆件", "0", "0", "2400", "te2"},        // no load at all
        {"竖向杆件", "0", "1200", "2400", ""},        // loaded from one side
        {"横向杆件", "0", "2400", "900", "te2"},      // span Wsk
        {"横向杆件", "1800", "0", "0", "te4"},        // Hsk and Hsk1 both 0
        {"横向杆件", "1800", "2400", "0", ""},        // Hsk2 alone
        {"横向杆件", "1800", "2400", "-1", "te4"},    // Hsk1 below 0
        {"横向杆件", "1800", "-1", "0", "te3"},       // Hsk below 0
        {"横向杆件", "1800", "900", "900", ""},       // Hsk2 = Hsk − Hsk1 = 0
        {"横向杆件", "1800", "899.9", "900", "te3"},  // Hsk2 below 0 would take load off
        {"横向杆件", "3825", "3944", "4152", "te3"},
        {"竖向杆件", "3825", "3944", "4152", ""},  // both units of a mullion are given
        {"斜向杆件", "1200", "0", "2400", "co1"},  // an unknown form: no unit checks on it
    };
    for (const Geometry& c : cases) {
        MemberInput m = *ValidDesign().member;
        m.form = c.form;
        m.geometry1 = c.g1;
        m.geometry2 = c.g2;
        m.geometry3 = c.g3;
        EXPECT_EQ(RefusedKeys(CheckMemberInput(m)), c.refused)
            << c.form << c.g1 << "/" << c.g2 << "/" << c.g3;
        EXPECT_EQ(RefusedKeys(CheckMemberGeometry(m)), c.refused) << c.form;
    }
}

TEST(InputCheck, MessagesNameTheInputWithItsUnitAndTheTextFound) {
    Design d = ValidDesign();
    d.wind.height = "-10";
    d.wind.terrain_category = "E类";
    const auto wind = CheckWindInput(d.wind);
    ASSERT_EQ(wind.size(), 2u);
    EXPECT_EQ(wind[0].message, "地面类型: “E类” 应为A类、B类、C类、D类之一");
    EXPECT_EQ(wind[1].message, "计算处标高(m): “-10” 应为大于0且不大于550的数");
    EXPECT_EQ(wind[1].field->box, "TextBox3");

    d.glass.width = "1,500";
    EXPECT_EQ(CheckGlassInput(d.glass).at(0).message,
              "玻璃分格宽(mm): “1,500” 应为不小于100且不大于20000的数");
    d.wind.shape_coefficient = "12";
    EXPECT_EQ(CheckWindInput(d.wind).at(1).message,
              "体型系数: “12” 应为不等于0且绝对值不大于10的数");

    MemberInput m = *d.member;
    m.form = "横向杆件";
    m.geometry1 = "";
    m.geometry2 = "0";
    m.geometry3 = "0";
    m.wx1 = "-3";
    const auto member = CheckMemberInput(m);
    ASSERT_EQ(member.size(), 3u);
    EXPECT_EQ(member[0].message, "受荷单元宽Wsk(mm): “” 应为不小于100且不大于50000的数");
    EXPECT_EQ(member[1].message, "X轴抵抗矩一(cm^3): “-3” 应为不小于0.01且不大于100000的数");
    EXPECT_EQ(member[2].message, "第一受荷单元高Hsk1(mm): “0” 与受荷单元高Hsk(mm)不能都为0");

    m.geometry1 = "1800";
    m.geometry2 = "300";
    m.geometry3 = "500";
    m.wx1 = "10";
    EXPECT_EQ(CheckMemberInput(m).at(0).message,
              "受荷单元高Hsk(mm): “300” 小于第一受荷单元高Hsk1(mm)“500”:"
              "第二受荷单元高Hsk2=Hsk-Hsk1不能为负");
    d.wind.basic_wind_pressure = "0.55";
    EXPECT_EQ(CheckWindInput(d.wind).at(1).message,
              "基本风压(Pa): “0.55” 应为不小于100且不大于10000的数(以Pa为单位,0.55kN/m^2应填550)");
}

class RefusedStep : public testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"wind.txt", "glass.txt", "gj.txt"})
            testing_support::WriteBytes(dir_ / name, "old");
    }

    DesignRunResult Run(const Design& d) { return RunDesign(d, dir_, shared_); }
    bool Has(const char* name) const { return fs::exists(dir_ / name); }

    testing_support::ScratchFolder folder_;
    fs::path dir_ = folder_.path();
    SharedValues shared_;
};

// A valid wind step still writes its report when the glass is refused; the refused step writes
// nothing, and the calculation's own error stays the first line.
TEST_F(RefusedStep, GlassRefusedAfterTheWindStep) {
    Design d = ValidDesign();
    d.glass.outer_thickness = "0";
    const DesignRunResult r = Run(d);
    ASSERT_TRUE(r.error);
    EXPECT_EQ(r.error->kind(), ErrorKind::DivisionByZero);
    EXPECT_EQ(ErrorLine(*r.error),
              "当前错误:除数为零\n外片厚度(mm): “0” 应为不小于1且不大于100的数");
    ASSERT_EQ(r.refusals.size(), 1u);
    EXPECT_EQ(r.refusals[0].field->box, "ComboBox6");
    EXPECT_TRUE(r.wind);
    EXPECT_EQ(shared_.WindLoadStandard, 1.105);
    EXPECT_EQ(r.glass_box, "风荷载的标准值:1.105kN/m^2\r\n风荷载的设计值:1.547kN/m^2");
    EXPECT_TRUE(Has("wind.txt"));
    EXPECT_FALSE(Has("glass.txt"));
    EXPECT_FALSE(Has("gj.txt"));  // the member step never ran: an older report is gone
}

// Texts the calculation would have taken silently: the refusal is the whole message, and no
// result or shared value comes from them.
TEST_F(RefusedStep, WhatUsedToPassUnseenIsRefused) {
    const Case cases[] = {
        {"glass", "co3", "E类", "wind.txt"},        // Wk 0, raised to the bound
        {"glass", "te3", "1000", "wind.txt"},       // beyond the codes' tables
        {"glass", "co4", "钢化中空", "glass.txt"},  // no glass check at all
        {"glass", "te4", "1,500", "glass.txt"},     // read as 1 mm
        {"glass", "te4", "10", "glass.txt"},        // a 10 × 10 pane
        {"gj", "co1", "竖直杆件", "gj.txt"},        // ran the horizontal member
        {"gj", "te2", "abc", "gj.txt"},             // a load unit read as 0
        {"gj", "te6", "-70000", "gj.txt"},          // negative E
        {"gj", "te10", "-10", "gj.txt"},            // σ = -1162 "满足"
    };
    for (const Case& c : cases) {
        SetUp();
        shared_ = SharedValues{};
        Design d = ValidDesign();
        SetFieldText(d, *FindInputField(c.section, c.key), c.text);
        const DesignRunResult r = Run(d);
        ASSERT_TRUE(r.error) << c.key << "=" << c.text;
        EXPECT_EQ(r.error->kind(), ErrorKind::InvalidInput) << c.text;
        EXPECT_EQ(r.refusals.at(0).field->key, c.key) << c.text;
        EXPECT_TRUE(ErrorLine(*r.error).starts_with("当前错误:" + r.refusals[0].message + "\n") ||
                    ErrorLine(*r.error) == "当前错误:" + r.refusals[0].message);
        EXPECT_FALSE(Has(c.refused)) << c.text;
        EXPECT_EQ(r.member_box, "") << c.text;  // no "满足" before the error
        if (std::string_view(c.refused) == "wind.txt") {
            EXPECT_EQ(shared_.WindLoadStandard, 0.0) << c.text;
        }
    }
}

// Every number at the end of its range that makes the loads largest and the member weakest, and
// at the other ends, still computes: no "溢出" or "除数为零" that would name no input.
TEST_F(RefusedStep, NumbersAtTheEndsOfTheirRangesCompute) {
    struct Extreme {
        const char* section;
        const char* key;
        const char* weak;
        const char* strong;
    };
    const Extreme extremes[] = {
        {"glass", "te1", "10000", "100"}, {"glass", "te2", "-10", "1e-30"},
        {"glass", "te3", "550", "1e-30"}, {"glass", "te4", "20000", "100"},
        {"glass", "te5", "100", "20000"}, {"glass", "co6", "1", "100"},
        {"glass", "co8", "100", "1"},     {"gj", "te1", "1e-30", "1000"},
        {"gj", "te2", "50000", "0"},      {"gj", "te3", "50000", "1e-30"},
        {"gj", "te4", "50000", "100"},    {"gj", "te5", "1e-30", "1000"},
        {"gj", "te6", "1000", "1000000"}, {"gj", "te7", "0.1", "100"},
        {"gj", "te8", "0.01", "1000000"}, {"gj", "te10", "0.01", "100000"},
        {"gj", "te11", "100000", "0.01"}, {"gj", "te12", "100000", "0.01"},
    };
    for (const char* category : {"中空玻璃", "夹层玻璃", "单层玻璃"}) {
        for (const bool weak : {true, false}) {
            Design d = ValidDesign();
            d.glass.category = category;
            for (const Extreme& e : extremes)
                SetFieldText(d, *FindInputField(e.section, e.key), weak ? e.weak : e.strong);
            const DesignRunResult r = Run(d);
            EXPECT_FALSE(r.error) << category << weak << ": " << r.error->description();
            EXPECT_EQ(r.member.has_value(), true) << category << weak;
        }
    }
}

// An empty span used to show "σ=0.000≤fa…满足" before "除数为零".
TEST_F(RefusedStep, EmptySpanShowsNoVerdictBeforeItsError) {
    Design d = ValidDesign();
    d.member->geometry3 = "";
    const DesignRunResult r = Run(d);
    ASSERT_TRUE(r.error);
    EXPECT_EQ(ErrorLine(*r.error),
              "当前错误:除数为零\n受荷单元高Hsk(mm): “” 应为不小于100且不大于50000的数");
    EXPECT_EQ(r.member_box, "");
    EXPECT_FALSE(Has("gj.txt"));
}

TEST(Preselection, ChecksTheGeometryFirst) {
    SharedValues shared;
    shared.WindLoadStandard = 1.0;
    MemberInput m = *ValidDesign().member;
    EXPECT_EQ(RunPreselection(m, shared).wx_min_cm3, 6.584f);
    m.geometry3 = "0";  // used to give 0.000 cm^3 without a word
    try {
        RunPreselection(m, shared);
        ADD_FAILURE() << "no refusal";
    } catch (const InputError& e) {
        EXPECT_EQ(e.description(), "受荷单元高Hsk(mm): “0” 应为不小于100且不大于50000的数");
        EXPECT_EQ(e.field().key, "te4");
    }
    m.geometry3 = "2400";
    m.modulus = "abc";  // not read by the pre-selection
    EXPECT_EQ(RunPreselection(m, shared).wx_min_cm3, 6.584f);
}

}  // namespace
}  // namespace quoinry
