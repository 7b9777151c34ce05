#include "wind/minimum_wk.h"

#include <cmath>

#include "common/numbers.h"

namespace quoinry {

double ApplyMinimumWk(double wk, MinimumWkRule rule, ReportLines& report, MinimumWkRule& applied) {
    applied = MinimumWkRule::None;
    if (rule == MinimumWkRule::AtLeast1 && wk < 1.0) {
        wk = 1.0;
        applied = MinimumWkRule::AtLeast1;
        report.emplace_back(
            "       根据《玻璃幕墙工程技术规范》JGJ102-2003中第5.3.2条规定取Wk=1.0kN/m^2");
    }
    if (rule == MinimumWkRule::AtLeast075 && wk < 0.75) {
        wk = 0.75;
        applied = MinimumWkRule::AtLeast075;
        report.emplace_back(
            "       根据《建筑玻璃应用技术规程》JGJ113-2003中第4.1.2条规定取Wk=0.75kN/m^2");
    }
    return wk;
}

double CheckedWk(double wk, MinimumWkRule rule, std::string_view indent, std::string_view checked,
                 ReportLines& report, MinimumWkRule& applied) {
    const double size = std::fabs(wk);
    if (wk < 0.0)
        report.push_back(Cat(indent, "Wk为负值(风吸力),", checked,
                             "按其绝对值校核:Wk=", FormatFixed(size, 3), "kN/m^2"));
    return ApplyMinimumWk(size, rule, report, applied);
}

}  // namespace quoinry
