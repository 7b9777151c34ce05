#pragma once

namespace quoinry {

struct CodeEdition;  // edition/code_edition.h

// The lower bound on Wk chosen by the two options of the wind and glass window.
enum class MinimumWkRule {
    None,
    AtLeast1,    // RadioButton1 "标准值小于1kN按1kN取"
    AtLeast075,  // RadioButton2 "标准值小于0.75kN按0.75kN取"
};

// The factors of Wk = βgz × μsl × μz × Wo as the wind step used them, for a step that loads with
// a coefficient of its own (a member whose external coefficient is reduced by its area).
struct WindFactors {
    double beta_gz = 0.0;
    double mu_z = 0.0;
    double w0 = 0.0;           // kN/m^2, after the edition's lower limit
    double mu_external = 0.0;  // the external local coefficient as given, signed
    double mu_internal = 0.0;  // the internal coefficient's size; added as unfavourable
    MinimumWkRule minimum_rule = MinimumWkRule::None;
    bool category_known = false;
    bool external_reducible = true;  // a wall's coefficient (false: a projecting member's)
};

// The values the calculations hand to each other for the whole run (the pubFunction module of
// the original program). One instance is owned by whoever drives a design run and passed in.
struct SharedValues {
    double WindLoadStandard = 0.0;   // Wk of the last wind load calculation, kN/m^2
    double WindLoadDesign = 0.0;     // W = γw × Wk, kN/m^2
    bool IsInsulatingGlass = false;  // the glass category was exactly the insulating one
    // The code edition of the design the wind step ran for; nullptr is edition 2001.
    const CodeEdition* Edition = nullptr;
    WindFactors Factors;
};

}  // namespace quoinry
