#pragma once

#include "common/report.h"
#include "common/shared_values.h"

namespace quoinry {

// The lower bound of the window's options on Wk (kN/m^2): raises a Wk below it and writes the
// clause line that says so. Returns Wk, bounded; `applied` tells which bound raised it.
double ApplyMinimumWk(double wk, MinimumWkRule rule, ReportLines& report, MinimumWkRule& applied);

}  // namespace quoinry
