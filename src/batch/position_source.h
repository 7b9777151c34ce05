#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "design/library_profile.h"
#include "project/project.h"

namespace quoinry {

// One position on its way into a batch, in schedule order.
struct SourceItem {
    std::string place;  // where the schedule has it: "第5行", "第3个位置"
    std::string name;   // the position's own name; may be empty
    std::optional<Position> position;
    std::string error;  // why the position cannot be computed (names the row and column)
    // For each input (by its index in InputFields()) the column it came from, "F列“计算处标高”";
    // empty for a project file and for inputs of the base design.
    std::vector<std::string> sources;
    std::vector<std::string> warnings;
};

// The positions of a project file or a schedule, one at a time.
class PositionSource {
  public:
    virtual ~PositionSource() = default;
    // Nothing after the last; throws ScheduleError or ProjectFileError when the file breaks off
    // (the positions before stay good).
    virtual std::optional<SourceItem> Next() = 0;
    // The project the positions belong to; for a schedule, what the base design tells of it.
    virtual const ProjectInfo& Info() const = 0;
    // Notes about the schedule as a whole (unknown columns, inputs nobody gives).
    virtual const std::vector<std::string>& Warnings() const = 0;
};

// What the file name says the schedule is: .csv, .xlsx or (anything else) a project file.
enum class ScheduleKind { Project, Csv, Xlsx };
ScheduleKind ScheduleKindOf(const std::filesystem::path& file);

// Opens a project file, or a CSV or XLSX schedule over `base` (the values of absent columns;
// empty inputs without one; `base_label` names it in messages). `library` serves rows that name a
// library profile; it may be nullptr. Throws ScheduleError, ProjectFileError (the file cannot be
// used at all).
std::unique_ptr<PositionSource> OpenPositionSource(const std::filesystem::path& file,
                                                   const std::optional<Design>& base,
                                                   const std::string& base_label,
                                                   ProfileLibrary* library);

// The positions of a project in memory (the project window's), with their site differences
// as warnings.
std::unique_ptr<PositionSource> PositionsOf(Project project);

// How many positions the file holds, for the progress display; nothing when it cannot tell.
// Reads the file once more.
std::optional<int> CountPositions(const std::filesystem::path& file);

}  // namespace quoinry
