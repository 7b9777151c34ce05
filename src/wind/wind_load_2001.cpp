#include "wind/wind_load.h"

#include "common/checked_math.h"
#include "common/numbers.h"
#include "edition/code_edition.h"
#include "wind/minimum_wk.h"
#include "wind/terrain_category.h"

namespace quoinry {
namespace {

struct Coefficients {
    float mu_f = 0.0f;
    float beta_gz = 0.0f;
    float mu_z_formula = 0.0f;
    float mu_z = 0.0f;  // the formula's, or the table's value below the profile's start
};

Coefficients ComputeCoefficients(const TerrainCategory& category, float z) {
    const double z10 = static_cast<double>(z) / 10.0;
    Coefficients c;
    c.mu_f = ToSingle(RoundN(Mul(category.p, Pow(z10, category.e)), 3));
    const double one_plus_two_mu_f = Add(Add(c.mu_f, c.mu_f), 1.0);
    c.beta_gz = ToSingle(RoundN(Mul(category.g, one_plus_two_mu_f), 3));
    c.mu_z_formula = ToSingle(RoundN(Mul(category.r, Pow(z10, category.s)), 3));
    const float at_least = ToSingle(category.mu_z_at_least);
    c.mu_z = c.mu_z_formula < at_least ? at_least : c.mu_z_formula;
    return c;
}

void WriteCoefficientBlock(const TerrainCategory& category, float z, const Coefficients& c,
                           const Citations& cite, ReportLines& report) {
    const std::string z_text = GeneralText(z);
    report.emplace_back(category.mu_f_formula);
    report.push_back("          =" + std::string(category.mu_f_before_z) + z_text +
                     std::string(category.mu_f_after_z));
    report.push_back("          =" + FormatFixed(c.mu_f, 3));
    report.emplace_back(category.beta_formula);
    report.push_back("           =" + std::string(category.beta_before_mu) +
                     FormatFixed(c.mu_f, 3) + ")");
    report.push_back("           =" + FormatFixed(c.beta_gz, 3));
    report.emplace_back(category.mu_z_formula);
    report.push_back("          =" + std::string(category.mu_z_before_z) + z_text +
                     std::string(category.mu_z_after_z));
    report.push_back("          =" + FormatFixed(c.mu_z_formula, 3));
    if (c.mu_z != c.mu_z_formula) {
        report.push_back(Cat("       按", cite.mu_z_table, ",", category.text, "地区μz不小于",
                             GeneralText(category.mu_z_from_m), "m及以下的值",
                             FormatFixed(category.mu_z_at_least, 2),
                             ",取μz=", FormatFixed(c.mu_z, 3)));
    }
}

// Wk before the minimum rule: the product formed in extended precision, narrowed once.
double StandardValue(const Coefficients& c, float mu_s, float wo) {
    const long double product = static_cast<long double>(c.mu_z) * c.beta_gz * mu_s * wo;
    return RoundN(ToSingle(product), 3);
}

}  // namespace

WindLoadResult CalcWindLoadByFormulas(const WindLoadInput& input, const CodeEdition& edition,
                                      SharedValues& shared, ReportLines& report,
                                      std::string& result_box) {
    WindLoadResult result = StartWindLoad(edition, shared);
    const std::string& category_text = input.terrain_category;
    WriteWindReportHead(input, {}, report);
    report.emplace_back("       Wk=βz×μz×μs×Wo                           (GB50009-2001)");

    result.w0_given = ParseStrict(input.basic_wind_pressure) / 1000.0;
    result.w0_raised = result.w0_given < edition.w0_floor;
    result.w0 = result.w0_raised ? edition.w0_floor : result.w0_given;
    report.push_back("   Wo: 50年一遇的最大风压:Wo=" + FormatFixed(result.w0, 2) + "kN/m^2");
    report.emplace_back("       根据现行<<建筑结构荷载规范>>GB50009-2001取定");
    if (result.w0_raised) {
        report.push_back(Cat("       所在地的基本风压", GeneralText(result.w0_given), "kN/m^2小于",
                             FormatFixed(edition.w0_floor, 2),
                             "kN/m^2,取Wo=", FormatFixed(edition.w0_floor, 2), "kN/m^2(",
                             edition.cite.w0_floor, ")"));
    }
    report.push_back("   βgz: 高度z处的阵风系数(按" + category_text + "地区计算):");
    report.push_back("   μz: 高度z处的风压高度变化系数(按" + category_text +
                     "地区计算): (GB50009-2001)");
    report.push_back("   μs: 风荷载体型系数:μs=" + input.shape_coefficient);

    result.mu_s = ToSingle(ParseStrict(input.shape_coefficient));
    const float wo = ToSingle(result.w0);
    result.z_m = ToSingle(ParseLeading(input.height));
    report.push_back("   高度" + GeneralText(result.z_m) + "m处风压计算:");

    Coefficients coefficients;
    if (const TerrainCategory* category = FindTerrainCategory(category_text)) {
        coefficients = ComputeCoefficients(*category, result.z_m);
        WriteCoefficientBlock(*category, result.z_m, coefficients, edition.cite, report);
        result.category_known = true;
    }
    result.mu_f = coefficients.mu_f;
    result.beta_gz = coefficients.beta_gz;
    result.mu_z = coefficients.mu_z;

    result.wk_computed = StandardValue(coefficients, result.mu_s, wo);
    report.emplace_back("       Wk=βgz×μz×μs×Wo");
    report.push_back("          =" + FormatFixed(coefficients.beta_gz, 3) + "×" +
                     FormatFixed(coefficients.mu_z, 3) + "×" + GeneralText(result.mu_s) + "×" +
                     GeneralText(wo));
    report.push_back("          =" + FormatFixed(result.wk_computed, 3) + "kN/m^2");

    const double wk = CheckedWk(result.wk_computed, input.minimum_rule, "       ", "玻璃和杆件",
                                report, result.bound_applied);
    result.wk = wk;
    shared.WindLoadStandard = wk;

    report.emplace_back();
    report.emplace_back("(2).风荷载设计值计算:");
    report.emplace_back("   W: 风荷载设计值(kN/m^2)");
    report.push_back(Cat("   γw: 风荷载作用效应的分项系数：", edition.gamma_text));
    report.emplace_back("       按《建筑结构荷载规范》GB50009-2001 3.2.5 规定采用");
    report.emplace_back("   W=γw×Wk");

    result.w = RoundN(Mul(wk, result.gamma), 3);
    shared.WindLoadDesign = result.w;
    report.push_back(Cat("    =", edition.gamma_text, "×", FormatFixed(wk, 3)));
    report.push_back("    =" + FormatFixed(result.w, 3) + "kN/m^2");

    result_box = "风荷载的标准值:" + GeneralText(wk) + "kN/m^2";
    AppendBoxLine(result_box, "风荷载的设计值:" + GeneralText(result.w) + "kN/m^2");
    return result;
}

}  // namespace quoinry
