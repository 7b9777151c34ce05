#pragma once

#include <string>

#include "common/report.h"
#include "common/shared_values.h"
#include "glass/glass_category.h"

namespace quoinry {

// The glass inputs as the window's controls hold them.
struct GlassInput {
    std::string category;         // ComboBox4: the stored text of a GlassKind, or any text
    std::string outer_kind;       // ComboBox5: "普通玻璃" or "钢化玻璃"
    std::string outer_thickness;  // ComboBox6, mm
    std::string inner_kind;       // ComboBox7
    std::string inner_thickness;  // ComboBox8, mm
    std::string width;            // TextBox4, B in mm
    std::string height;           // TextBox5, H in mm

    bool operator==(const GlassInput&) const = default;
};

// Whether the category is the insulating one: what "下一步" hands on to the member check.
bool IsInsulating(const GlassInput& input);

// One pane's strength check. Loads in kN/m^2, stresses in N/mm^2, as the report rounds them.
struct PaneResult {
    bool outer = true;          // false: the inner pane of two-pane glass
    double thickness_mm = 0.0;  // t
    double load = 0.0;          // its share of Wk (Wk itself for single glass)
    float theta = 0.0f;         // θ
    float eta = 0.0f;           // reduction factor η
    float m = 0.0f;             // bending moment coefficient
    double sigma_wk = 0.0;      // stress standard value σwk
    float sigma = 0.0f;         // stress design value σ = γw × σwk
    float fg = 0.0f;            // strength design value of this pane, by its kind and thickness
    bool ok = false;            // γw × σwk (σ before its rounding) ≤ fg
};

// Every value the glass report prints. Lengths in mm unless named otherwise.
struct GlassResult {
    bool category_known = false;  // false: only the area section is written
    bool two_panes = false;
    double width_mm = 0.0;   // B
    double height_mm = 0.0;  // H
    double area_m2 = 0.0;    // A, rounded to 3 decimals
    double a_mm = 0.0;       // short side
    float b_mm = 0.0f;       // long side
    PaneResult panes[2];     // outer (or the single pane), inner
    int pane_count = 0;
    // Thickness of the deflection check: t1, or the equivalent te of two panes, unrounded
    // (printed with 2 decimals).
    double te_mm = 0.0;
    float rigidity = 0.0f;  // D, N·mm
    float mu = 0.0f;        // deflection coefficient μ
    // θ and η of the deflection, from the whole Wk on te (or t1).
    float deflection_theta = 0.0f;
    float deflection_eta = 0.0f;
    float df = 0.0f;             // deflection, rounded to 2 decimals
    double df_limit = 0.0;       // a / 60, unrounded; printed rounded to 2 decimals
    bool deflection_ok = false;  // df before its rounding ≤ a / 60
    bool ok = false;             // every pane and the deflection
};

// Strength and deflection of the pane under WindLoadStandard (its size: the wind step hands on
// |Wk|) after JGJ102-2003, with the load factor, glass rules and texts of the run's edition:
// appends the lines of glass.txt to `report` and one summary line per verdict to `result_box`.
// Raises CalcError; the lines written before the error stay in `report`.
GlassResult CalcGlass(const GlassInput& input, const SharedValues& shared, ReportLines& report,
                      std::string& result_box);

}  // namespace quoinry
