#pragma once

#include <string>

#include "design/design_file.h"

namespace quoinry::web {

// The calculation document of a design, as the command line's `run --docx` makes it: the
// design is run again and the document composed from this run's report lines and the design's
// section picture. Answers {"parts": [[name, base64], ...] in package order, "warnings": [...]}
// or {"error": ...} when the design does not compute.
std::string DocxPartsJson(const Design& design);

}  // namespace quoinry::web
