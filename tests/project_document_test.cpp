// quoinry batch --docx/--pdf: the project's calculation document read back, as a Word file
// (libzip) and as a PDF (pdftotext).
#include <sys/wait.h>

#include <cstdlib>
#include <regex>

#include "batch_test_support.h"
#include "common/cp936.h"

namespace quoinry {
namespace {

using namespace batch_testing;
using document::testing::Elements;
using document::testing::Paragraphs;
using document::testing::ParagraphStyles;
using document::testing::ReadZip;
using document::testing::RunText;

// 10 mm walls pass at 2400 mm span; 1 mm walls fail the member check; "abc" stops the member
// step; a row of too many cells cannot be read at all.
const std::string kSchedule =
    "name,gj.te10,gj.te11\r\nstrong,10,12\r\nweak,1,1\r\nbad,abc,12\r\nextra,10,12,99\r\n";
const std::string kCounts = "4 个计算位置: 1 个满足, 1 个不满足, 2 个出错\n";

bool OnPath(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Output(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return out;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
    return out;
}

// The report lines of a position's folder, in the order the chapter holds them.
std::vector<std::string> ReportLines(const fs::path& folder) {
    std::vector<std::string> lines;
    for (const char* report : {"wind.txt", "glass.txt", "gj.txt"}) {
        std::string text = Cp936ToUtf8(ReadBytes(folder / report));
        for (std::size_t end; (end = text.find("\r\n")) != std::string::npos;) {
            lines.push_back(text.substr(0, end));
            text.erase(0, end + 2);
        }
    }
    return lines;
}

std::size_t IndexOf(const std::vector<std::string>& items, const std::string& item,
                    std::size_t from = 0) {
    for (std::size_t i = from; i < items.size(); ++i) {
        if (items[i] == item)
            return i;
    }
    return items.size();
}

class ProjectDocument : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string base = kBatchBase;
        base.replace(base.find("name=base\n"), 10,
                     "name=base\nproject=某小区3#楼\nengineer=张工\n");
        WriteBytes(folder_ / "base.ini", base);
        WriteBytes(folder_ / "s.csv", kSchedule);
    }
    Finished Batch(const std::string& arguments) {
        return RunProgram(folder_.path(), "batch s.csv --base base.ini " + arguments);
    }
    std::string DocumentXml(const fs::path& docx) { return ReadZip(docx)["word/document.xml"]; }
    ScratchFolder folder_;
};

TEST_F(ProjectDocument, WordFileHasCoverContentsSummaryAndOneChapterPerPositionInOrder) {
    const Finished run = Batch("--out o --docx p.docx --jobs 2");
    ASSERT_EQ(run.status, 1) << run.err;  // the unreadable row
    EXPECT_EQ(run.out, kCounts);
    const std::string xml = DocumentXml(folder_ / "p.docx");
    const std::vector<std::string> paragraphs = Paragraphs(xml);
    const std::vector<std::string> styles = ParagraphStyles(xml);
    ASSERT_FALSE(paragraphs.empty());

    EXPECT_EQ(paragraphs[0], "某小区3#楼 门窗结构计算书");
    for (const char* line : {"工程名称:某小区3#楼", "建设地点:江苏省 南京", "基本风压:350 Pa",
                             "地面粗糙度:B类", "计算规范:GB 50009-2001", "设计:张工", "校核:", "审核:"})
        EXPECT_LT(IndexOf(paragraphs, line), 12u) << line;
    const std::size_t contents = IndexOf(paragraphs, "目  录");
    const std::size_t summary = IndexOf(paragraphs, "计算结果汇总");
    // The chapters' headings; the names in the summary table are paragraphs of its cells.
    const auto chapter = [&](const std::string& name) {
        std::size_t at = IndexOf(paragraphs, name, summary);
        while (at < paragraphs.size() && styles[at] != "Heading1")
            at = IndexOf(paragraphs, name, at + 1);
        return at;
    };
    const std::size_t strong = chapter("strong");
    const std::size_t weak = chapter("weak");
    const std::size_t bad = chapter("bad");
    const std::size_t extra = chapter("第5行");
    EXPECT_LT(contents, summary);
    EXPECT_LT(summary, strong);
    EXPECT_LT(strong, weak);
    ASSERT_LT(weak, bad);
    ASSERT_LT(bad, extra);
    ASSERT_LT(extra, paragraphs.size());

    // Each chapter is its reports' lines; without a section picture its place stays empty.
    for (const auto& [begin, end, name] :
         {std::tuple{strong, weak, "strong"}, std::tuple{weak, bad, "weak"}}) {
        std::vector<std::string> expected = ReportLines(folder_ / "o" / name);
        const std::size_t heading = IndexOf(expected, "(3).选用型材的截面特性:");
        ASSERT_LT(heading, expected.size()) << name;
        expected.insert(expected.begin() + static_cast<long>(heading) + 1, "");
        const std::vector<std::string> chapter(paragraphs.begin() + static_cast<long>(begin) + 1,
                                               paragraphs.begin() + static_cast<long>(end));
        EXPECT_EQ(chapter, expected) << name;
        EXPECT_EQ(styles[begin + 3], "Heading2") << name;  // 一、… after the basic data
        EXPECT_EQ(paragraphs[begin + 3], "一、门窗承受荷载计算");
    }
    // A position stopped by an error, and a row that could not be read (named after its place):
    // the error, no reports.
    ASSERT_EQ(bad + 2, extra);
    EXPECT_EQ(paragraphs[bad + 1].rfind("本位置没有计算:第4行 B列“gj.te10”", 0), 0u)
        << paragraphs[bad + 1];
    ASSERT_EQ(extra + 2, paragraphs.size());
    EXPECT_EQ(paragraphs[extra + 1].rfind("本位置没有计算:第5行", 0), 0u) << paragraphs[extra + 1];

    // Red: the weak position's member and overall verdicts, and the unreadable row.
    std::vector<std::string> red;
    for (const std::string& run : Elements(xml, "<w:r>", "</w:r>")) {
        if (run.find("<w:color w:val=\"FF0000\"/>") != std::string::npos)
            red.push_back(RunText(run));
    }
    EXPECT_EQ(red, (std::vector<std::string>{"不满足", "不满足", "出错", "出错"}));
    const std::vector<std::string> table = Elements(xml, "<w:tbl>", "</w:tbl>");
    ASSERT_EQ(table.size(), 1u);
    std::vector<std::string> rows;
    for (const std::string& row : Elements(table[0], "<w:tr>", "</w:tr>")) {
        std::string cells;
        for (const std::string& cell : Elements(row, "<w:tc>", "</w:tc>"))
            cells += (cells.empty() ? "" : "|") + RunText(cell);
        rows.push_back(cells);
    }
    // W = 1.4 x Wk = 1.4 x 1.105 = 1.547 for every row: they differ only in the member.
    // The base design names no edition: 2001, as it always was.
    EXPECT_EQ(rows, (std::vector<std::string>{"位置|名称|规范|Wk(kN/m2)|W(kN/m2)|玻璃|杆件|结论",
                                              "第2行|strong|2001|1.105|1.547|满足|满足|满足",
                                              "第3行|weak|2001|1.105|1.547|满足|不满足|不满足",
                                              "第4行|bad|2001|1.105|1.547|满足|—|出错",
                                              "第5行|||||—|—|出错"}));
}

// Positions of two editions: the cover names the one most use, then the other with its positions;
// the summary says each position's.
TEST_F(ProjectDocument, CoverNamesEachEditionUsed) {
    WriteBytes(folder_ / "s.csv", "name,规范版本\r\nC1,\r\nC2,2012\r\nC3,\r\n");
    ASSERT_EQ(Batch("--out o --docx p.docx").status, 0);
    const std::vector<std::string> paragraphs = Paragraphs(DocumentXml(folder_ / "p.docx"));
    EXPECT_LT(IndexOf(paragraphs, "计算规范:GB 50009-2001(其余位置)"), 12u);
    EXPECT_LT(IndexOf(paragraphs, "计算规范:GB 50009-2012 + GB 55001-2021(C2)"), 12u);
    const std::string summary = ReadBytes(folder_ / "o" / "summary.csv");
    EXPECT_NE(summary.find(",row,edition,"), std::string::npos) << summary;
    EXPECT_NE(summary.find(",第3行,2012,"), std::string::npos) << summary;
    EXPECT_NE(summary.find(",第4行,2001,"), std::string::npos) << summary;
}

// A schedule without a base design is new work: the codes in force. With a base that names no
// edition, its rows keep 2001.
TEST_F(ProjectDocument, AScheduleWithoutABaseIsNewWork) {
    WriteBytes(folder_ / "s.csv", "name\r\nC1\r\n");
    const Finished run = RunProgram(folder_.path(), "batch s.csv --out o --docx p.docx");
    EXPECT_NE(ReadBytes(folder_ / "o" / "summary.csv").find(",第2行,2012,"), std::string::npos);
    const std::vector<std::string> paragraphs = Paragraphs(DocumentXml(folder_ / "p.docx"));
    EXPECT_LT(IndexOf(paragraphs, "计算规范:GB 50009-2012 + GB 55001-2021"), 12u) << run.err;
    ASSERT_EQ(Batch("--out b").status, 0);
    EXPECT_NE(ReadBytes(folder_ / "b" / "summary.csv").find(",第2行,2001,"), std::string::npos);
}

TEST_F(ProjectDocument, AnyNumberOfJobsGivesTheSameDocument) {
    ASSERT_EQ(Batch("--out a --docx a.docx --jobs 1").out, kCounts);
    ASSERT_EQ(Batch("--out b --docx b.docx --jobs 2").out, kCounts);
    EXPECT_EQ(DocumentXml(folder_ / "a.docx"), DocumentXml(folder_ / "b.docx"));
}

TEST_F(ProjectDocument, PdfHasTheChaptersInScheduleOrderAndPageFooters) {
    if (!OnPath("pdftotext"))
        GTEST_SKIP() << "pdftotext is not installed";
    const Finished run = Batch("--out o --pdf p.pdf --jobs 2");
    ASSERT_EQ(run.out, kCounts) << run.err;
    const std::string text =
        Output("pdftotext -raw -enc UTF-8 '" + (folder_ / "p.pdf").string() + "' -");
    std::vector<std::string> pages;
    for (std::size_t start = 0, feed; (feed = text.find('\f', start)) != std::string::npos;
         start = feed + 1)
        pages.push_back(text.substr(start, feed - start));
    ASSERT_GE(pages.size(), 5u);  // cover, contents, summary, three chapters at least
    const std::string total = " 共 " + std::to_string(pages.size()) + " 页";
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_NE(pages[i].find("第 " + std::to_string(i + 1) + " 页" + total), std::string::npos)
            << "page " << i + 1;
    }
    // A chapter starts a page with its name.
    std::vector<std::string> starts;
    for (const std::string& page : pages) {
        const std::string first = page.substr(0, page.find('\n'));
        if (first == "strong" || first == "weak" || first == "bad" || first == "第5行")
            starts.push_back(first);
    }
    EXPECT_EQ(starts, (std::vector<std::string>{"strong", "weak", "bad", "第5行"}));
    EXPECT_NE(text.find("本位置没有计算:第4行"), std::string::npos);
}

