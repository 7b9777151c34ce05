#include "document/docx_document.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>

#include "document/docx_parts.h"
#include "document/docx_xml.h"
#include "document/xml_text.h"
#include "document/zip_writer.h"

namespace quoinry::document {
namespace {

using docx::RunStyle;

constexpr int kPageWidthTwips = 11906;
// Larger is no picture for a page; the composer's sizes are far below.
constexpr double kMaxPicturePoints = 2000;

std::string Bookmark(int id) {
    return "_Toc" + std::to_string(id);
}

std::string Border(const char* side) {
    return std::string("<w:") + side +
           " w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>";
}

std::vector<int> ColumnWidths(const DocumentTable& table, int total) {
    std::size_t count = std::max<std::size_t>(table.header.size(), 1);
    for (const std::vector<TableCell>& row : table.rows) count = std::max(count, row.size());
    std::vector<double> weights = table.column_weights;
    const bool usable =
        weights.size() == count && std::all_of(weights.begin(), weights.end(),
                                               [](double w) { return std::isfinite(w) && w > 0; });
    if (!usable)
        weights.assign(count, 1.0);
    const double sum = std::accumulate(weights.begin(), weights.end(), 0.0);
    std::vector<int> widths;
    for (double w : weights) widths.push_back(static_cast<int>(total * w / sum));
    return widths;
}

}  // namespace

int TextWidthTwips(const DocxLayout& layout) {
    return kPageWidthTwips - 2 * layout.margin_twips;
}

DocxDocument::DocxDocument(DocxLayout layout, const std::vector<DocxHeading>* all_headings)
    : layout_(std::move(layout)),
      all_headings_(all_headings),
      body_run_properties_(docx::RunProperties(layout_.font, {layout_.font_half_points})) {}

void DocxDocument::OpenParagraph(const std::string& own_properties,
                                 const std::string& run_properties) {
    // The paragraph mark carries the font too, so empty lines keep the height of the text's.
    body_ += "<w:p><w:pPr>" + own_properties + run_properties + "</w:pPr>";
    ends_with_table_ = false;
}

std::string DocxDocument::TakePageBreak() {
    const bool pending = page_break_;
    page_break_ = false;
    return pending ? "<w:pageBreakBefore/>" : "";
}

void DocxDocument::Cover(const CoverBlock& cover) {
    const std::string title_run =
        docx::RunProperties(layout_.font, {layout_.cover_title_half_points, true});
    OpenParagraph(
        TakePageBreak() + "<w:spacing w:before=\"3600\" w:after=\"1200\"/><w:jc w:val=\"center\"/>",
        title_run);
    docx::AppendRun(body_, title_run, cover.title);
    body_ += "</w:p>";
    const std::string line_run =
        docx::RunProperties(layout_.font, {layout_.cover_line_half_points});
    for (const std::string& line : cover.lines) {
        OpenParagraph("<w:spacing w:after=\"240\"/><w:jc w:val=\"center\"/>", line_run);
        docx::AppendRun(body_, line_run, line);
        body_ += "</w:p>";
    }
}

void DocxDocument::Contents(int max_level) {
    const ContentsSlot slot{ClampedHeadingLevel(max_level), !TakePageBreak().empty()};
    if (all_headings_ != nullptr)
        body_ += ContentsXml(slot, *all_headings_);
    else
        skipped_contents_.push_back(slot);
    ++contents_;
    ends_with_table_ = false;
}

void DocxDocument::Heading(int level, const Runs& runs) {
    level = ClampedHeadingLevel(level);
    const int bookmark = static_cast<int>(headings_.size()) + 1;
    headings_.push_back({level, RunsText(runs)});
    OpenParagraph("<w:pStyle w:val=\"Heading" + std::to_string(level) + "\"/>" + TakePageBreak(),
                  body_run_properties_);
    const std::string id = std::to_string(bookmark);
    body_ += "<w:bookmarkStart w:id=\"" + id + "\" w:name=\"" + Bookmark(bookmark) + "\"/>";
    docx::AppendRuns(body_, layout_.font, {layout_.font_half_points}, runs);
    body_ += "<w:bookmarkEnd w:id=\"" + id + "\"/></w:p>";
}

void DocxDocument::Paragraph(const Runs& runs) {
    OpenParagraph(TakePageBreak(), body_run_properties_);
    docx::AppendRuns(body_, layout_.font, {layout_.font_half_points}, runs);
    body_ += "</w:p>";
}

void DocxDocument::Picture(const std::string& wmf, PictureSize size) {
    if (!(size.width > 0 && size.height > 0 && size.width < kMaxPicturePoints &&
          size.height < kMaxPicturePoints))
        throw std::invalid_argument("DocxDocument: picture size out of range");
    auto found = std::find(pictures_.begin(), pictures_.end(), wmf);
    if (found == pictures_.end())
        found = pictures_.insert(pictures_.end(), wmf);
    const int number = static_cast<int>(found - pictures_.begin()) + 1;
    OpenParagraph(TakePageBreak(), body_run_properties_);
    body_ += "<w:r>" + body_run_properties_;
    docx::AppendDrawing(body_, ++drawings_, parts::PictureRelationship(number),
                        docx::PointsToEmu(size.width), docx::PointsToEmu(size.height));
    body_ += "</w:r></w:p>";
}

void DocxDocument::Table(const DocumentTable& table) {
    if (page_break_) {
        // A table has no paragraph properties of its own to start a page with.
        page_break_ = false;
        OpenParagraph("", body_run_properties_);
        body_ += "<w:r>" + body_run_properties_ + "<w:br w:type=\"page\"/></w:r></w:p>";
    }
    const std::vector<int> widths = ColumnWidths(table, TextWidthTwips(layout_));
    body_ += "<w:tbl><w:tblPr><w:tblW w:w=\"" + std::to_string(TextWidthTwips(layout_)) +
             "\" w:type=\"dxa\"/><w:tblBorders>" + Border("top") + Border("left") +
             Border("bottom") + Border("right") + Border("insideH") + Border("insideV") +
             "</w:tblBorders><w:tblLayout w:type=\"fixed\"/></w:tblPr><w:tblGrid>";
    for (int width : widths) body_ += "<w:gridCol w:w=\"" + std::to_string(width) + "\"/>";
    body_ += "</w:tblGrid>";
    auto row = [&](const std::vector<TableCell>& cells, bool header) {
        body_ += header ? "<w:tr><w:trPr><w:tblHeader/></w:trPr>" : "<w:tr>";
        for (std::size_t i = 0; i < widths.size(); ++i) {
            const TableCell cell = i < cells.size() ? cells[i] : TableCell{};
            const RunStyle style{layout_.small_half_points, header, cell.failing};
            body_ += "<w:tc><w:tcPr><w:tcW w:w=\"" + std::to_string(widths[i]) +
                     "\" w:type=\"dxa\"/></w:tcPr><w:p><w:pPr>" +
                     std::string(header ? "<w:jc w:val=\"center\"/>" : "") +
                     docx::RunProperties(layout_.font, style) + "</w:pPr>";
            docx::AppendRuns(body_, layout_.font, style, cell.runs);
            body_ += "</w:p></w:tc>";
        }
        body_ += "</w:tr>";
    };
    if (!table.header.empty())
        row(table.header, true);
    for (const std::vector<TableCell>& cells : table.rows) row(cells, false);
    body_ += "</w:tbl>";
    ends_with_table_ = true;
}

void DocxDocument::PageBreak() {
    page_break_ = true;
}

std::string DocxDocument::ContentsXml(const ContentsSlot& slot,
                                      const std::vector<DocxHeading>& headings) const {
    const int max_level = slot.max_level;
    const std::string title_run =
        docx::RunProperties(layout_.font, {layout_.font_half_points, true});
    std::string xml = "<w:p><w:pPr>" + std::string(slot.page_break ? "<w:pageBreakBefore/>" : "") +
                      "<w:spacing w:after=\"240\"/><w:jc w:val=\"center\"/>" + title_run +
                      "</w:pPr>";
    docx::AppendRun(xml, title_run, "目  录");
    xml += "</w:p>";
    const std::string tabs = "<w:tabs><w:tab w:val=\"right\" w:leader=\"dot\" w:pos=\"" +
                             std::to_string(TextWidthTwips(layout_)) + "\"/></w:tabs>";
    for (std::size_t i = 0; i < headings.size(); ++i) {
        const DocxHeading& entry = headings[i];
        if (entry.level > max_level)
            continue;
        const int bookmark = static_cast<int>(i) + 1;
        xml += "<w:p><w:pPr><w:pStyle w:val=\"TOC" + std::to_string(entry.level) + "\"/>" + tabs +
               body_run_properties_ + "</w:pPr>";
        xml += "<w:hyperlink w:anchor=\"" + Bookmark(bookmark) + "\" w:history=\"1\">";
        docx::AppendRun(xml, body_run_properties_, entry.text);
        xml += "<w:r>" + body_run_properties_ + "<w:tab/></w:r>";
        // The page is the word processor's to fill in: a page reference of its own rather than
        // a contents field, whose entries LibreOffice would show as they were written.
        docx::AppendField(xml, body_run_properties_, " PAGEREF " + Bookmark(bookmark) + " \\h ");
        xml += "</w:hyperlink></w:p>";
    }
    return xml;
}

std::string DocxDocument::TakeXml() {
    std::string xml;
    xml.swap(body_);
    return xml;
}

std::string DocxDocument::Ending() const {
    return ends_with_table_ ? "<w:p><w:pPr>" + body_run_properties_ + "</w:pPr></w:p>" : "";
}

std::size_t DocxDocument::ContentsSize() const {
    std::size_t size = 0;
    for (const ContentsSlot& slot : skipped_contents_) size += ContentsXml(slot, headings_).size();
    return size;
}

}  // namespace quoinry::document
