#include <iostream>

#include "cli/commands.h"
#include "document/calculation_document.h"
#include "document/document_error.h"
#include "document/source_files.h"

namespace quoinry::cli {
namespace {

// The section picture of the document: the one named on the command line, else the design's.
std::optional<std::string> DocumentPicture(const RunDocumentRequest& request) {
    if (request.picture_file)
        return document::ReadSectionPicture(*request.picture_file);
    if (!request.design_picture.empty())
        return request.design_picture;
    return std::nullopt;
}

}  // namespace

int WriteRunDocument(const RunDocumentRequest& request) {
    try {
        const document::ReportTexts reports{
            document::AsFileLines(request.wind), document::AsFileLines(request.glass),
            document::AsFileLines(request.member), DocumentPicture(request)};
        document::Warnings warnings;
        document::RecordedDocument recorded =
            document::RecordCalculationDocument(reports, warnings);
        recorded.info().author = request.engineer;
        for (const std::string& warning : warnings) std::cerr << warning << "\n";
        return WriteDocumentOutputs(recorded, request.outputs);
    } catch (const document::DocumentError& error) {
        std::cerr << document::ErrorLine(error) << "\n";
        return 1;
    }
}

}  // namespace quoinry::cli
