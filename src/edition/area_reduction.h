#pragma once

namespace quoinry {

// The external coefficient of a member not loaded directly by wind, by its tributary area A in
// m^2: μ(A) = μ(1) + [μ(25) - μ(1)] × log10(A) / 1.4 with μ(25) = 0.8 × μ(1), μ(1) at and
// below 1 m^2 and μ(25) at and above 25 m^2; rounded to 3 decimals.
struct AreaReduction {
    double min_area_m2;    // 1
    double max_area_m2;    // 25
    double factor_at_max;  // 0.8
    double log_divisor;    // 1.4 (log10 25)
};
double ReducedByArea(double external, double area_m2, const AreaReduction& rule);

}  // namespace quoinry
