#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quoinry {

// A schedule that cannot be read (any further); what() names the file and, where there is one,
// the row.
class ScheduleError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One row of a table: its number as the spreadsheet shows it (from 1) and its cells as UTF-8
// texts; a cell left blank is empty.
struct TableRow {
    int number = 0;
    std::vector<std::string> cells;
};

// The rows of a CSV file or of the first sheet of a workbook, one at a time, so that a schedule
// of any length goes through in bounded memory.
class TableReader {
  public:
    virtual ~TableReader() = default;
    // The next row, or nothing after the last. Throws ScheduleError when the file cannot be read
    // further (the rows before stay good).
    virtual std::optional<TableRow> Next() = 0;
};

// The most cells a row may have: a spreadsheet's last column is XFD.
inline constexpr std::size_t kMaxTableColumns = 16384;
// Far beyond any text an input takes; a spreadsheet cell holds at most 32767 characters.
inline constexpr std::size_t kMaxCellBytes = 1u << 17;

// CSV: comma separated, cells in double quotes may hold commas, quotes ("") and line ends;
// UTF-8 with or without a byte order mark, or GBK (CP936), told apart by reading the file once.
// Throws ScheduleError when the file cannot be opened.
std::unique_ptr<TableReader> OpenCsvTable(const std::filesystem::path& file);

// The first sheet of an XLSX workbook: shared and inline strings, numbers, booleans, blank
// cells and gaps in the cell references. Throws ScheduleError when the file is no workbook.
std::unique_ptr<TableReader> OpenXlsxTable(const std::filesystem::path& file);

// Throws ScheduleError naming the file when it is missing, no regular file or unreadable.
void RequireReadableSchedule(const std::filesystem::path& file);

// The column's letters as a spreadsheet shows them: 0 is "A", 26 is "AA".
std::string ColumnLetters(std::size_t column);

}  // namespace quoinry
