#pragma once

#include <span>
#include <string>
#include <string_view>

#include "common/shared_values.h"
#include "edition/area_reduction.h"
#include "edition/height_tables.h"

namespace quoinry {

// How the wind step finds βgz and μz.
enum class WindMethod {
    PowerFormulas,  // from the terrain's exponents (GB 50009-2001 7.2.1, 7.5.1)
    HeightTables,   // read from the edition's tables by height, with its floors
};

// Which θ and η single glass's deflection section shows.
enum class SinglePaneDeflection {
    StrengthSection,  // those of its strength section (the same Wk and thickness)
    OwnSection,       // its own, worked out again
};

// A label an edition gives an input instead of the input table's own ("局部体型系数").
struct FieldLabel {
    std::string_view section;
    std::string_view key;
    std::string_view label;
};

// The codes and clauses the reports of an edition cite.
struct Citations {
    std::string_view codes = {};          // the codes the wind report follows, named in its head
    std::string_view wk_formula = {};     // clause of Wk = βgz × μsl × μz × Wo
    std::string_view w0 = {};             // where Wo comes from
    std::string_view w0_floor = {};       // clauses of its lower limit
    std::string_view mu_z_table = {};     // the table of μz
    std::string_view beta_gz_table = {};  // the table of βgz
    std::string_view gust_floor = {};     // the clause of the lower limit of βgz
    std::string_view external = {};       // the table of external local coefficients
    std::string_view internal = {};       // the clause of the internal coefficient
    std::string_view topography = {};     // the clause of the topographic factor (flat: 1.0)
    std::string_view area = {};           // the clause of the area reduction of members
    std::string_view gamma = {};          // the code and clause of the load factor
    std::string_view grade_title = {};    // the standard of performance grades, its title
    std::string_view grade = {};          // and its number
    std::string_view glass_method = {};   // the code of the glass and member method
};

// One band of glass thickness of JGJ 102-2003 table 5.2.1 and the strength design values of the
// face (大面) there, N/mm^2.
struct GlassStrengthBand {
    double from_mm;          // the band as the table gives it: from_mm to up_to_mm
    double up_to_mm;         // (the last band: any thickness above from_mm)
    std::string_view range;  // as the table names it: "5~12mm"
    double float_fg;         // ordinary (float) glass
    double tempered_fg;      // tempered glass
};

// The glass method: JGJ 102-2003 chapter 6 with the material values of chapter 5.
struct GlassRules {
    double elastic_modulus;  // E, N/mm^2
    float poisson;           // ν
    // A pane takes the first band it is not thicker than: thinner than the table's thinnest
    // takes the first band, between two bands the thicker one (a 13 mm pane 15~19mm, a 19.5 mm
    // one ≥20mm), the lower fg and the safe side.
    std::span<const GlassStrengthBand> strength;
    std::string_view strength_table;  // "JGJ102-2003表5.2.1"
    double deflection_divisor;        // the deflection limit is a / this
};

// The member's deflection limits: U ≤ L / divisor (the divisor by the glass it carries) and
// U ≤ [U].
struct MemberRules {
    double span_divisor_insulating;  // 180
    double span_divisor_other;       // 120
    double absolute_mm;              // [U] = 15
};

// A code edition: the factors, limits, tables and texts of one set of codes, and the methods
// the steps choose by, chosen once per design by [glass] edition. Editions are constant data; a
// design run is handed the one of its design (SharedValues::Edition), so that designs of
// different editions may run side by side.
struct CodeEdition {
    std::string_view id;     // "2001", "2012": what design files, projects and schedules store
    std::string_view title;  // the windows' list item, the documents' 计算规范
    WindMethod wind_method;
    double gamma;                 // partial factor of the wind load
    std::string_view gamma_text;  // as the reports print it
    // γw × a value of 3 decimals is rounded in decimal, half to even (GB/T 8170): with γw = 1.5
    // half of all products end in 5, and their binary neighbours would round either way.
    bool decimal_design_values = false;
    // [glass] keys the wind step reads besides the terrain, pressure, shape and height.
    std::span<const std::string_view> wind_keys;
    std::span<const FieldLabel> labels;

    // The table-based wind step (the power formulas take only Wo's floor and the citations of
    // that floor and of μz's table).
    std::span<const HeightRow> mu_z_table;
    std::span<const HeightRow> beta_gz_table;
    double w0_floor = 0.0;         // kN/m^2; 0: none
    double gust_floor_term = 0.0;  // βgz ≥ 1 + term / √μz; 0: none
    Citations cite = {};

    // Members not loaded directly by wind take their own, area-reduced coefficient.
    bool members_reduce_by_area = false;
    AreaReduction member_area = {};

    const GlassRules* glass = nullptr;
    // The decimals of m on its own line (2001: 3, while the σwk line uses the 4 it holds).
    int glass_m_decimals = 3;
    // The line before σwk's formula for single glass where it is not the pane's own (2001 has
    // always called a single pane "外侧玻璃" there).
    std::string_view single_pane_stress_lead = {};
    // 2001 shows those of the strength section.
    SinglePaneDeflection single_pane_deflection = SinglePaneDeflection::OwnSection;

    const MemberRules* member = nullptr;
    // Where the member's strengths come from, printed under them; empty: nothing printed.
    std::string_view member_strengths = {};
};

const CodeEdition& Edition2001();
const CodeEdition& Edition2012();

// The edition new work starts with: a new design, a new project, a schedule without a base
// design. The codes in force.
const CodeEdition& CurrentEdition();
// The edition of a design file, settings file, project or schedule that names none: written
// before there were editions, it keeps the meaning it had.
const CodeEdition& EditionOfUnnamed();

// The one list of editions, in the order of the windows' list; and their ids and titles in the
// same order (the list box's stored texts and items).
std::span<const CodeEdition* const> CodeEditions();
std::span<const std::string_view> EditionIds();
std::span<const std::string_view> EditionTitles();

// The edition of that id, or nullptr: for the checks that refuse an unknown id.
const CodeEdition* FindCodeEdition(std::string_view id);

// The ids as a message lists them: "2001 或 2012".
std::string EditionIdsText();

// The edition a run takes for a design's id: that id's, else (an empty id, or one the input
// checks refused) the unnamed edition's. The one place an id falls back.
const CodeEdition& EditionById(std::string_view id);

// The edition a run was handed; the unnamed edition when none.
const CodeEdition& EditionOf(const SharedValues& shared);

// γw × x rounded to 3 decimals, x a value the report prints with 3 decimals (Wk, σwk).
double DesignValue(const CodeEdition& edition, double x);
// γw × x as it is (4 decimals at most): what a check decides on.
double DesignProduct(const CodeEdition& edition, double x);

// The band of table 5.2.1 a pane of that thickness takes.
const GlassStrengthBand& StrengthBandOf(const GlassRules& rules, double thickness_mm);

// The edition reads its coefficients from tables by height (edition 2012 and later).
inline bool ByTables(const CodeEdition& edition) {
    return edition.wind_method == WindMethod::HeightTables;
}

// The label of an input in that edition, or empty for the table's own.
std::string_view EditionLabel(const CodeEdition& edition, std::string_view section,
                              std::string_view key);

// Whether the edition's wind step reads that [glass] key (one of wind_keys).
bool UsesWindKey(const CodeEdition& edition, std::string_view key);

}  // namespace quoinry
