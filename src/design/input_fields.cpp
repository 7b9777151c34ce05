#include "design/input_fields.h"

#include <array>

#include "common/text.h"
#include "member/member_form.h"

namespace quoinry {
namespace {

MemberInput& Member(Design& d) {
    if (!d.member)
        d.member.emplace();
    return *d.member;
}

// Accessors as plain functions, so the table stays constexpr-friendly.
#define WIND(member) [](Design& d) { return &d.wind.member; }
#define GLASS(member) [](Design& d) { return &d.glass.member; }
#define GJ(member) [](Design& d) { return &Member(d).member; }

// The items of the list boxes.
constexpr std::string_view kTerrains[] = {"A类", "B类", "C类", "D类"};
constexpr std::string_view kPaneKinds[] = {"普通玻璃", "钢化玻璃"};
// A typed thickness (7 mm) is a real pane: the list only offers the usual ones.
constexpr std::string_view kThicknesses[] = {"5", "6", "8", "10", "12"};

using enum FieldKind;
using enum FieldRule;

// A function's static, built on first use: the editions' list is read from the editions.
const auto& Fields() {
    static const std::array fields = {
        InputField{"glass", "co1", "ComboBox1", "待计算地区", "", Text, Any,
                   [](Design& d) { return &d.region; }},
        InputField{"glass", "co2", "ComboBox2", "待计算市区", "", Text, Any, WIND(city)},
        InputField{"glass", "co3", "ComboBox3", "地面类型", "", Text, OneOf, WIND(terrain_category),
                   kTerrains},
        InputField{"glass", "co4", "ComboBox4", "玻璃类别", "", Text, OneOf, GLASS(category),
                   GlassCategoryTexts()},
        InputField{"glass", "co5", "ComboBox5", "外片种类", "", Text, OneOf, GLASS(outer_kind),
                   kPaneKinds},
        InputField{"glass", "co6", "ComboBox6", "外片厚度", "mm", Text, Positive,
                   GLASS(outer_thickness), kThicknesses},
        InputField{"glass", "co7", "ComboBox7", "内片种类", "", Text, OneOf, GLASS(inner_kind),
                   kPaneKinds},
        InputField{"glass", "co8", "ComboBox8", "内片厚度", "mm", Text, Positive,
                   GLASS(inner_thickness), kThicknesses},
        InputField{"glass", "te1", "TextBox1", "基本风压", "Pa", Text, Positive,
                   WIND(basic_wind_pressure)},
        InputField{"glass", "te2", "TextBox2", "体型系数", "", Text, NonZero,
                   WIND(shape_coefficient)},
        InputField{"glass", "te3", "TextBox3", "计算处标高", "m", Text, Height, WIND(height)},
        InputField{"glass", "te4", "TextBox4", "玻璃分格宽", "mm", Text, PaneSide, GLASS(width)},
        InputField{"glass", "te5", "TextBox5", "玻璃分格高", "mm", Text, PaneSide, GLASS(height)},
        InputField{"glass", "op1", "RadioButton1", "标准值小于1kN按1kN取", "", BoundOption1},
        InputField{"glass", "op2", "RadioButton2", "标准值小于0.75kN按0.75kN取", "",
                   BoundOption075},
        InputField{.section = "glass",
                   .key = "edition",
                   .box = "EditionBox",
                   .label = "计算规范",
                   .rule = OneOf,
                   .text = WIND(edition),
                   .choices = EditionIds(),
                   .default_text = EditionOfUnnamed().id,
                   .choice_items = EditionTitles()},
        InputField{.section = "glass",
                   .key = "internal_pressure",
                   .box = "InternalPressureBox",
                   .label = "内压系数",
                   .rule = NonNegative,
                   .text = WIND(internal_pressure),
                   .default_text = "0.2"},
        InputField{.section = "glass",
                   .key = "wall_zone",
                   .box = "WallZoneBox",
                   .label = "外表面分区",
                   .text = WIND(wall_zone)},
        InputField{.section = "glass",
                   .key = "opening_zone",
                   .box = "DominantOpeningZoneBox",
                   .label = "主导洞口分区",
                   .text = WIND(opening_zone)},
        InputField{.section = "glass",
                   .key = "opening_ratio",
                   .box = "DominantOpeningRatioBox",
                   .label = "主导洞口开洞率",
                   .rule = NoneOrNonNegative,
                   .text = WIND(opening_ratio)},
        InputField{"gj", "co1", "ComboBox1", "杆件形式", "", Text, OneOf, GJ(form),
                   MemberFormTexts()},
        InputField{"gj", "co2", "ComboBox2", "型材系列", "", Text, Any, GJ(series)},
        InputField{"gj", "co3", "ComboBox3", "型材编号", "", Text, Any, GJ(number)},
        InputField{"gj", "te1", "TextBox1", "强度设计值", "N/mm^2", Text, Positive, GJ(strength)},
        InputField{"gj",
                   "te2",
                   "TextBox2",
                   VerticalMemberForm().geometry_labels[0],
                   "mm",
                   Text,
                   NonNegative,
                   GJ(geometry1),
                   {},
                   HorizontalMemberForm().geometry_labels[0],
                   Positive},
        InputField{"gj",
                   "te3",
                   "TextBox3",
                   VerticalMemberForm().geometry_labels[1],
                   "mm",
                   Text,
                   NonNegative,
                   GJ(geometry2),
                   {},
                   HorizontalMemberForm().geometry_labels[1],
                   NonNegative},
        InputField{"gj",
                   "te4",
                   "TextBox4",
                   VerticalMemberForm().geometry_labels[2],
                   "mm",
                   Text,
                   Positive,
                   GJ(geometry3),
                   {},
                   HorizontalMemberForm().geometry_labels[2],
                   NonNegative},
        InputField{"gj", "te5", "TextBox5", "剪力设计值", "N/mm^2", Text, Positive,
                   GJ(shear_strength)},
        InputField{"gj", "te6", "TextBox6", "弹性模量", "N/mm^2", Text, Positive, GJ(modulus)},
        InputField{"gj", "te7", "TextBox7", "校核处壁厚", "mm", Text, Positive, GJ(wall)},
        InputField{"gj", "te8", "TextBox8", "X轴惯性矩", "cm^4", Text, Positive, GJ(ix)},
        InputField{"gj", "te9", "TextBox9", "Y轴惯性矩", "cm^4", Text, Positive, GJ(iy)},
        InputField{"gj", "te10", "TextBox10", "X轴抵抗矩一", "cm^3", Text, Positive, GJ(wx1)},
        InputField{"gj", "te11", "TextBox11", "X轴抵抗矩二", "cm^3", Text, Positive, GJ(wx2)},
        InputField{"gj", "te12", "TextBox12", "X轴面积矩一", "cm^3", Text, Positive, GJ(ss1)},
        InputField{"gj", "te13", "TextBox13", "X轴面积矩二", "cm^3", Text, Positive, GJ(ss2)},
        InputField{"gj", "te14", "TextBox14", "型材截面积", "cm^2", Text, Positive, GJ(area)},
    };
    return fields;
}

#undef WIND
#undef GLASS
#undef GJ

// Generous beyond anything built: the thickest pane, the longest member, the stiffest section.
struct FieldRange {
    std::string_view section;
    std::string_view key;
    PlausibleRange range;
};
constexpr FieldRange kRanges[] = {
    // Pa: from a third of the least basic wind pressure (a value in kN/m^2 is a slip) to five
    // times the highest
    {"glass", "te1", {100, 10000, "以Pa为单位,0.55kN/m^2应填550"}},
    {"glass", "te2", {0, 10}},               // shape coefficient, either sign
    {"glass", "te3", {0, 550}},              // m: the codes' tables end there
    {"glass", "te4", {100, 20000}},          // mm
    {"glass", "te5", {100, 20000}},          // mm
    {"glass", "co6", {1, 100}},              // mm
    {"glass", "co8", {1, 100}},              // mm
    {"glass", "internal_pressure", {0, 2}},  // 0.8 × the largest external coefficient is 1.6
    {"glass", "opening_ratio", {0, 1}},      // opening area / the wall's area
    {"gj", "te1", {0, 1000}},                // N/mm^2
    {"gj", "te2", {100, 50000}},     // mm: the span of a horizontal member, else a load unit
    {"gj", "te3", {0, 50000}},       // mm: a load unit of either form
    {"gj", "te4", {100, 50000}},     // mm: the span of a vertical member, else a load unit
    {"gj", "te5", {0, 1000}},        // N/mm^2
    {"gj", "te6", {1000, 1000000}},  // N/mm^2: from plastics to steel
    {"gj", "te7", {0.1, 100}},       // mm
    {"gj", "te8", {0.01, 1000000}},  // cm^4
    {"gj", "te9", {0.01, 1000000}},  // cm^4
    {"gj", "te10", {0.01, 100000}},  // cm^3
    {"gj", "te11", {0.01, 100000}},  // cm^3
    {"gj", "te12", {0.01, 100000}},  // cm^3
    {"gj", "te13", {0.01, 100000}},  // cm^3
    {"gj", "te14", {0.01, 10000}},   // cm^2
};

}  // namespace

PlausibleRange PlausibleRangeOf(const InputField& field) {
    for (const FieldRange& entry : kRanges) {
        if (entry.section == field.section && entry.key == field.key)
            return entry.range;
    }
    return {};
}

std::span<const InputField> InputFields() {
    return Fields();
}

const InputField* FindInputField(std::string_view section, std::string_view key) {
    for (const InputField& field : Fields()) {
        if (field.section == section && field.key == key)
            return &field;
    }
    return nullptr;
}

std::string FieldCaption(const InputField& field, bool horizontal_member,
                         const CodeEdition* edition) {
    const std::string_view relabel =
        edition != nullptr ? EditionLabel(*edition, field.section, field.key) : "";
    std::string caption(!relabel.empty() ? relabel
                        : horizontal_member && !field.horizontal_label.empty()
                            ? field.horizontal_label
                            : field.label);
    if (!field.unit.empty()) {
        caption += '(';
        caption += field.unit;
        caption += ')';
    }
    return caption;
}

std::string ShownChoice(const InputField& field, std::string_view stored) {
    for (std::size_t i = 0; i < field.choice_items.size() && i < field.choices.size(); ++i) {
        if (field.choices[i] == stored)
            return std::string(field.choice_items[i]);
    }
    return std::string(stored);
}

std::string StoredChoice(const InputField& field, std::string_view shown) {
    for (std::size_t i = 0; i < field.choice_items.size() && i < field.choices.size(); ++i) {
        if (field.choice_items[i] == shown)
            return std::string(field.choices[i]);
    }
    return std::string(shown);
}

bool TakesNumber(const InputField& field) {
    return field.kind == FieldKind::Text && field.rule != FieldRule::Any &&
           field.rule != FieldRule::OneOf;
}

FieldRule RuleOf(const InputField& field, bool horizontal_member) {
    return horizontal_member && !field.horizontal_label.empty() ? field.horizontal_rule
                                                                : field.rule;
}

std::string FieldText(const Design& design, const InputField& field) {
    switch (field.kind) {
        case FieldKind::BoundOption1:
            return design.wind.minimum_rule == MinimumWkRule::AtLeast1 ? "True" : "False";
        case FieldKind::BoundOption075:
            return design.wind.minimum_rule == MinimumWkRule::AtLeast075 ? "True" : "False";
        case FieldKind::Text:
            break;
    }
    if (field.section == "gj" && !design.member)
        return {};
    // The accessors only create a missing member, which the test above rules out.
    return *field.text(const_cast<Design&>(design));
}

void SetFieldText(Design& design, const InputField& field, std::string_view text) {
    switch (field.kind) {
        case FieldKind::BoundOption1:
        case FieldKind::BoundOption075: {
            const bool on = AsciiLower(text) == "true";
            const MinimumWkRule rule = field.kind == FieldKind::BoundOption1
                                           ? MinimumWkRule::AtLeast1
                                           : MinimumWkRule::AtLeast075;
            if (on)
                design.wind.minimum_rule = rule;
            else if (design.wind.minimum_rule == rule)
                design.wind.minimum_rule = MinimumWkRule::None;
            return;
        }
        case FieldKind::Text:
            *field.text(design) = std::string(text);
            // What "下一步" hands on comes from the category.
            if (field.section == "glass" && field.key == "co4")
                design.insulating_glass = IsInsulating(design.glass);
            return;
    }
}

}  // namespace quoinry
