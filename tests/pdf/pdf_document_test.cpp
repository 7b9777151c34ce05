// The calculation document as a PDF, read back as a viewer shows it.
#include <unistd.h>

#include <QGlyphRun>
#include <QTextLayout>
#include <algorithm>
#include <sstream>

#include "../document_test_support.h"
#include "common/version.h"
#include "document/calculation_document.h"
#include "document/document_error.h"
#include "document/source_files.h"
#include "pdf/paged_document.h"
#include "pdf/pdf_writer.h"
#include "pdf_reading.h"

namespace quoinry::pdf {
namespace {

using namespace document::testing;
using namespace pdf::testing;
using document::Warnings;

constexpr double kPageWidth = 595.28;
constexpr double kPageHeight = 841.89;
constexpr double kMargin = 60;

// Each report line as the document sets it: exponents raised, without their "^".
std::vector<std::string> DocumentLines() {
    std::vector<std::string> lines;
    for (const char* report : {"wind.txt", "glass.txt", "gj.txt"}) {
        for (const std::string& line : document::ReadReportLines(kDocumentData / report)) {
            const std::string text =
                WithoutBreaks(document::RunsText(document::ExponentRuns(line)));
            if (!text.empty())
                lines.push_back(text);
        }
    }
    return lines;
}

class SamplePdf : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // Each test runs in a process of its own, several at once.
        folder_ = new fs::path(fs::temp_directory_path() /
                               ("quoinry-sample-pdf-" + std::to_string(::getpid())));
        fs::remove_all(*folder_);
        fs::create_directories(*folder_);
        Warnings warnings;
        const auto document = document::RecordCalculationDocument(
            document::ReportsIn(kDocumentData, kDocumentData / "xc.wmf"), warnings);
        ASSERT_TRUE(warnings.empty());
        EXPECT_TRUE(WritePdf(document, Pdf()).empty());
    }
    static void TearDownTestSuite() {
        fs::remove_all(*folder_);
        delete folder_;
    }
    static fs::path Pdf() { return *folder_ / "计算书.pdf"; }
    static fs::path* folder_;
};

fs::path* SamplePdf::folder_ = nullptr;

TEST_F(SamplePdf, HoldsEveryReportLineInOrder) {
    const std::string text = WithoutBreaks(PdfText(Pdf()));
    std::size_t at = 0;
    const std::vector<std::string> lines = DocumentLines();
    ASSERT_GT(lines.size(), 150u);
    for (const std::string& line : lines) {
        const std::size_t found = text.find(line, at);
        ASSERT_NE(found, std::string::npos) << "\"" << line << "\" is missing or out of order";
        at = found + line.size();
    }
}

TEST_F(SamplePdf, EveryPageFooterNamesItsNumberAndTheCount) {
    const std::vector<std::string> pages = PdfPages(Pdf());
    const int count = std::stoi(PdfInfo(Pdf(), "Pages"));
    ASSERT_EQ(static_cast<int>(pages.size()), count);
    ASSERT_GE(count, 4);  // some 200 lines of 14 pt
    for (int n = 1; n <= count; ++n) {
        const std::string footer =
            "第 " + std::to_string(n) + " 页 共 " + std::to_string(count) + " 页";
        EXPECT_NE(pages[static_cast<std::size_t>(n - 1)].find(footer), std::string::npos)
            << "page " << n;
    }
}

