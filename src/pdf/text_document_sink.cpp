#include "pdf/text_document_sink.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <algorithm>
#include <cmath>

#include "pdf/document_font.h"
#include "pdf/metafile_painter.h"

namespace quoinry::pdf {
namespace {

// The .docx puts 180 pt above the cover's title; the empty block of the title's size takes 22.
constexpr double kCoverSpacePoints = 158;

constexpr const char* kUnreadablePictureWarning = "警告:截面图片无法读取,PDF 中图片位置留空";

QString Q(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString TextOf(const document::Runs& runs) {
    return Q(document::RunsText(runs));
}

constexpr QChar kRadical(0x221A);
constexpr QChar kNoBreakSpace(0x00A0);
// Per cent of the radical's advance (an absolute spacing is lost on the layout's paint device).
constexpr double kRadicalAdvance = 70;

bool IsChinese(QChar c) {
    return c.script() == QChar::Script_Han;
}

bool StartsUnit(QChar c) {
    return (c.isLetter() && c.script() != QChar::Script_Han) || c == u'%' || c == u'°';
}

}  // namespace

QString KeptTogether(QString text) {
    // A citation in parentheses, a code and its clause: no Chinese inside.
    qsizetype open = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'(' || text[i] == u'(') {
            open = i;
        } else if ((text[i] == u')' || text[i] == u')') && open >= 0) {
            const auto inside = QStringView(text).sliced(open + 1, i - open - 1);
            if (std::none_of(inside.begin(), inside.end(), IsChinese))
                for (qsizetype j = open + 1; j < i; ++j)
                    if (text[j] == u' ')
                        text[j] = kNoBreakSpace;
            open = -1;
        }
    }
    // A number and the unit after it.
    for (qsizetype i = 1; i + 1 < text.size(); ++i)
        if (text[i] == u' ' && text[i - 1].isDigit() && StartsUnit(text[i + 1]))
            text[i] = kNoBreakSpace;
    return text;
}

int PictureObjects::Add(const std::string& wmf, document::PictureSize size,
                        document::Warnings& warnings) {
    Item item;
    const profile::WmfReading reading = profile::ReadWmf(wmf);
    if (reading.message.empty()) {
        item.picture = reading.picture;
    } else if (std::find(warnings.begin(), warnings.end(), kUnreadablePictureWarning) ==
               warnings.end()) {
        warnings.push_back(kUnreadablePictureWarning);
    }
    const bool usable = std::isfinite(size.width) && std::isfinite(size.height) && size.width > 0 &&
                        size.height > 0;
    // Never wider or taller than the text area, so a picture always fits a page.
    item.size = usable ? QSizeF(std::min(size.width, layout_.TextWidth()),
                                std::min(size.height, layout_.height - 2 * layout_.margin))
                       : QSizeF(1, 1);
    items_.push_back(std::move(item));
    return static_cast<int>(items_.size()) - 1;
}

const PictureObjects::Item* PictureObjects::Find(const QTextFormat& format) const {
    const int index = format.intProperty(kIndexProperty);
    if (index < 0 || static_cast<std::size_t>(index) >= items_.size())
        return nullptr;
    return &items_[static_cast<std::size_t>(index)];
}

QSizeF PictureObjects::intrinsicSize(QTextDocument*, int, const QTextFormat& format) {
    const Item* item = Find(format);
    return item != nullptr ? item->size : QSizeF();
}

void PictureObjects::drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                                const QTextFormat& format) {
    const Item* item = Find(format);
    if (item == nullptr)
        return;
    // The pen is cosmetic: its width is in the device's pixels.
    const qreal device_pixels_per_point = painter->device()->logicalDpiX() / 72.0;
    DrawMetafile(*painter, item->picture, rect,
                 layout_.picture_pen_points * device_pixels_per_point);
}

TextDocumentSink::TextDocumentSink(QTextDocument& target, PictureObjects& pictures,
                                   const PageLayout& layout, const QString& family,
                                   const std::vector<int>* heading_pages,
                                   const std::vector<ContentsEntry>* later)
    : target_(target),
      pictures_(pictures),
      layout_(layout),
      family_(family),
      heading_pages_(heading_pages),
      later_(later),
      cursor_(&target) {}

QTextCharFormat TextDocumentSink::TextFormat(double points, bool bold) const {
    QTextCharFormat format;
    format.setFontFamilies({family_});
    format.setFontStyleStrategy(kDocumentFontStrategy);
    format.setFontPointSize(points);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setForeground(Qt::black);
    return format;
}

