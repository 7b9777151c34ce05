#include "design/design_file.h"

#include "common/text.h"
#include "design/input_fields.h"

namespace quoinry {

MinimumWkRule MinimumRuleOf(std::string_view op1, std::string_view op2) {
    if (AsciiLower(op2) == "true")
        return MinimumWkRule::AtLeast075;
    if (AsciiLower(op1) == "true")
        return MinimumWkRule::AtLeast1;
    return MinimumWkRule::None;
}

Design ReadDesign(const IniDocument& settings) {
    Design design;
    const bool has_member = settings.HasSection("gj");
    for (const InputField& field : InputFields()) {
        if (field.section == "gj" && !has_member)
            continue;
        SetFieldText(design, field, settings.Value(field.section, field.key));
    }
    design.insulating_glass = design.glass.category == "中空玻璃";
    return design;
}

}  // namespace quoinry
