// The wind step of a table-based edition (GB 50009-2012 with GB 55001-2021): every coefficient
// is a double rounded to 3 decimals before it is used further, as in the formula-based step.
#include <algorithm>
#include <cmath>
#include <optional>

#include "common/checked_math.h"
#include "common/numbers.h"
#include "common/text.h"
#include "edition/code_edition.h"
#include "edition/height_tables.h"
#include "wind/local_shape.h"
#include "wind/minimum_wk.h"
#include "wind/performance_grade.h"
#include "wind/wind_load.h"

namespace quoinry {
namespace {

std::string G(double x) {
    return GeneralText(x);
}
std::string F3(double x) {
    return FormatFixed(x, 3);
}

// Characters, not bytes: the continuation lines line up their "=" under the symbol's.
std::size_t Width(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// "μz=1.28+(72-70)/(80-70)×(1.36-1.28)" and its result, or the row's value alone.
double WriteTableReading(const HeightReading& reading, int category, double z,
                         std::string_view symbol, std::string_view table, ReportLines& report) {
    const double v0 = reading.below->by_category[category];
    const double v1 = reading.above->by_category[category];
    const std::string pad(Width(symbol) + 7, ' ');
    if (reading.below == reading.above) {
        const bool clamped = z != reading.below->z_m;
        report.push_back(Cat("       ", symbol, clamped ? ":高度在表的范围之外,按" : ":按", table,
                             "取", G(reading.below->z_m), "m的值"));
        report.push_back(Cat("       ", symbol, "=", G(v0)));
        return RoundN(v0, 3);
    }
    const std::string z0 = G(reading.below->z_m);
    const std::string z1 = G(reading.above->z_m);
    report.push_back(Cat("       ", symbol, ":按", table, "在", z0, "m和", z1, "m之间线性插值"));
    report.push_back(Cat("       ", symbol, "=", G(v0), "+(", G(z), "-", z0, ")/(", z1, "-", z0,
                         ")×(", G(v1), "-", G(v0), ")"));
    const double value = RoundN(reading.value, 3);
    report.push_back(Cat(pad, "=", F3(value)));
    return value;
}

struct Coefficients {
    double mu_z = 0.0;
    double beta_table = 0.0;
    double beta_floor = 0.0;
    double beta_gz = 0.0;
};

Coefficients WriteCoefficients(const CodeEdition& edition, int category, double z,
                               ReportLines& report) {
    Coefficients c;
    c.mu_z = WriteTableReading(ReadByHeight(edition.mu_z_table, category, z), category, z, "μz",
                               edition.cite.mu_z_table, report);
    c.beta_table = WriteTableReading(ReadByHeight(edition.beta_gz_table, category, z), category, z,
                                     "βgz1", edition.cite.beta_gz_table, report);
    const std::string term = G(edition.gust_floor_term);
    report.push_back(
        Cat("       βgz2=1+", term, "/√μz                 (", edition.cite.gust_floor, ")"));
    report.push_back(Cat("           =1+", term, "/√", F3(c.mu_z)));
    c.beta_floor = RoundN(Add(1.0, Div(edition.gust_floor_term, std::sqrt(c.mu_z))), 3);
    report.push_back(Cat("           =", F3(c.beta_floor)));
    const bool floor_governs = c.beta_floor > c.beta_table;
    c.beta_gz = floor_governs ? c.beta_floor : c.beta_table;
    report.push_back(Cat("       βgz=max(βgz1,βgz2)=max(", F3(c.beta_table), ",", F3(c.beta_floor),
                         ")=", F3(c.beta_gz),
                         floor_governs ? ",下限βgz2起控制作用" : ",表中的值βgz1起控制作用"));
    return c;
}

// The zone named when the external coefficient is that zone's own; else the engineer's value.
std::string ExternalSource(const WindLoadInput& input, double external,
                           const CodeEdition& edition) {
    const WallZone* zone = FindWallZone(input.wall_zone);
    if (zone != nullptr && zone->mu == external)
        return Cat(zone->text, ",", edition.cite.external);
    return "设计者给定";
}

// What the internal coefficient assumes: one dominant opening (its zone and ratio), a closed
// building, or the engineer's own value.
std::string InternalSource(const WindLoadInput& input, double internal) {
    const WallZone* zone = FindWallZone(input.opening_zone);
    if (zone != nullptr && !TrimBlanks(input.opening_ratio).empty()) {
        const double ratio = ParseStrict(input.opening_ratio);
        const std::optional<double> own = DominantOpeningInternal(ratio, zone->mu);
        if (own && *own == internal) {
            return Cat("内压按仅一面墙有主导洞口计算:洞口位于", zone->text, "(μsl=", G(zone->mu),
                       "),开洞率", G(ratio), ",μsi=", G(DominantOpeningFactor(ratio)), "×|",
                       G(zone->mu), "|=", G(internal));
        }
    }
    if (input.opening_zone.empty() && internal == kClosedBuildingInternal)
        return Cat("内压按封闭式建筑取±", G(kClosedBuildingInternal));
    return "内压系数由设计者给定";
}

void WriteShapeCoefficient(const WindLoadInput& input, const CodeEdition& edition,
                           WindLoadResult& result, ReportLines& report) {
    const double external = ParseStrict(input.shape_coefficient);
    report.push_back(Cat("       μse: 外表面局部体型系数(",
                         ExternalSource(input, external, edition),
                         "):μse=", input.shape_coefficient));
    const double internal = std::fabs(ParseStrict(input.internal_pressure));
    report.push_back(Cat("       μsi: 内表面局部体型系数(内压,", edition.cite.internal,
                         "):μsi=", G(internal), ",按不利方向叠加,使|μsl|增大"));
    report.push_back(Cat("       ", InternalSource(input, internal)));
    result.mu_s = ToSingle(external);
    result.factors.mu_external = external;
    result.factors.mu_internal = internal;
    result.factors.external_reducible = ReducibleByArea(input.wall_zone, external);
    result.mu_sl = LocalShapeWithInternal(external, internal);
    report.emplace_back("       μsl=μse+μsi");
    report.push_back(Cat("          =", LocalShapeSumText(external, internal)));
    report.push_back(Cat("          =", G(result.mu_sl)));
}

void WriteStandardValue(const WindLoadInput& input, WindLoadResult& result, ReportLines& report) {
    const WindFactors& f = result.factors;
    report.emplace_back("       Wk=βgz×μsl×μz×Wo");
    report.push_back(Cat("         =", F3(f.beta_gz), "×", FactorText(result.mu_sl), "×",
                         F3(f.mu_z), "×", G(f.w0)));
    const double product = Mul(Mul(Mul(f.beta_gz, result.mu_sl), f.mu_z), f.w0);
    result.wk_computed = RoundN(product, 3);
    report.push_back(Cat("         =", F3(result.wk_computed), "kN/m^2"));
    result.wk = CheckedWk(result.wk_computed, input.minimum_rule, "       ", "玻璃和杆件", report,
                          result.bound_applied);
}

void WriteDesignValue(const CodeEdition& edition, WindLoadResult& result, ReportLines& report) {
    report.emplace_back();
    report.emplace_back("(2).风荷载设计值计算:");
    report.emplace_back("   W: 风荷载设计值(kN/m^2)");
    report.push_back(Cat("   γw: 风荷载作用效应的分项系数：", edition.gamma_text));
    report.push_back(Cat("       按", edition.cite.gamma, " 规定采用"));
    report.emplace_back("   W=γw×Wk");
    report.push_back(Cat("    =", edition.gamma_text, "×", F3(result.wk)));
    result.w = DesignValue(edition, result.wk);
    report.push_back(Cat("    =", F3(result.w), "kN/m^2"));
}

std::string GradeRange(const PerformanceGrade& grade) {
    if (grade.p3_below == 0.0)
        return Cat("P3≥", FormatFixed(grade.p3_from, 1), "kPa");
    return Cat(FormatFixed(grade.p3_from, 1), "kPa≤P3<", FormatFixed(grade.p3_below, 1), "kPa");
}

void WriteGrade(const CodeEdition& edition, WindLoadResult& result, ReportLines& report) {
    const PerformanceGrade grade = RequiredPerformanceGrade(result.wk);
    result.grade = grade.grade;
    report.emplace_back();
    report.emplace_back("(3).门窗抗风压性能分级:");
    report.push_back(Cat("   按", edition.cite.grade_title, edition.cite.grade, "表1,"));
    report.emplace_back("   门窗的抗风压性能指标值P3不小于风荷载标准值Wk,且不小于1.0kPa:");
    report.push_back(Cat("   P3≥", F3(std::max(result.wk, 1.0)), "kPa,所需抗风压性能等级为",
                         std::to_string(grade.grade), "级(", GradeRange(grade), ")"));
}

}  // namespace

WindLoadResult CalcWindLoadByTables(const WindLoadInput& input, const CodeEdition& edition,
                                    SharedValues& shared, ReportLines& report,
                                    std::string& result_box) {
    WindLoadResult result = StartWindLoad(edition, shared);
    const std::string& category_text = input.terrain_category;
    const Citations& cite = edition.cite;
    WriteWindReportHead(input, std::string(cite.codes), report);
    report.push_back(
        Cat("       Wk=βgz×μsl×μz×Wo                         (", cite.wk_formula, ")"));

    result.w0_given = Div(ParseStrict(input.basic_wind_pressure), 1000.0);
    result.w0_raised = result.w0_given < edition.w0_floor;
    result.w0 = result.w0_raised ? edition.w0_floor : result.w0_given;
    result.factors.w0 = result.w0;
    report.push_back("   Wo: 50年一遇的基本风压:Wo=" + G(result.w0) + "kN/m^2");
    report.push_back(Cat("       根据现行", cite.w0, "取定,且不小于",
                         FormatFixed(edition.w0_floor, 2), "kN/m^2(", cite.w0_floor, ")"));
    if (result.w0_raised) {
        report.push_back(Cat("       所在地的基本风压", G(result.w0_given), "kN/m^2小于",
                             FormatFixed(edition.w0_floor, 2),
                             "kN/m^2,取Wo=", FormatFixed(edition.w0_floor, 2), "kN/m^2"));
    }
    report.push_back(Cat("   βgz: 高度z处的阵风系数(按", category_text, "地区,", cite.beta_gz_table,
                         "),且不小于1+", G(edition.gust_floor_term), "/√μz(", cite.gust_floor,
                         ")"));
    report.push_back(
        Cat("   μz: 高度z处的风压高度变化系数(按", category_text, "地区,", cite.mu_z_table, ")"));
    report.emplace_back("   μsl: 局部体型系数,外表面的μse与内表面的μsi之和");
    report.push_back(
        Cat("   η: 地形修正系数,按平坦地形取1.0(", cite.topography, ");风向影响系数取1.0"));

    const double z = ParseLeading(input.height);
    result.z_m = ToSingle(z);
    report.push_back("   高度" + G(z) + "m处风压计算:");
    const int category = TerrainCategoryIndex(category_text);
    if (category >= 0) {
        const Coefficients c = WriteCoefficients(edition, category, z, report);
        result.category_known = true;
        result.beta_gz_table = c.beta_table;
        result.beta_gz_floor = c.beta_floor;
        result.factors.beta_gz = c.beta_gz;
        result.factors.mu_z = c.mu_z;
        result.factors.category_known = true;
        result.beta_gz = ToSingle(c.beta_gz);
        result.mu_z = ToSingle(c.mu_z);
    }
    result.factors.minimum_rule = input.minimum_rule;
    WriteShapeCoefficient(input, edition, result, report);
    WriteStandardValue(input, result, report);
    WriteDesignValue(edition, result, report);
    WriteGrade(edition, result, report);
    HandOn(result, shared);

    result_box = "风荷载的标准值:" + G(result.wk) + "kN/m^2";
    AppendBoxLine(result_box, "风荷载的设计值:" + G(result.w) + "kN/m^2");
    AppendBoxLine(result_box,
                  Cat("所需抗风压性能等级:", std::to_string(result.grade), "级(", cite.grade, ")"));
    return result;
}

}  // namespace quoinry