void TextDocumentSink::NewBlock(QTextBlockFormat block, const QTextCharFormat& text) {
    // The text's first block starts its first page already: a break there would leave it empty.
    const bool first = reuse_block_ && cursor_.atStart();
    if (page_break_ && !first)
        block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    page_break_ = false;
    if (reuse_block_) {
        cursor_.setBlockFormat(block);
        cursor_.setBlockCharFormat(text);
        reuse_block_ = false;
    } else {
        cursor_.insertBlock(block, text);
    }
    cursor_.setCharFormat(text);
}

void TextDocumentSink::InsertRuns(const document::Runs& runs, const QTextCharFormat& text) {
    for (const document::TextRun& run : runs) {
        QTextCharFormat format = text;
        if (run.superscript)
            format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        if (run.failing)
            format.setForeground(Qt::red);
        const QString kept = KeptTogether(Q(run.text));
        // The font's radical is as wide as a Chinese character with its bar ending short of
        // that: the operand moves in under the bar's end.
        qsizetype from = 0;
        for (qsizetype at = kept.indexOf(kRadical); at >= 0; at = kept.indexOf(kRadical, from)) {
            cursor_.insertText(kept.mid(from, at - from), format);
            QTextCharFormat radical = format;
            radical.setFontLetterSpacingType(QFont::PercentageSpacing);
            radical.setFontLetterSpacing(kRadicalAdvance);
            cursor_.insertText(QString(kRadical), radical);
            from = at + 1;
        }
        cursor_.insertText(kept.mid(from), format);
    }
}

void TextDocumentSink::Cover(const document::CoverBlock& cover) {
    // The space above the title as an empty block: a page's first block loses its own.
    QTextBlockFormat space;
    space.setBottomMargin(layout_.Length(kCoverSpacePoints));
    NewBlock(space, TextFormat(layout_.cover_title_points));
    QTextBlockFormat title;
    title.setAlignment(Qt::AlignHCenter);
    title.setBottomMargin(layout_.Length(60));
    NewBlock(title, TextFormat(layout_.cover_title_points, true));
    cursor_.insertText(Q(cover.title));
    for (const std::string& line : cover.lines) {
        QTextBlockFormat block;
        block.setAlignment(Qt::AlignHCenter);
        block.setBottomMargin(layout_.Length(12));
        NewBlock(block, TextFormat(layout_.cover_line_points));
        cursor_.insertText(Q(line));
    }
}

void TextDocumentSink::Contents(int max_level) {
    QTextBlockFormat title;
    title.setAlignment(Qt::AlignHCenter);
    title.setBottomMargin(layout_.Length(12));
    NewBlock(title, TextFormat(layout_.font_points, true));
    cursor_.insertText(QStringLiteral("目  录"));
    // The entries go in here once every heading is known; the blocks that follow now are
    // inserted at this position and must not move the mark.
    QTextCursor after_title = cursor_;
    after_title.setKeepPositionOnInsert(true);
    contents_.push_back({after_title, document::ClampedHeadingLevel(max_level)});
}

void TextDocumentSink::Heading(int level, const document::Runs& runs) {
    level = document::ClampedHeadingLevel(level);
    QTextBlockFormat block;
    block.setHeadingLevel(level);
    block.setLineHeight(layout_.line_height_percent, QTextBlockFormat::ProportionalHeight);
    const QTextCharFormat text = TextFormat(layout_.font_points, true);
    NewBlock(block, text);
    QTextCursor at = cursor_;
    at.movePosition(QTextCursor::StartOfBlock);
    at.setKeepPositionOnInsert(true);
    headings_.push_back({level, TextOf(runs), at});
    InsertRuns(runs, text);
}

qreal TextDocumentSink::IndentOf(std::size_t blanks, const QTextCharFormat& text) {
    // Measured once for each number of blanks: loading the font for a measurement costs more
    // than laying the line out.
    auto [at, added] = indents_.try_emplace(blanks, 0.0);
    if (added) {
        const QFontMetricsF metrics(text.font(), target_.documentLayout()->paintDevice());
        at->second =
            metrics.horizontalAdvance(QString(static_cast<qsizetype>(blanks), QLatin1Char(' ')));
    }
    return at->second;
}

void TextDocumentSink::Paragraph(const document::Runs& runs) {
    QTextBlockFormat block;
    block.setLineHeight(layout_.line_height_percent, QTextBlockFormat::ProportionalHeight);
    const QTextCharFormat text = TextFormat(layout_.font_points);
    // A line that wraps keeps its indent: the leading blanks become the block's margin, so that
    // the continuation starts below the formula's first character, not at the page's margin.
    document::Runs indented = runs;
    if (!indented.empty() && !indented.front().superscript) {
        std::string& first = indented.front().text;
        const std::size_t blanks = std::min(first.find_first_not_of(' '), first.size());
        if (blanks > 0) {
            block.setLeftMargin(IndentOf(blanks, text));
            first.erase(0, blanks);
        }
    }
    NewBlock(block, text);
    InsertRuns(indented, text);
}

