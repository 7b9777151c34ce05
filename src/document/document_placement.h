#pragma once

#include <filesystem>

#include "document/calculation_document.h"

namespace quoinry::document {

// "计算书.docx" for number 1, "计算书(2).docx", "计算书(3).docx", ... for the others.
std::filesystem::path NumberedDocumentName(int number);

// Whether a word processor has the file open: a LibreOffice lock file ".~lock.NAME#" or a Word
// owner file "~$NAME" lies beside it.
bool IsOpenInWordProcessor(const std::filesystem::path& file);

struct PlacedDocument {
    std::filesystem::path file;
    Warnings warnings;
};

// Builds the calculation document into `folder` as 计算书.docx, replacing an older one. When
// that one is open in a word processor or cannot be replaced, the next of 计算书(2).docx,
// 计算书(3).docx, ... that can be written is used instead. Throws DocumentError as
// BuildCalculationDocument does; nothing new is left in `folder` then.
PlacedDocument PlaceCalculationDocument(const DocumentSources& sources,
                                        const std::filesystem::path& folder);

// "NAME.docx" for number 1, "NAME(2).docx", "NAME(3).docx", ... for the others.
std::filesystem::path NumberedFile(const std::filesystem::path& wanted, int number);

// The same for reports already read, first tried under `wanted`, then NAME(2).docx, ...
PlacedDocument PlaceCalculationDocument(const ReportTexts& reports,
                                        const std::filesystem::path& wanted);
// The same for a document already composed; returns the file it was written to.
std::filesystem::path PlaceDocxDocument(const RecordedDocument& document,
                                        const std::filesystem::path& wanted);

}  // namespace quoinry::document
