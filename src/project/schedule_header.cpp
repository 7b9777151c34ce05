#include "project/schedule.h"

#include <array>
#include <string_view>

#include "common/numbers.h"
#include "common/text.h"
#include "common/text_encoding.h"

namespace quoinry {
namespace {

namespace fs = std::filesystem;

using Kind = ScheduleColumn::Kind;

constexpr std::string_view kNameHeaders[] = {"name",     "design.name", "名称",    "编号",
                                             "门窗编号", "位置",        "设计名称"};
constexpr std::string_view kEditionHeaders[] = {"glass.edition", "edition", "规范版本"};

bool IsOneOf(std::string_view text, std::span<const std::string_view> names) {
    for (std::string_view name : names) {
        if (text == name)
            return true;
    }
    return false;
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
}

// A header or unit as typed: no blanks around, full-width brackets and superscript powers as
// the program writes them, ASCII letters in lower case.
std::string Normalized(std::string_view text) {
    std::string out(TrimBlanks(text));
    ReplaceAll(out, "\u3000", "");
    ReplaceAll(out, "（", "(");
    ReplaceAll(out, "）", ")");
    ReplaceAll(out, "²", "^2");
    ReplaceAll(out, "³", "^3");
    ReplaceAll(out, "⁴", "^4");
    return AsciiLower(TrimBlanks(out));
}

// "计算处标高(m)" → label "计算处标高", unit "m"; a text without brackets is all label.
std::pair<std::string, std::optional<std::string>> SplitUnit(const std::string& text) {
    if (text.ends_with(")")) {
        const std::size_t open = text.rfind('(');
        if (open != std::string::npos && open > 0)
            return {text.substr(0, open), text.substr(open + 1, text.size() - open - 2)};
    }
    return {text, std::nullopt};
}

// The labels and units of the inputs as Normalized() makes a header, made once.
struct NormalizedField {
    const InputField* field;
    std::string label;
    std::string horizontal;
    std::string unit;
};

const std::vector<NormalizedField>& NormalizedFields() {
    static const std::vector<NormalizedField> fields = [] {
        std::vector<NormalizedField> all;
        for (const InputField& field : InputFields()) {
            all.push_back({&field, Normalized(field.label), Normalized(field.horizontal_label),
                           Normalized(field.unit)});
        }
        return all;
    }();
    return fields;
}

struct Match {
    ScheduleColumn column;
    std::optional<std::string> wrong_unit;  // the label fits, the unit does not
};

std::optional<Match> MatchHeader(std::string_view header, std::size_t index) {
    const std::string text = Normalized(header);
    Match match;
    match.column.index = index;
    match.column.header = std::string(TrimBlanks(header));
    if (IsOneOf(text, kNameHeaders)) {
        match.column.kind = Kind::Name;
        return match;
    }
    if (IsOneOf(text, kEditionHeaders)) {
        match.column.kind = Kind::Edition;
        return match;
    }
    const std::size_t dot = text.find('.');
    if (dot != std::string::npos) {
        if (const InputField* field = FindInputField(text.substr(0, dot), text.substr(dot + 1))) {
            match.column.field = field;
            return match;
        }
    }
    const auto [label, unit] = SplitUnit(text);
    for (const NormalizedField& normalized : NormalizedFields()) {
        const InputField& field = *normalized.field;
        const bool vertical = normalized.label == label;
        const bool horizontal = !field.horizontal_label.empty() && normalized.horizontal == label;
        if (!vertical && !horizontal)
            continue;
        if (unit && normalized.unit != *unit)
            match.wrong_unit = std::string(field.unit);
        if (field.horizontal_label.empty()) {
            match.column.field = &field;
            return match;
        }
        // A member label: the one input that has it for each member form.
        match.column.kind = Kind::Geometry;
        if (vertical)
            match.column.field = &field;
        if (horizontal)
            match.column.horizontal = &field;
    }
    if (match.column.kind == Kind::Geometry)
        return match;
    return std::nullopt;
}

[[noreturn]] void Refuse(const fs::path& file, const std::string& problem) {
    throw ScheduleError("计划表 " + file.string() + " 第1行(表头): " + problem);
}

void CheckTargetsOnce(const ScheduleHeader& header, const fs::path& file) {
    for (bool horizontal : {false, true}) {
        std::map<const void*, const ScheduleColumn*> seen;
        for (const ScheduleColumn& column : header.columns) {
            const void* target = column.kind == Kind::Name ? static_cast<const void*>(&kNameHeaders)
                                 : column.kind == Kind::Edition
                                     ? static_cast<const void*>(&kEditionHeaders)
                                     : TargetOf(column, horizontal);
            if (target == nullptr)
                continue;
            const auto [at, inserted] = seen.try_emplace(target, &column);
            if (!inserted) {
                Refuse(file, ColumnName(at->second->index, at->second->header) + "和" +
                                 ColumnName(column.index, column.header) +
                                 "是同一项输入,请删去一列");
            }
        }
    }
}

}  // namespace

std::string ColumnName(std::size_t index, std::string_view header) {
    return ColumnLetters(index) + "列“" + std::string(header) + "”";
}

const InputField* TargetOf(const ScheduleColumn& column, bool horizontal) {
    if (column.kind == Kind::Geometry)
        return horizontal ? column.horizontal : column.field;
    return column.field;
}

ScheduleHeader ReadScheduleHeader(const TableRow& row, const fs::path& file) {
    ScheduleHeader header;
    header.width = row.cells.size();
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
        if (TrimBlanks(row.cells[i]).empty())
            continue;
        std::optional<Match> match = MatchHeader(row.cells[i], i);
        if (!match) {
            header.unknown.push_back(ColumnName(i, TrimBlanks(row.cells[i])));
            continue;
        }
        if (match->wrong_unit) {
            Refuse(file, ColumnName(i, match->column.header) + "的单位应为 " + *match->wrong_unit +
                             ",请换算后写成“" + SplitUnit(match->column.header).first + "(" +
                             *match->wrong_unit + ")”");
        }
        header.columns.push_back(std::move(match->column));
    }
    if (header.columns.empty()) {
        Refuse(file,
               "没有一列是本程序认识的输入;列名应为设计文件的键(glass.te3)或窗口上的名称"
               "(计算处标高)");
    }
    bool keyed_geometry = false;
    bool labelled_geometry = false;
    for (const ScheduleColumn& column : header.columns) {
        labelled_geometry = labelled_geometry || column.kind == Kind::Geometry;
        keyed_geometry = keyed_geometry ||
                         (column.kind == Kind::Field && !column.field->horizontal_label.empty());
    }
    if (keyed_geometry && labelled_geometry) {
        Refuse(file,
               "受荷单元的尺寸请都用键名(gj.te2…gj.te4)或都用窗口上的名称,"
               "两种混用时同一个值可能写了两次");
    }
    CheckTargetsOnce(header, file);
    return header;
}

}  // namespace quoinry
