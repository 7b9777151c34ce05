#include "document/docx_parts.h"

#include <ctime>

#include "common/version.h"
#include "document/docx_xml.h"
#include "document/xml_text.h"

namespace quoinry::document::parts {
namespace {

constexpr const char* kXmlDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr const char* kWordNamespace =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";
constexpr const char* kRelationshipTypes =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// A4 in twips.
constexpr int kPageWidthTwips = 11906;
constexpr int kPageHeightTwips = 16838;
constexpr int kHeaderFooterTwips = 720;

std::string Relationship(const std::string& id, const std::string& type,
                         const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + type + "\" Target=\"" + target + "\"/>";
}

std::string FontAttributes(const DocxLayout& layout) {
    const std::string font = XmlEscaped(layout.font);
    return "w:ascii=\"" + font + "\" w:hAnsi=\"" + font + "\" w:eastAsia=\"" + font + "\" w:cs=\"" +
           font + "\"";
}

constexpr const char* kFooterRelationship = "rIdFooter";

std::string SectionProperties(const DocxLayout& layout) {
    const std::string margin = std::to_string(layout.margin_twips);
    return std::string("<w:sectPr><w:footerReference w:type=\"default\" r:id=\"") +
           kFooterRelationship + "\"/><w:pgSz w:w=\"" + std::to_string(kPageWidthTwips) +
           "\" w:h=\"" + std::to_string(kPageHeightTwips) + "\"/><w:pgMar w:top=\"" + margin +
           "\" w:right=\"" + margin + "\" w:bottom=\"" + margin + "\" w:left=\"" + margin +
           "\" w:header=\"" + std::to_string(kHeaderFooterTwips) + "\" w:footer=\"" +
           std::to_string(kHeaderFooterTwips) + "\" w:gutter=\"0\"/></w:sectPr>";
}

std::string W3cTime(std::time_t time) {
    char text[32] = "1970-01-01T00:00:00Z";
    if (const std::tm* utc = std::gmtime(&time)) {
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", utc);
    }
    return text;
}

}  // namespace

std::string PicturePart(int n) {
    return "word/media/image" + std::to_string(n) + ".wmf";
}

std::string PictureRelationship(int n) {
    return "rIdPicture" + std::to_string(n);
}

std::string ContentTypes() {
    constexpr const char* kOfficeTypes = "application/vnd.openxmlformats-officedocument.";
    auto override_part = [&](const char* part, const std::string& type) {
        return std::string("<Override PartName=\"/") + part + "\" ContentType=\"" + type + "\"/>";
    };
    return std::string(kXmlDeclaration) +
           "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
           "<Default Extension=\"rels\" "
           "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
           "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
           "<Default Extension=\"wmf\" ContentType=\"image/x-wmf\"/>" +
           override_part("word/document.xml",
                         std::string(kOfficeTypes) + "wordprocessingml.document.main+xml") +
           override_part("word/styles.xml",
                         std::string(kOfficeTypes) + "wordprocessingml.styles+xml") +
           override_part("word/settings.xml",
                         std::string(kOfficeTypes) + "wordprocessingml.settings+xml") +
           override_part("word/fontTable.xml",
                         std::string(kOfficeTypes) + "wordprocessingml.fontTable+xml") +
           override_part(kFooterPart, std::string(kOfficeTypes) + "wordprocessingml.footer+xml") +
           override_part("docProps/core.xml",
                         "application/vnd.openxmlformats-package.core-properties+xml") +
           override_part("docProps/app.xml",
                         std::string(kOfficeTypes) + "extended-properties+xml") +
           "</Types>";
}

std::string PackageRelationships() {
    const std::string office = kRelationshipTypes;
    return std::string(kXmlDeclaration) +
           "<Relationships "
           "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
           Relationship("rId1", office + "officeDocument", "word/document.xml") +
           Relationship("rId2",
                        "http://schemas.openxmlformats.org/package/2006/relationships/"
                        "metadata/core-properties",
                        "docProps/core.xml") +
           Relationship("rId3", office + "extended-properties", "docProps/app.xml") +
           "</Relationships>";
}

std::string DocumentRelationships(int pictures) {
    const std::string office = kRelationshipTypes;
    std::string xml =
        std::string(kXmlDeclaration) +
        "<Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
        Relationship("rId1", office + "styles", "styles.xml") +
        Relationship("rId2", office + "settings", "settings.xml") +
        Relationship("rId3", office + "fontTable", "fontTable.xml") +
        Relationship(kFooterRelationship, office + "footer", std::string(kFooterPart).substr(5));
    // Targets are relative to word/.
    for (int n = 1; n <= pictures; ++n)
        xml += Relationship(PictureRelationship(n), office + "image", PicturePart(n).substr(5));
    return xml + "</Relationships>";
}

std::string DocumentStart() {
    return std::string(kXmlDeclaration) + "<w:document " + kWordNamespace +
           " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
           " xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\""
           " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
           " xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><w:body>";
}

std::string DocumentEnd(const DocxLayout& layout) {
    return SectionProperties(layout) + "</w:body></w:document>";
}

std::string Styles(const DocxLayout& layout) {
    const std::string size = std::to_string(layout.font_half_points);
    std::string headings;
    // Word and LibreOffice know the headings by these names and show their outline levels.
    for (int level = 1; level <= kMaxHeadingLevel; ++level) {
        const std::string n = std::to_string(level);
        headings += "<w:style w:type=\"paragraph\" w:styleId=\"Heading" + n +
                    "\"><w:name w:val=\"heading " + n +
                    "\"/><w:basedOn w:val=\"Normal\"/><w:next w:val=\"Normal\"/><w:uiPriority "
                    "w:val=\"9\"/><w:qFormat/><w:pPr><w:keepNext/><w:outlineLvl w:val=\"" +
                    std::to_string(level - 1) +
                    "\"/></w:pPr><w:rPr><w:b/><w:bCs/></w:rPr></w:style>";
    }
    for (int level = 1; level <= kMaxHeadingLevel; ++level) {
        const std::string n = std::to_string(level);
        headings += "<w:style w:type=\"paragraph\" w:styleId=\"TOC" + n +
                    "\"><w:name w:val=\"toc " + n +
                    "\"/><w:basedOn w:val=\"Normal\"/><w:next w:val=\"Normal\"/><w:uiPriority "
                    "w:val=\"39\"/><w:unhideWhenUsed/><w:pPr><w:ind w:left=\"" +
                    std::to_string((level - 1) * 420) + "\"/></w:pPr></w:style>";
    }
    return std::string(kXmlDeclaration) + "<w:styles " + kWordNamespace +
           "><w:docDefaults><w:rPrDefault><w:rPr><w:rFonts " + FontAttributes(layout) +
           "/><w:sz w:val=\"" + size + "\"/><w:szCs w:val=\"" + size +
           "\"/><w:lang w:val=\"en-US\" w:eastAsia=\"zh-CN\" w:bidi=\"ar-SA\"/></w:rPr>"
           "</w:rPrDefault><w:pPrDefault><w:pPr>"
           "<w:spacing w:after=\"0\" w:line=\"240\" w:lineRule=\"auto\"/></w:pPr></w:pPrDefault>"
           "</w:docDefaults>"
           "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\">"
           "<w:name w:val=\"Normal\"/><w:qFormat/></w:style>"
           "<w:style w:type=\"character\" w:default=\"1\" w:styleId=\"DefaultParagraphFont\">"
           "<w:name w:val=\"Default Paragraph Font\"/><w:uiPriority w:val=\"1\"/><w:semiHidden/>"
           "<w:unhideWhenUsed/></w:style>" +
           headings + "</w:styles>";
}

std::string Settings(bool update_fields) {
    // Without a compatibility mode Word opens the file in the mode of Word 2007.
    return std::string(kXmlDeclaration) + "<w:settings " + kWordNamespace +
           "><w:defaultTabStop w:val=\"420\"/>"
           "<w:characterSpacingControl w:val=\"compressPunctuation\"/>" +
           (update_fields ? "<w:updateFields w:val=\"true\"/>" : "") +
           "<w:compat><w:compatSetting w:name=\"compatibilityMode\" "
           "w:uri=\"http://schemas.microsoft.com/office/word\" w:val=\"15\"/></w:compat>"
           "</w:settings>";
}

std::string Footer(const DocxLayout& layout) {
    const std::string run = docx::RunProperties(layout.font, {layout.small_half_points});
    std::string xml = std::string(kXmlDeclaration) + "<w:ftr " + kWordNamespace +
                      " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                      "relationships\"><w:p><w:pPr><w:jc w:val=\"center\"/>" +
                      run + "</w:pPr>";
    docx::AppendRun(xml, run, "第 ");
    docx::AppendField(xml, run, " PAGE ");
    docx::AppendRun(xml, run, " 页 共 ");
    docx::AppendField(xml, run, " NUMPAGES ");
    docx::AppendRun(xml, run, " 页");
    return xml + "</w:p></w:ftr>";
}

std::string FontTable(const DocxLayout& layout) {
    std::string alt_name;
    if (!layout.font_alt_name.empty()) {
        alt_name = "<w:altName w:val=\"" + XmlEscaped(layout.font_alt_name) + "\"/>";
    }
    // Charset 86 (GB2312) lets a word processor without the font pick a Chinese one instead.
    return std::string(kXmlDeclaration) + "<w:fonts " + kWordNamespace + "><w:font w:name=\"" +
           XmlEscaped(layout.font) + "\">" + alt_name +
           "<w:charset w:val=\"86\"/><w:family w:val=\"auto\"/><w:pitch w:val=\"variable\"/>"
           "</w:font></w:fonts>";
}

std::string CoreProperties(const DocumentInfo& info) {
    const std::string time = W3cTime(info.created);
    return std::string(kXmlDeclaration) +
           "<cp:coreProperties "
           "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
           "xmlns:dcterms=\"http://purl.org/dc/terms/\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
           "<dc:title>" +
           XmlEscaped(info.title) + "</dc:title><dc:creator>" +
           XmlEscaped(info.author.empty() ? std::string("Quoinry") : info.author) +
           "</dc:creator><cp:version>" + kVersion +
           "</cp:version><dcterms:created xsi:type=\"dcterms:W3CDTF\">" + time +
           "</dcterms:created><dcterms:modified xsi:type=\"dcterms:W3CDTF\">" + time +
           "</dcterms:modified></cp:coreProperties>";
}

std::string AppProperties() {
    return std::string(kXmlDeclaration) +
           "<Properties "
           "xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
           "<Application>Quoinry " +
           kVersion + "</Application></Properties>";
}

}  // namespace quoinry::document::parts
