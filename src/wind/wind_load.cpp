#include "wind/wind_load.h"

#include "edition/code_edition.h"

namespace quoinry {

WindLoadResult CalcWindLoad(const WindLoadInput& input, SharedValues& shared, ReportLines& report,
                            std::string& result_box) {
    const CodeEdition* edition = FindCodeEdition(input.edition);
    if (edition == nullptr)
        edition = &Edition2001();
    return edition->wind_step(input, *edition, shared, report, result_box);
}

void HandOn(const WindLoadResult& result, SharedValues& shared) {
    shared.WindLoadStandard = result.wk;
    shared.WindLoadDesign = result.w;
    shared.Edition = result.edition;
    shared.Factors = result.factors;
}

const CodeEdition& EditionOf(const WindLoadResult& result) {
    return result.edition != nullptr ? *result.edition : Edition2001();
}

}  // namespace quoinry