TEST_F(SamplePdf, IsA4WithTheFontEmbeddedAndTheProgramInItsProperties) {
    EXPECT_EQ(PdfInfo(Pdf(), "Page size"), "595 x 842 pts (A4)");
    EXPECT_EQ(PdfInfo(Pdf(), "Title"), "计算书");
    EXPECT_EQ(PdfInfo(Pdf(), "Creator"), std::string("Quoinry ") + kVersion);
    const std::string fonts = Output("pdffonts " + Quoted(Pdf()));
    EXPECT_NE(fonts.find("UMing"), std::string::npos) << fonts;
    // Every font line after the two header lines says "emb yes".
    std::istringstream lines(fonts);
    std::string line;
    int font_lines = 0;
    for (int n = 0; std::getline(lines, line); ++n) {
        if (n < 2)
            continue;
        ++font_lines;
        EXPECT_TRUE(std::regex_search(line, std::regex(" yes +(yes|no) +yes +\\d+ +\\d+$")))
            << line;
    }
    EXPECT_GE(font_lines, 1);
}

TEST_F(SamplePdf, TextKeepsTheMarginsAndTheSizeOfTheDocx) {
    const int pages = std::stoi(PdfInfo(Pdf(), "Pages"));
    for (int page = 1; page <= pages; ++page) {
        for (const Word& word : PdfWords(Pdf(), page)) {
            EXPECT_GE(word.x_min, kMargin - 0.1) << word.text;
            EXPECT_LE(word.x_max, kPageWidth - kMargin + 0.1) << word.text;
            EXPECT_LE(word.y_max, kPageHeight - 36) << word.text;  // the footer included
            // The footer lies in the lower margin, a superscript may rise above the first line.
            const bool small = word.y_max - word.y_min < 12;
            if (!small && word.y_max < kPageHeight - kMargin) {
                EXPECT_GE(word.y_min, kMargin - 1) << word.text;
            }
        }
    }
    // The first line: 14 pt characters; the ones below it 14 pt x 130 % apart.
    const std::vector<Word> words = PdfWords(Pdf(), 1);
    ASSERT_GE(words.size(), 3u);
    EXPECT_EQ(words[0].text, "基本参数:南京,基本风压:350Pa");
    EXPECT_NEAR(words[0].y_max - words[0].y_min, 14.65, 1.0);
    EXPECT_NEAR(words[0].x_min, kMargin, 0.1);
    EXPECT_EQ(words[1].text, "一、门窗承受荷载计算");
    EXPECT_NEAR(words[1].y_min - words[0].y_min, 2 * 18.2, 0.2);  // an empty line between
}

TEST_F(SamplePdf, SectionPictureIsDrawnBelowItsHeading) {
    const int pages = std::stoi(PdfInfo(Pdf(), "Pages"));
    for (int page = 1; page <= pages; ++page) {
        const std::vector<Word> words = PdfWords(Pdf(), page);
        for (std::size_t i = 0; i + 1 < words.size(); ++i) {
            if (words[i].text != "(3).选用型材的截面特性:")
                continue;
            // The picture, 278.65 x 170.1 pt, lies between the heading and the next line.
            const double top = words[i].y_max;
            const double bottom = words[i + 1].y_min;
            EXPECT_GE(bottom - top, 170.1);
            const Pixels inside =
                CountPixels(Pdf(), page, static_cast<int>(kMargin), static_cast<int>(top) + 2, 279,
                            static_cast<int>(bottom - top) - 4);
            EXPECT_GT(inside.dark, 300);  // lines of the section, not an empty box
            return;
        }
    }
    ADD_FAILURE() << "no section-properties heading in the PDF";
}

class ProjectPdf : public ::testing::Test {
  protected:
    void SetUp() override { warnings_ = WritePdf(ProjectDocument(), Pdf()); }
    fs::path Pdf() const { return folder_ / "项目.pdf"; }
    ScratchFolder folder_;
    Warnings warnings_;
};

