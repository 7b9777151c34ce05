#pragma once

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "design/position_outcome.h"
#include "document/calculation_document.h"
#include "document/parted_document.h"
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
    std::string error;    // the position could not be read or computed: why
    std::string edition;  // the edition it was computed after; empty when not known
    std::string height;   // 计算处标高 as the summary has it, "45"; empty when not known
    int picture = -1;     // index into ProjectChapters::pictures(); -1: none
};

// The chapters of a project document, in schedule order, as a batch computes them.
class ProjectChapters {
  public:
    // A position is done (BatchObserver::Computed); `position` is nothing for an unreadable row.
    void Add(const Position* position, const PositionOutcome& outcome);

    const std::vector<ProjectChapter>& chapters() const { return chapters_; }
    const std::vector<std::string>& pictures() const { return pictures_; }

  private:
    int PictureIndex(const std::string& picture);

    std::vector<ProjectChapter> chapters_;
    std::vector<std::string> pictures_;
};

// The header of the document's summary table.
std::vector<std::string> ProjectSummaryHeader();

// The project document (工程计算书), composed a part at a time so that a writer holds one
// chapter at once: part 0 is the cover with the project's data (`today` where the project has no
// date) and the contents, part 1 the summary table (failing cells red), a part of its own so that
// the contents are laid out again without it; part i + 1 is the chapter of the i-th position, with
// the reports read back from `out`/its folder (wind.txt, glass.txt and, when there, gj.txt) and its
// section picture, its parts one heading level below the position's name. A position with an error
// has a chapter that states the error. Positions that share a name are told apart in their headings
// by their place and height: "C1521(第7行,45m)". Composing a chapter throws DocumentError naming a
// report that is missing or unreadable.
class ProjectDocumentParts : public document::PartedDocument {
  public:
    ProjectDocumentParts(const ProjectInfo& info, const ProjectChapters& chapters,
                         std::filesystem::path out, std::string today);

    document::DocumentInfo Info() const override;
    std::size_t PartCount() const override { return chapters_.chapters().size() + 2; }
    void ComposePart(std::size_t index, document::DocumentSink& sink) const override;

    // What the chapters composed so far warned about (a missing picture), each chapter once
    // however often the writers compose it.
    const document::Warnings& warnings() const { return warnings_; }
    // The heading of each position's chapter, in schedule order.
    const std::vector<std::string>& titles() const { return titles_; }

  private:
    void ComposeFront(document::DocumentSink& sink) const;
    void ComposeSummary(document::DocumentSink& sink) const;
    void ComposeChapter(std::size_t index, document::DocumentSink& sink) const;

    const ProjectInfo& info_;
    const ProjectChapters& chapters_;
    std::filesystem::path out_;
    std::string today_;
    std::vector<std::string> titles_;
    std::time_t created_;  // the same for every writer and pass
    mutable std::vector<bool> warned_;
    mutable document::Warnings warnings_;
};

// Today's date as the cover shows it, "2026-12-06".
std::string TodayText();

}  // namespace quoinry
