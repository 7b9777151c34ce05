#pragma once

#include <string>
#include <string_view>

#include "design/design_file.h"

namespace quoinry::web {

// A design as the page holds it: one line per value, "SECTION\tKEY\tTEXT". The sections are
// those of the inputs table ("glass", "gj") and "design" for the rest: name, project, engineer,
// region, member ("1" with a member), insulating ("1"), section_drawing and picture (base64).
// A line of any other shape, or a key the program does not know, is refused with a
// std::invalid_argument naming it: the page only writes lines it was given.
Design DesignOfValues(std::string_view values);

// The values of a design, every field of the inputs table included.
std::string ValuesOfDesign(const Design& design);

}  // namespace quoinry::web