// The page (from 1) whose text starts a line with `line`.
int PageWithLine(const std::vector<std::string>& pages, const std::string& line, int from = 1) {
    for (std::size_t i = static_cast<std::size_t>(from - 1); i < pages.size(); ++i) {
        if (("\n" + pages[i]).find("\n" + line + "\n") != std::string::npos)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

TEST_F(ProjectPdf, CoverThenContentsWithThePagesOfTheHeadings) {
    EXPECT_TRUE(warnings_.empty());
    const std::vector<std::string> pages = PdfPages(Pdf());
    ASSERT_GE(pages.size(), 5u);
    EXPECT_TRUE(pages[0].starts_with("某住宅小区门窗计算书\n工程名称:某住宅小区\n设计人:张工\n"));
    // Levels 1 and 2; each entry's page is where its heading is.
    const int summary = PageWithLine(pages, "汇总", 3);
    const int first = PageWithLine(pages, "C1", 3);
    const int second = PageWithLine(pages, "C2", first + 1);
    EXPECT_EQ(summary, 3);
    EXPECT_EQ(first, 4);
    EXPECT_EQ(second, 5);
    const std::string expected = "目录汇总" + std::to_string(summary) + "C1" +
                                 std::to_string(first) + "一、门窗承受荷载计算" +
                                 std::to_string(first) + "C2" + std::to_string(second) +
                                 "一、门窗承受荷载计算" + std::to_string(second) + "第2页";
    EXPECT_TRUE(WithoutBreaks(pages[1]).starts_with(expected)) << pages[1];
    EXPECT_EQ(pages[1].find("(1).风荷载标准值计算:"), std::string::npos);  // level 3
    // Each page number on its entry's line, flush with the right margin.
    const std::vector<Word> words = PdfWords(Pdf(), 2);
    auto is_number = [](const Word& word) {
        return word.text.find_first_not_of("0123456789") == std::string::npos;
    };
    int numbers = 0;
    for (const Word& number : words) {
        if (!is_number(number) || number.y_min > kPageHeight - kMargin)
            continue;
        ++numbers;
        EXPECT_NEAR(number.x_max, kPageWidth - kMargin, 2.0) << number.text;
        const bool entry_beside = std::any_of(words.begin(), words.end(), [&](const Word& entry) {
            return !is_number(entry) && std::abs(entry.y_min - number.y_min) < 1 &&
                   entry.x_max < number.x_min;
        });
        EXPECT_TRUE(entry_beside) << "page " << number.text << " is on a line of its own";
    }
    EXPECT_EQ(numbers, 5);
}

TEST_F(ProjectPdf, TableShowsItsCellsAndTheFailingOneInRed) {
    const std::vector<std::string> pages = PdfPages(Pdf());
    ASSERT_GE(pages.size(), 3u);
    const std::string table = WithoutBreaks(pages[2]);
    EXPECT_NE(table.find("窗号Wk(kN/m2)玻璃C11.105满足C22.310不满足"), std::string::npos)
        << pages[2];
    const Pixels page = CountPixels(Pdf(), 3, 0, 0, 595, 842);
    EXPECT_GT(page.red, 5);
    // The red is the failing cell's text only: the cell of "满足" above it has none.
    for (const Word& word : PdfWords(Pdf(), 3)) {
        const Pixels cell =
            CountPixels(Pdf(), 3, static_cast<int>(word.x_min), static_cast<int>(word.y_min),
                        static_cast<int>(word.x_max - word.x_min) + 1,
                        static_cast<int>(word.y_max - word.y_min) + 1);
        EXPECT_EQ(cell.red > 0, word.text == "不满足") << word.text;
    }
}

TEST_F(ProjectPdf, EachChapterStartsAPageWithItsPicture) {
    const std::vector<std::string> pages = PdfPages(Pdf());
    for (int page : {4, 5}) {
        const Pixels lower_half = CountPixels(Pdf(), page, 60, 150, 300, 250);
        EXPECT_GT(lower_half.dark, 300) << "page " << page;
    }
    EXPECT_EQ(std::stoi(PdfInfo(Pdf(), "Pages")), 5);
}

TEST(PdfFailures, MissingFontNamesTheFileAndThePackage) {
    ScratchFolder folder;
    document::RecordedDocument document;
    document.Paragraph(document::PlainRuns("x"));
    try {
        WritePdf(document, folder / "out.pdf", folder / "uming.ttc");
        ADD_FAILURE() << "no error";
    } catch (const document::DocumentError& error) {
        EXPECT_EQ(error.problem(), document::DocumentProblem::FontMissing);
        const std::string line = document::ErrorLine(error);
        EXPECT_NE(line.find((folder / "uming.ttc").string()), std::string::npos) << line;
        EXPECT_NE(line.find("fonts-arphic-uming"), std::string::npos) << line;
    }
    EXPECT_TRUE(folder.Entries().empty());
}

TEST(PdfFailures, UnwritablePlaceLeavesNothingAndAnOlderFileAlone) {
    ScratchFolder folder;
    document::RecordedDocument document;
    document.Paragraph(document::PlainRuns("x"));
    const fs::path missing = folder / "no such folder" / "out.pdf";
    try {
        WritePdf(document, missing);
        ADD_FAILURE() << "no error";
    } catch (const document::DocumentError& error) {
        EXPECT_EQ(error.problem(), document::DocumentProblem::DocumentUnwritable);
        EXPECT_EQ(error.file(), missing);
    }
    // A folder in the file's place cannot be replaced: the temporary file goes.
    fs::create_directories(folder / "taken.pdf" / "inside");
    EXPECT_THROW(WritePdf(document, folder / "taken.pdf"), document::DocumentError);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"taken.pdf"});
}

