#include "batch/summary.h"

#include <cctype>
#include <optional>
#include <string_view>

#include "design/result_json.h"

namespace quoinry {
namespace {

enum Column {
    kName,
    kWk,
    kW,
    kGlassOk,
    kMemberOk,
    kOk,
    kError,
    kFolder,
    kRow,
    kEdition,
    kHeight,
    kW0,
    kMuZ,
    kBetaGz,
    kMuS,
    kSigma1,
    kFg1,
    kSigma2,
    kFg2,
    kDf,
    kDfLimit,
    kMemberSigma,
    kFa,
    kTau,
    kTauD,
    kDu,
    kDuLimit,
    kUmax,
    kULimit,
    kProfile,
    kColumnCount
};

constexpr SummaryColumn kColumns[kColumnCount] = {
    {"name", "名称", ""},
    {"wk", "Wk", "kN/m²"},
    {"w", "W", "kN/m²"},
    {"glass_ok", "玻璃满足", ""},
    {"member_ok", "杆件满足", ""},
    {"ok", "满足", ""},
    {"error", "错误", ""},
    {"folder", "报告文件夹", ""},
    {"row", "位置", ""},
    {"edition", "计算规范", ""},
    {"z", "计算处标高", "m"},
    {"w0", "w0", "kN/m²"},
    {"mu_z", "μz", ""},
    {"beta_gz", "βgz", ""},
    {"mu_s", "μs", ""},
    {"glass_sigma1", "外片σ", "N/mm²"},
    {"glass_fg1", "外片fg", "N/mm²"},
    {"glass_sigma2", "内片σ", "N/mm²"},
    {"glass_fg2", "内片fg", "N/mm²"},
    {"df", "df", "mm"},
    {"df_limit", "df限值", "mm"},
    {"member_sigma", "杆件σ", "N/mm²"},
    {"fa", "fa", "N/mm²"},
    {"tau", "τ", "N/mm²"},
    {"tau_d", "τd", "N/mm²"},
    {"du", "Du", ""},
    {"u_span_limit", "U相对限值", "mm"},
    {"umax", "Umax", "mm"},
    {"u_limit", "U限值", "mm"},
    {"profile", "型材", ""},
};

std::string Flag(bool ok) {
    return ok ? "1" : "0";
}

void FillWind(SummaryRow& row, const WindLoadResult& wind) {
    const Figures figures = WindFigures(wind);
    row.cells[kWk] = FigureText(figures, "wk");
    row.cells[kW] = FigureText(figures, "w");
    row.cells[kW0] = FigureText(figures, "w0");
    row.cells[kMuZ] = FigureText(figures, "mu_z");
    row.cells[kBetaGz] = FigureText(figures, "beta_gz");
    row.cells[kMuS] = FigureText(figures, "mu_s");
}

void FillGlass(SummaryRow& row, const GlassResult& glass) {
    constexpr Column kPaneColumns[2][2] = {{kSigma1, kFg1}, {kSigma2, kFg2}};
    for (int i = 0; i < glass.pane_count && i < 2; ++i) {
        const Figures figures = PaneFigures(glass.panes[i]);
        row.cells[kPaneColumns[i][0]] = FigureText(figures, "sigma");
        row.cells[kPaneColumns[i][1]] = FigureText(figures, "fg");
        row.failing[kPaneColumns[i][0]] = !glass.panes[i].ok;
    }
    const Figures figures = GlassFigures(glass);
    row.cells[kDf] = FigureText(figures, "df");
    row.cells[kDfLimit] = FigureText(figures, "df_limit");
    row.failing[kDf] = glass.category_known && !glass.deflection_ok;
    row.cells[kGlassOk] = Flag(glass.ok);
    row.failing[kGlassOk] = !glass.ok;
}

void FillMember(SummaryRow& row, const MemberResult& member) {
    const Figures figures = MemberFigures(member);
    constexpr std::pair<Column, std::string_view> kCells[] = {
        {kMemberSigma, "sigma"}, {kFa, "fa"},         {kTau, "tau"},
        {kTauD, "tau_d"},        {kDu, "du"},         {kDuLimit, "u_span_limit"},
        {kUmax, "umax"},         {kULimit, "u_limit"}};
    for (const auto& [column, name] : kCells) row.cells[column] = FigureText(figures, name);
    row.failing[kMemberSigma] = !member.strength_ok;
    row.failing[kTau] = !member.shear_ok;
    row.failing[kUmax] = !member.deflection_ok;
    row.cells[kMemberOk] = Flag(member.ok);
    row.failing[kMemberOk] = !member.ok;
}

}  // namespace

std::span<const SummaryColumn> SummaryColumns() {
    return kColumns;
}

SummaryRow SummaryRowOf(const PositionOutcome& outcome) {
    SummaryRow row;
    row.cells.assign(kColumnCount, std::string());
    row.failing.assign(kColumnCount, false);
    row.cells[kName] = outcome.label.name;
    row.cells[kFolder] = outcome.label.folder;
    row.cells[kRow] = outcome.label.place;
    row.cells[kEdition] = outcome.edition;
    row.cells[kHeight] = outcome.height;
    row.cells[kProfile] = outcome.profile;
    if (outcome.wind)
        FillWind(row, *outcome.wind);
    if (outcome.glass)
        FillGlass(row, *outcome.glass);
    if (outcome.member)
        FillMember(row, *outcome.member);
    if (const std::optional<bool> ok = outcome.ok()) {
        row.cells[kOk] = Flag(*ok);
        row.failing[kOk] = !*ok;
    } else {
        row.cells[kError] = outcome.error;
        row.failing[kError] = true;
    }
    return row;
}

namespace {

// "-1.105", "+2", "1e-3": figures, which a spreadsheet reads as numbers anyway.
bool IsPlainNumber(std::string_view text) {
    std::size_t i = text.starts_with('-') || text.starts_with('+') ? 1 : 0;
    const std::size_t digits_from = i;
    while (i < text.size() &&
           (std::isdigit(static_cast<unsigned char>(text[i])) != 0 || text[i] == '.'))
        ++i;
    if (i == digits_from)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            ++i;
        const std::size_t exponent_from = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0) ++i;
        if (i == exponent_from)
            return false;
    }
    return i == text.size();
}

