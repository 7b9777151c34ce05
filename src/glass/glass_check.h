#pragma once

#include <string>

#include "common/report.h"
#include "common/shared_values.h"

namespace quoinry {

// The glass inputs as the window's controls hold them.
struct GlassInput {
    std::string category;         // ComboBox4: "中空玻璃", "单层玻璃" or "夹层玻璃"
    std::string outer_kind;       // ComboBox5: "普通玻璃" or "钢化玻璃"
    std::string outer_thickness;  // ComboBox6, mm
    std::string inner_kind;       // ComboBox7
    std::string inner_thickness;  // ComboBox8, mm
    std::string width;            // TextBox4, B in mm
    std::string height;           // TextBox5, H in mm
};

// Strength and deflection of the pane under WindLoadStandard (JGJ102-2003): appends the lines of
// glass.txt to `report` and one summary line per verdict to `result_box`.
// Raises CalcError; the lines written before the error stay in `report`.
void CalcGlass(const GlassInput& input, const SharedValues& shared, ReportLines& report,
               std::string& result_box);

}  // namespace quoinry
