#include "wind/performance_grade.h"

#include <cmath>

namespace quoinry {

PerformanceGrade RequiredPerformanceGrade(double wk) {
    // In Pa, so that the half-kPa steps compare exactly; from 5 kPa on it is grade 9.
    const double size = std::fabs(wk);
    const long long pa = size < 5.0 ? std::llround(size * 1000.0) : 5000;
    int grade = pa < 1000 ? 1 : static_cast<int>((pa - 1000) / 500) + 1;
    if (grade > 9)
        grade = 9;
    PerformanceGrade result;
    result.grade = grade;
    result.p3_from = 1.0 + 0.5 * (grade - 1);
    result.p3_below = grade == 9 ? 0.0 : result.p3_from + 0.5;
    return result;
}

}  // namespace quoinry
