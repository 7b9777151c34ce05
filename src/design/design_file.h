#pragma once

#include <optional>

#include "common/ini_file.h"
#include "glass/glass_check.h"
#include "member/member_check.h"
#include "wind/wind_load.h"

namespace quoinry {

// One window position as the settings sections hold it: [glass] for the wind and glass window,
// [gj] for the member check window.
struct Design {
    std::string region;  // the wind and glass window's 待计算地区; only shown
    WindLoadInput wind;
    GlassInput glass;
    std::optional<MemberInput> member;  // present when the design has a [gj] section
    bool insulating_glass = false;  // what "下一步" sets: the glass category is "中空玻璃"
};

Design ReadDesign(const IniDocument& settings);

// An option is selected when its stored text is "True" in any letter case; restoring op1 and
// then op2 into exclusive options leaves only the second when both say so.
MinimumWkRule MinimumRuleOf(std::string_view op1, std::string_view op2);

}  // namespace quoinry
