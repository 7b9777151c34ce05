#include "member/member_form.h"

#include <array>
#include <cstddef>

namespace quoinry {
namespace {

// In the order of MemberFormId.
constexpr std::array<MemberForm, 2> kForms = {{
    {MemberFormId::Vertical,
     "竖向杆件",
     "2.jpg",
     {"第一受荷单元宽Wsk1", "第二受荷单元宽Wsk2", "受荷单元高Hsk"},
     "三、门窗竖向受力杆件计算",
     "Hsk",
     {"Wsk1", "Wsk2"},
     "   Hsk:受力构件受荷单元高:",
     {"   Wsk1:受力构件第一受荷单元宽:", "   Wsk2:受力构件第二受荷单元宽:"},
     true},
    {MemberFormId::Horizontal,
     "横向杆件",
     "1.jpg",
     {"受荷单元宽Wsk", "受荷单元高Hsk", "第一受荷单元高Hsk1"},
     "三、门窗横向受力杆件计算",
     "Wsk",
     {"Hsk1", "Hsk2"},
     "   Wsk:受力构件受荷单元宽:",
     {"   Hsk1:受力构件第一受荷单元高:", "   Hsk2:受力构件第二受荷单元高:"},
     false},
}};

constexpr std::array<std::string_view, kForms.size()> kTexts = [] {
    std::array<std::string_view, kForms.size()> texts{};
    for (std::size_t i = 0; i < kForms.size(); ++i) texts[i] = kForms[i].text;
    return texts;
}();

}  // namespace

std::span<const MemberForm> MemberForms() {
    return kForms;
}

std::span<const std::string_view> MemberFormTexts() {
    return kTexts;
}

const MemberForm& MemberFormOf(MemberFormId id) {
    return kForms[static_cast<std::size_t>(id)];
}

const MemberForm& VerticalMemberForm() {
    return MemberFormOf(MemberFormId::Vertical);
}

const MemberForm& HorizontalMemberForm() {
    return MemberFormOf(MemberFormId::Horizontal);
}

std::optional<MemberFormId> ParseMemberForm(std::string_view text) {
    for (const MemberForm& form : kForms) {
        if (form.text == text)
            return form.id;
    }
    return std::nullopt;
}

const MemberForm& MemberFormOf(std::string_view text) {
    return MemberFormOf(ParseMemberForm(text).value_or(MemberFormId::Horizontal));
}

}  // namespace quoinry
