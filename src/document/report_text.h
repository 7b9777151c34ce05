#pragma once

#include <string_view>

#include "document/document_sink.h"

// How a report line reads in the document: its exponents and whether it is a heading. The .txt
// reports keep the plain notation; only the document sets it.
namespace quoinry::document {

// The line with every exponent as a superscript run. An exponent is what follows "^": a number
// ("m^2", "10^8", "(Z/10)^0.32") or a bracketed group, set without its brackets
// ("(Z/10)^(-0.16)", "^(1/3)"). Anything else after "^" (a letter, an unclosed bracket, the end
// of the line) is no exponent and stays as written.
Runs ExponentRuns(std::string_view line);

// 1 for a part heading ("一、门窗承受荷载计算"), 2 for a numbered section
// ("(1).风荷载标准值计算:"), 0 for any other line. Headings start at the first column.
int HeadingLevelOf(std::string_view line);

// A verdict line of a check that fails ("杆件强度不能满足!", "玻璃的挠度不满足!"): the document
// sets it in red, as the windows do.
bool IsFailingVerdict(std::string_view line);

}  // namespace quoinry::document
