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

    bool operator==(const WindLoadInput&) const = default;
};

// Every value the wind report prints, as the report rounds it. Pressures in kN/m^2.
struct WindLoadResult {
    double w0 = 0.0;              // basic wind pressure Wo (the Pa text / 1000)
    float z_m = 0.0f;             // height of the calculation point
    bool category_known = false;  // false: no coefficient lines, βgz = μz = 0
    float mu_f = 0.0f;            // pulsation coefficient μf
    float beta_gz = 0.0f;         // gust factor βgz
    float mu_z = 0.0f;            // height coefficient μz
    float mu_s = 0.0f;            // shape coefficient μs
    double wk_computed = 0.0;     // βgz × μz × μs × Wo before the lower bound
    MinimumWkRule bound_applied = MinimumWkRule::None;  // the bound that raised Wk, if any
    double wk = 0.0;                                    // standard value Wk after the lower bound
    double gamma = 1.4;                                 // load factor γw
    double w = 0.0;                                     // design value W = γw × Wk
};

// Wind load after GB50009-2001: appends the lines of wind.txt to `report`, sets
// WindLoadStandard and WindLoadDesign, and replaces `result_box` with the two result lines.
// Raises CalcError; the lines written before the error stay in `report`.
WindLoadResult CalcWindLoad(const WindLoadInput& input, SharedValues& shared, ReportLines& report,
                            std::string& result_box);

}  // namespace quoinry
