#pragma once

#include <string>

#include "common/report.h"
#include "common/shared_values.h"

namespace quoinry {

// The lower bound on Wk chosen by the two options of the wind and glass window.
enum class MinimumWkRule {
    None,
    AtLeast1,    // RadioButton1 "标准值小于1kN按1kN取"
    AtLeast075,  // RadioButton2 "标准值小于0.75kN按0.75kN取"
};

// The wind inputs as the window's controls hold them.
struct WindLoadInput {
    std::string city;                 // ComboBox2, only printed
    std::string basic_wind_pressure;  // TextBox1, Pa
    std::string terrain_category;     // ComboBox3, "A类" .. "D类"
    std::string shape_coefficient;    // TextBox2, μs
    std::string height;               // TextBox3, m
    MinimumWkRule minimum_rule = MinimumWkRule::None;
};

// Wind load after GB50009-2001: appends the lines of wind.txt to `report`, sets
// WindLoadStandard and WindLoadDesign, and replaces `result_box` with the two result lines.
// Raises CalcError; the lines written before the error stay in `report`.
void CalcWindLoad(const WindLoadInput& input, SharedValues& shared, ReportLines& report,
                  std::string& result_box);

}  // namespace quoinry
