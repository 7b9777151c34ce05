#include "project/schedule.h"

#include <array>
#include <string_view>

#include "common/numbers.h"
#include "common/text.h"
#include "common/text_encoding.h"
#include "member/member_form.h"

namespace quoinry {
namespace {

namespace fs = std::filesystem;

using Kind = ScheduleColumn::Kind;

// The member form that takes no member: the position has no member check.
constexpr std::string_view kNoMember = "无";
// Library lookups kept for the rest of the run; beyond this, the same profile is looked up again.
constexpr std::size_t kMaxRemembered = 4096;

// The texts an option column takes for "True" and "False".
std::optional<std::string> OptionText(const std::string& text) {
    const std::string lower = AsciiLower(text);
    if (lower == "true" || lower == "1" || text == "是")
        return "True";
    if (lower == "false" || lower == "0" || text == "否")
        return "False";
    return std::nullopt;
}

std::string RowPlace(int row) {
    return "第" + std::to_string(row) + "行";
}

}  // namespace

std::size_t FieldIndex(const InputField& field) {
    return static_cast<std::size_t>(&field - InputFields().data());
}

ScheduleRows::ScheduleRows(ScheduleHeader header, Design base, std::string base_edition,
                           std::string base_label, ProfileLibrary* library, bool strict_width)
    : header_(std::move(header)),
      base_(std::move(base)),
      base_edition_(std::move(base_edition)),
      base_label_(std::move(base_label)),
      library_(library),
      strict_width_(strict_width) {}

std::vector<std::string> ScheduleRows::MissingInputs() const {
    std::vector<bool> given(InputFields().size(), false);
    for (const ScheduleColumn& column : header_.columns) {
        for (const InputField* field : {column.field, column.horizontal}) {
            if (field != nullptr)
                given[FieldIndex(*field)] = true;
        }
    }
    std::vector<std::string> missing;
    for (const InputField& field : InputFields()) {
        if (field.kind != FieldKind::Text || given[FieldIndex(field)])
            continue;
        if (field.section == "gj" && !base_.member)
            continue;
        // Fields that may stay empty (no dominant opening) are never missing.
        const bool needed =
            field.rule != FieldRule::Any && field.rule != FieldRule::NoneOrNonNegative;
        if (FieldText(base_, field).empty() && needed)
            missing.push_back(FieldCaption(field));
    }
    return missing;
}

std::optional<ScheduleRow> ScheduleRows::Build(const TableRow& row) {
    bool blank = true;
    for (const std::string& cell : row.cells) blank = blank && TrimBlanks(cell).empty();
    if (blank)
        return std::nullopt;
    ScheduleRow result;
    result.sources.assign(InputFields().size(), base_label_.empty()
                                                    ? std::string("表中没有这一列")
                                                    : "表中没有这一列,取自" + base_label_);
    const std::string place = RowPlace(row.number);
    // A row that cannot be used still names its position.
    for (const ScheduleColumn& column : header_.columns) {
        if (column.kind == Kind::Name && column.index < row.cells.size())
            result.name = std::string(TrimBlanks(row.cells[column.index]));
    }
    auto fail = [&](const std::string& problem) {
        result.error = place + " " + problem;
        return result;
    };
    for (std::size_t i = header_.width; i < row.cells.size(); ++i) {
        if (!TrimBlanks(row.cells[i]).empty()) {
            return fail(ColumnLetters(i) + "列: 表头只有" + std::to_string(header_.width) +
                        "列,这一行多出了值“" + std::string(TrimBlanks(row.cells[i])) + "”");
        }
    }
    if (strict_width_ && row.cells.size() < header_.width) {
        return fail("只有" + std::to_string(row.cells.size()) + "个值,表头有" +
                    std::to_string(header_.width) + "列;缺少的值请留空而不要删去逗号");
    }
    auto cell = [&](const ScheduleColumn& column) -> std::string {
        return column.index < row.cells.size() ? std::string(TrimBlanks(row.cells[column.index]))
                                               : std::string();
    };
    for (const ScheduleColumn& column : header_.columns) {
        if (const std::optional<std::size_t> at = FirstOutsideXml(cell(column))) {
            return fail(ColumnName(column.index, column.header) + ": 第" + std::to_string(*at + 1) +
                        "个字节起不是 UTF-8 文字或是控制字符(文件有 UTF-8 标记,这一行却可能"
                        "是以 GBK 粘贴的);请重新输入这个值");
        }
    }
    Design design = base_;
    std::string edition = base_edition_;
    bool horizontal =
        base_.member && ParseMemberForm(base_.member->form) == MemberFormId::Horizontal;
    bool no_member = false;
    for (const ScheduleColumn& column : header_.columns) {
        const std::string text = cell(column);
        if (text.empty())
            continue;
        if (column.kind == Kind::Name) {
            design.info.name = text;
            result.name = text;
        } else if (column.kind == Kind::Edition) {
            if (!IsKnownEdition(text)) {
                return fail(ColumnName(column.index, column.header) + ": 规范版本应为 " +
                            EditionIdsText() + ",这里是“" + text + "”");
            }
            edition = text;
        } else if (column.kind == Kind::Field && column.field->section == "gj" &&
                   column.field->key == "co1") {
            no_member = text == kNoMember;
            horizontal = ParseMemberForm(text) == MemberFormId::Horizontal;
        }
    }
    std::vector<bool> given(InputFields().size(), false);
    for (const ScheduleColumn& column : header_.columns) {
        const std::string text = cell(column);
        if (column.kind == Kind::Name || column.kind == Kind::Edition)
            continue;
        if (text.empty()) {
            if (const InputField* target = TargetOf(column, horizontal)) {
                result.sources[FieldIndex(*target)] =
                    ColumnName(column.index, column.header) + "为空" +
                    (base_label_.empty() ? std::string() : ",取自" + base_label_);
            }
            continue;
        }
        if (no_member) {
            const InputField* target = TargetOf(column, horizontal);
            if (column.kind == Kind::Geometry ||
                (target->section == "gj" && target->key != "co1")) {
                return fail(ColumnName(column.index, column.header) +
                            ": 杆件形式为“无”,这一行不应有杆件的值");
            }
            if (target->section == "gj")
                continue;
        }
        if (auto problem = SetCell(result, design, column, text, horizontal))
            return fail(*problem);
        given[FieldIndex(*TargetOf(column, horizontal))] = true;
    }
    if (no_member) {
        design.member.reset();
        design.picture.clear();
    } else if (auto problem = UseLibrary(result, design, given)) {
        return fail(*problem);
    }
    result.position = Position{std::move(design), std::move(edition), {}};
    return result;
}

std::optional<std::string> ScheduleRows::SetCell(ScheduleRow& result, Design& design,
                                                 const ScheduleColumn& column,
                                                 const std::string& text, bool horizontal) {
    const InputField* field = TargetOf(column, horizontal);
    if (field == nullptr) {
        return ColumnName(column.index, column.header) + ": 这一项只用于" +
               std::string(horizontal ? VerticalMemberForm().text : HorizontalMemberForm().text) +
               ",这一行是" +
               std::string(horizontal ? HorizontalMemberForm().text : VerticalMemberForm().text);
    }
    std::string value = TakesNumber(*field) ? AsciiNumberText(text) : text;
    if (field->kind != FieldKind::Text) {
        const std::optional<std::string> option = OptionText(text);
        if (!option) {
            return ColumnName(column.index, column.header) +
                   ": 应为 True 或 False(是/否、1/0),这里是“" + text + "”";
        }
        value = *option;
    }
    SetFieldText(design, *field, value);
    result.sources[FieldIndex(*field)] = ColumnName(column.index, column.header);
    return std::nullopt;
}

LibraryLookup ScheduleRows::Find(const std::string& series, const std::string& number) {
    const auto key = std::pair(series, number);
    if (const auto found = found_.find(key); found != found_.end())
        return found->second;
    LibraryLookup lookup = library_->Find(series, number);
    if (found_.size() < kMaxRemembered)
        found_.emplace(key, lookup);
    return lookup;
}

std::optional<std::string> ScheduleRows::UseLibrary(ScheduleRow& result, Design& design,
                                                    const std::vector<bool>& given) {
    const InputField& series_field = *FindInputField("gj", "co2");
    const InputField& number_field = *FindInputField("gj", "co3");
    const bool names_profile = given[FieldIndex(series_field)] || given[FieldIndex(number_field)];
    if (!names_profile || !design.member)
        return std::nullopt;
    const MemberInput& member = *design.member;
    const bool same_as_base = base_.member && base_.member->series == member.series &&
                              base_.member->number == member.number &&
                              base_.member->section_drawing.empty();
    std::array<bool, kLibraryProfileFieldCount> fill{};
    bool any = false;
    for (std::size_t i = 0; i < kLibraryProfileFieldCount; ++i) {
        fill[i] = !given[FieldIndex(*FindInputField("gj", LibraryProfileFields()[i].key))];
        any = any || fill[i];
    }
    // The columns that name the profile: those the row gave.
    std::string where;
    for (const InputField* field : {&series_field, &number_field}) {
        if (given[FieldIndex(*field)])
            where += (where.empty() ? "" : "、") + result.sources[FieldIndex(*field)];
    }
    if (!any) {
        // The row gives every value; the base design's picture shows another profile.
        design.member->section_drawing.clear();
        if (!same_as_base)
            design.picture.clear();
        return std::nullopt;
    }
    const std::string name = member.series + " " + member.number;
    if (library_ == nullptr)
        return where + ": 没有型材库,无法取型材 " + name + " 的截面值;请在表中给出截面值";
    const LibraryLookup lookup = Find(member.series, member.number);
    if (!lookup.error.empty())
        return where + ": 无法从型材库取型材 " + name + " 的截面值: " + lookup.error;
    if (!lookup.profile) {
        return where + ": 型材库中没有型材 " + name + ";请检查型材系列和编号,或在表中给出截面值";
    }
    ApplyLibraryProfile(design, *lookup.profile, fill);
    for (std::size_t i = 0; i < kLibraryProfileFieldCount; ++i) {
        if (fill[i]) {
            result.sources[FieldIndex(*FindInputField("gj", LibraryProfileFields()[i].key))] =
                "型材库 " + name;
        }
    }
    return std::nullopt;
}

}  // namespace quoinry
