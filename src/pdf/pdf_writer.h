#pragma once

#include <filesystem>

#include "document/calculation_document.h"
#include "document/parted_document.h"
#include "pdf/document_font.h"

namespace quoinry::pdf {

class PagedDocument;

// Writes the document as a PDF (A4, the font embedded, title and program in its properties) to
// `out`, replacing an older one, a part at a time: a first pass lays out every part for its pages
// (the contents' pages and the page count of the footers), the second lays it out again and draws
// it, so that only a few parts are held at once; both passes lay parts out on a second thread,
// and `document` is asked for one part at a time. The file appears only when it is complete. Needs
// a QGuiApplication. Throws document::DocumentError naming the font file to install, `out` when it
// cannot be written or when `stop` was set (Stopped), or what composing a part threw. Returns
// warnings about pictures that could not be drawn.
document::Warnings WritePdf(const document::PartedDocument& document,
                            const std::filesystem::path& out,
                            const std::filesystem::path& font_file = kDocumentFontFile,
                            document::StopFlag stop = nullptr);
// The same from pages already laid out.
void WritePdf(const PagedDocument& pages, const std::filesystem::path& out);

}  // namespace quoinry::pdf
