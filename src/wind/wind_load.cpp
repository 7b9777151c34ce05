#include "wind/wind_load.h"

#include "edition/code_edition.h"

namespace quoinry {

WindLoadResult CalcWindLoad(const WindLoadInput& input, SharedValues& shared, ReportLines& report,
                            std::string& result_box) {
    const CodeEdition& edition = EditionById(input.edition);
    switch (edition.wind_method) {
        case WindMethod::PowerFormulas:
            break;
        case WindMethod::HeightTables:
            return CalcWindLoadByTables(input, edition, shared, report, result_box);
    }
    return CalcWindLoadByFormulas(input, edition, shared, report, result_box);
}

void HandOn(const WindLoadResult& result, SharedValues& shared) {
    shared.WindLoadStandard = result.wk;
    shared.WindLoadDesign = result.w;
    shared.Edition = result.edition;
    shared.Factors = result.factors;
}

WindLoadResult StartWindLoad(const CodeEdition& edition, SharedValues& shared) {
    WindLoadResult result;
    result.edition = &edition;
    result.gamma = edition.gamma;
    shared.Edition = &edition;
    return result;
}

void WriteWindReportHead(const WindLoadInput& input, const std::string& codes,
                         ReportLines& report) {
    report.push_back("基本参数:" + input.city + ",基本风压:" + input.basic_wind_pressure + "Pa");
    if (!codes.empty())
        report.push_back("计算依据:" + codes);
    report.emplace_back();
    report.emplace_back("一、门窗承受荷载计算");
    report.emplace_back("(1).风荷载标准值计算:");
    report.emplace_back("   本设计按50年一遇风压计算");
    report.emplace_back("   Wk: 作用在门窗上的风荷载的标准值(kN/m^2)");
}

const CodeEdition& EditionOf(const WindLoadResult& result) {
    return result.edition != nullptr ? *result.edition : EditionOfUnnamed();
}

}  // namespace quoinry
