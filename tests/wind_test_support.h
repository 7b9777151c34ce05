#pragma once

#include <string>

#include "common/report.h"
#include "common/shared_values.h"
#include "wind/wind_load.h"

namespace quoinry::testing_support {

// One wind step with everything it hands back.
struct WindRun {
    ReportLines lines;
    std::string box;
    SharedValues shared;
    WindLoadResult result;
};

inline WindRun RunWind(const WindLoadInput& input) {
    WindRun run;
    run.result = CalcWindLoad(input, run.shared, run.lines, run.box);
    return run;
}

}  // namespace quoinry::testing_support
