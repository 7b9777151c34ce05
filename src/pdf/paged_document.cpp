#include "pdf/paged_document.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace quoinry::pdf {
namespace {

// Text is laid out in points, whatever the device it is drawn on: a paint device of 72 dots per
// inch (2835 per metre) gives the layout that unit, and drawing scales it to the device.
QPaintDevice* PointDevice() {
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        image.setDotsPerMeterX(2835);
        image.setDotsPerMeterY(2835);
        return image;
    }();
    return &device;
}

// QTextDocument scales its lengths by the layout device's dots per inch over the screen's, which
// differs from one desktop to another: measured on a margin of known size.
double LengthScale() {
    QTextDocument probe;
    probe.documentLayout()->setPaintDevice(PointDevice());
    probe.setPlainText(QStringLiteral("x"));  // before the margin: it resets the root frame
    QTextFrameFormat frame = probe.rootFrame()->frameFormat();
    frame.setMargin(100);
    frame.setPadding(0);
    frame.setBorder(0);
    probe.rootFrame()->setFrameFormat(frame);
    const qreal left = probe.documentLayout()->blockBoundingRect(probe.firstBlock()).left();
    return left > 0 ? left / 100 : 1;
}

QString FooterText(int page, int pages) {
    return QStringLiteral("第 %1 页 共 %2 页").arg(page).arg(pages);
}

}  // namespace

PagedDocument::PagedDocument(const document::RecordedDocument& document,
                             const std::filesystem::path& font_file)
    : family_(DocumentFontFamily(font_file)), info_(document.info()) {
    layout_.length_scale = LengthScale();
    Build(document, nullptr);
    bool contents = false;
    for (const document::Block& block : document.blocks())
        contents = contents || block.kind == document::BlockKind::Contents;
    // The contents have as many lines with any page numbers; only when a number's width
    // wrapped an entry differently would the pages move, and another pass settles them.
    for (int pass = 0; contents && pass < 3; ++pass) {
        const std::vector<int> pages = heading_pages_;
        Build(document, &pages);
        if (heading_pages_ == pages)
            break;
    }
    IndexFlow();
}

PagedDocument::~PagedDocument() = default;

void PagedDocument::Build(const document::RecordedDocument& document,
                          const std::vector<int>* pages) {
    text_ = std::make_unique<QTextDocument>();
    pictures_ = std::make_unique<PictureObjects>(layout_);
    text_->documentLayout()->setPaintDevice(PointDevice());
    text_->documentLayout()->registerHandler(PictureObjects::kObjectType, pictures_.get());
    text_->setUseDesignMetrics(true);
    QFont font(family_);
    font.setPointSizeF(layout_.font_points);
    font.setHintingPreference(QFont::PreferNoHinting);
    text_->setDefaultFont(font);
    QTextOption option = text_->defaultTextOption();
    option.setTabStopDistance(layout_.Length(layout_.tab_points));
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    text_->setDefaultTextOption(option);
    text_->setPageSize(QSizeF(layout_.width, layout_.height));
    QTextFrameFormat frame = text_->rootFrame()->frameFormat();
    frame.setMargin(layout_.Length(layout_.margin));
    frame.setPadding(0);
    frame.setBorder(0);
    text_->rootFrame()->setFrameFormat(frame);

    // One change for the whole text: laid out once at its end instead of after every insertion,
    // which grows with the square of a project's length; and no undo history to keep.
    text_->setUndoRedoEnabled(false);
    QTextCursor whole(text_.get());
    whole.beginEditBlock();
    TextDocumentSink sink(*text_, *pictures_, layout_, family_, pages);
    document::Replay(document, sink);
    sink.Finish();
    whole.endEditBlock();
    warnings_ = sink.warnings();

    KeepHeadingsWithTheirText(sink.headings());
    heading_pages_.clear();
    for (const HeadingMark& heading : sink.headings())
        heading_pages_.push_back(PageOf(heading.at.block()));
}

int PagedDocument::PageOf(const QTextBlock& block) const {
    // A block moved to the next page keeps its place; its first line is what moves.
    qreal top = text_->documentLayout()->blockBoundingRect(block).top();
    if (const QTextLayout* lines = block.layout(); lines != nullptr && lines->lineCount() > 0)
        top += lines->lineAt(0).y();
    return static_cast<int>(std::floor(top / layout_.height)) + 1;
}

