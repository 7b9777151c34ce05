#include "document/calculation_document.h"

#include <algorithm>
#include <ctime>

#include "document/document_error.h"
#include "document/source_files.h"
#include "document/staged_file.h"

namespace quoinry::document {
namespace {

constexpr const char* kNoPictureWarning = "警告:没有截面图片,截面特性标题后的图片位置留空";

void AddLines(DocxDocument& document, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) document.AddParagraph(line);
}

void AddSectionPicture(DocxDocument& document, const DocumentSources& sources, Warnings& warnings) {
    if (!sources.picture) {
        if (std::find(warnings.begin(), warnings.end(), kNoPictureWarning) == warnings.end()) {
            warnings.push_back(kNoPictureWarning);
        }
        document.AddParagraph("");
        return;
    }
    if (document.drawing_count() == 0)
        document.SetPicture(ReadSectionPicture(*sources.picture));
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

DocxDocument ComposeCalculationDocument(const DocumentSources& sources, Warnings& warnings) {
    const std::vector<std::string> wind = ReadReportLines(sources.wind);
    const std::vector<std::string> glass = ReadReportLines(sources.glass);
    const std::vector<std::string> gj = ReadReportLines(sources.gj);

    DocxDocument document(DocxLayout{}, DocxProperties{"计算书", "Quoinry", std::time(nullptr)});
    AddLines(document, wind);
    AddLines(document, glass);
    for (const std::string& line : gj) {
        document.AddParagraph(line);
        if (line == kSectionPropertiesHeading)
            AddSectionPicture(document, sources, warnings);
    }
    // Each line ends its paragraph, so the text closes with an empty paragraph, as typed text
    // does in a word processor; a heading on the last line leaves the picture last but one.
    document.AddParagraph("");
    return document;
}

Warnings BuildCalculationDocument(const DocumentSources& sources,
                                  const std::filesystem::path& out) {
    Warnings warnings;
    const DocxDocument document = ComposeCalculationDocument(sources, warnings);
    StagedFile staged(FolderOf(out));
    WriteStaged(document, staged, out);
    if (!staged.MoveTo(out))
        throw DocumentError(DocumentProblem::DocumentUnwritable, out);
    return warnings;
}

}  // namespace quoinry::document
