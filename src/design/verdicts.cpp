#include "design/verdicts.h"

namespace quoinry {

std::vector<Verdict> GlassVerdicts(const GlassResult& result) {
    if (!result.category_known)
        return {};
    std::vector<Verdict> verdicts;
    if (result.pane_count == 1) {
        verdicts.push_back({"玻璃强度", result.panes[0].ok});
    } else {
        for (int i = 0; i < result.pane_count; ++i)
            verdicts.push_back({i == 0 ? "外片玻璃强度" : "内片玻璃强度", result.panes[i].ok});
    }
    verdicts.push_back({"玻璃挠度", result.deflection_ok});
    return verdicts;
}

std::vector<Verdict> MemberVerdicts(const MemberResult& result) {
    return {{"杆件强度", result.strength_ok},
            {"杆件抗剪强度", result.shear_ok},
            {"杆件挠度", result.deflection_ok}};
}

std::string FailedChecks(const std::vector<Verdict>& verdicts) {
    std::string failed;
    for (const Verdict& verdict : verdicts) {
        if (!verdict.ok)
            failed += (failed.empty() ? "" : "、") + std::string(verdict.check);
    }
    return failed;
}

}  // namespace quoinry
