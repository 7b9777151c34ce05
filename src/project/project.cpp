#include "project/project.h"

#include "design/input_check.h"
#include "design/input_fields.h"
#include "edition/code_edition.h"

namespace quoinry {
namespace {

struct SiteKey {
    std::string_view key;  // in [glass]
    std::string ProjectInfo::*value;
};

constexpr SiteKey kSiteKeys[] = {
    {"co1", &ProjectInfo::region},
    {"co2", &ProjectInfo::city},
    {"te1", &ProjectInfo::w0},
    {"co3", &ProjectInfo::terrain},
};

}  // namespace

bool IsKnownEdition(std::string_view edition) {
    return FindCodeEdition(edition) != nullptr;
}

bool IsComputedEdition(std::string_view edition) {
    return FindCodeEdition(edition) != nullptr;
}

std::string_view EditionOf(const Position& position, const ProjectInfo& info) {
    return position.edition.empty() ? std::string_view(info.edition)
                                    : std::string_view(position.edition);
}

void ApplySite(Design& design, const ProjectInfo& info) {
    for (const SiteKey& site : kSiteKeys) {
        const std::string& value = info.*site.value;
        if (!value.empty())
            SetFieldText(design, *FindInputField("glass", site.key), value);
    }
}

std::vector<std::string> SiteProblems(const ProjectInfo& info) {
    // The checks of the design window, on a design at the site: only the site's own refusals.
    Design design;
    ApplySite(design, info);
    design.wind.edition = info.edition;
    std::vector<std::string> problems;
    for (const InputRefusal& refusal : CheckWindInput(design.wind)) {
        for (const SiteKey& site : kSiteKeys) {
            if (refusal.field->key == site.key && !(info.*site.value).empty())
                problems.push_back(refusal.message);
        }
    }
    if (!IsKnownEdition(info.edition))
        problems.push_back("规范版本应为 " + EditionIdsText() + ",这里是“" + info.edition + "”");
    return problems;
}

std::vector<std::string> SiteDifferences(const Design& design, const ProjectInfo& info) {
    std::vector<std::string> differences;
    for (const SiteKey& site : kSiteKeys) {
        const InputField& field = *FindInputField("glass", site.key);
        const std::string& value = info.*site.value;
        const std::string own = FieldText(design, field);
        if (!value.empty() && own != value)
            differences.push_back(FieldCaption(field) + " “" + own + "”,工程为“" + value + "”");
    }
    return differences;
}

}  // namespace quoinry
