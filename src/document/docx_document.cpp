#include "document/docx_document.h"

#include <cmath>
#include <stdexcept>

#include "document/docx_parts.h"
#include "document/xml_text.h"
#include "document/zip_writer.h"

namespace quoinry::document {
namespace {

constexpr double kEmuPerPoint = 12700.0;

void AppendTextRun(std::string& out, const std::string& run_properties, std::string_view text) {
    out += "<w:r>";
    out += run_properties;
    std::size_t start = 0;
    while (true) {
        // A tab is its own element in WordprocessingML; inside w:t it would count as a space.
        const std::size_t tab = text.find('\t', start);
        const std::string_view piece = text.substr(start, tab - start);
        if (!piece.empty()) {
            out += "<w:t xml:space=\"preserve\">";
            AppendXmlEscaped(out, piece);
            out += "</w:t>";
        }
        if (tab == std::string_view::npos)
            break;
        out += "<w:tab/>";
        start = tab + 1;
    }
    out += "</w:r>";
}

void AppendDrawing(std::string& out, int id, PictureSize size) {
    const std::string cx = std::to_string(size.width_emu);
    const std::string cy = std::to_string(size.height_emu);
    const std::string number = std::to_string(id);
    out +=
        "<w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\"><wp:extent cx=\"" +
        cx + "\" cy=\"" + cy +
        "\"/><wp:effectExtent l=\"0\" t=\"0\" r=\"0\" b=\"0\"/><wp:docPr id=\"" + number +
        "\" name=\"Picture " + number +
        "\"/><wp:cNvGraphicFramePr/><a:graphic><a:graphicData "
        "uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic>"
        "<pic:nvPicPr><pic:cNvPr id=\"" +
        number + "\" name=\"Picture " + number +
        "\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip r:embed=\"" +
        parts::kPictureRelationship +
        "\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm>"
        "<a:off x=\"0\" y=\"0\"/><a:ext cx=\"" +
        cx + "\" cy=\"" + cy +
        "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr></pic:pic>"
        "</a:graphicData></a:graphic></wp:inline></w:drawing>";
}

}  // namespace

std::int64_t PointsToEmu(double points) {
    return std::llround(points * kEmuPerPoint);
}

DocxDocument::DocxDocument(DocxLayout layout, DocxProperties properties)
    : layout_(std::move(layout)),
      properties_(std::move(properties)),
      run_properties_(parts::RunProperties(layout_)) {}

void DocxDocument::AddParagraph(std::string_view text) {
    // The paragraph mark carries the font too, so empty lines keep the height of the text's.
    body_ += "<w:p><w:pPr>" + run_properties_ + "</w:pPr>";
    if (!text.empty())
        AppendTextRun(body_, run_properties_, text);
    body_ += "</w:p>";
}

void DocxDocument::AddPictureParagraph(PictureSize size) {
    if (picture_.empty())
        throw std::logic_error("DocxDocument: picture paragraph without picture");
    body_ += "<w:p><w:pPr>" + run_properties_ + "</w:pPr><w:r>" + run_properties_;
    AppendDrawing(body_, ++drawings_, size);
    body_ += "</w:r></w:p>";
}

void DocxDocument::SetPicture(std::string wmf_bytes) {
    picture_ = std::move(wmf_bytes);
}

void WriteDocx(const DocxDocument& document, const std::filesystem::path& file) {
    const bool with_picture = document.drawing_count() > 0;
    ZipWriter zip(file);
    zip.Add("[Content_Types].xml", parts::ContentTypes());
    zip.Add("_rels/.rels", parts::PackageRelationships());
    zip.Add("word/document.xml", parts::Document(document));
    zip.Add("word/_rels/document.xml.rels", parts::DocumentRelationships(with_picture));
    zip.Add("word/styles.xml", parts::Styles(document.layout()));
    zip.Add("word/settings.xml", parts::Settings());
    zip.Add("word/fontTable.xml", parts::FontTable(document.layout()));
    if (with_picture)
        zip.Add(parts::kPicturePart, document.picture());
    zip.Add("docProps/core.xml", parts::CoreProperties(document.properties()));
    zip.Add("docProps/app.xml", parts::AppProperties());
    zip.Close();
}

}  // namespace quoinry::document
