#pragma once

#include <filesystem>
#include <memory>

#include "document/calculation_document.h"
#include "document/parted_document.h"
#include "document/recorded_document.h"
#include "pdf/document_font.h"
#include "pdf/text_document_sink.h"

class QPagedPaintDevice;
class QPainter;
class QRectF;
class QTextBlock;
class QTextDocument;
class QThread;

namespace quoinry::pdf {

// One part of a document laid out on A4 pages of its own in the Song-style font: the blocks'
// text flowing between the margins, the section pictures as vectors, the contents with the
// pages given. Needs a QGuiApplication.
class LaidOutPart {
  public:
    // `heading_pages` are the pages of the part's own headings for its contents (0 while not
    // known), `later` the contents' entries of the parts after it.
    // `keep_glyphs`: the shaped glyphs stay after the layout, so that drawing need not shape
    // the lines again (a few hundred kilobytes for a position's chapter).
    LaidOutPart(const document::PartedDocument& document, std::size_t part,
                const PageLayout& layout, const QString& family,
                const std::vector<int>* heading_pages, const std::vector<ContentsEntry>* later,
                bool keep_glyphs = false);
    ~LaidOutPart();
    LaidOutPart(const LaidOutPart&) = delete;
    LaidOutPart& operator=(const LaidOutPart&) = delete;

    int PageCount() const;
    // Draws page `index` (from 0) of the part, with "第 `number` 页 共 `total` 页" below, the
    // painter's units in points, its origin at the page's upper left corner.
    void PaintPage(QPainter& painter, int index, int number, int total) const;

    bool has_contents() const { return has_contents_; }
    // The part's headings with their pages in the part (from 1), in order.
    const std::vector<ContentsEntry>& headings() const { return headings_; }
    std::vector<int> HeadingPages() const;
    // About pictures that could not be drawn.
    const document::Warnings& warnings() const { return warnings_; }
    // Hands the part over to `thread`, which draws it and deletes it; called on the thread that
    // laid it out.
    void MoveToThread(QThread* thread);

  private:
    // A heading left alone at the foot of a page starts the next one, as its text does.
    void KeepHeadingsWithTheirText(const std::vector<HeadingMark>& headings);
    int PageOf(const QTextBlock& block) const;
    // Where each piece of the flow lies, so that a page is drawn from its own pieces: Qt's
    // layout walks the flow from the start for every page, which grows with the square of a
    // part's length.
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
    std::unique_ptr<QTextDocument> text_;
    std::unique_ptr<PictureObjects> pictures_;
    std::vector<ContentsEntry> headings_;
    bool has_contents_ = false;
    document::Warnings warnings_;
};

// The page layout of the document's font, measured for this desktop's Qt.
PageLayout DocumentPageLayout();

// Lays out the first part until the pages its contents show are those its headings land on;
// `later` are the headings of the parts after it with their pages counted from that part's
// end (they move with the first part's length).
std::unique_ptr<LaidOutPart> SettleFirstPart(const document::PartedDocument& document,
                                             const PageLayout& layout, const QString& family,
                                             const std::vector<ContentsEntry>& later);

// A one-part calculation document laid out whole, the same pages for the PDF, the print preview
// and the printer, with "第 N 页 共 M 页" in every footer and the contents with the pages of their
// headings. Needs a QGuiApplication.
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
    const document::Warnings& warnings() const { return part_->warnings(); }
    // The page (from 1) of each heading, in order.
    std::vector<int> heading_pages() const { return part_->HeadingPages(); }

  private:
    PageLayout layout_;
    document::DocumentInfo info_;
    std::unique_ptr<LaidOutPart> part_;
};

// Scales the painter so that a page in points fills the device's paper; false when the painter
// cannot begin on it.
bool BeginPages(QPainter& painter, QPagedPaintDevice& device, const PageLayout& layout);

}  // namespace quoinry::pdf
