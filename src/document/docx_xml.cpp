#include "document/docx_xml.h"

#include <cmath>

#include "document/xml_text.h"

namespace quoinry::document::docx {

std::string RunProperties(std::string_view font_name, const RunStyle& style) {
    const std::string font = XmlEscaped(font_name);
    const std::string size = std::to_string(style.half_points);
    std::string xml = "<w:rPr><w:rFonts w:ascii=\"" + font + "\" w:hAnsi=\"" + font +
                      "\" w:eastAsia=\"" + font + "\" w:cs=\"" + font + "\"/>";
    if (style.bold)
        xml += "<w:b/><w:bCs/>";
    if (style.red)
        xml += "<w:color w:val=\"FF0000\"/>";
    xml += "<w:sz w:val=\"" + size + "\"/><w:szCs w:val=\"" + size + "\"/>";
    if (style.superscript)
        xml += "<w:vertAlign w:val=\"superscript\"/>";
    return xml + "</w:rPr>";
}

void AppendRun(std::string& out, const std::string& run_properties, std::string_view text) {
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

void AppendRuns(std::string& out, std::string_view font, RunStyle style, const Runs& runs) {
    // By superscript and failing.
    std::string properties[2][2];
    const bool red = style.red;
    for (int raised = 0; raised < 2; ++raised) {
        for (int failing = 0; failing < 2; ++failing) {
            style.superscript = raised == 1;
            style.red = red || failing == 1;
            properties[raised][failing] = RunProperties(font, style);
        }
    }
    for (const TextRun& run : runs)
        AppendRun(out, properties[run.superscript][run.failing], run.text);
}

void AppendField(std::string& out, const std::string& run_properties,
                 std::string_view instruction) {
    auto mark = [&](const char* type) {
        out += "<w:r>" + run_properties + "<w:fldChar w:fldCharType=\"" + type + "\"/></w:r>";
    };
    mark("begin");
    out += "<w:r>" + run_properties + "<w:instrText xml:space=\"preserve\">";
    AppendXmlEscaped(out, instruction);
    out += "</w:instrText></w:r>";
    mark("separate");
    mark("end");
}

void AppendDrawing(std::string& out, int id, std::string_view relationship, std::int64_t width_emu,
                   std::int64_t height_emu) {
    const std::string cx = std::to_string(width_emu);
    const std::string cy = std::to_string(height_emu);
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
        std::string(relationship) +
        "\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm>"
        "<a:off x=\"0\" y=\"0\"/><a:ext cx=\"" +
        cx + "\" cy=\"" + cy +
        "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr></pic:pic>"
        "</a:graphicData></a:graphic></wp:inline></w:drawing>";
}

std::int64_t PointsToEmu(double points) {
    constexpr double kEmuPerPoint = 12700.0;
    return std::llround(points * kEmuPerPoint);
}

}  // namespace quoinry::document::docx
