#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

// The calculation document as a sequence of blocks. The rules that turn reports into a document
// (calculation_document.h) talk only to a DocumentSink; each writer (the .docx here, the PDF and
// the print preview in the Qt library) is one sink and lays the blocks out in its own units.
//
// A project document (several designs in one file) is composed from the same blocks:
//
//     RecordedDocument project({"项目计算书", engineer, std::time(nullptr)});
//     project.Cover({"某住宅小区 3#楼 门窗计算书", {"工程名称:…", "设计人:…", "日期:…"}});
//     project.PageBreak();
//     project.Contents(2);                      // the designs and their parts
//     project.PageBreak();
//     project.Heading(1, PlainRuns("汇总"));
//     project.Table(summary);  // one row per design: Cell("Wk(kN/m^2)"), Cell("不满足", true)
//     for (each design) {
//         project.PageBreak();
//         project.Heading(1, PlainRuns(design name));
//         ComposeDesignChapter(reports, project, warnings, 2);  // its parts one level lower
//     }
//
// and then written by WriteDocxDocument(project, file) (calculation_document.h), by
// pdf::WritePdf(project, file) where Qt is loaded, or from the command line by
// cli::WriteDocumentOutputs(project, {docx, pdf}), which goes through the Qt module for the PDF.
// pdf/tools/sample_project.cpp composes the examples this way. A long document is better given
// to the writers as a PartedDocument (parted_document.h), composed a part at a time as they ask
// for it, so that it is never held whole: batch/project_chapters.h composes a project so.

namespace quoinry::document {

// A piece of text in one style: plain, or an exponent set as a superscript.
struct TextRun {
    std::string text;  // UTF-8
    bool superscript = false;
    bool failing = false;  // of a check that does not pass: set in red
    bool operator==(const TextRun&) const = default;
};
using Runs = std::vector<TextRun>;

// The text as one plain run; an empty text gives no runs.
Runs PlainRuns(std::string_view text);
// The runs' texts joined, superscripts as they are.
std::string RunsText(const Runs& runs);

// Size of a picture on the page, in points.
struct PictureSize {
    double width = 0;
    double height = 0;
};

struct TableCell {
    Runs runs;
    bool failing = false;  // a check that does not pass: set in red
};

// A cell of `text`, with its exponents ("kN/m^2") as superscripts.
TableCell Cell(std::string_view text, bool failing = false);

// A table across the text width with a header row that repeats on every page.
struct DocumentTable {
    std::vector<TableCell> header;
    std::vector<std::vector<TableCell>> rows;  // rows shorter than the header are filled up
    // Each column's share of the width; empty or of another size than the header: equal.
    std::vector<double> column_weights;
};

// The title of a cover page, large and centred, and the lines below it.
struct CoverBlock {
    std::string title;
    std::vector<std::string> lines;
};

// The file's properties.
struct DocumentInfo {
    std::string title;   // "计算书"
    std::string author;  // the engineer; empty when not known
    std::time_t created = 0;
};

inline constexpr int kMaxHeadingLevel = 3;

// Every writer takes every block; a page footer "第 N 页 共 M 页" is on every page.
class DocumentSink {
  public:
    virtual ~DocumentSink() = default;

    virtual void Cover(const CoverBlock& cover) = 0;
    // "目录": every heading of the document of level 1 .. max_level with its page.
    virtual void Contents(int max_level) = 0;
    // A heading of level 1 .. kMaxHeadingLevel (others are clamped), shown in an outline.
    virtual void Heading(int level, const Runs& runs) = 0;
    // A paragraph; no runs gives an empty line.
    virtual void Paragraph(const Runs& runs) = 0;
    // A Windows metafile drawn at `size`.
    virtual void Picture(const std::string& wmf, PictureSize size) = 0;
    virtual void Table(const DocumentTable& table) = 0;
    // The next block starts a new page.
    virtual void PageBreak() = 0;
};

int ClampedHeadingLevel(int level);

}  // namespace quoinry::document
