#pragma once

#include <span>
#include <string>
#include <string_view>

#include "common/report.h"
#include "common/shared_values.h"
#include "wind/height_tables.h"
#include "wind/local_shape.h"

namespace quoinry {

struct WindLoadInput;
struct WindLoadResult;
struct MemberForm;

// A label an edition gives an input instead of the input table's own ("局部体型系数").
struct FieldLabel {
    std::string_view section;
    std::string_view key;
    std::string_view label;
};

// The codes and clauses the reports of a table-based edition cite.
struct Citations {
    std::string_view codes;          // the codes the wind report follows, named in its head
    std::string_view wk_formula;     // clause of Wk = βgz × μsl × μz × Wo
    std::string_view w0;             // where Wo comes from
    std::string_view w0_floor;       // clauses of its lower limit
    std::string_view mu_z_table;     // the table of μz
    std::string_view beta_gz_table;  // the table of βgz
    std::string_view gust_floor;     // the clause of the lower limit of βgz
    std::string_view external;       // the table of external local coefficients
    std::string_view internal;       // the clause of the internal coefficient
    std::string_view area;           // the clause of the area reduction of members
    std::string_view gamma;          // the code and clause of the load factor
    std::string_view grade_title;    // the standard of performance grades, its title
    std::string_view grade;          // and its number
    std::string_view glass_method;   // the code of the glass and member method
};

// A code edition: the factors, limits, tables and texts of one set of codes and the few
// functions that differ between them, chosen once per design by [glass] edition. Editions are
// constant data; a design run is handed the one of its design (SharedValues::Edition), so that
// designs of different editions may run side by side.
struct CodeEdition {
    std::string_view id;     // "2001", "2012": the design file's value
    std::string_view title;  // the list item the windows show
    // Writes wind.txt, sets the shared values (this edition with them) and the result box.
    WindLoadResult (*wind_step)(const WindLoadInput&, const CodeEdition&, SharedValues&,
                                ReportLines&, std::string&);
    double gamma;                 // partial factor of the wind load
    std::string_view gamma_text;  // as the reports print it
    // γw × a value of 3 decimals is rounded in decimal, half to even (GB/T 8170): with γw = 1.5
    // half of all products end in 5, and their binary neighbours would round either way.
    bool decimal_design_values = false;
    // [glass] keys the wind step reads besides the terrain, pressure, shape and height.
    std::span<const std::string_view> wind_keys;
    std::span<const FieldLabel> labels;

    // The table-based wind step (unused by 2001).
    std::span<const HeightRow> mu_z_table;
    std::span<const HeightRow> beta_gz_table;
    double w0_floor = 0.0;         // kN/m^2; 0: none
    double gust_floor_term = 0.0;  // βgz ≥ 1 + term / √μz; 0: none
    Citations cite = {};

    // Members not loaded directly by wind take their own, area-reduced coefficient.
    bool members_reduce_by_area = false;
    AreaReduction member_area = {};

    // Glass: each pane's basis line names that pane and its own fg (2001 names the outer pane
    // and its fg in both sections), and the deflection takes η of its own θ with Wk and te (2001
    // takes η of the last strength section).
    bool pane_basis_own = false;
    bool deflection_own_eta = false;
    // The decimals of m on its own line (2001: 3, while the σwk line uses the 4 it holds).
    int glass_m_decimals = 3;

    // The member's deflection basis line.
    std::string (*deflection_basis)(const MemberForm&, bool insulating_glass);
};

const CodeEdition& Edition2001();
const CodeEdition& Edition2012();

// Every edition in the order of the windows' list.
std::span<const CodeEdition* const> CodeEditions();

// The edition of that id, or nullptr.
const CodeEdition* FindCodeEdition(std::string_view id);

// The edition a run was handed; edition 2001 when none.
const CodeEdition& EditionOf(const SharedValues& shared);

// γw × x rounded to 3 decimals, x a value the report prints with 3 decimals (Wk, σwk).
double DesignValue(const CodeEdition& edition, double x);

// The edition reads its coefficients from tables by height (edition 2012 and later).
inline bool ByTables(const CodeEdition& edition) {
    return !edition.mu_z_table.empty();
}

// The label of an input in that edition, or empty for the table's own.
std::string_view EditionLabel(const CodeEdition& edition, std::string_view section,
                              std::string_view key);

// Whether the edition's wind step reads that [glass] key (one of wind_keys).
bool UsesWindKey(const CodeEdition& edition, std::string_view key);

}  // namespace quoinry
