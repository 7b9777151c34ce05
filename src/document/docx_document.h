#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quoinry::document {

// One font and size for the whole text, equal page margins, A4 paper.
struct DocxLayout {
    std::string font = "宋体";
    std::string font_alt_name = "SimSun";  // the font's Latin name, for substitution
    int font_half_points = 28;
    int margin_twips = 1200;
};

struct DocxProperties {
    std::string title;
    std::string creator;
    std::time_t created = 0;
};

// Size of an inline picture, in English Metric Units (12700 per point).
struct PictureSize {
    std::int64_t width_emu = 0;
    std::int64_t height_emu = 0;
};

std::int64_t PointsToEmu(double points);

// A Word document of plain paragraphs and inline pictures of one Windows metafile.
class DocxDocument {
  public:
    DocxDocument(DocxLayout layout, DocxProperties properties);

    // A paragraph of UTF-8 text, written as it is; an empty text gives an empty paragraph.
    void AddParagraph(std::string_view text);
    // A paragraph holding the metafile set by SetPicture.
    void AddPictureParagraph(PictureSize size);
    void SetPicture(std::string wmf_bytes);

    int drawing_count() const { return drawings_; }
    const std::string& picture() const { return picture_; }
    const DocxLayout& layout() const { return layout_; }
    const DocxProperties& properties() const { return properties_; }
    // The body paragraphs as WordprocessingML, without the section properties.
    const std::string& body() const { return body_; }

  private:
    DocxLayout layout_;
    DocxProperties properties_;
    std::string run_properties_;
    std::string body_;
    std::string picture_;
    int drawings_ = 0;
};

// Writes the document as a .docx package to `file`, replacing it. Throws ZipError.
void WriteDocx(const DocxDocument& document, const std::filesystem::path& file);

}  // namespace quoinry::document
