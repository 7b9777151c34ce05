#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "document/document_sink.h"
#include "document/recorded_document.h"

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

// A Word document built block by block: headings with outline levels and bookmarks, superscript
// runs, inline metafile pictures, tables, a cover and a contents field.
class DocxDocument : public DocumentSink {
  public:
    DocxDocument(DocxLayout layout, DocumentInfo info);

    void Cover(const CoverBlock& cover) override;
    void Contents(int max_level) override;
    void Heading(int level, const Runs& runs) override;
    void Paragraph(const Runs& runs) override;
    void Picture(const std::string& wmf, PictureSize size) override;
    void Table(const DocumentTable& table) override;
    void PageBreak() override;

    // The distinct pictures in the order of their first use: word/media/image<n>.wmf.
    const std::vector<std::string>& pictures() const { return pictures_; }
    int drawing_count() const { return drawings_; }
    bool has_contents() const { return !contents_.empty(); }
    const DocxLayout& layout() const { return layout_; }
    const DocumentInfo& info() const { return info_; }
    // The body's blocks as WordprocessingML with the contents filled in, without the section
    // properties.
    std::string Body() const;

  private:
    struct ContentsSlot {
        std::size_t offset;  // in body_
        int max_level;
        bool page_break;  // the contents start a new page
    };
    struct HeadingEntry {
        int level;
        std::string text;
        int bookmark;
    };

    // "<w:p><w:pPr>...": the paragraph's own properties, then the mark's run properties.
    void OpenParagraph(const std::string& own_properties, const std::string& run_properties);
    std::string TakePageBreak();
    std::string ContentsXml(const ContentsSlot& slot) const;

    DocxLayout layout_;
    DocumentInfo info_;
    std::string body_run_properties_;
    std::string body_;
    std::vector<std::string> pictures_;
    std::vector<ContentsSlot> contents_;
    std::vector<HeadingEntry> headings_;
    int drawings_ = 0;
    bool page_break_ = false;
    bool ends_with_table_ = false;
};

// The recorded document's blocks in a DocxDocument of the default layout.
DocxDocument DocxOf(const RecordedDocument& document);

// Writes the document as a .docx package to `file`, replacing it. Throws ZipError.
void WriteDocx(const DocxDocument& document, const std::filesystem::path& file);

}  // namespace quoinry::document