TEST(PdfPictures, AnUnreadablePictureLeavesItsPlaceEmptyWithAWarning) {
    ScratchFolder folder;
    document::RecordedDocument document;
    document.Picture(std::string("\xD7\xCD\xC6\x9A", 4) + std::string(40, '\0'), {100, 50});
    document.Picture(ReadBytes(kDocumentData / "xc.wmf"), {100, 50});
    const Warnings warnings = WritePdf(document, folder / "out.pdf");
    EXPECT_EQ(warnings, Warnings{"警告:截面图片无法读取,PDF 中图片位置留空"});
    EXPECT_EQ(std::stoi(PdfInfo(folder / "out.pdf", "Pages")), 1);
}

// The lines of a one-page document of `paragraphs`, as pdftotext reads them.
std::vector<std::string> LinesOf(const std::vector<std::string>& paragraphs, const fs::path& pdf) {
    document::RecordedDocument document;
    for (const std::string& paragraph : paragraphs)
        document.Paragraph(document::PlainRuns(paragraph));
    WritePdf(PagedDocument(document), pdf);
    std::vector<std::string> lines;
    std::istringstream text(PdfText(pdf));
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

// A citation in parentheses and a number with its unit are never split at the end of a line:
// preceded by 24 to 34 characters (a line holds 33.9), each comes at the line's end once.
TEST(PdfLines, KeepACitationAndANumberWithItsUnitTogether) {
    ScratchFolder folder;
    for (const std::string piece : {"(GB50009-2012 8.1.1-2)", "Wo=0.45 kPa"}) {
        std::vector<std::string> paragraphs;
        for (int before = 24; before <= 34; ++before) {
            std::string text;
            for (int i = 0; i < before; ++i) text += "风";
            paragraphs.push_back(text + piece + "规定");
        }
        int started_a_line = 0;
        const std::vector<std::string> lines = LinesOf(paragraphs, folder / "out.pdf");
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            if (line.find(piece) != std::string::npos) {
                started_a_line += line.starts_with(piece) ? 1 : 0;
                continue;
            }
            // Its first part at a line's end, and the rest not on the next line either.
            EXPECT_EQ(line.find(piece.substr(0, piece.find(' '))), std::string::npos)
                << line << " / " << (i + 1 < lines.size() ? lines[i + 1] : "");
        }
        // Those that did not fit went to the next line whole.
        EXPECT_GE(started_a_line, 2) << piece;
    }
}

