// The open design: which results are current, what a measured section is called, what counts as
// unsaved.
#include "design/design_model.h"

#include "common/calc_error.h"

#include <gtest/gtest.h>

#include <fstream>

#include "test_support.h"

namespace quoinry {
namespace {

namespace fs = std::filesystem;

const InputField& Field(const char* section, const char* key) {
    return *FindInputField(section, key);
}

// 南京 350 Pa, B类, μs 1.5, 20 m, single 1200 × 1500 × 6: Wk = 1.105; a vertical 2400 mm
// member with units 1200/0.
Design Nanjing() {
    Design design;
    design.wind = {"南京", "350", "B类", "1.5", "20", MinimumWkRule::None};
    design.glass = {"单层玻璃", "普通玻璃", "6", "", "", "1200", "1500"};
    design.member =
        MemberInput{"竖向杆件", "GR50", "GR50-01", "85.5", "1200", "0", "2400", "49.6", "70000",
                    "1.4",      "50",   "30",      "10",   "12",   "8", "7",    "5"};
    return design;
}

class DesignModelTest : public testing::Test {
  protected:
    void SetUp() override { model_.Replace(Nanjing(), std::nullopt); }

    void Compute() {
        std::string box;
        model_.ComputeWindGlass(folder_, box);
    }
    void Check() {
        std::string box;
        model_.CheckMember(folder_, box);
    }

