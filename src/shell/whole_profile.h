#pragma once

#include "design/design_file.h"

namespace quoinry::shell {

// The design's member profile made whole from the profile library: the profile it names, with
// the library's values and picture; else the library's first profile; else no profile and no
// section values. Never leaves section values under no name or without their picture (as the
// settings file keeps a measured section's values, but not its drawing or picture).
void MakeProfileWhole(Design& design);

}  // namespace quoinry::shell
