#include "document/document_placement.h"

#include <string>
#include <system_error>

#include "document/document_error.h"
#include "document/staged_file.h"

namespace quoinry::document {
namespace {

// Far more than a user keeps open at once; beyond it something else is wrong.
constexpr int kMaxNumber = 100;

bool Exists(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(file, error));
}

}  // namespace

std::filesystem::path NumberedDocumentName(int number) {
    if (number <= 1)
        return std::filesystem::path("计算书.docx");
    return std::filesystem::path("计算书(" + std::to_string(number) + ").docx");
}

bool IsOpenInWordProcessor(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    const std::filesystem::path folder = file.parent_path();
    return Exists(folder / (".~lock." + name + "#")) || Exists(folder / ("~$" + name));
}

PlacedDocument PlaceCalculationDocument(const DocumentSources& sources,
                                        const std::filesystem::path& folder) {
    PlacedDocument placed;
    const DocxDocument document = ComposeCalculationDocument(sources, placed.warnings);
    const std::filesystem::path first = folder / NumberedDocumentName(1);
    StagedFile staged(folder);
    WriteStaged(document, staged, first);
    for (int number = 1; number <= kMaxNumber; ++number) {
        const std::filesystem::path candidate = folder / NumberedDocumentName(number);
        if (IsOpenInWordProcessor(candidate))
            continue;
        if (staged.MoveTo(candidate)) {
            placed.file = candidate;
            return placed;
        }
    }
    throw DocumentError(DocumentProblem::DocumentUnwritable, first);
}

}  // namespace quoinry::document
