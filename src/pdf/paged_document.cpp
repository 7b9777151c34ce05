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

PageLayout DocumentPageLayout() {
    PageLayout layout;
    layout.length_scale = LengthScale();
    return layout;
}

LaidOutPart::LaidOutPart(const document::PartedDocument& document, std::size_t part,
                         const PageLayout& layout, const QString& family,
                         const std::vector<int>* heading_pages,
                         const std::vector<ContentsEntry>* later, bool keep_glyphs)
    : layout_(layout), family_(family) {
    text_ = std::make_unique<QTextDocument>();
    pictures_ = std::make_unique<PictureObjects>(layout_);
    text_->documentLayout()->setPaintDevice(PointDevice());
    text_->documentLayout()->registerHandler(PictureObjects::kObjectType, pictures_.get());
    text_->setUseDesignMetrics(true);
    QFont font = DocumentFont(family_, layout_.font_points);
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
    // which grows with the square of the text's length; and no undo history to keep.
    text_->setUndoRedoEnabled(false);
    QTextCursor whole(text_.get());
    whole.beginEditBlock();
    TextDocumentSink sink(*text_, *pictures_, layout_, family_, heading_pages, later);
    document.ComposePart(part, sink);
    sink.Finish();
    for (QTextBlock block = text_->begin(); keep_glyphs && block.isValid(); block = block.next())
        block.layout()->setCacheEnabled(true);
    whole.endEditBlock();
    warnings_ = sink.warnings();
    has_contents_ = sink.has_contents();

    KeepHeadingsWithTheirText(sink.headings());
    for (const HeadingMark& heading : sink.headings())
        headings_.push_back({heading.level, heading.text, PageOf(heading.at.block())});
    IndexFlow();
}

LaidOutPart::~LaidOutPart() = default;

void LaidOutPart::MoveToThread(QThread* thread) {
    text_->moveToThread(thread);
    pictures_->moveToThread(thread);
}

std::vector<int> LaidOutPart::HeadingPages() const {
    std::vector<int> pages;
    for (const ContentsEntry& heading : headings_) pages.push_back(heading.page);
    return pages;
}

std::unique_ptr<LaidOutPart> SettleFirstPart(const document::PartedDocument& document,
                                             const PageLayout& layout, const QString& family,
                                             const std::vector<ContentsEntry>& later) {
    auto part = std::make_unique<LaidOutPart>(document, 0, layout, family, nullptr, &later);
    if (!part->has_contents())
        return part;
    // The contents have as many lines with any page numbers; only when a number's width
    // wrapped an entry differently would the pages move, and another pass settles them.
    for (int pass = 0; pass < 3; ++pass) {
        const std::vector<int> pages = part->HeadingPages();
        const int count = part->PageCount();
        std::vector<ContentsEntry> moved = later;
        for (ContentsEntry& entry : moved) entry.page += count;
        auto next = std::make_unique<LaidOutPart>(document, 0, layout, family, &pages, &moved);
        const bool settled = next->HeadingPages() == pages && next->PageCount() == count;
        part = std::move(next);
        if (settled)
            break;
    }
    return part;
}

namespace {

const std::vector<ContentsEntry> kNoLaterParts;

}  // namespace

PagedDocument::PagedDocument(const document::RecordedDocument& document,
                             const std::filesystem::path& font_file)
    : layout_(DocumentPageLayout()), info_(document.info()) {
    const QString family = DocumentFontFamily(font_file);
    part_ = SettleFirstPart(document, layout_, family, kNoLaterParts);
}

PagedDocument::~PagedDocument() = default;

int PagedDocument::PageCount() const {
    return part_->PageCount();
}

void PagedDocument::PaintPage(QPainter& painter, int index) const {
    part_->PaintPage(painter, index, index + 1, PageCount());
}

bool BeginPages(QPainter& painter, QPagedPaintDevice& device, const PageLayout& layout) {
    if (!painter.begin(&device))
        return false;
    // Device pixels per point, the same both ways so that other paper keeps the proportions.
    const qreal scale = std::min(device.width() / layout.width, device.height() / layout.height);
    painter.scale(scale, scale);
    return true;
}

bool PagedDocument::Print(QPagedPaintDevice& device) const {
    QPainter painter;
    if (!BeginPages(painter, device, layout_))
        return false;
    for (int page = 0; page < PageCount(); ++page) {
        if (page > 0)
            device.newPage();
        PaintPage(painter, page);
    }
    return painter.end();
}

int LaidOutPart::PageOf(const QTextBlock& block) const {
    // A block moved to the next page keeps its place; its first line is what moves.
    qreal top = text_->documentLayout()->blockBoundingRect(block).top();
    if (const QTextLayout* lines = block.layout(); lines != nullptr && lines->lineCount() > 0)
        top += lines->lineAt(0).y();
    return static_cast<int>(std::floor(top / layout_.height)) + 1;
}

void LaidOutPart::KeepHeadingsWithTheirText(const std::vector<HeadingMark>& headings) {
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

void LaidOutPart::IndexFlow() {
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

bool LaidOutPart::DrawFlowOfPage(QPainter& painter, const QRectF& page) const {
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

int LaidOutPart::PageCount() const {
    return text_->pageCount();
}

void LaidOutPart::PaintPage(QPainter& painter, int index, int number, int total) const {
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

    QTextLayout footer(FooterText(number, total), DocumentFont(family_, layout_.small_points),
                       PointDevice());
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

}  // namespace quoinry::pdf