    testing_support::ScratchFolder scratch_;
    fs::path folder_ = scratch_.path();
    DesignModel model_;
};

TEST_F(DesignModelTest, ResultsAreCurrentOnlyForTheInputsTheyCameFrom) {
    EXPECT_FALSE(model_.WindGlassCurrent());
    EXPECT_THROW(Check(), StepOrderError);
    EXPECT_THROW(model_.Preselect(), StepOrderError);
    Compute();
    EXPECT_EQ(model_.wind_glass()->wind.wk, 1.105);
    Check();
    EXPECT_TRUE(model_.AllCurrent());
    EXPECT_EQ(model_.member_run()->wk, 1.105);
    EXPECT_EQ(model_.member_run()->height_m, 20.0f);

    const struct {
        const char* section;
        const char* key;
        const char* text;
        bool wind_current;
        bool member_current;
    } edits[] = {
        {"gj", "te8", "51", true, false},      // a member value
        {"gj", "te8", "50", true, true},       // back as it was: current again
        {"glass", "te3", "30", false, false},  // the height: the wind and the member with it
        {"glass", "te3", "20", true, true},
        {"glass", "co2", "南京市", false, false},  // even a printed-only text
        {"glass", "co2", "南京", true, true},
        {"glass", "co1", "江苏", true, true},  // the region is shown only
    };
    for (const auto& edit : edits) {
        model_.SetField(Field(edit.section, edit.key), edit.text);
        EXPECT_EQ(model_.WindGlassCurrent(), edit.wind_current) << edit.key << "=" << edit.text;
        EXPECT_EQ(model_.MemberCurrent(), edit.member_current) << edit.key << "=" << edit.text;
    }
    // Another picture with the same values: the document would show it, so check again.
    model_.UseLibraryProfile("another picture");
    EXPECT_FALSE(model_.MemberCurrent());
}

TEST_F(DesignModelTest, AnotherWindResultMakesTheMemberStale) {
    Compute();
    Check();
    Compute();  // the same inputs give the same Wk: the member's result still fits
    EXPECT_TRUE(model_.MemberCurrent());
    model_.SetField(Field("glass", "te3"), "60");
    Compute();
    EXPECT_TRUE(model_.WindGlassCurrent());
    EXPECT_FALSE(model_.MemberCurrent());
    Check();
    EXPECT_EQ(model_.member_run()->wk, model_.wind_glass()->wind.wk);
    EXPECT_EQ(model_.member_run()->height_m, 60.0f);
    // Insulating glass changes the member's deflection limit.
    model_.SetField(Field("glass", "co4"), "中空玻璃");
    model_.SetField(Field("glass", "co7"), "普通玻璃");
    model_.SetField(Field("glass", "co8"), "6");
    Compute();
    EXPECT_FALSE(model_.MemberCurrent());
}

TEST_F(DesignModelTest, FailedComputeLeavesNoResultAndNoLaterReport) {
    Compute();
    Check();
    std::ofstream(folder_ / "gj.txt") << "old";
    model_.SetField(Field("glass", "te2"), "");  // μs: "类型不匹配"
    std::string box;
    EXPECT_THROW(model_.ComputeWindGlass(folder_, box), CalcError);
    EXPECT_FALSE(model_.wind_glass().has_value());
    EXPECT_FALSE(model_.MemberCurrent());
    EXPECT_FALSE(fs::exists(folder_ / "wind.txt"));  // a refused step writes no report
    EXPECT_FALSE(fs::exists(folder_ / "glass.txt"));
    EXPECT_FALSE(fs::exists(folder_ / "gj.txt"));
}

TEST_F(DesignModelTest, MeasuredSectionIsNamedAfterItsDrawingUntilTheUserNamesIt) {
    model_.UseMeasuredSection("tl70-frame.dxf", "picture");
    EXPECT_EQ(ProfileName(*model_.design().member), "自定义截面(tl70-frame.dxf)");
    EXPECT_EQ(model_.design().member->series, "");
    EXPECT_EQ(model_.design().picture, "picture");
    model_.SetField(Field("gj", "co2"), "");  // emptying names nothing
    EXPECT_EQ(ProfileName(*model_.design().member), "自定义截面(tl70-frame.dxf)");
    model_.SetField(Field("gj", "co2"), "TL70");
    EXPECT_EQ(ProfileName(*model_.design().member), "TL70\\");
    model_.UseMeasuredSection("a.dxf", "p");
    model_.UseLibraryProfile("library picture");
    EXPECT_EQ(ProfileName(*model_.design().member), "\\");
    EXPECT_EQ(model_.design().picture, "library picture");
}

TEST_F(DesignModelTest, ModifiedMeansDifferentFromTheSavedDesign) {
    EXPECT_FALSE(model_.IsModified());
    EXPECT_EQ(model_.Title(), "未命名设计");
    model_.SetField(Field("glass", "te3"), "21");
    EXPECT_TRUE(model_.IsModified());
    model_.SetField(Field("glass", "te3"), "20");
    EXPECT_FALSE(model_.IsModified());
    model_.SetField(Field("glass", "te3"), "21");
    model_.Save(folder_ / "c1.ini");
    EXPECT_FALSE(model_.IsModified());
    EXPECT_EQ(model_.Title(), "c1");
    model_.SetInfo({"C1-3", "", ""});
    EXPECT_TRUE(model_.IsModified());
    EXPECT_EQ(model_.Title(), "C1-3");
    EXPECT_EQ(ReadDesignFile(folder_ / "c1.ini").design.wind.height, "21");
}

// Typing in one box is one step; a profile picked (a dozen boxes) is one step; a new design
// starts without steps.
TEST_F(DesignModelTest, StepsAreUndoneAndRedoneAsTheUserMadeThem) {
    EXPECT_FALSE(model_.CanUndo());
    for (const char* typed : {"2", "25", "255"}) model_.SetField(Field("glass", "te3"), typed);
    model_.SetField(Field("glass", "co3"), "C类");
    {
        const DesignModel::OneStep step(model_);
        model_.SetField(Field("gj", "te8"), "60");
        model_.SetField(Field("gj", "te10"), "11");
        model_.UseLibraryProfile("picture");
    }
    model_.Undo();
    EXPECT_EQ(model_.design().member->ix, "50");
    EXPECT_EQ(model_.design().member->wx1, "10");
    EXPECT_EQ(model_.design().picture, "");
    EXPECT_EQ(model_.design().wind.terrain_category, "C类");
    model_.Undo();
    EXPECT_EQ(model_.design().wind.terrain_category, "B类");
    EXPECT_EQ(model_.design().wind.height, "255");
    model_.Undo();
    EXPECT_EQ(model_.design(), Nanjing());
    EXPECT_FALSE(model_.CanUndo());
    model_.Redo();
    model_.Redo();
    EXPECT_EQ(model_.design().wind.terrain_category, "C类");
    // A new step after undoing drops what could be redone.
    model_.Undo();
    model_.SetField(Field("glass", "te3"), "30");
    EXPECT_FALSE(model_.CanRedo());
    // At most kUndoSteps back.
    for (std::size_t i = 0; i < DesignModel::kUndoSteps + 5; ++i)
        model_.SetInfo({"C" + std::to_string(i), "", ""});
    std::size_t steps = 0;
    for (; model_.CanUndo(); ++steps) model_.Undo();
    EXPECT_EQ(steps, DesignModel::kUndoSteps);
    model_.Replace(Nanjing(), std::nullopt);
    EXPECT_FALSE(model_.CanUndo() || model_.CanRedo());
}

}  // namespace
}  // namespace quoinry
