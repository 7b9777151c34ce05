#include "document/calculation_document.h"

#include <algorithm>
#include <ctime>

#include "common/cp936.h"
#include "document/document_error.h"
#include "document/docx_document.h"
#include "document/report_text.h"
#include "document/source_files.h"
#include "document/staged_file.h"

namespace quoinry::document {
namespace {

constexpr const char* kNoPictureWarning = "警告:没有截面图片,截面特性标题后的图片位置留空";

void AddLine(DocumentSink& sink, const std::string& line, int top_level) {
    Runs runs = ExponentRuns(line);
    if (IsFailingVerdict(line)) {
        for (TextRun& run : runs) run.failing = true;
    }
    if (const int level = HeadingLevelOf(line); level > 0)
        sink.Heading(top_level + level - 1, runs);
    else
        sink.Paragraph(runs);
}

void AddSectionPicture(DocumentSink& sink, const ReportTexts& reports, Warnings& warnings) {
    if (!reports.picture) {
        if (std::find(warnings.begin(), warnings.end(), kNoPictureWarning) == warnings.end()) {
            warnings.push_back(kNoPictureWarning);
        }
        sink.Paragraph({});
        return;
    }
    if (!IsWindowsMetafile(*reports.picture))
        throw DocumentError(DocumentProblem::PictureNotMetafile, "xc.wmf");
    sink.Picture(*reports.picture, {kPictureWidthPoints, kPictureHeightPoints});
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

}  // namespace

DocumentSources ReportsIn(const std::filesystem::path& folder,
                          std::optional<std::filesystem::path> picture) {
    return {folder / "wind.txt", folder / "glass.txt", folder / "gj.txt", std::move(picture)};
}

std::vector<std::string> AsFileLines(const std::vector<std::string>& report_lines) {
    std::string bytes;
    for (const std::string& line : report_lines) bytes += Utf8ToCp936(line) + "\r\n";
    std::vector<std::string> lines;
    for (std::string_view line : SplitLines(bytes)) lines.push_back(Cp936ToUtf8(line));
    return lines;
}

ReportTexts ReadReports(const DocumentSources& sources) {
    ReportTexts reports{ReadReportLines(sources.wind), ReadReportLines(sources.glass),
                        ReadReportLines(sources.gj), std::nullopt};
    // The picture is read only where it goes.
    const bool heading = std::find(reports.gj.begin(), reports.gj.end(),
                                   kSectionPropertiesHeading) != reports.gj.end();
    if (heading && sources.picture)
        reports.picture = ReadSectionPicture(*sources.picture);
    return reports;
}

void ComposeDesignChapter(const ReportTexts& reports, DocumentSink& sink, Warnings& warnings,
                          int top_level) {
    for (const std::string& line : reports.wind) AddLine(sink, line, top_level);
    for (const std::string& line : reports.glass) AddLine(sink, line, top_level);
    for (const std::string& line : reports.gj) {
        AddLine(sink, line, top_level);
        if (line == kSectionPropertiesHeading)
            AddSectionPicture(sink, reports, warnings);
    }
}

void ComposeCalculationDocument(const ReportTexts& reports, DocumentSink& sink,
                                Warnings& warnings) {
    ComposeDesignChapter(reports, sink, warnings, 1);
    // Each line ends its paragraph, so the text closes with an empty paragraph, as typed text
    // does in a word processor; a heading on the last line leaves the picture last but one.
    sink.Paragraph({});
}

RecordedDocument RecordCalculationDocument(const ReportTexts& reports, Warnings& warnings) {
    RecordedDocument document(CalculationDocumentInfo());
    ComposeCalculationDocument(reports, document, warnings);
    return document;
}

void ComposeTitleBlock(const TitleBlock& title, DocumentSink& sink) {
    DocumentTable table;
    table.header = {Cell("设计名称"), Cell(title.name)};
    for (const auto& [caption, value] :
         {std::pair("工程名称", &title.project), std::pair("设计", &title.designer),
          std::pair("校核", &title.checker), std::pair("审核", &title.approver),
          std::pair("日期", &title.date), std::pair("计算规范", &title.edition)}) {
        table.rows.push_back({Cell(caption), Cell(*value)});
    }
    if (!title.note.empty())
        table.rows.push_back({Cell("说明"), Cell(title.note, true)});
    table.column_weights = {1, 3};
    sink.Table(table);
    sink.Paragraph({});
}

RecordedDocument RecordCalculationDocument(const ReportTexts& reports, const TitleBlock& title,
                                           Warnings& warnings) {
    RecordedDocument document(CalculationDocumentInfo());
    document.info().author = title.designer;
    ComposeTitleBlock(title, document);
    ComposeCalculationDocument(reports, document, warnings);
    return document;
}

RecordedDocument RecordCalculationDocument(const DocumentSources& sources, Warnings& warnings) {
    return RecordCalculationDocument(ReadReports(sources), warnings);
}

DocumentInfo CalculationDocumentInfo() {
    return {"计算书", "", std::time(nullptr)};
}

void WriteDocxDocument(const PartedDocument& document, const std::filesystem::path& out,
                       StopFlag stop) {
    StagedFile staged(FolderOf(out));
    WriteStaged(document, staged, out, stop);
    if (!staged.MoveTo(out))
        throw DocumentError(DocumentProblem::DocumentUnwritable, out, staged.error());
}

Warnings BuildCalculationDocument(const DocumentSources& sources,
                                  const std::filesystem::path& out) {
    return BuildCalculationDocument(ReadReports(sources), out);
}

Warnings BuildCalculationDocument(const ReportTexts& reports, const std::filesystem::path& out) {
    Warnings warnings;
    WriteDocxDocument(RecordCalculationDocument(reports, warnings), out);
    return warnings;
}

}  // namespace quoinry::document
