#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/docx_document.h"

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

// The calculation document (计算书): one paragraph for every line of wind.txt, then of glass.txt,
// then of gj.txt; after each gj.txt line that is exactly kSectionPropertiesHeading a paragraph
// with the section picture embedded at kPictureWidthPoints x kPictureHeightPoints; and a last
// empty paragraph, where the typing of the last line ended. The whole text in 宋体 14 pt,
// page margins 60 pt, A4.
// Throws DocumentError when a report is missing or unreadable, or when a heading needs the
// picture and the picture file is missing, unreadable or not a Windows metafile.
DocxDocument ComposeCalculationDocument(const DocumentSources& sources, Warnings& warnings);
// The same from reports already read; a picture that is not a metafile throws DocumentError.
DocxDocument ComposeCalculationDocument(const ReportTexts& reports, Warnings& warnings);

// Composes the calculation document and writes it to `out` (a .docx file), replacing an older
// one. The file appears only when it is complete: on a DocumentError nothing new is left behind
// and an older `out` stays as it was. Returns the warnings, e.g. for a missing picture.
Warnings BuildCalculationDocument(const DocumentSources& sources, const std::filesystem::path& out);
Warnings BuildCalculationDocument(const ReportTexts& reports, const std::filesystem::path& out);

}  // namespace quoinry::document