// A spreadsheet evaluates a cell that begins with one of these as a formula; a leading
// apostrophe makes it text.
std::string FormulaSafe(const std::string& cell) {
    constexpr std::string_view kFormulaStarts = "=+-@\t\r";
    if (cell.empty() || kFormulaStarts.find(cell.front()) == std::string_view::npos ||
        IsPlainNumber(cell))
        return cell;
    return "'" + cell;
}

}  // namespace

std::string CsvLine(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += ',';
        const std::string cell = FormulaSafe(cells[i]);
        if (cell.find_first_of(",\"\r\n") == std::string::npos && cell == cells[i]) {
            line += cell;
            continue;
        }
        line += '"';
        for (const char c : cell) {
            if (c == '"')
                line += '"';
            line += c;
        }
        line += '"';
    }
    return line + "\r\n";
}

std::vector<std::size_t> ShownColumns(const SummaryLayout& layout) {
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        if (i != kFolder || layout.folders)
            shown.push_back(i);
    }
    return shown;
}

std::string ShownCell(const SummaryRow& row, std::size_t column, const SummaryLayout& layout) {
    const std::string& cell = column < row.cells.size() ? row.cells[column] : std::string();
    const bool verdict = column == kGlassOk || column == kMemberOk || column == kOk;
    if (!layout.for_engineer || !verdict || cell.empty())
        return cell;
    return cell == "1" ? "满足" : "不满足";
}

namespace {

class SummaryCsv : public SummarySink {
  public:
    SummaryCsv(const std::filesystem::path& file, SummaryLayout layout)
        : output_(file), layout_(layout), shown_(ShownColumns(layout)) {
        std::vector<std::string> header;
        for (std::size_t i : shown_) {
            const SummaryColumn& column = kColumns[i];
            if (!layout_.for_engineer)
                header.emplace_back(column.key);
            else if (column.unit.empty())
                header.emplace_back(column.caption);
            else
                header.push_back(std::string(column.caption) + "(" + std::string(column.unit) +
                                 ")");
        }
        output_.Write("\xEF\xBB\xBF");
        output_.Write(CsvLine(header));
    }
    void Add(const PositionOutcome& outcome) override {
        const SummaryRow row = SummaryRowOf(outcome);
        std::vector<std::string> cells;
        for (std::size_t i : shown_) cells.push_back(ShownCell(row, i, layout_));
        output_.Write(CsvLine(cells));
    }
    void Commit() override { output_.Commit(); }

  private:
    StagedOutput output_;
    SummaryLayout layout_;
    std::vector<std::size_t> shown_;
};

}  // namespace

std::unique_ptr<SummarySink> NewSummaryCsv(const std::filesystem::path& file,
                                           SummaryLayout layout) {
    return std::make_unique<SummaryCsv>(file, layout);
}

}  // namespace quoinry
