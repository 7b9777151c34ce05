#pragma once

#include <QObject>
#include <QTextCursor>
#include <QTextObjectInterface>
#include <map>
#include <vector>

#include "document/calculation_document.h"
#include "document/document_sink.h"
#include "profile/wmf_reader.h"

class QTextDocument;

namespace quoinry::pdf {

// The page and the text in points: A4 and the margins and sizes of the .docx.
struct PageLayout {
    double width = 595.276;
    double height = 841.89;
    double margin = 60;
    double font_points = 14;
    double small_points = 10.5;  // the footer and tables
    double cover_title_points = 22;
    double cover_line_points = 16;
    // Of the font's own line height, about what a word processor's single spacing gives 宋体.
    double line_height_percent = 130;
    double footer_baseline = 40;  // above the paper's lower edge
    double tab_points = 21;       // the .docx's default tab stop
    double picture_pen_points = 0.5;
    // What QTextDocument multiplies most of its lengths by (frame margins, borders, a block's
    // space above and below, tab stops; not a block's indent): the layout device's dots per
    // inch over the screen's. Those lengths are divided by it.
    double length_scale = 1;

    double TextWidth() const { return width - 2 * margin; }
    // A length in points as QTextDocument takes it.
    double Length(double points) const { return points / length_scale; }
};

// The section pictures of one text document, drawn as vectors where the layout puts them.
class PictureObjects : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

  public:
    static constexpr int kObjectType = QTextFormat::UserObject + 1;
    static constexpr int kIndexProperty = QTextFormat::UserProperty + 1;

    explicit PictureObjects(const PageLayout& layout) : layout_(layout) {}

    // The object index of a picture; an unreadable one is kept empty and reported in `warnings`.
    int Add(const std::string& wmf, document::PictureSize size, document::Warnings& warnings);

    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;

  private:
    struct Item {
        profile::Picture picture;
        QSizeF size;
    };
    const Item* Find(const QTextFormat& format) const;

    PageLayout layout_;
    std::vector<Item> items_;
};

// A heading of the text document, followed by its block however the text before it changes.
struct HeadingMark {
    int level = 1;
    QString text;
    QTextCursor at;
};

// A line of the contents: a heading and its page (from 1; 0 while it is not known).
struct ContentsEntry {
    int level = 1;
    QString text;
    int page = 0;
    bool operator==(const ContentsEntry&) const = default;
};

// `text` with the spaces inside a citation in parentheses ("(GB50009-2012 8.1.1-2)") and between a
// number and its unit ("0.45 kN/m^2") made no-break spaces, so that a line never breaks there;
// the font draws them as wide as a space.
QString KeptTogether(QString text);

// Builds a QTextDocument from the blocks of a calculation document (or of one part of it). The
// contents (目录) get their entries when Finish() runs: this text's own headings with the pages
// given (0 before the first layout), then `later`, the headings of the parts after it.
class TextDocumentSink : public document::DocumentSink {
  public:
    TextDocumentSink(QTextDocument& target, PictureObjects& pictures, const PageLayout& layout,
                     const QString& family, const std::vector<int>* heading_pages,
                     const std::vector<ContentsEntry>* later = nullptr);

    void Cover(const document::CoverBlock& cover) override;
    void Contents(int max_level) override;
    void Heading(int level, const document::Runs& runs) override;
    void Paragraph(const document::Runs& runs) override;
    void Picture(const std::string& wmf, document::PictureSize size) override;
    void Table(const document::DocumentTable& table) override;
    void PageBreak() override;

    void Finish();

    const std::vector<HeadingMark>& headings() const { return headings_; }
    bool has_contents() const { return !contents_.empty(); }
    const document::Warnings& warnings() const { return warnings_; }

  private:
    struct ContentsSlot {
        QTextCursor after_title;
        int max_level;
    };

    QTextCharFormat TextFormat(double points, bool bold = false) const;
    // Starts a block: the document's first, the one after a table, or a new one.
    void NewBlock(QTextBlockFormat block, const QTextCharFormat& text);
    void InsertRuns(const document::Runs& runs, const QTextCharFormat& text);
    void InsertContents(const ContentsSlot& slot);
    // The width of `blanks` spaces in a paragraph's text.
    qreal IndentOf(std::size_t blanks, const QTextCharFormat& text);

    QTextDocument& target_;
    PictureObjects& pictures_;
    PageLayout layout_;
    QString family_;
    const std::vector<int>* heading_pages_;
    const std::vector<ContentsEntry>* later_;
    QTextCursor cursor_;
    bool reuse_block_ = true;
    bool page_break_ = false;
    std::vector<HeadingMark> headings_;
    std::vector<ContentsSlot> contents_;
    std::map<std::size_t, qreal> indents_;
    document::Warnings warnings_;
};

}  // namespace quoinry::pdf
