#include "edition/code_edition.h"

#include <array>
#include <cmath>
#include <vector>

#include "common/calc_error.h"
#include "common/checked_math.h"
#include "common/numbers.h"

namespace quoinry {
namespace {

constexpr std::string_view kWindKeys2012[] = {"internal_pressure", "wall_zone", "opening_zone",
                                              "opening_ratio"};
constexpr FieldLabel kLabels2012[] = {{"glass", "te2", "局部体型系数"}};

constexpr GlassStrengthBand kGlassStrength[] = {
    {5.0, 12.0, "5~12mm", 28.0, 84.0},
    {15.0, 19.0, "15~19mm", 24.0, 72.0},
    {20.0, 0.0, "≥20mm", 20.0, 59.0},
};

constexpr GlassRules kJgj102Glass = {
    .elastic_modulus = 72000.0,
    .poisson = 0.2f,
    .strength = kGlassStrength,
    .strength_table = "JGJ102-2003表5.2.1",
    .deflection_divisor = 60.0,
};

constexpr MemberRules kWindowMember = {
    .span_divisor_insulating = 180.0,
    .span_divisor_other = 120.0,
    .absolute_mm = 15.0,
};

std::vector<std::string_view> EachEdition(std::string_view CodeEdition::*text) {
    std::vector<std::string_view> texts;
    for (const CodeEdition* edition : CodeEditions()) texts.push_back(edition->*text);
    return texts;
}

}  // namespace

const CodeEdition& Edition2001() {
    static const CodeEdition edition = {
        .id = "2001",
        .title = "GB 50009-2001",
        .wind_method = WindMethod::PowerFormulas,
        .gamma = 1.4,
        .gamma_text = "1.4",
        .wind_keys = {},
        .labels = {},
        .mu_z_table = {},
        .beta_gz_table = {},
        .w0_floor = 0.30,
        .cite =
            {
                .w0_floor = "GB50009-2001 7.1.2",
                .mu_z_table = "GB50009-2001表7.2.1",
            },
        .glass = &kJgj102Glass,
        .single_pane_stress_lead = "   在风荷载作用下外侧玻璃最大应力标准值",
        .single_pane_deflection = SinglePaneDeflection::StrengthSection,
        .member = &kWindowMember,
    };
    return edition;
}

const CodeEdition& Edition2012() {
    static const CodeEdition edition = {
        .id = "2012",
        .title = "GB 50009-2012 + GB 55001-2021",
        .wind_method = WindMethod::HeightTables,
        .gamma = 1.5,
        .gamma_text = "1.5",
        .decimal_design_values = true,
        .wind_keys = kWindKeys2012,
        .labels = kLabels2012,
        .mu_z_table = HeightCoefficientTable2012(),
        .beta_gz_table = CladdingGustTable2012(),
        .w0_floor = 0.30,
        .gust_floor_term = 0.7,
        .cite =
            {
                .codes = "《建筑结构荷载规范》GB50009-2012,《工程结构通用规范》GB55001-2021",
                .wk_formula = "GB50009-2012 8.1.1-2",
                .w0 = "《建筑结构荷载规范》GB50009-2012附录E",
                .w0_floor = "GB50009-2012 8.1.2,GB55001-2021 4.6.2",
                .mu_z_table = "GB50009-2012表8.2.1",
                .beta_gz_table = "GB50009-2012表8.6.1",
                .gust_floor = "GB55001-2021 4.6.5",
                .external = "GB50009-2012表8.3.3",
                .internal = "GB50009-2012 8.3.5",
                .topography = "GB50009-2012 8.2.2",
                .area = "GB50009-2012 8.3.4",
                .gamma = "《工程结构通用规范》GB55001-2021 3.1.13",
                .grade_title = "《建筑外门窗气密、水密、抗风压性能分级及检测方法》",
                .grade = "GB/T7106-2008",
                .glass_method = "《玻璃幕墙工程技术规范》JGJ102-2003",
            },
        .members_reduce_by_area = true,
        .member_area = {.min_area_m2 = 1.0,
                        .max_area_m2 = 25.0,
                        .factor_at_max = 0.8,
                        .log_divisor = 1.4},
        .glass = &kJgj102Glass,
        .glass_m_decimals = 4,
        .member = &kWindowMember,
        .member_strengths = "   fa、τ按《玻璃幕墙工程技术规范》JGJ102-2003表5.2.2,E按表5.2.8采用",
    };
    return edition;
}

const CodeEdition& CurrentEdition() {
    return Edition2012();
}

const CodeEdition& EditionOfUnnamed() {
    return Edition2001();
}

std::span<const CodeEdition* const> CodeEditions() {
    static const std::array editions = {&Edition2001(), &Edition2012()};
    return editions;
}

std::span<const std::string_view> EditionIds() {
    static const std::vector<std::string_view> ids = EachEdition(&CodeEdition::id);
    return ids;
}

std::span<const std::string_view> EditionTitles() {
    static const std::vector<std::string_view> titles = EachEdition(&CodeEdition::title);
    return titles;
}

const CodeEdition* FindCodeEdition(std::string_view id) {
    for (const CodeEdition* edition : CodeEditions()) {
        if (edition->id == id)
            return edition;
    }
    return nullptr;
}

std::string EditionIdsText() {
    const std::span<const std::string_view> ids = EditionIds();
    std::string text;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (i > 0)
            text += i + 1 == ids.size() ? " 或 " : "、";
        text += ids[i];
    }
    return text;
}

const CodeEdition& EditionById(std::string_view id) {
    const CodeEdition* edition = FindCodeEdition(id);
    return edition != nullptr ? *edition : EditionOfUnnamed();
}

double DesignValue(const CodeEdition& edition, double x) {
    if (!edition.decimal_design_values)
        return RoundN(Mul(x, edition.gamma), 3);
    // In units of 0.0001: both factors are whole numbers there, so the product is exact.
    const double thousandths = Mul(x, 1000.0);
    if (std::fabs(thousandths) > 1e12)
        throw CalcError(ErrorKind::Overflow);
    const long long product = std::llround(thousandths) * std::llround(edition.gamma * 10.0);
    long long rounded = product / 10;
    const long long rest = product % 10;
    if (rest > 5 || rest < -5 || ((rest == 5 || rest == -5) && rounded % 2 != 0))
        rounded += rest > 0 ? 1 : -1;
    return static_cast<double>(rounded) / 1000.0;
}

double DesignProduct(const CodeEdition& edition, double x) {
    return RoundN(Mul(x, edition.gamma), 4);
}

const GlassStrengthBand& StrengthBandOf(const GlassRules& rules, double thickness_mm) {
    for (const GlassStrengthBand& band : rules.strength.first(rules.strength.size() - 1)) {
        if (thickness_mm <= band.up_to_mm)
            return band;
    }
    return rules.strength.back();
}

const CodeEdition& EditionOf(const SharedValues& shared) {
    return shared.Edition != nullptr ? *shared.Edition : EditionOfUnnamed();
}

std::string_view EditionLabel(const CodeEdition& edition, std::string_view section,
                              std::string_view key) {
    for (const FieldLabel& label : edition.labels) {
        if (label.section == section && label.key == key)
            return label.label;
    }
    return {};
}

bool UsesWindKey(const CodeEdition& edition, std::string_view key) {
    for (std::string_view used : edition.wind_keys) {
        if (used == key)
            return true;
    }
    return false;
}

}  // namespace quoinry
