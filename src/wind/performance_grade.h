#pragma once

namespace quoinry {

// A wind-pressure performance grade of windows and doors (GB/T 7106-2008 table 1) and its range
// of the performance value P3 in kPa; grade 9 has no upper end (p3_below = 0).
struct PerformanceGrade {
    int grade = 0;
    double p3_from = 0.0;   // P3 ≥ p3_from
    double p3_below = 0.0;  // P3 < p3_below
};

// The lowest grade whose range reaches the standard wind load wk (kN/m^2 = kPa): P3 is chosen
// not less than wk and not less than 1.0 kPa. wk is taken at its 3 printed decimals.
PerformanceGrade RequiredPerformanceGrade(double wk);

}  // namespace quoinry
