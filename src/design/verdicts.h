#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "glass/glass_check.h"
#include "member/member_check.h"

namespace quoinry {

// One check of a calculation step and whether the design meets it. A step's verdicts come in the
// order of the lines that end its result box, one line each.
struct Verdict {
    std::string_view check;  // as messages name it: "外片玻璃强度", "杆件挠度" ...
    bool ok = false;
};

// Strength of each pane and the deflection; none for a category the check does not know.
std::vector<Verdict> GlassVerdicts(const GlassResult& result);
// Strength, shear and deflection.
std::vector<Verdict> MemberVerdicts(const MemberResult& result);

// The checks the design does not meet, joined: "杆件强度、杆件挠度"; empty when it meets all.
std::string FailedChecks(const std::vector<Verdict>& verdicts);

}  // namespace quoinry
