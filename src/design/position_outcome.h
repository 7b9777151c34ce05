#pragma once

#include <optional>
#include <string>
#include <vector>

#include "design/design_run.h"

namespace quoinry {

// Who a position is: its name, report folder and place in the schedule.
struct PositionLabel {
    std::string name;
    std::string folder;
    std::string place;
};

// What became of a position.
enum class PositionVerdict { Passed, Failed, Error };

// A position's outcome as every reader after the run takes it (the summaries, the project
// document and the project window): the typed results of the steps that ended without error,
// the verdicts and, for one that could not run or broke off, the error. Numbers are shown
// through the figures of design/result_json.h, as --json prints them.
struct PositionOutcome {
    PositionLabel label;
    PositionVerdict verdict = PositionVerdict::Error;
    std::string error;    // which row and column, and what is wrong; one line
    std::string edition;  // the edition the position was computed after
    std::string height;   // 计算处标高 as the design gives it
    std::string profile;  // the member's profile; empty without a member
    std::optional<WindLoadResult> wind;
    std::optional<GlassResult> glass;
    std::optional<MemberResult> member;

    // Each nothing where its step did not run (ok(): where the position ran into an error).
    std::optional<bool> glass_ok() const;
    std::optional<bool> member_ok() const;
    std::optional<bool> ok() const;
};

// The outcome of a position that ran (possibly into an error); `sources` names the schedule
// column of each input (one per InputFields() entry, empty where none) for the error text.
PositionOutcome OutcomeOfRun(const PositionLabel& label, const Design& design,
                             const DesignRunResult& result,
                             const std::vector<std::string>& sources);
// The outcome of a position that could not run.
PositionOutcome OutcomeOfError(const PositionLabel& label, const std::string& error);

}  // namespace quoinry
