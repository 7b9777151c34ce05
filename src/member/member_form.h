#pragma once

#include <string>
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

// The deflection basis line of edition 2001, fixed text that names 20 mm and the form's own
// relative limit (L/130 for a horizontal member) while the check uses 15 mm and L/180 or L/120.
std::string DeflectionBasisLine(const MemberForm& form, bool insulating_glass);

// The deflection basis line that states the limits the check uses: 15 mm and L/180 behind
// insulating glass, else L/120.
std::string DeflectionLimitsLine(const MemberForm& form, bool insulating_glass);

}  // namespace quoinry
