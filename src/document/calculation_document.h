#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/document_sink.h"
#include "document/recorded_document.h"

namespace quoinry::document {

// The gj.txt line after which the section picture goes; the whole line must match.
inline constexpr std::string_view kSectionPropertiesHeading = "(3).选用型材的截面特性:";
inline constexpr double kPictureWidthPoints = 278.65;
inline constexpr double kPictureHeightPoints = 170.1;

struct DocumentSources {
    std::filesystem::path wind;   // wind.txt
    std::filesystem::path glass;  // glass.txt
    std::filesystem::path gj;     // gj.txt
    // The section picture (xc.wmf). Without one, the picture's place stays an empty paragraph
    // and a warning says so.
    std::optional<std::filesystem::path> picture;
};

// wind.txt, glass.txt and gj.txt in `folder`, with the given picture.
DocumentSources ReportsIn(const std::filesystem::path& folder,
                          std::optional<std::filesystem::path> picture);

// The reports' lines (UTF-8) as their files hold them, and the section picture's bytes.
struct ReportTexts {
    std::vector<std::string> wind;
    std::vector<std::string> glass;
    std::vector<std::string> gj;
    std::optional<std::string> picture;  // a Windows metafile
};

// Report lines as a report file holds them: a character CP936 cannot write reads back as "?",
// and a line break inside a line splits it, so that a document made from memory equals the one
// made from the files.
std::vector<std::string> AsFileLines(const std::vector<std::string>& report_lines);

// The reports and, when gj.txt has the section-properties heading, the picture. Throws
// DocumentError naming a file that is missing or unreadable, or a picture that is no metafile.
ReportTexts ReadReports(const DocumentSources& sources);

// Texts for the user (UTF-8) about a document that was built all the same.
using Warnings = std::vector<std::string>;

// The reports of one design as a part of a document: every line of wind.txt, then of glass.txt,
// then of gj.txt, as a paragraph, or as a heading when it is one (一、… at `top_level`, (1).… one
// level lower; report_text.h), its exponents as superscripts; after each gj.txt line that is
// exactly kSectionPropertiesHeading the section picture at kPictureWidthPoints x
// kPictureHeightPoints, or without a picture an empty paragraph and a warning.
// Throws DocumentError when a heading needs the picture and it is not a Windows metafile.
void ComposeDesignChapter(const ReportTexts& reports, DocumentSink& sink, Warnings& warnings,
                          int top_level = 1);

// The calculation document (计算书) of one design: its chapter at level 1 and a last empty
// paragraph, where the typing of the last line ended. The writers set it in 宋体 14 pt, page
// margins 60 pt, A4, with "第 N 页 共 M 页" in the footer.
void ComposeCalculationDocument(const ReportTexts& reports, DocumentSink& sink, Warnings& warnings);
// The same, kept for several writers. Reads the files of `sources` first (see ReadReports).
RecordedDocument RecordCalculationDocument(const ReportTexts& reports, Warnings& warnings);
RecordedDocument RecordCalculationDocument(const DocumentSources& sources, Warnings& warnings);

// What the title block at the head of one design's document names.
struct TitleBlock {
    std::string name;  // the design's or position's
    std::string project;
    std::string designer;  // 设计
    std::string checker;   // 校核
    std::string approver;  // 审核
    std::string date;
    std::string edition;    // the codes, as the windows name them ("GB 50009-2012 + GB 55001-2021")
    std::string note = {};  // what the checker must know (default material values); may be empty
};

// The title block: a table of its names, then an empty paragraph.
void ComposeTitleBlock(const TitleBlock& title, DocumentSink& sink);
// The calculation document of one design with its title block first.
RecordedDocument RecordCalculationDocument(const ReportTexts& reports, const TitleBlock& title,
                                           Warnings& warnings);

// Title "计算书", made now.
DocumentInfo CalculationDocumentInfo();

// Writes `document` as a .docx file to `out`, replacing an older one, a part at a time. The file
// appears only when it is complete: on a DocumentError (also Stopped, when `stop` is set) nothing
// new is left behind and an older `out` stays as it was.
void WriteDocxDocument(const PartedDocument& document, const std::filesystem::path& out,
                       StopFlag stop = nullptr);

// Composes the calculation document and writes it to `out` as WriteDocxDocument does. Returns
// the warnings, e.g. for a missing picture. Throws DocumentError when a report is missing or
// unreadable, or when a heading needs the picture and it is missing, unreadable or not a
// Windows metafile.
Warnings BuildCalculationDocument(const DocumentSources& sources, const std::filesystem::path& out);
Warnings BuildCalculationDocument(const ReportTexts& reports, const std::filesystem::path& out);

}  // namespace quoinry::document