void TextDocumentSink::Picture(const std::string& wmf, document::PictureSize size) {
    NewBlock(QTextBlockFormat(), TextFormat(layout_.font_points));
    QTextCharFormat object;
    object.setObjectType(PictureObjects::kObjectType);
    object.setProperty(PictureObjects::kIndexProperty, pictures_.Add(wmf, size, warnings_));
    cursor_.insertText(QString(QChar::ObjectReplacementCharacter), object);
}

void TextDocumentSink::Table(const document::DocumentTable& table) {
    int columns = std::max(1, static_cast<int>(table.header.size()));
    for (const auto& row : table.rows) columns = std::max(columns, static_cast<int>(row.size()));
    const int header_rows = table.header.empty() ? 0 : 1;
    const int rows = header_rows + static_cast<int>(table.rows.size());
    if (rows == 0)
        return;

    QTextTableFormat format;
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setBorder(layout_.Length(0.5));
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(Qt::black);
    format.setCellSpacing(0);
    format.setCellPadding(layout_.Length(3));
    format.setHeaderRowCount(header_rows);
    std::vector<double> weights = table.column_weights;
    const bool usable = static_cast<int>(weights.size()) == columns &&
                        std::all_of(weights.begin(), weights.end(),
                                    [](double w) { return std::isfinite(w) && w > 0; });
    if (!usable)
        weights.assign(static_cast<std::size_t>(columns), 1.0);
    double sum = 0;
    for (double w : weights) sum += w;
    QList<QTextLength> widths;
    for (double w : weights)
        widths.push_back(QTextLength(QTextLength::PercentageLength, 100 * w / sum));
    format.setColumnWidthConstraints(widths);
    if (page_break_)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    page_break_ = false;

    QTextTable* text_table = cursor_.insertTable(rows, columns, format);
    auto fill = [&](int row, const std::vector<document::TableCell>& cells, bool header) {
        for (int column = 0; column < columns; ++column) {
            const auto index = static_cast<std::size_t>(column);
            const document::TableCell cell =
                index < cells.size() ? cells[index] : document::TableCell{};
            QTextCharFormat text = TextFormat(layout_.small_points, header);
            if (cell.failing)
                text.setForeground(Qt::red);
            QTextCursor at = text_table->cellAt(row, column).firstCursorPosition();
            if (header) {
                QTextBlockFormat centred;
                centred.setAlignment(Qt::AlignHCenter);
                at.setBlockFormat(centred);
            }
            QTextCharFormat raised = text;
            raised.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
            for (const document::TextRun& run : cell.runs)
                at.insertText(Q(run.text), run.superscript ? raised : text);
        }
    };
    if (header_rows > 0)
        fill(0, table.header, true);
    for (std::size_t r = 0; r < table.rows.size(); ++r)
        fill(header_rows + static_cast<int>(r), table.rows[r], false);
    cursor_ = text_table->lastCursorPosition();
    cursor_.movePosition(QTextCursor::NextBlock);
    reuse_block_ = true;
}

void TextDocumentSink::PageBreak() {
    page_break_ = true;
}

void TextDocumentSink::InsertContents(const ContentsSlot& slot) {
    std::vector<ContentsEntry> entries;
    for (std::size_t i = 0; i < headings_.size(); ++i) {
        const int page =
            heading_pages_ != nullptr && i < heading_pages_->size() ? (*heading_pages_)[i] : 0;
        entries.push_back({headings_[i].level, headings_[i].text, page});
    }
    if (later_ != nullptr)
        entries.insert(entries.end(), later_->begin(), later_->end());
    QTextCursor at(&target_);
    at.setPosition(slot.after_title.position());
    for (const ContentsEntry& heading : entries) {
        if (heading.level > slot.max_level)
            continue;
        QTextBlockFormat entry;
        const double indent = (heading.level - 1) * layout_.tab_points;
        entry.setLeftMargin(indent);
        entry.setLineHeight(layout_.line_height_percent, QTextBlockFormat::ProportionalHeight);
        // Measured from the indented start; a hair inside the margin, or the number wraps.
        entry.setTabPositions({QTextOption::Tab(layout_.Length(layout_.TextWidth() - indent - 1),
                                                QTextOption::RightTab)});
        at.insertBlock(entry, TextFormat(layout_.font_points));
        at.insertText(heading.text + QLatin1Char('\t') + QString::number(heading.page),
                      TextFormat(layout_.font_points));
    }
}

void TextDocumentSink::Finish() {
    for (const ContentsSlot& slot : contents_) InsertContents(slot);
}

}  // namespace quoinry::pdf
