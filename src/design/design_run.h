#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "common/calc_error.h"
#include "common/shared_values.h"
#include "design/design_file.h"

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
    std::optional<CalcError> error;  // the first run-time error; later steps did not run
};

// The steps of a design run, as the windows' commands run them: each deletes its old report in
// `folder`, runs its calculation into a new one (the lines written before an error stay) and
// raises the calculation's or the file's CalcError. Results go to the window's box text.
WindLoadResult RunWindStep(const WindLoadInput& input, SharedValues& shared,
                           const std::filesystem::path& folder, std::string& glass_box);
GlassResult RunGlassStep(const GlassInput& input, const SharedValues& shared,
                         const std::filesystem::path& folder, std::string& glass_box);
// A report that cannot be deleted does not stop the member check; it is raised after it unless
// the check fails by itself.
MemberResult RunMemberStep(const MemberInput& input, const SharedValues& shared,
                           const std::filesystem::path& folder, std::string& member_box);

// Runs the design as the windows do: the wind load and the glass check into wind.txt and
// glass.txt, then, when the design has a member, the member check into gj.txt. Each step deletes
// its old report first. `out_dir` is created when missing.
DesignRunResult RunDesign(const Design& design, const std::filesystem::path& out_dir,
                          SharedValues& shared);

}  // namespace quoinry