// The radical stands against its operand: the word is narrower than its characters' widths
// side by side (14 pt each for √ and μ, 7 for z), by 30 per cent of the radical's.
TEST(PdfLines, SetTheRadicalWithItsOperand) {
    ScratchFolder folder;
    document::RecordedDocument document;
    document.Paragraph(document::PlainRuns("√μz"));
    WritePdf(PagedDocument(document), folder / "out.pdf");
    const std::vector<Word> words = PdfWords(folder / "out.pdf", 1);
    ASSERT_FALSE(words.empty());
    EXPECT_EQ(words[0].text, "√μz");
    EXPECT_NEAR(words[0].x_max - words[0].x_min, 35 - 0.3 * 14, 0.5);
}

// A heading never stays alone at the foot of a page: whatever number of lines comes before it,
// it is on the page of the line after it.
TEST(PdfHeadings, StayWithTheLineAfterThem) {
    ScratchFolder folder;
    for (int before = 30; before <= 44; ++before) {
        document::RecordedDocument document;
        for (int i = 0; i < before; ++i)
            document.Paragraph(document::PlainRuns("line " + std::to_string(i)));
        document.Heading(2, document::PlainRuns("(1).heading"));
        document.Paragraph(document::PlainRuns("after"));
        const PagedDocument paged(document);
        const fs::path pdf = folder / ("out" + std::to_string(before) + ".pdf");
        WritePdf(paged, pdf);
        const std::vector<std::string> pages = PdfPages(pdf);
        EXPECT_EQ(PageWithLine(pages, "(1).heading"), PageWithLine(pages, "after")) << before;
        EXPECT_EQ(paged.heading_pages(), std::vector<int>{PageWithLine(pages, "(1).heading")})
            << before;
    }
}

// The document's text is laid out without shaping: for its font that must give the glyphs and
// places shaping gives, for Chinese, Latin, Greek and the signs of the formulas alike (a font
// with ligatures or kerning pairs would fail here before a page moved).
TEST(PdfFont, UnshapedTextHasTheGlyphsAndPlacesOfShapedText) {
    std::string text;
    for (const std::string& line : DocumentLines()) text += line + " ";
    text +=
        "fi ffl AV To Wa (GB50009-2012 8.1.1-2) βgz μs μz √ ≤ ≥ × ÷ ± ° ² ³ ‰ ~ 第 1 页 共 2 页";
    auto glyphs = [&](QFont::StyleStrategy strategy) {
        QFont font(DocumentFontFamily());
        font.setPointSizeF(14);
        font.setStyleStrategy(strategy);
        QTextLayout layout(QString::fromStdString(text), font);
        layout.beginLayout();
        layout.createLine();  // one line, as wide as the text
        layout.endLayout();
        std::vector<std::pair<quint32, QPointF>> placed;
        for (const QGlyphRun& run : layout.glyphRuns()) {
            const QList<quint32> indexes = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            for (qsizetype i = 0; i < indexes.size(); ++i)
                placed.emplace_back(indexes[i], positions[i]);
        }
        std::sort(placed.begin(), placed.end(),
                  [](const auto& a, const auto& b) { return a.second.x() < b.second.x(); });
        return placed;
    };
    const auto shaped = glyphs(QFont::PreferDefault);
    const auto unshaped = glyphs(kDocumentFontStrategy);
    ASSERT_GT(shaped.size(), 1000u);
    ASSERT_EQ(unshaped.size(), shaped.size());
    for (std::size_t i = 0; i < shaped.size(); ++i) {
        ASSERT_EQ(unshaped[i].first, shaped[i].first) << i;
        ASSERT_NEAR(unshaped[i].second.x(), shaped[i].second.x(), 1e-3) << i;
        ASSERT_NEAR(unshaped[i].second.y(), shaped[i].second.y(), 1e-3) << i;
    }
}

}  // namespace
}  // namespace quoinry::pdf
