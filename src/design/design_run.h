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
    std::optional<CalcError> error;  // the first run-time error; later steps did not run
};

// Runs the design as the windows do: the wind load and the glass check into wind.txt and
// glass.txt, then, when the design has a member, the member check into gj.txt. Each step deletes
// its old report first. `out_dir` is created when missing.
DesignRunResult RunDesign(const Design& design, const std::filesystem::path& out_dir,
                          SharedValues& shared);

}  // namespace quoinry