TEST_F(ProjectDocument, AFailedWriteLeavesNoFileAndAnOlderDocumentAsItWas) {
    // Into a folder that is not there: nothing appears, the message names the file.
    Finished run = Batch("--out o --docx missing/p.docx");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("missing/p.docx"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(folder_ / "missing"));
    // A PDF larger than the files may grow (ulimit -f, in KiB) fails halfway.
    WriteBytes(folder_ / "p.pdf", "an older document");
    const std::string limited =
        "cd '" + folder_.path().string() + "' && trap '' XFSZ && ulimit -f 60 && QUOINRY_HOME=. '" +
        QUOINRY_EXECUTABLE +
        "' batch s.csv --base base.ini --out o --pdf p.pdf >/dev/null 2>stderr.txt";
    const int status = std::system(limited.c_str());
    run = {WIFEXITED(status) ? WEXITSTATUS(status) : -1, "", ReadBytes(folder_ / "stderr.txt")};
    EXPECT_NE(run.err.find("无法写入计算书 p.pdf"), std::string::npos) << run.err;
    fs::remove(folder_ / "stderr.txt");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("p.pdf"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(folder_ / "p.pdf"), "an older document");
    for (const auto& entry : fs::directory_iterator(folder_.path()))
        EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
}

}  // namespace
}  // namespace quoinry
