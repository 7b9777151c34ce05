#include "design/position_outcome.h"

#include "edition/code_edition.h"

namespace quoinry {
namespace {

// The error goes into one cell of a line.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

// The refusals, each after the schedule column its input came from.
std::string ErrorText(const PositionLabel& label, const DesignRunResult& result,
                      const std::vector<std::string>& sources) {
    std::string text = label.place;
    if (result.refusals.empty()) {
        text += " " + ErrorLine(*result.error);
    } else {
        for (std::size_t i = 0; i < result.refusals.size(); ++i) {
            const InputRefusal& refusal = result.refusals[i];
            const std::size_t index =
                static_cast<std::size_t>(refusal.field - InputFields().data());
            const std::string& source = index < sources.size() ? sources[index] : std::string();
            text += i == 0 ? " " : "; ";
            if (!source.empty())
                text += source + ": ";
            text += refusal.message;
        }
    }
    return OneLine(std::move(text));
}

}  // namespace

std::optional<bool> PositionOutcome::glass_ok() const {
    return glass ? std::optional<bool>(glass->ok) : std::nullopt;
}

std::optional<bool> PositionOutcome::member_ok() const {
    return member ? std::optional<bool>(member->ok) : std::nullopt;
}

std::optional<bool> PositionOutcome::ok() const {
    if (verdict == PositionVerdict::Error)
        return std::nullopt;
    return verdict == PositionVerdict::Passed;
}

PositionOutcome OutcomeOfRun(const PositionLabel& label, const Design& design,
                             const DesignRunResult& result,
                             const std::vector<std::string>& sources) {
    PositionOutcome outcome;
    outcome.label = label;
    outcome.edition = result.wind ? std::string(EditionOf(*result.wind).id) : design.wind.edition;
    outcome.height = design.wind.height;
    if (design.member)
        outcome.profile = ProfileName(*design.member);
    outcome.wind = result.wind;
    outcome.glass = result.glass;
    outcome.member = result.member;
    if (result.error) {
        outcome.error = ErrorText(label, result, sources);
        return outcome;
    }
    const bool ok = result.glass && result.glass->ok && (!result.member || result.member->ok);
    outcome.verdict = ok ? PositionVerdict::Passed : PositionVerdict::Failed;
    return outcome;
}

PositionOutcome OutcomeOfError(const PositionLabel& label, const std::string& error) {
    PositionOutcome outcome;
    outcome.label = label;
    outcome.error = OneLine(error);
    return outcome;
}

}  // namespace quoinry
