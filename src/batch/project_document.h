#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "batch/summary.h"
#include "document/calculation_document.h"
#include "document/recorded_document.h"
#include "project/project.h"

namespace quoinry {

// What the project document keeps of a position until it is written: its label, its cells of the
// document's summary table and, for one that ran, which section picture it has. The reports stay
// in the position's folder and are read back when the document is composed, so a long schedule
// costs a few hundred bytes per position, and each distinct picture once.
struct ProjectChapter {
    PositionLabel label;
    std::vector<std::string> cells;  // as ProjectSummaryHeader()
    std::vector<bool> failing;
    std::string error;  // the position could not be read or computed: why
    int picture = -1;   // index into ProjectChapters::pictures(); -1: none
};

// The chapters of a project document, in schedule order, as a batch computes them.
class ProjectChapters {
  public:
    // A position is done (BatchObserver::Computed); `position` is nothing for an unreadable row.
    void Add(const PositionLabel& label, const Position* position, const SummaryRow& row);

    const std::vector<ProjectChapter>& chapters() const { return chapters_; }
    const std::vector<std::string>& pictures() const { return pictures_; }

  private:
    int PictureIndex(const std::string& picture);

    std::vector<ProjectChapter> chapters_;
    std::vector<std::string> pictures_;
};

// The header of the document's summary table.
std::vector<std::string> ProjectSummaryHeader();

// The project document (工程计算书): a cover with the project's data (`today` where the project
// has no date), the contents, the summary table (failing cells red), then one chapter per
// position with the reports read back from `out`/its folder (wind.txt, glass.txt and, when there,
// gj.txt) and its section picture, its parts one heading level below the position's name. A
// position with an error has a chapter that states the error. Throws DocumentError naming a
// report that is missing or unreadable.
document::RecordedDocument ComposeProjectDocument(const ProjectInfo& info,
                                                  const ProjectChapters& chapters,
                                                  const std::filesystem::path& out,
                                                  const std::string& today,
                                                  document::Warnings& warnings);

// Today's date as the cover shows it, "2026-12-06".
std::string TodayText();

}  // namespace quoinry
