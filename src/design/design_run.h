#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/calc_error.h"
#include "common/shared_values.h"
#include "design/design_file.h"
#include "design/input_check.h"

namespace quoinry {

// What a whole design run leaves besides its report files.
struct DesignRunResult {
    std::string glass_box;   // the wind and glass window's result display
    std::string member_box;  // the member check window's result box
    bool member_ran = false;
    // The values of each step that ended without error.
    std::optional<WindLoadResult> wind;
    std::optional<GlassResult> glass;
    std::optional<MemberResult> member;
    // The lines each step wrote, also those before an error.
    ReportLines wind_lines;
    ReportLines glass_lines;
    ReportLines member_lines;
    std::optional<CalcError> error;      // the first run-time error; later steps did not run
    std::vector<InputRefusal> refusals;  // the inputs that step refused, the first to mark
};

// The report files in the order of the steps that write them: wind, glass, member.
inline constexpr const char* kReportFiles[] = {"wind.txt", "glass.txt", "gj.txt"};

// Deletes the reports of the steps from `first_step` on (0 wind, 1 glass, 2 member), so that a
// folder never holds the report of a step that did not run this time. Raises CalcError.
void DeleteReportsFrom(const std::filesystem::path& folder, int first_step);

// The steps of a design run, as the windows' commands run them: each deletes its old report in
// `folder`, checks its inputs, runs its calculation into a new one (the lines written before an
// error stay) and raises the calculation's or the file's CalcError. Refused inputs raise
// InputError: the step writes no report and leaves the box and the shared values alone; the
// error the calculation would raise by itself on them leads the description. Results go to the
// window's box text; the lines written go to `written` too when it is given.
WindLoadResult RunWindStep(const WindLoadInput& input, SharedValues& shared,
                           const std::filesystem::path& folder, std::string& glass_box,
                           ReportLines* written = nullptr);
GlassResult RunGlassStep(const GlassInput& input, const SharedValues& shared,
                         const std::filesystem::path& folder, std::string& glass_box,
                         ReportLines* written = nullptr);
// A report that cannot be deleted does not stop the member check; it is raised after it unless
// the check fails by itself.
MemberResult RunMemberStep(const MemberInput& input, const SharedValues& shared,
                           const std::filesystem::path& folder, std::string& member_box,
                           ReportLines* written = nullptr);

// Profile pre-selection after the check of the member form and geometry.
PreselectionResult RunPreselection(const MemberInput& input, const SharedValues& shared);

// Runs the design as the windows do: the wind load and the glass check into wind.txt and
// glass.txt, then, when the design has a member, the member check into gj.txt. Each step deletes
// its old report first, and the reports of steps that do not run (after an error, or gj.txt of
// a design without a member) are deleted too. `out_dir` is created when missing.
DesignRunResult RunDesign(const Design& design, const std::filesystem::path& out_dir,
                          SharedValues& shared);

}  // namespace quoinry