void PagedDocument::KeepHeadingsWithTheirText(const std::vector<HeadingMark>& headings) {
    // Each move sends one heading forward; the next layout shows what else is left alone.
    for (std::size_t moves = 0; moves <= headings.size(); ++moves) {
        const HeadingMark* alone = nullptr;
        for (const HeadingMark& heading : headings) {
            const QTextBlock block = heading.at.block();
            const QTextBlock next = block.next();
            if (next.isValid() && PageOf(next) > PageOf(block) &&
                block.blockFormat().pageBreakPolicy() == QTextFormat::PageBreak_Auto) {
                alone = &heading;
                break;
            }
        }
        if (alone == nullptr)
            return;
        QTextBlockFormat new_page;
        new_page.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(alone->at.block()).mergeBlockFormat(new_page);
    }
}

void PagedDocument::IndexFlow() {
    flow_.clear();
    QAbstractTextDocumentLayout* layout = text_->documentLayout();
    for (auto it = text_->rootFrame()->begin(); !it.atEnd(); ++it) {
        FlowPiece piece;
        QRectF box;
        if (QTextFrame* frame = it.currentFrame(); frame != nullptr) {
            piece.block = false;
            box = layout->frameBoundingRect(frame);
        } else {
            const QTextBlock block = it.currentBlock();
            piece.block_number = block.blockNumber();
            // Its lines as they lie: a line sent to the next page keeps the block's position
            // and moves down, which the block's bounding rectangle does not show.
            box = layout->blockBoundingRect(block);
            if (const QTextLayout* lines = block.layout(); lines != nullptr)
                box = lines->boundingRect().translated(lines->position()).united(box);
        }
        piece.top = box.top();
        piece.bottom = std::max(box.bottom(), flow_.empty() ? box.bottom() : flow_.back().bottom);
        flow_.push_back(piece);
    }
}

bool PagedDocument::DrawFlowOfPage(QPainter& painter, const QRectF& page) const {
    // The bottoms grow along the flow (kept so above): the first piece reaching into the page.
    auto first = std::lower_bound(flow_.begin(), flow_.end(), page.top(),
                                  [](const FlowPiece& p, qreal y) { return p.bottom < y; });
    std::vector<QTextBlock> blocks;
    for (auto it = first; it != flow_.end() && it->top <= page.bottom(); ++it) {
        if (!it->block)
            return false;
        blocks.push_back(text_->findBlockByNumber(it->block_number));
    }
    painter.setPen(Qt::black);
    for (const QTextBlock& block : blocks)
        if (block.isVisible() && block.layout() != nullptr)
            block.layout()->draw(&painter, QPointF(0, 0), {}, page);
    return true;
}

int PagedDocument::PageCount() const {
    return text_->pageCount();
}

void PagedDocument::PaintPage(QPainter& painter, int index) const {
    const QRectF page(0, index * layout_.height, layout_.width, layout_.height);
    painter.save();
    painter.translate(0, -page.top());
    painter.setClipRect(page, Qt::IntersectClip);
    if (!DrawFlowOfPage(painter, page)) {
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = page;
        // Black on white whatever the desktop's colours are.
        context.palette.setColor(QPalette::Text, Qt::black);
        text_->documentLayout()->draw(&painter, context);
    }
    painter.restore();

    QFont font(family_);
    font.setPointSizeF(layout_.small_points);
    QTextLayout footer(FooterText(index + 1, PageCount()), font, PointDevice());
    footer.beginLayout();
    QTextLine line = footer.createLine();
    line.setLineWidth(layout_.width);
    footer.endLayout();
    painter.save();
    painter.setPen(Qt::black);
    footer.draw(&painter, QPointF((layout_.width - line.naturalTextWidth()) / 2,
                                  layout_.height - layout_.footer_baseline - line.ascent()));
    painter.restore();
}

bool PagedDocument::Print(QPagedPaintDevice& device) const {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // Device pixels per point, the same both ways so that other paper keeps the proportions.
    const qreal scale = std::min(device.width() / layout_.width, device.height() / layout_.height);
    painter.scale(scale, scale);
    for (int page = 0; page < PageCount(); ++page) {
        if (page > 0)
            device.newPage();
        PaintPage(painter, page);
    }
    return painter.end();
}

}  // namespace quoinry::pdf
