#include "document/document_placement.h"

#include <string>
#include <system_error>

#include "document/document_error.h"
#include "document/docx_document.h"
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
    return NumberedFile("计算书.docx", number);
}

bool IsOpenInWordProcessor(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    const std::filesystem::path folder = file.parent_path();
    return Exists(folder / (".~lock." + name + "#")) || Exists(folder / ("~$" + name));
}

std::filesystem::path NumberedFile(const std::filesystem::path& wanted, int number) {
    if (number <= 1)
        return wanted;
    std::filesystem::path numbered = wanted;
    numbered.replace_filename(wanted.stem().string() + "(" + std::to_string(number) + ")" +
                              wanted.extension().string());
    return numbered;
}

PlacedDocument PlaceCalculationDocument(const DocumentSources& sources,
                                        const std::filesystem::path& folder) {
    return PlaceCalculationDocument(ReadReports(sources), folder / NumberedDocumentName(1));
}

PlacedDocument PlaceCalculationDocument(const ReportTexts& reports,
                                        const std::filesystem::path& wanted) {
    PlacedDocument placed;
    const RecordedDocument document = RecordCalculationDocument(reports, placed.warnings);
    placed.file = PlaceDocxDocument(document, wanted);
    return placed;
}

std::filesystem::path PlaceDocxDocument(const RecordedDocument& document,
                                        const std::filesystem::path& wanted) {
    StagedFile staged(wanted.has_parent_path() ? wanted.parent_path() : ".");
    WriteStaged(document, staged, wanted);
    for (int number = 1; number <= kMaxNumber; ++number) {
        const std::filesystem::path candidate = NumberedFile(wanted, number);
        if (IsOpenInWordProcessor(candidate))
            continue;
        if (staged.MoveTo(candidate))
            return candidate;
    }
    throw DocumentError(DocumentProblem::DocumentUnwritable, wanted, staged.error());
}

}  // namespace quoinry::document
