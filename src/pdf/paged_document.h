#pragma once

#include <filesystem>
#include <memory>

#include "document/calculation_document.h"
#include "document/recorded_document.h"
#include "pdf/document_font.h"
#include "pdf/text_document_sink.h"

class QPagedPaintDevice;
class QPainter;
class QRectF;
class QTextBlock;
class QTextDocument;

namespace quoinry::pdf {

// A calculation document laid out on A4 pages in the Song-style font, the same pages for the
// PDF, the print preview and the printer: the blocks' text flowing between the margins, the
// section pictures as vectors, "第 N 页 共 M 页" in every footer, the contents with the pages of
// their headings. Needs a QGuiApplication.
class PagedDocument {
  public:
    // Throws document::DocumentError (FontMissing) when the font file cannot be loaded.
    explicit PagedDocument(const document::RecordedDocument& document,
                           const std::filesystem::path& font_file = kDocumentFontFile);
    ~PagedDocument();
    PagedDocument(const PagedDocument&) = delete;
    PagedDocument& operator=(const PagedDocument&) = delete;

    int PageCount() const;
    // Draws page `index` (from 0) with the painter's units in points, its origin at the page's
    // upper left corner.
    void PaintPage(QPainter& painter, int index) const;
    // Draws every page onto a PDF writer or a printer, scaled to its paper; false when the
    // device cannot be painted on.
    bool Print(QPagedPaintDevice& device) const;

    const document::DocumentInfo& info() const { return info_; }
    const PageLayout& layout() const { return layout_; }
    // About pictures that could not be drawn.
    const document::Warnings& warnings() const { return warnings_; }
    // The page (from 1) of each heading, in order.
    const std::vector<int>& heading_pages() const { return heading_pages_; }

  private:
    void Build(const document::RecordedDocument& document, const std::vector<int>* pages);
    // A heading left alone at the foot of a page starts the next one, as its text does.
    void KeepHeadingsWithTheirText(const std::vector<HeadingMark>& headings);
    int PageOf(const QTextBlock& block) const;
    // Where each piece of the flow lies, so that a page is drawn from its own pieces: Qt's
    // layout walks the flow from the start for every page, which grows with the square of a
    // project's length.
    void IndexFlow();
    bool DrawFlowOfPage(QPainter& painter, const QRectF& page) const;

    struct FlowPiece {
        qreal top = 0;
        qreal bottom = 0;
        bool block = true;  // false: a frame (a table), drawn by the document's layout
        int block_number = -1;
    };
    std::vector<FlowPiece> flow_;

    PageLayout layout_;
    QString family_;
    document::DocumentInfo info_;
    std::unique_ptr<QTextDocument> text_;
    std::unique_ptr<PictureObjects> pictures_;
    std::vector<int> heading_pages_;
    document::Warnings warnings_;
};

}  // namespace quoinry::pdf
