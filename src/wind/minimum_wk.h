#pragma once

#include <string_view>

#include "common/report.h"
#include "common/shared_values.h"

namespace quoinry {

// The lower bound of the window's options on Wk (kN/m^2): raises a Wk below it and writes the
// clause line that says so. Returns Wk, bounded; `applied` tells which bound raised it.
double ApplyMinimumWk(double wk, MinimumWkRule rule, ReportLines& report, MinimumWkRule& applied);

// The Wk the checks use: wind acts both ways, so a negative Wk (suction) is checked by its size,
// which the line after `indent` says of `checked` ("玻璃和杆件"); then the lower bound applies
// to that size.
double CheckedWk(double wk, MinimumWkRule rule, std::string_view indent, std::string_view checked,
                 ReportLines& report, MinimumWkRule& applied);

}  // namespace quoinry
