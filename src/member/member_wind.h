#pragma once

#include "common/report.h"
#include "common/shared_values.h"
#include "edition/code_edition.h"
#include "member/load_unit.h"
#include "member/member_form.h"

namespace quoinry {

// The wind load of a member that receives it through the glass, in an edition that reduces the
// external coefficient by the member's tributary area. A is what the member's report already
// loads it with: each load unit hands on the trapezoid (a < L: a/2 × (L − a/2)) or triangle
// (L^2/4) between the member and the 45° lines from the unit's corners.
struct MemberWind {
    double areas_m2[2] = {0.0, 0.0};  // A1, A2, rounded to 3 decimals
    double area_m2 = 0.0;             // A = A1 + A2
    double mu_reduced = 0.0;          // μse(A): the external coefficient after the reduction
    double mu_sl = 0.0;               // μse(A) with the internal coefficient, as unfavourable
    double wk_computed = 0.0;         // βgz × μsl × μz × Wo, signed
    MinimumWkRule bound_applied = MinimumWkRule::None;
    double wk = 0.0;  // its size after the window's lower bound: what loads the member
};

// Writes the lines of A, μse(A), μsl and Wk; `units` hold a and the load shape of each unit.
MemberWind CalcMemberWind(const MemberForm& form, float span, const LoadUnit (&units)[2],
                          const WindFactors& wind, const CodeEdition& edition, ReportLines& report);

}  // namespace quoinry
