#pragma once

#include <string_view>

#include "glass/glass_category.h"

namespace quoinry {

// The texts of one strength section, which differ by glass category and pane.
struct PaneSectionTexts {
    std::string_view heading;
    std::string_view share_caption;  // empty for single glass
    std::string_view stress_caption;
    std::string_view thickness_caption;
    std::string_view share_formula;  // empty for single glass
    std::string_view theta_caption;
    std::string_view sigma_caption;
    std::string_view verdict_lead;  // report line before σ
    std::string_view satisfied;
    std::string_view not_satisfied;
    std::string_view eta_lookup;  // between θ and η on the η line
    // Texts that name this pane, for editions whose sections say exactly what they check
    // (edition 2001 writes the outer pane's basis line and stress lead in every section).
    std::string_view basis_lead;   // before fg on the basis line
    std::string_view stress_lead;  // the line before the σwk formula
};

enum class Pane { Outer, Inner };

// How a glass category is checked and written.
struct GlassCategory {
    GlassKind kind;
    bool two_panes;
    double outer_share_factor;          // 1.1 for insulating glass: the outer pane takes more
    std::string_view outer_share_lead;  // "1.1×" or empty, in the substitution line
    double te_factor;                   // equivalent thickness factor
    PaneSectionTexts outer;             // or the single pane
    PaneSectionTexts inner;
    std::string_view deflection_heading;
    std::string_view te_caption;
    std::string_view te_formula;
    std::string_view te_substitution_lead;  // before text(t1)
    std::string_view te_substitution_tail;  // after text(t2)
    std::string_view rigidity_caption;
    std::string_view rigidity_formula;
};

// How the category a stored text names is checked, or nullptr for an unknown text.
const GlassCategory* FindGlassCategory(std::string_view text);

}  // namespace quoinry
