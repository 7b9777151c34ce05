#pragma once

#include <filesystem>

#include "document/calculation_document.h"
#include "document/recorded_document.h"
#include "pdf/document_font.h"

namespace quoinry::pdf {

class PagedDocument;

// Writes the document as a PDF (A4, the font embedded, title and program in its properties) to
// `out`, replacing an older one. The file appears only when it is complete. Needs a
// QGuiApplication. Throws document::DocumentError naming the font file to install, or `out`
// when it cannot be written. Returns warnings about pictures that could not be drawn.
document::Warnings WritePdf(const document::RecordedDocument& document,
                            const std::filesystem::path& out,
                            const std::filesystem::path& font_file = kDocumentFontFile);
// The same from pages already laid out.
void WritePdf(const PagedDocument& pages, const std::filesystem::path& out);

}  // namespace quoinry::pdf
