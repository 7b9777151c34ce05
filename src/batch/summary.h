#pragma once

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "batch/staged_output.h"
#include "design/position_outcome.h"
#include "project/project.h"

namespace quoinry {

// A column of the summary: its key (summary.csv's header), the caption and unit of the
// spreadsheet's header.
struct SummaryColumn {
    std::string_view key;
    std::string_view caption;
    std::string_view unit;
};
std::span<const SummaryColumn> SummaryColumns();

// One position's line of the summary: a cell per column, numbers as the reports print them,
// verdicts 1/0, empty where a step did not run; `failing` marks the cells that fail a check.
struct SummaryRow {
    std::vector<std::string> cells;
    std::vector<bool> failing;
};

// The line of a position's outcome.
SummaryRow SummaryRowOf(const PositionOutcome& outcome);

// Where summary lines go, in schedule order.
class SummarySink {
  public:
    virtual ~SummarySink() = default;
    virtual void Add(const PositionOutcome& outcome) = 0;
    // Makes the file whole under its name; throws BatchError. Without Commit the file is never
    // there (nor half of it).
    virtual void Commit() = 0;
};

// How a summary file is laid out for the one who reads it.
struct SummaryLayout {
    // The engineer's: headers are the captions with units ("Wk(kN/m²)") and verdicts 满足/不满足;
    // else the keys and 1/0, which scripts read (`quoinry batch`'s summary.csv).
    bool for_engineer = false;
    bool folders = true;  // the report folder column; an export that has no folders leaves it out
};

// The columns a layout shows, by their index in SummaryColumns().
std::vector<std::size_t> ShownColumns(const SummaryLayout& layout);
// The cell as the layout shows it: verdict flags as 满足/不满足 for the engineer.
std::string ShownCell(const SummaryRow& row, std::size_t column, const SummaryLayout& layout);

// summary.csv: UTF-8 with a byte order mark (so that Excel reads it as UTF-8), CR LF.
std::unique_ptr<SummarySink> NewSummaryCsv(const std::filesystem::path& file,
                                           SummaryLayout layout = {});
// The same as a formatted workbook for the engineer: captions with units, verdicts in words,
// frozen header, failing cells red.
std::unique_ptr<SummarySink> NewSummaryXlsx(const std::filesystem::path& file,
                                            const ProjectInfo& info, bool folders = true);

// One CSV line of cells (quoted where needed), ending in CR LF. A cell that a spreadsheet would
// take for a formula (=, +, -, @, tab or CR first, and not a number) gets a leading apostrophe.
std::string CsvLine(const std::vector<std::string>& cells);

}  // namespace quoinry
