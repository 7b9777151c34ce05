#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "document/document_sink.h"
#include "document/parted_document.h"

namespace quoinry::document {

// One font for the whole text, equal page margins, A4 paper. Sizes in half-points.
struct DocxLayout {
    std::string font = "宋体";
    std::string font_alt_name = "SimSun";  // the font's Latin name, for substitution
    int font_half_points = 28;
    int margin_twips = 1200;
    int small_half_points = 21;        // the footer and tables, 五号
    int cover_title_half_points = 44;  // 二号
    int cover_line_half_points = 32;   // 三号
};

// The twips of the text's width between the margins.
int TextWidthTwips(const DocxLayout& layout);

// A heading as the contents list it; its bookmark is its place among all headings, from 1.
struct DocxHeading {
    int level;
    std::string text;
    bool operator==(const DocxHeading&) const = default;
};

// WordprocessingML of the body, built block by block and taken away part by part (TakeXml), so
// that a long document is never held whole: headings with outline levels and bookmarks,
// superscript runs, inline metafile pictures, tables, a cover and the contents. The contents
// list every heading of the document with its page (a field the word processor fills in), so
// they need the headings of a first pass over the whole document; in that first pass (no
// headings given) they are left out, and ContentsSize() says how long they will be.
class DocxDocument : public DocumentSink {
  public:
    DocxDocument(DocxLayout layout, const std::vector<DocxHeading>* all_headings);

    void Cover(const CoverBlock& cover) override;
    void Contents(int max_level) override;
    void Heading(int level, const Runs& runs) override;
    void Paragraph(const Runs& runs) override;
    void Picture(const std::string& wmf, PictureSize size) override;
    void Table(const DocumentTable& table) override;
    void PageBreak() override;

    // The body's XML written since the last call.
    std::string TakeXml();
    // What closes the body: Word wants a paragraph after a table at the body's end.
    std::string Ending() const;
    // The length of the contents' XML of the first pass, with the headings it found.
    std::size_t ContentsSize() const;

    // The headings so far, in order.
    const std::vector<DocxHeading>& headings() const { return headings_; }
    // The distinct pictures in the order of their first use: word/media/image<n>.wmf.
    const std::vector<std::string>& pictures() const { return pictures_; }
    bool has_contents() const { return contents_ > 0; }
    const DocxLayout& layout() const { return layout_; }

  private:
    struct ContentsSlot {
        int max_level;
        bool page_break;  // the contents start a new page
    };

    // "<w:p><w:pPr>...": the paragraph's own properties, then the mark's run properties.
    void OpenParagraph(const std::string& own_properties, const std::string& run_properties);
    std::string TakePageBreak();
    std::string ContentsXml(const ContentsSlot& slot,
                            const std::vector<DocxHeading>& headings) const;

    DocxLayout layout_;
    const std::vector<DocxHeading>* all_headings_;
    std::string body_run_properties_;
    std::string body_;
    std::vector<std::string> pictures_;
    std::vector<ContentsSlot> skipped_contents_;  // first pass only
    std::vector<DocxHeading> headings_;
    int contents_ = 0;
    int drawings_ = 0;
    bool page_break_ = false;
    bool ends_with_table_ = false;
};

// Writes the document as a .docx package to `file`, replacing it: its parts composed one after
// another into the package's document.xml, so that the memory stays that of one part. Throws
// ZipError, DocumentError from composing a part, or DocumentError(Stopped) naming `out` when
// `stop` is set.
void WriteDocx(const PartedDocument& document, const std::filesystem::path& file, StopFlag stop,
               const std::filesystem::path& out);

}  // namespace quoinry::document
