#include "design/input_fields.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/ini_file.h"

namespace quoinry {
namespace {

TEST(InputFields, EveryKeyOfBothWindowsOnceInKeyOrder) {
    std::set<std::string> keys;
    for (const InputField& field : InputFields()) keys.insert(Cat(field.section, ".", field.key));
    EXPECT_EQ(keys.size(), InputFields().size());
    EXPECT_EQ(InputFields().size(), 20u + 17u);
    EXPECT_EQ(InputFields().front().key, "co1");
    EXPECT_EQ(InputFields()[14].key, "op2");
    EXPECT_EQ(InputFields()[15].key, "edition");
    EXPECT_EQ(InputFields().back().key, "te14");
}

TEST(InputFields, CaptionsCarryTheUnitAndTheMemberFormsLabel) {
    EXPECT_EQ(FieldCaption(*FindInputField("glass", "te3")), "计算处标高(m)");
    EXPECT_EQ(FieldCaption(*FindInputField("glass", "te1")), "基本风压(Pa)");
    EXPECT_EQ(FieldCaption(*FindInputField("glass", "co3")), "地面类型");
    EXPECT_EQ(FieldCaption(*FindInputField("gj", "te2")), "第一受荷单元宽Wsk1(mm)");
    EXPECT_EQ(FieldCaption(*FindInputField("gj", "te2"), true), "受荷单元宽Wsk(mm)");
    EXPECT_EQ(FieldCaption(*FindInputField("gj", "te8"), true), "X轴惯性矩(cm^4)");
    EXPECT_EQ(FieldCaption(*FindInputField("glass", "te2"), false, &Edition2012()), "局部体型系数");
    EXPECT_EQ(FieldCaption(*FindInputField("glass", "te2"), false, &Edition2001()), "体型系数");
    EXPECT_EQ(FindInputField("gj", "te15"), nullptr);
    EXPECT_EQ(FindInputField("glass", "te14"), nullptr);
}

// A number field without a range would let "1e300" through to an overflow naming no box.
TEST(InputFields, EveryNumberFieldHasAPlausibleRange) {
    for (const InputField& field : InputFields()) {
        for (const bool horizontal : {false, true}) {
            const FieldRule rule = RuleOf(field, horizontal);
            if (rule == FieldRule::Any || rule == FieldRule::OneOf)
                continue;
            const PlausibleRange range = PlausibleRangeOf(field);
            EXPECT_GT(range.highest, range.lowest) << field.section << "." << field.key;
            EXPECT_GE(range.lowest, 0.0) << field.section << "." << field.key;
        }
    }
}

// Every field lands in its own place: a design read from keys whose values name the keys gives
// each key's value back.
TEST(InputFields, ReadDesignPutsEveryKeyInItsOwnPlace) {
    std::string text = "[glass]\r\n";
    for (const InputField& field : InputFields()) {
        if (field.section == "gj" && text.find("[gj]") == std::string::npos)
            text += "[gj]\r\n";
        if (field.kind == FieldKind::Text)
            text += Cat(field.key, "=", field.section, ".", field.key, "\r\n");
    }
    const Design design = ReadDesign(IniDocument::Parse(text));
    ASSERT_TRUE(design.member.has_value());
    for (const InputField& field : InputFields()) {
        if (field.kind == FieldKind::Text) {
            EXPECT_EQ(FieldText(design, field), Cat(field.section, ".", field.key));
        }
    }
    EXPECT_EQ(design.wind.terrain_category, "glass.co3");
    EXPECT_EQ(design.member->ss2, "gj.te13");
}

TEST(InputFields, BoundOptionsAsTheWindowRestoresThem) {
    struct Case {
        const char* op1;
        const char* op2;
        MinimumWkRule rule;
    };
    const Case cases[] = {
        {"False", "False", MinimumWkRule::None},      {"True", "False", MinimumWkRule::AtLeast1},
        {"False", "True", MinimumWkRule::AtLeast075}, {"TRUE", "", MinimumWkRule::AtLeast1},
        {"True", "True", MinimumWkRule::AtLeast075},  {"yes", "1", MinimumWkRule::None},
    };
    for (const Case& c : cases) {
        const Design design =
            ReadDesign(IniDocument::Parse(Cat("[glass]\nop1=", c.op1, "\nop2=", c.op2, "\n")));
        EXPECT_EQ(design.wind.minimum_rule, c.rule) << c.op1 << "/" << c.op2;
        EXPECT_FALSE(design.member.has_value());
        EXPECT_EQ(FieldText(design, *FindInputField("glass", "op1")),
                  c.rule == MinimumWkRule::AtLeast1 ? "True" : "False");
        EXPECT_EQ(FieldText(design, *FindInputField("gj", "te1")), "");
    }
}

}  // namespace
}  // namespace quoinry
