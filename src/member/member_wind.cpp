#include "member/member_wind.h"

#include <cmath>
#include <string>

#include "common/checked_math.h"
#include "common/numbers.h"
#include "edition/area_reduction.h"
#include "wind/local_shape.h"
#include "wind/minimum_wk.h"

namespace quoinry {
namespace {

std::string G(double x) {
    return GeneralText(x);
}
std::string F3(double x) {
    return FormatFixed(x, 3);
}

double WriteUnitArea(const MemberForm& form, float span, const LoadUnit& unit, int i,
                     ReportLines& report) {
    const std::string n = std::to_string(i + 1);
    const std::string a_name(form.units[i]);
    const std::string l_name(form.span);
    double area;
    if (unit.trapezoidal) {
        report.push_back(Cat("   A", n, "=", a_name, "/2×(", l_name, "-", a_name, "/2)"));
        report.push_back(Cat("     =", F3(unit.a), "/2×(", F3(span), "-", F3(unit.a), "/2)"));
        const double half = Div(unit.a, 2.0);
        area = RoundN(Mul(half, Sub(span, half)), 3);
    } else {
        report.push_back(Cat("   A", n, "=", l_name, "^2/4"));
        report.push_back(Cat("     =", F3(span), "^2/4"));
        area = RoundN(Div(Pow(span, 2), 4.0), 3);
    }
    report.push_back(Cat("     =", F3(area), "m^2"));
    return area;
}

double WriteReduction(double external, double area, const AreaReduction& rule,
                      ReportLines& report) {
    const std::string low = G(rule.min_area_m2);
    const std::string high = G(rule.max_area_m2);
    const std::string factor = G(rule.factor_at_max);
    if (area <= rule.min_area_m2) {
        report.push_back(Cat("      A≤", low, "m^2时 μse(A)=μse"));
    } else if (area >= rule.max_area_m2) {
        report.push_back(Cat("      A≥", high, "m^2时 μse(A)=", factor, "×μse"));
        report.push_back(Cat("      =", factor, "×", FactorText(external)));
    } else {
        report.push_back(Cat("      ", low, "m^2<A<", high, "m^2时 μse(A)=μse+(", factor,
                             "×μse-μse)×logA/", G(rule.log_divisor)));
        report.push_back(Cat("      =", G(external), "+(", factor, "×", FactorText(external), "-",
                             FactorText(external), ")×log(", F3(area), ")/", G(rule.log_divisor)));
    }
    const double reduced = ReducedByArea(external, area, rule);
    report.push_back(Cat("      =", G(reduced)));
    return reduced;
}

}  // namespace

MemberWind CalcMemberWind(const MemberForm& form, float span, const LoadUnit (&units)[2],
                          const WindFactors& wind, const CodeEdition& edition,
                          ReportLines& report) {
    MemberWind out;
    report.emplace_back(
        "   A: 杆件的从属面积(m^2),即两受荷单元按45°线传到杆件上的梯形或三角形面积之和");
    for (int i = 0; i < 2; ++i) out.areas_m2[i] = WriteUnitArea(form, span, units[i], i, report);
    out.area_m2 = RoundN(Add(out.areas_m2[0], out.areas_m2[1]), 3);
    report.emplace_back("   A=A1+A2");
    report.push_back(Cat("    =", F3(out.areas_m2[0]), "+", F3(out.areas_m2[1])));
    report.push_back(Cat("    =", F3(out.area_m2), "m^2"));

    report.push_back(Cat("   μse: 外表面局部体型系数:", G(wind.mu_external), "(同风荷载计算)"));
    if (wind.external_reducible) {
        report.push_back(
            Cat("   μse(A): 按杆件从属面积折减的外表面局部体型系数(", edition.cite.area, ")"));
        out.mu_reduced = WriteReduction(wind.mu_external, out.area_m2, edition.member_area, report);
    } else {
        report.push_back(Cat("   μse(A): 突出构件的外表面局部体型系数,不按从属面积折减(",
                             edition.cite.area, "的折减只用于墙面和屋面)"));
        out.mu_reduced = RoundN(wind.mu_external, 3);
        report.push_back(Cat("      =", G(out.mu_reduced)));
    }
    report.push_back(
        Cat("   μsi: 内表面局部体型系数:", G(wind.mu_internal), ",不折减,按不利方向叠加"));
    out.mu_sl = LocalShapeWithInternal(out.mu_reduced, wind.mu_internal);
    report.emplace_back("   μsl=μse(A)+μsi");
    report.push_back(Cat("      =", LocalShapeSumText(out.mu_reduced, wind.mu_internal)));
    report.push_back(Cat("      =", G(out.mu_sl)));

    report.emplace_back("   Wk=βgz×μsl×μz×Wo(βgz、μz、Wo同风荷载计算)");
    report.push_back(Cat("     =", F3(wind.beta_gz), "×", FactorText(out.mu_sl), "×", F3(wind.mu_z),
                         "×", G(wind.w0)));
    const double product = Mul(Mul(Mul(wind.beta_gz, out.mu_sl), wind.mu_z), wind.w0);
    out.wk_computed = RoundN(product, 3);
    report.push_back(Cat("     =", F3(out.wk_computed), "kN/m^2"));
    out.wk =
        CheckedWk(out.wk_computed, wind.minimum_rule, "   ", "杆件", report, out.bound_applied);
    return out;
}

}  // namespace quoinry
