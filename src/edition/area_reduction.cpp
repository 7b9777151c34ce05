#include "edition/area_reduction.h"

#include <cmath>

#include "common/checked_math.h"
#include "common/numbers.h"

namespace quoinry {

double ReducedByArea(double external, double area_m2, const AreaReduction& rule) {
    if (area_m2 <= rule.min_area_m2)
        return RoundN(external, 3);
    if (area_m2 >= rule.max_area_m2)
        return RoundN(Mul(rule.factor_at_max, external), 3);
    const double at_max = Mul(rule.factor_at_max, external);
    const double share = Div(std::log10(area_m2), rule.log_divisor);
    return RoundN(Add(external, Mul(Sub(at_max, external), share)), 3);
}

}  // namespace quoinry
