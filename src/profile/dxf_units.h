#pragma once

#include <string>

namespace quoinry::profile {

struct LengthUnit {
    double millimetres = 1;  // one drawing unit in mm
    std::string name;        // "米"; empty for millimetres and unitless drawings
};

// The unit of a drawing's $INSUNITS code; SectionError for codes that are not lengths we measure.
LengthUnit UnitOfInsunits(int code);

}  // namespace quoinry::profile
