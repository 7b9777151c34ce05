#include "design/input_fields.h"

#include <array>

#include "common/text.h"

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

const std::array kFields = {
    InputField{"glass", "co1", "ComboBox1", "待计算地区", "", FieldKind::Text,
               [](Design& d) { return &d.region; }},
    InputField{"glass", "co2", "ComboBox2", "待计算市区", "", FieldKind::Text, WIND(city)},
    InputField{"glass", "co3", "ComboBox3", "地面类型", "", FieldKind::Text,
               WIND(terrain_category)},
    InputField{"glass", "co4", "ComboBox4", "玻璃类别", "", FieldKind::Text, GLASS(category)},
    InputField{"glass", "co5", "ComboBox5", "外片种类", "", FieldKind::Text, GLASS(outer_kind)},
    InputField{"glass", "co6", "ComboBox6", "外片厚度", "mm", FieldKind::Text,
               GLASS(outer_thickness)},
    InputField{"glass", "co7", "ComboBox7", "内片种类", "", FieldKind::Text, GLASS(inner_kind)},
    InputField{"glass", "co8", "ComboBox8", "内片厚度", "mm", FieldKind::Text,
               GLASS(inner_thickness)},
    InputField{"glass", "te1", "TextBox1", "基本风压", "Pa", FieldKind::Text,
               WIND(basic_wind_pressure)},
    InputField{"glass", "te2", "TextBox2", "体型系数", "", FieldKind::Text,
               WIND(shape_coefficient)},
    InputField{"glass", "te3", "TextBox3", "计算处标高", "m", FieldKind::Text, WIND(height)},
    InputField{"glass", "te4", "TextBox4", "玻璃分格宽", "mm", FieldKind::Text, GLASS(width)},
    InputField{"glass", "te5", "TextBox5", "玻璃分格高", "mm", FieldKind::Text, GLASS(height)},
    InputField{"glass", "op1", "RadioButton1", "标准值小于1kN按1kN取", "", FieldKind::BoundOption1},
    InputField{"glass", "op2", "RadioButton2", "标准值小于0.75kN按0.75kN取", "",
               FieldKind::BoundOption075},
    InputField{"gj", "co1", "ComboBox1", "杆件形式", "", FieldKind::Text, GJ(form)},
    InputField{"gj", "co2", "ComboBox2", "型材系列", "", FieldKind::Text, GJ(series)},
    InputField{"gj", "co3", "ComboBox3", "型材编号", "", FieldKind::Text, GJ(number)},
    InputField{"gj", "te1", "TextBox1", "强度设计值", "N/mm^2", FieldKind::Text, GJ(strength)},
    InputField{"gj", "te2", "TextBox2", "第一受荷单元宽Wsk1", "mm", FieldKind::Text, GJ(geometry1),
               "受荷单元宽Wsk"},
    InputField{"gj", "te3", "TextBox3", "第二受荷单元宽Wsk2", "mm", FieldKind::Text, GJ(geometry2),
               "受荷单元高Hsk"},
    InputField{"gj", "te4", "TextBox4", "受荷单元高Hsk", "mm", FieldKind::Text, GJ(geometry3),
               "第一受荷单元高Hsk1"},
    InputField{"gj", "te5", "TextBox5", "剪力设计值", "N/mm^2", FieldKind::Text,
               GJ(shear_strength)},
    InputField{"gj", "te6", "TextBox6", "弹性模量", "N/mm^2", FieldKind::Text, GJ(modulus)},
    InputField{"gj", "te7", "TextBox7", "校核处壁厚", "mm", FieldKind::Text, GJ(wall)},
    InputField{"gj", "te8", "TextBox8", "X轴惯性矩", "cm^4", FieldKind::Text, GJ(ix)},
    InputField{"gj", "te9", "TextBox9", "Y轴惯性矩", "cm^4", FieldKind::Text, GJ(iy)},
    InputField{"gj", "te10", "TextBox10", "X轴抵抗矩一", "cm^3", FieldKind::Text, GJ(wx1)},
    InputField{"gj", "te11", "TextBox11", "X轴抵抗矩二", "cm^3", FieldKind::Text, GJ(wx2)},
    InputField{"gj", "te12", "TextBox12", "X轴面积矩一", "cm^3", FieldKind::Text, GJ(ss1)},
    InputField{"gj", "te13", "TextBox13", "X轴面积矩二", "cm^3", FieldKind::Text, GJ(ss2)},
    InputField{"gj", "te14", "TextBox14", "型材截面积", "cm^2", FieldKind::Text, GJ(area)},
};

#undef WIND
#undef GLASS
#undef GJ

}  // namespace

std::span<const InputField> InputFields() {
    return kFields;
}

const InputField* FindInputField(std::string_view section, std::string_view key) {
    for (const InputField& field : kFields) {
        if (field.section == section && field.key == key)
            return &field;
    }
    return nullptr;
}

std::string FieldCaption(const InputField& field, bool horizontal_member) {
    std::string caption(horizontal_member && !field.horizontal_label.empty()
                            ? field.horizontal_label
                            : field.label);
    if (!field.unit.empty()) {
        caption += '(';
        caption += field.unit;
        caption += ')';
    }
    return caption;
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
                design.insulating_glass = text == "中空玻璃";
            return;
    }
}

}  // namespace quoinry
