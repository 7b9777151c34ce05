#pragma once

#include <string_view>

namespace quoinry {

// What tells the vertical member from the horizontal one: the names of its span and load units
// and the texts built from them.
struct MemberForm {
    std::string_view title;
    std::string_view span;      // "Hsk" or "Wsk"
    std::string_view units[2];  // "Wsk1", "Wsk2" or "Hsk1", "Hsk2"
    std::string_view span_caption;
    std::string_view unit_captions[2];
    bool vertical;
};

const MemberForm& VerticalMemberForm();
const MemberForm& HorizontalMemberForm();

// "竖向杆件" exactly selects the vertical member; any other text the horizontal one.
const MemberForm& MemberFormOf(std::string_view text);

}  // namespace quoinry
