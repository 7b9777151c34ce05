#pragma once

#include <string>

#include "common/report.h"
#include "common/shared_values.h"
#include "edition/code_edition.h"

namespace quoinry {

// The wind inputs as the window's controls hold them.
struct WindLoadInput {
    std::string city;                 // ComboBox2, only printed
    std::string basic_wind_pressure;  // TextBox1, Pa
    std::string terrain_category;     // ComboBox3, "A类" .. "D类"
    std::string shape_coefficient;    // TextBox2, μs
    std::string height;               // TextBox3, m
    MinimumWkRule minimum_rule = MinimumWkRule::None;
    std::string edition = std::string(EditionOfUnnamed().id);  // the edition's id (EditionById)
    std::string internal_pressure = "0.2";                     // μsi, edition 2012
    std::string wall_zone = {};  // the zone μs comes from; empty: given by hand
    // The building's one dominant opening μsi comes from (its wall zone and opening ratio);
    // empty: none (closed, or μsi given by hand).
    std::string opening_zone = {};
    std::string opening_ratio = {};

    bool operator==(const WindLoadInput&) const = default;
};

// Every value the wind report prints, as the report rounds it. Pressures in kN/m^2.
struct WindLoadResult {
    const CodeEdition* edition = nullptr;  // the edition it was computed after
    double w0 = 0.0;              // basic wind pressure Wo (the Pa text / 1000, 2012: limited)
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
    // Edition 2012: Wk is βgz × μsl × μz × Wo, and Wk above is its size after the bound (the
    // glass and members are checked with it); wk_computed keeps the sign (negative: suction).
    WindFactors factors;         // the doubles the values above print
    double w0_given = 0.0;       // the basic wind pressure before the lower limit
    bool w0_raised = false;      // Wo was raised to the limit
    double beta_gz_table = 0.0;  // βgz read from the table
    double beta_gz_floor = 0.0;  // 1 + 0.7 / √μz
    double mu_sl = 0.0;          // external plus internal coefficient
    int grade = 0;               // required wind-pressure performance grade; 0: none
};

// What the wind step hands on to the glass and member steps.
void HandOn(const WindLoadResult& result, SharedValues& shared);

// The edition the result was computed after; the unnamed edition when none.
const CodeEdition& EditionOf(const WindLoadResult& result);

// Wind load after the input's code edition: appends the lines of wind.txt to `report`, sets
// the shared values (WindLoadStandard, WindLoadDesign, the edition) and replaces `result_box`
// with the result lines. Raises CalcError; the lines written before the error stay in `report`.
WindLoadResult CalcWindLoad(const WindLoadInput& input, SharedValues& shared, ReportLines& report,
                            std::string& result_box);

// A result of `edition` with its load factor; the shared values learn the edition.
WindLoadResult StartWindLoad(const CodeEdition& edition, SharedValues& shared);

// The opening lines of wind.txt up to Wk's meaning; `codes` (empty: none) is the line that names
// the codes the report follows.
void WriteWindReportHead(const WindLoadInput& input, const std::string& codes, ReportLines& report);

// The wind steps of the editions: the power formulas of GB50009-2001, and the tables, floors
// and texts an edition gives (GB 50009-2012 with GB 55001-2021).
WindLoadResult CalcWindLoadByFormulas(const WindLoadInput& input, const CodeEdition& edition,
                                      SharedValues& shared, ReportLines& report,
                                      std::string& result_box);
WindLoadResult CalcWindLoadByTables(const WindLoadInput& input, const CodeEdition& edition,
                                    SharedValues& shared, ReportLines& report,
                                    std::string& result_box);

}  // namespace quoinry
