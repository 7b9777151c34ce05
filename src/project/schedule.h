#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "design/input_fields.h"
#include "design/library_profile.h"
#include "project/project.h"
#include "project/table_reader.h"

namespace quoinry {

// What one column of a schedule holds.
struct ScheduleColumn {
    enum class Kind { Name, Edition, Field, Geometry };
    Kind kind = Kind::Field;
    std::size_t index = 0;  // of the cell in a row
    std::string header;     // as the header row has it
    // Field: the input. Geometry (a member label, which the member form relabels): the input
    // for a vertical and for a horizontal member; nullptr where the label does not exist.
    const InputField* field = nullptr;
    const InputField* horizontal = nullptr;
};

// The header row of a schedule, read: which column holds what.
struct ScheduleHeader {
    std::vector<ScheduleColumn> columns;
    std::vector<std::string> unknown;  // "F列“颜色”": columns the program ignores
    std::size_t width = 0;             // cells of the header row
};

// Reads the header row. A column is named by its design-file key (glass.co1 … gj.te14,
// glass.edition, name) or by the window's label with or without its unit (计算处标高,
// 计算处标高(m)). Throws ScheduleError for a header that cannot be used: no column the program
// knows, two columns for one input, a label with another unit than the input's.
ScheduleHeader ReadScheduleHeader(const TableRow& row, const std::filesystem::path& file);

// A row made into a position, or why it cannot be one.
struct ScheduleRow {
    std::optional<Position> position;
    std::string name;   // as the row gives it; empty when it gives none
    std::string error;  // "第5行 F列“计算处标高”: …"
    // For each input (by its index in InputFields()) the column the row's value came from,
    // "F列“计算处标高”", or how it came from the base design.
    std::vector<std::string> sources;
};

// Makes positions from schedule rows: a cell gives its input; a blank cell, or a column the
// schedule leaves out, takes the base design's value. A row that names a library profile
// (series and number) and leaves section values blank takes them from the library.
class ScheduleRows {
  public:
    // `library` may be nullptr when no library is at hand; `strict_width` refuses rows with more
    // or fewer cells than the header (CSV), otherwise only more (a sheet leaves blanks out).
    // `base_label` names the base design in messages ("基础设计 base.ini"); empty without one.
    ScheduleRows(ScheduleHeader header, Design base, std::string base_edition,
                 std::string base_label, ProfileLibrary* library, bool strict_width);

    // Nothing for a row whose cells are all blank.
    std::optional<ScheduleRow> Build(const TableRow& row);

    // The inputs no column gives, by caption, when the base design leaves them empty too.
    std::vector<std::string> MissingInputs() const;

  private:
    std::optional<std::string> SetCell(ScheduleRow& result, Design& design,
                                       const ScheduleColumn& column, const std::string& text,
                                       bool horizontal);
    std::optional<std::string> UseLibrary(ScheduleRow& result, Design& design,
                                          const std::vector<bool>& given);
    LibraryLookup Find(const std::string& series, const std::string& number);

    ScheduleHeader header_;
    Design base_;
    std::string base_edition_;
    std::string base_label_;
    ProfileLibrary* library_;
    bool strict_width_;
    std::map<std::pair<std::string, std::string>, LibraryLookup> found_;
};

// The index of a field in InputFields().
std::size_t FieldIndex(const InputField& field);

// "F列“计算处标高”": a column as messages name it.
std::string ColumnName(std::size_t index, std::string_view header);
// The input a column gives for a member form (vertical or horizontal); nullptr when the label has
// none for it.
const InputField* TargetOf(const ScheduleColumn& column, bool horizontal);

}  // namespace quoinry
