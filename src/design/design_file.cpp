#include "design/design_file.h"

#include "common/text.h"

namespace quoinry {

MinimumWkRule MinimumRuleOf(std::string_view op1, std::string_view op2) {
    if (AsciiLower(op2) == "true")
        return MinimumWkRule::AtLeast075;
    if (AsciiLower(op1) == "true")
        return MinimumWkRule::AtLeast1;
    return MinimumWkRule::None;
}

Design ReadDesign(const IniDocument& settings) {
    auto glass = [&](const char* key) { return settings.Value("glass", key); };
    auto gj = [&](const char* key) { return settings.Value("gj", key); };

    Design design;
    design.wind = {glass("co2"), glass("te1"), glass("co3"),
                   glass("te2"), glass("te3"), MinimumRuleOf(glass("op1"), glass("op2"))};
    design.glass = {glass("co4"), glass("co5"), glass("co6"), glass("co7"),
                    glass("co8"), glass("te4"), glass("te5")};
    design.insulating_glass = glass("co4") == "中空玻璃";
    if (settings.HasSection("gj")) {
        design.member =
            MemberInput{gj("co1"),  gj("co2"),  gj("co3"),  gj("te1"),  gj("te2"), gj("te3"),
                        gj("te4"),  gj("te5"),  gj("te6"),  gj("te7"),  gj("te8"), gj("te9"),
                        gj("te10"), gj("te11"), gj("te12"), gj("te13"), gj("te14")};
    }
    return design;
}

}  // namespace quoinry
