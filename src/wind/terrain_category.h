#pragma once

#include <string_view>

namespace quoinry {

// Coefficients of one terrain category (GB50009-2001) with the report texts that show them:
// μf = p × (Z/10)^e, βgz = g × (1 + 2 × μf), μz = r × (Z/10)^s. Table 7.2.1 holds μz constant
// below the height where the category's profile starts: μz is never less than its value there.
struct TerrainCategory {
    std::string_view text;
    double p, e, g, r, s;
    double mu_z_from_m;              // the height the profile starts at (A 5, B 10, C 15, D 30 m)
    double mu_z_at_least;            // the table's value at and below it (1.17, 1.00, 0.74, 0.62)
    std::string_view mu_f_formula;   // line "       μf=..."
    std::string_view mu_f_before_z;  // substitution pieces around G(Z)
    std::string_view mu_f_after_z;
    std::string_view beta_formula;    // line "       βgz=..."
    std::string_view beta_before_mu;  // substitution piece before F3(μf)
    std::string_view mu_z_formula;    // line "       μz=..."
    std::string_view mu_z_before_z;
    std::string_view mu_z_after_z;
};

// The category whose text matches exactly, or nullptr.
const TerrainCategory* FindTerrainCategory(std::string_view text);

}  // namespace quoinry
