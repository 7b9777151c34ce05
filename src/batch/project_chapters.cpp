#include "batch/project_chapters.h"

#include <algorithm>
#include <ctime>
#include <map>
#include <system_error>

#include "design/result_json.h"
#include "document/document_sink.h"
#include "document/source_files.h"
#include "edition/code_edition.h"

namespace quoinry {
namespace {

namespace fs = std::filesystem;

// The document's summary table: a few columns of the summary, so that it fits across A4.
struct TableCell {
    std::string text;
    bool failing = false;
};

std::string VerdictText(std::optional<bool> ok) {
    if (!ok)
        return "—";
    return *ok ? "满足" : "不满足";
}

TableCell VerdictCell(std::optional<bool> ok) {
    return {VerdictText(ok), ok.has_value() && !*ok};
}

TableCell FigureCell(const std::optional<WindLoadResult>& wind, std::string_view name) {
    return {wind ? FigureText(WindFigures(*wind), name) : std::string()};
}

struct TableColumn {
    std::string_view header;  // with its unit in the reports' notation
    double weight;
    TableCell (*cell)(const PositionOutcome& outcome);
};

// "第1000个位置" (7 characters of 10.5 pt) fits its column on one line.
constexpr TableColumn kTableColumns[] = {
    {"位置", 1.8, [](const PositionOutcome& o) { return TableCell{o.label.place}; }},
    {"名称", 1.7, [](const PositionOutcome& o) { return TableCell{o.label.name}; }},
    {"规范", 0.8, [](const PositionOutcome& o) { return TableCell{o.edition}; }},
    {"Wk(kN/m^2)", 1.3, [](const PositionOutcome& o) { return FigureCell(o.wind, "wk"); }},
    {"W(kN/m^2)", 1.3, [](const PositionOutcome& o) { return FigureCell(o.wind, "w"); }},
    {"玻璃", 0.9, [](const PositionOutcome& o) { return VerdictCell(o.glass_ok()); }},
    {"杆件", 0.9, [](const PositionOutcome& o) { return VerdictCell(o.member_ok()); }},
    {"结论", 0.9,
     [](const PositionOutcome& o) {
         return o.verdict == PositionVerdict::Error ? TableCell{"出错", true} : VerdictCell(o.ok());
     }},
};

std::string ChapterTitle(const PositionLabel& label) {
    return label.name.empty() ? label.place : label.name;
}

// The codes by their numbers, as a checking engineer names them.
std::string EditionTitle(std::string_view id) {
    const CodeEdition* edition = FindCodeEdition(id.empty() ? EditionOfUnnamed().id : id);
    return edition != nullptr ? std::string(edition->title) : std::string(id);
}

// The positions of each edition used, in order of first use.
using EditionUse = std::vector<std::pair<std::string, std::vector<std::string>>>;

EditionUse EditionsUsed(const std::vector<ProjectChapter>& chapters) {
    EditionUse used;
    for (const ProjectChapter& chapter : chapters) {
        const std::string& id = chapter.edition;
        if (id.empty())
            continue;
        auto found =
            std::find_if(used.begin(), used.end(), [&](const auto& e) { return e.first == id; });
        if (found == used.end())
            found = used.insert(used.end(), {id, {}});
        found->second.push_back(ChapterTitle(chapter.label));
    }
    return used;
}

// "计算规范:" with the edition of every position; where they differ, the one most positions use
// first and each other with the positions that use it.
std::vector<std::string> CodeLines(const ProjectInfo& info,
                                   const std::vector<ProjectChapter>& chapters) {
    EditionUse used = EditionsUsed(chapters);
    if (used.empty())
        return {"计算规范:" + EditionTitle(info.edition)};
    if (used.size() == 1)
        return {"计算规范:" + EditionTitle(used.front().first)};
    std::stable_sort(used.begin(), used.end(), [](const auto& a, const auto& b) {
        return a.second.size() > b.second.size();
    });
    std::vector<std::string> lines = {"计算规范:" + EditionTitle(used.front().first) +
                                      "(其余位置)"};
    constexpr std::size_t kNamed = 20;
    for (std::size_t i = 1; i < used.size(); ++i) {
        const std::vector<std::string>& names = used[i].second;
        std::string list;
        for (std::size_t n = 0; n < names.size() && n < kNamed; ++n)
            list += (n == 0 ? "" : "、") + names[n];
        if (names.size() > kNamed)
            list += "等" + std::to_string(names.size()) + "个位置";
        lines.push_back("计算规范:" + EditionTitle(used[i].first) + "(" + list + ")");
    }
    return lines;
}

document::CoverBlock Cover(const ProjectInfo& info, const std::vector<ProjectChapter>& chapters,
                           const std::string& today) {
    const std::string site =
        info.region + (info.region.empty() || info.city.empty() ? "" : " ") + info.city;
    std::vector<std::string> lines = {
        "工程名称:" + info.name, "建设地点:" + site,
        "基本风压:" + (info.w0.empty() ? std::string() : info.w0 + " Pa"),
        "地面粗糙度:" + info.terrain};
    for (std::string& line : CodeLines(info, chapters)) lines.push_back(std::move(line));
    for (std::string line :
         {"设计:" + info.designer, "校核:" + info.checker, "审核:" + info.approver,
          "日期:" + (info.date.empty() ? today : info.date)})
        lines.push_back(std::move(line));
    return {info.name.empty() ? "门窗结构计算书" : info.name + " 门窗结构计算书", std::move(lines)};
}

document::DocumentTable SummaryTable(const std::vector<ProjectChapter>& chapters) {
    document::DocumentTable table;
    for (const TableColumn& column : kTableColumns) {
        table.header.push_back(document::Cell(column.header));
        table.column_weights.push_back(column.weight);
    }
    for (const ProjectChapter& chapter : chapters) {
        std::vector<document::TableCell> cells;
        for (std::size_t i = 0; i < chapter.cells.size(); ++i)
            cells.push_back(document::Cell(chapter.cells[i], chapter.failing[i]));
        table.rows.push_back(std::move(cells));
    }
    return table;
}

// The reports of a position's folder; gj.txt only where the position has a member.
document::ReportTexts ReadFolderReports(const fs::path& folder) {
    const document::DocumentSources sources = document::ReportsIn(folder, std::nullopt);
    document::ReportTexts reports;
    reports.wind = document::ReadReportLines(sources.wind);
    reports.glass = document::ReadReportLines(sources.glass);
    std::error_code error;
    if (fs::exists(sources.gj, error))
        reports.gj = document::ReadReportLines(sources.gj);
    return reports;
}

// The chapters' headings: a name shared by several positions gets each one's place and height.
std::vector<std::string> ChapterTitles(const std::vector<ProjectChapter>& chapters) {
    std::map<std::string, int> uses;
    for (const ProjectChapter& chapter : chapters) ++uses[ChapterTitle(chapter.label)];
    std::vector<std::string> titles;
    for (const ProjectChapter& chapter : chapters) {
        std::string title = ChapterTitle(chapter.label);
        if (uses[title] > 1)
            title += "(" + chapter.label.place +
                     (chapter.height.empty() ? "" : "," + chapter.height + "m") + ")";
        titles.push_back(std::move(title));
    }
    return titles;
}

}  // namespace

std::vector<std::string> ProjectSummaryHeader() {
    std::vector<std::string> header;
    for (const TableColumn& column : kTableColumns) header.emplace_back(column.header);
    return header;
}

void ProjectChapters::Add(const Position* position, const PositionOutcome& outcome) {
    ProjectChapter chapter;
    chapter.label = outcome.label;
    for (const TableColumn& column : kTableColumns) {
        TableCell cell = column.cell(outcome);
        chapter.cells.push_back(std::move(cell.text));
        chapter.failing.push_back(cell.failing);
    }
    chapter.edition = outcome.edition;
    chapter.height = outcome.height;
    if (outcome.verdict == PositionVerdict::Error)
        chapter.error = outcome.error.empty() ? "出错" : outcome.error;
    else if (position != nullptr && !position->design.picture.empty())
        chapter.picture = PictureIndex(position->design.picture);
    chapters_.push_back(std::move(chapter));
}

int ProjectChapters::PictureIndex(const std::string& picture) {
    // Positions of one building share few profiles; the pictures are compared whole.
    const auto found = std::find(pictures_.begin(), pictures_.end(), picture);
    if (found != pictures_.end())
        return static_cast<int>(found - pictures_.begin());
    pictures_.push_back(picture);
    return static_cast<int>(pictures_.size() - 1);
}

ProjectDocumentParts::ProjectDocumentParts(const ProjectInfo& info, const ProjectChapters& chapters,
                                           fs::path out, std::string today)
    : info_(info),
      chapters_(chapters),
      out_(std::move(out)),
      today_(std::move(today)),
      titles_(ChapterTitles(chapters.chapters())),
      created_(std::time(nullptr)),
      warned_(chapters.chapters().size(), false) {}

document::DocumentInfo ProjectDocumentParts::Info() const {
    return {info_.name.empty() ? "工程计算书" : info_.name + " 工程计算书", info_.designer,
            created_};
}

void ProjectDocumentParts::ComposePart(std::size_t index, document::DocumentSink& sink) const {
    if (index == 0)
        ComposeFront(sink);
    else if (index == 1)
        ComposeSummary(sink);
    else
        ComposeChapter(index - 2, sink);
}

void ProjectDocumentParts::ComposeFront(document::DocumentSink& sink) const {
    sink.Cover(Cover(info_, chapters_.chapters(), today_));
    sink.PageBreak();
    sink.Contents(2);
}

void ProjectDocumentParts::ComposeSummary(document::DocumentSink& sink) const {
    sink.PageBreak();
    sink.Heading(1, document::PlainRuns("计算结果汇总"));
    sink.Table(SummaryTable(chapters_.chapters()));
}

void ProjectDocumentParts::ComposeChapter(std::size_t index, document::DocumentSink& sink) const {
    const ProjectChapter& chapter = chapters_.chapters().at(index);
    sink.PageBreak();
    sink.Heading(1, document::PlainRuns(titles_[index]));
    if (!chapter.error.empty()) {
        sink.Paragraph(document::PlainRuns("本位置没有计算:" + chapter.error));
        return;
    }
    document::ReportTexts reports = ReadFolderReports(out_ / chapter.label.folder);
    if (chapter.picture >= 0)
        reports.picture = chapters_.pictures()[static_cast<std::size_t>(chapter.picture)];
    document::Warnings own;
    document::ComposeDesignChapter(reports, sink, own, 2);
    if (warned_[index])
        return;
    warned_[index] = true;
    for (const std::string& warning : own)
        warnings_.push_back(ChapterTitle(chapter.label) + "(" + chapter.label.place +
                            "): " + warning);
}

std::string TodayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

}  // namespace quoinry
