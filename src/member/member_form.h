#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace quoinry {

enum class MemberFormId { Vertical, Horizontal };

// One member form, declared once: the text a design stores and the windows list, the sketch,
// the labels of the three geometry boxes (TextBox2 .. TextBox4), and what the report names its
// span and load units.
struct MemberForm {
    MemberFormId id;
    std::string_view text;     // "竖向杆件"
    std::string_view picture;  // the sketch in the program's image folder
    std::string_view geometry_labels[3];
    std::string_view title;
    std::string_view span;      // "Hsk" or "Wsk"
    std::string_view units[2];  // "Wsk1", "Wsk2" or "Hsk1", "Hsk2"
    std::string_view span_caption;
    std::string_view unit_captions[2];
    bool vertical;
};

// Every form, in the list's order.
std::span<const MemberForm> MemberForms();
// The stored texts, in the list's order.
std::span<const std::string_view> MemberFormTexts();

const MemberForm& MemberFormOf(MemberFormId id);
const MemberForm& VerticalMemberForm();
const MemberForm& HorizontalMemberForm();

// The form a stored text names exactly, or nullopt.
std::optional<MemberFormId> ParseMemberForm(std::string_view text);

// The form the calculation takes: the vertical text exactly selects the vertical member, any
// other text the horizontal one.
const MemberForm& MemberFormOf(std::string_view text);

}  // namespace quoinry
