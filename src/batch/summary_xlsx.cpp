#include <xlsxwriter.h>

#include <charconv>
#include <map>
#include <utility>

#include "batch/batch_error.h"
#include "batch/summary.h"
#include "common/text_encoding.h"

namespace quoinry {
namespace {

constexpr lxw_color_t kRedText = 0x9C0006;
constexpr lxw_color_t kRedFill = 0xFFC7CE;

// Cells that hold texts, not numbers, whatever they look like.
bool IsTextColumn(std::string_view key) {
    return key == "name" || key == "error" || key == "folder" || key == "row" || key == "profile" ||
           key == "edition";
}

// The decimals of a number text as the reports print it ("1.105" has 3); nothing when the text
// is no plain decimal number (scientific notation stays text, as printed).
std::optional<int> Decimals(const std::string& text) {
    if (text.empty() || text.find_first_not_of("-0123456789.") != std::string::npos)
        return std::nullopt;
    const std::size_t dot = text.find('.');
    return dot == std::string::npos ? 0 : static_cast<int>(text.size() - dot - 1);
}

class SummaryXlsx : public SummarySink {
  public:
    SummaryXlsx(const std::filesystem::path& file, const ProjectInfo& info, bool folders)
        : output_(file), layout_{true, folders}, shown_(ShownColumns(layout_)) {
        output_.Release();
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;  // rows go to disk as they come: flat memory
        const std::string tmpdir = output_.temporary().parent_path().string();
        options.tmpdir = const_cast<char*>(tmpdir.empty() ? "." : tmpdir.c_str());
        const std::string name = output_.temporary().string();
        workbook_ = workbook_new_opt(name.c_str(), &options);
        if (workbook_ == nullptr)
            throw BatchError("无法写入 " + file.string());
        if (!info.name.empty()) {
            lxw_doc_properties properties{};
            properties.title = const_cast<char*>(info.name.c_str());
            workbook_set_properties(workbook_, &properties);
        }
        sheet_ = workbook_add_worksheet(workbook_, "汇总");
        header_ = workbook_add_format(workbook_);
        format_set_bold(header_);
        format_set_text_wrap(header_);
        format_set_align(header_, LXW_ALIGN_CENTER);
        format_set_align(header_, LXW_ALIGN_VERTICAL_CENTER);
        format_set_bg_color(header_, 0xDDEBF7);
        format_set_border(header_, LXW_BORDER_THIN);
        worksheet_freeze_panes(sheet_, 1, 1);
        // Printed on A4 across, as wide as the page, the header on every page.
        worksheet_set_paper(sheet_, 9);
        worksheet_set_landscape(sheet_);
        worksheet_fit_to_pages(sheet_, 1, 0);
        worksheet_repeat_rows(sheet_, 0, 0);
        if (!info.name.empty()) {
            const std::string header = "&C" + XmlSafe(info.name) + " 计算汇总";
            worksheet_set_header(sheet_, header.c_str());
        }
        worksheet_set_footer(sheet_, "&C第 &P 页 共 &N 页");
        const auto columns = SummaryColumns();
        for (std::size_t at = 0; at < shown_.size(); ++at) {
            const SummaryColumn& shown = columns[shown_[at]];
            const double width = shown.key == "error" ? 60 : IsTextColumn(shown.key) ? 16 : 10;
            const auto column = static_cast<lxw_col_t>(at);
            worksheet_set_column(sheet_, column, column, width, nullptr);
            std::string caption(shown.caption);
            if (!shown.unit.empty())
                caption += "\n(" + std::string(shown.unit) + ")";
            worksheet_write_string(sheet_, 0, column, caption.c_str(), header_);
        }
        worksheet_set_row(sheet_, 0, 32, nullptr);
    }

    ~SummaryXlsx() override {
        // An uncommitted workbook is freed without being written (closing it would write it,
        // and complain on standard error where the disk is full); its file goes with output_.
        if (workbook_ != nullptr)
            lxw_workbook_free(workbook_);
    }

    void Add(const PositionOutcome& outcome) override {
        const SummaryRow row = SummaryRowOf(outcome);
        ++row_;
        const auto columns = SummaryColumns();
        for (std::size_t at = 0; at < shown_.size(); ++at) {
            const std::size_t i = shown_[at];
            // A byte that breaks UTF-8 (a GBK row in a UTF-8 file) would make Excel refuse the
            // whole workbook.
            const std::string text = XmlSafe(ShownCell(row, i, layout_));
            if (text.empty() || i >= row.failing.size())
                continue;
            const bool red = row.failing[i];
            const auto column = static_cast<lxw_col_t>(at);
            const std::optional<int> decimals =
                IsTextColumn(columns[i].key) ? std::nullopt : Decimals(text);
            double value = 0;
            if (decimals &&
                std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc()) {
                worksheet_write_number(sheet_, row_, column, value, Format(*decimals, red));
            } else {
                worksheet_write_string(sheet_, row_, column, text.c_str(), Format(-1, red));
            }
        }
    }

    void Commit() override {
        lxw_workbook* workbook = std::exchange(workbook_, nullptr);
        if (workbook_close(workbook) != LXW_NO_ERROR)
            throw BatchError("无法写入 " + output_.target().string());
        output_.Commit();
    }

  private:
    // A number format with the report's decimals (-1: text), red when the cell fails a check.
    lxw_format* Format(int decimals, bool red) {
        auto [at, inserted] = formats_.try_emplace({decimals, red}, nullptr);
        if (!inserted)
            return at->second;
        lxw_format* format = workbook_add_format(workbook_);
        if (decimals >= 0) {
            const std::string pattern = decimals == 0 ? "0" : "0." + std::string(decimals, '0');
            format_set_num_format(format, pattern.c_str());
        }
        if (red) {
            format_set_font_color(format, kRedText);
            format_set_bg_color(format, kRedFill);
        }
        at->second = format;
        return format;
    }

    StagedOutput output_;
    SummaryLayout layout_;
    std::vector<std::size_t> shown_;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_format* header_ = nullptr;
    std::map<std::pair<int, bool>, lxw_format*> formats_;
    lxw_row_t row_ = 0;
};

}  // namespace

std::unique_ptr<SummarySink> NewSummaryXlsx(const std::filesystem::path& file,
                                            const ProjectInfo& info, bool folders) {
    return std::make_unique<SummaryXlsx>(file, info, folders);
}

}  // namespace quoinry
