#include "document/calculation_document.h"

#include <algorithm>
#include <ctime>

#include "common/cp936.h"
#include "document/document_error.h"
#include "document/source_files.h"
#include "document/staged_file.h"

namespace quoinry::document {
namespace {

constexpr const char* kNoPictureWarning = "警告:没有截面图片,截面特性标题后的图片位置留空";

void AddLines(DocxDocument& document, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) document.AddParagraph(line);
}

void AddSectionPicture(DocxDocument& document, const ReportTexts& reports, Warnings& warnings) {
    if (!reports.picture) {
        if (std::find(warnings.begin(), warnings.end(), kNoPictureWarning) == warnings.end()) {
            warnings.push_back(kNoPictureWarning);
        }
        document.AddParagraph("");
        return;
    }
    if (document.drawing_count() == 0) {
        if (!IsWindowsMetafile(*reports.picture))
            throw DocumentError(DocumentProblem::PictureNotMetafile, "xc.wmf");
        document.SetPicture(*reports.picture);
    }
    document.AddPictureParagraph(
        {PointsToEmu(kPictureWidthPoints), PointsToEmu(kPictureHeightPoints)});
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

DocxDocument ComposeCalculationDocument(const DocumentSources& sources, Warnings& warnings) {
    return ComposeCalculationDocument(ReadReports(sources), warnings);
}

DocxDocument ComposeCalculationDocument(const ReportTexts& reports, Warnings& warnings) {
    DocxDocument document(DocxLayout{}, DocxProperties{"计算书", "Quoinry", std::time(nullptr)});
    AddLines(document, reports.wind);
    AddLines(document, reports.glass);
    for (const std::string& line : reports.gj) {
        document.AddParagraph(line);
        if (line == kSectionPropertiesHeading)
            AddSectionPicture(document, reports, warnings);
    }
    // Each line ends its paragraph, so the text closes with an empty paragraph, as typed text
    // does in a word processor; a heading on the last line leaves the picture last but one.
    document.AddParagraph("");
    return document;
}

Warnings BuildCalculationDocument(const DocumentSources& sources,
                                  const std::filesystem::path& out) {
    return BuildCalculationDocument(ReadReports(sources), out);
}

Warnings BuildCalculationDocument(const ReportTexts& reports, const std::filesystem::path& out) {
    Warnings warnings;
    const DocxDocument document = ComposeCalculationDocument(reports, warnings);
    StagedFile staged(FolderOf(out));
    WriteStaged(document, staged, out);
    if (!staged.MoveTo(out))
        throw DocumentError(DocumentProblem::DocumentUnwritable, out);
    return warnings;
}

}  // namespace quoinry::document
