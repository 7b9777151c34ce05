// quoinry batch --docx/--pdf: the project's calculation document read back, as a Word file
// (libzip) and as a PDF (pdftotext).
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <regex>
#include <sstream>
#include <thread>

#include "batch_test_support.h"
#include "common/cp936.h"

namespace quoinry {
namespace {

using namespace batch_testing;
using document::testing::AllMatches;
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

// Each page's text as pdftotext reads it; it ends every page with a form feed.
std::vector<std::string> PdfPages(const fs::path& pdf) {
    const std::string text = Output("pdftotext -raw -enc UTF-8 '" + pdf.string() + "' -");
    std::vector<std::string> pages;
    for (std::size_t start = 0, feed; (feed = text.find('\f', start)) != std::string::npos;
         start = feed + 1)
        pages.push_back(text.substr(start, feed - start));
    return pages;
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
    for (const char* line :
         {"工程名称:某小区3#楼", "建设地点:江苏省 南京", "基本风压:350 Pa", "地面粗糙度:B类",
          "计算规范:GB 50009-2001", "设计:张工", "校核:", "审核:"})
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
    // A row that cannot be used keeps the name it gives.
    const std::size_t extra = chapter("extra");
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

    // Red: the weak position's member and overall verdicts, the unreadable row, and the failing
    // verdict line of the weak position's chapter.
    std::vector<std::string> red;
    for (const std::string& run : Elements(xml, "<w:r>", "</w:r>")) {
        if (run.find("<w:color w:val=\"FF0000\"/>") != std::string::npos)
            red.push_back(RunText(run));
    }
    EXPECT_EQ(red, (std::vector<std::string>{"不满足", "不满足", "出错", "出错",
                                             "   杆件强度不能满足!"}));
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
                                              "第5行|extra||||—|—|出错"}));
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
    const std::vector<std::string> pages = PdfPages(folder_ / "p.pdf");
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
        if (first == "strong" || first == "weak" || first == "bad" || first == "extra")
            starts.push_back(first);
    }
    EXPECT_EQ(starts, (std::vector<std::string>{"strong", "weak", "bad", "extra"}));
    EXPECT_TRUE(std::any_of(pages.begin(), pages.end(), [](const std::string& page) {
        return page.find("本位置没有计算:第4行") != std::string::npos;
    }));
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

// A building of many positions, two of them named alike (C1521 at 45 m and at 95 m): each
// chapter is far longer than what the writers compose at once, so the documents are made of many
// buffer fills and, in the PDF, of many parts laid out on their own.
class StreamedProjectDocument : public ::testing::Test {
  protected:
    static constexpr int kPositions = 40;
    void SetUp() override {
        WriteBytes(folder_ / "base.ini", kBatchBase);
        std::string schedule = "name,计算处标高(m)\r\n";
        for (int i = 0; i < kPositions; ++i) {
            const std::string name = i == 1 || i == 28 ? "C1521" : "P" + std::to_string(i);
            schedule += name + "," + (i == 28 ? "95" : i == 1 ? "45" : "20") + "\r\n";
            // Chapters in schedule order; a repeated name gets its row (from 2) and height.
            titles_.push_back(i == 1 ? "C1521(第3行,45m)" : i == 28 ? "C1521(第30行,95m)" : name);
        }
        WriteBytes(folder_ / "s.csv", schedule);
    }
    Finished Batch(const std::string& arguments) {
        return RunProgram(folder_.path(), "batch s.csv --base base.ini --out o " + arguments);
    }
    ScratchFolder folder_;
    std::vector<std::string> titles_;
};

TEST_F(StreamedProjectDocument, WordFileListsEveryChapterInOrderWithItsOwnBookmark) {
    const Finished run = Batch("--docx p.docx");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string xml = ReadZip(folder_ / "p.docx")["word/document.xml"];
    // The chapters' headings, and the heading behind each bookmark.
    std::vector<std::string> chapters;
    std::map<std::string, std::string> bookmarked;
    for (const std::string& paragraph : Elements(xml, "<w:p>", "</w:p>")) {
        std::string text;
        for (const std::string& run : Elements(paragraph, "<w:r>", "</w:r>")) text += RunText(run);
        if (paragraph.find("<w:pStyle w:val=\"Heading1\"/>") != std::string::npos)
            chapters.push_back(text);
        for (const std::string& name : AllMatches(paragraph, "w:name=\"(_Toc[0-9]+)\""))
            bookmarked[name] = text;
    }
    std::vector<std::string> expected = titles_;
    expected.insert(expected.begin(), "计算结果汇总");
    EXPECT_EQ(chapters, expected);
    // The contents: each chapter and its three parts, each entry pointing at its own heading.
    std::vector<std::string> listed;
    std::size_t entries = 0;
    for (const std::string& paragraph : Elements(xml, "<w:p>", "</w:p>")) {
        const auto anchors = AllMatches(paragraph, "w:anchor=\"(_Toc[0-9]+)\"");
        if (paragraph.find("<w:pStyle w:val=\"TOC") == std::string::npos || anchors.size() != 1)
            continue;
        ++entries;
        std::string text;
        for (const std::string& run : Elements(paragraph, "<w:r>", "</w:r>")) text += RunText(run);
        text = text.substr(0, text.find('\t'));
        EXPECT_EQ(bookmarked[anchors[0]], text) << anchors[0];
        if (paragraph.find("TOC1") != std::string::npos)
            listed.push_back(text);
    }
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(entries, 1 + 4 * titles_.size());  // the summary; each chapter and its 一、二、三
}

TEST_F(StreamedProjectDocument, PdfContentsGiveThePageEachChapterStartsOn) {
    if (!OnPath("pdftotext"))
        GTEST_SKIP() << "pdftotext is not installed";
    const Finished run = Batch("--pdf p.pdf");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> pages = PdfPages(folder_ / "p.pdf");
    ASSERT_GT(pages.size(), 3u * titles_.size());
    const std::string total = " 共 " + std::to_string(pages.size()) + " 页";
    for (std::size_t i = 0; i < pages.size(); ++i)
        EXPECT_NE(pages[i].find("第 " + std::to_string(i + 1) + " 页" + total), std::string::npos)
            << "page " << i + 1;
    // Contents lines "title page" over the pages after the cover, up to the summary.
    std::vector<std::string> listed;
    const std::regex entry("^(C1521\\(第[0-9]+行,[0-9]+m\\)|P[0-9]+) ([0-9]+)$");
    for (std::size_t p = 1; p < pages.size() && pages[p].rfind("计算结果汇总", 0) != 0; ++p) {
        std::istringstream lines(pages[p]);
        for (std::string line; std::getline(lines, line);) {
            std::smatch match;
            if (!std::regex_match(line, match, entry))
                continue;
            listed.push_back(match[1]);
            const std::size_t page = std::stoul(match[2]);
            ASSERT_LE(page, pages.size()) << line;
            EXPECT_EQ(pages[page - 1].rfind(match[1].str() + "\n", 0), 0u)
                << line << " but that page begins: " << pages[page - 1].substr(0, 40);
        }
    }
    EXPECT_EQ(listed, titles_);
}

// Ctrl+C or SIGTERM once the summary is out, while the document is composed and written: the
// process ends by the signal at once, and an older document stays as it was.
void ExpectStopLeavesTheOlderDocument(const fs::path& folder, const char* option, const char* file,
                                      int signal) {
    WriteBytes(folder / file, "an older document");
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("QUOINRY_HOME", folder.c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::chdir(folder.c_str());
        ::freopen("/dev/null", "w", stdout);
        ::freopen("/dev/null", "w", stderr);
        ::execl(QUOINRY_EXECUTABLE, "quoinry", "batch", "s.csv", "--out", "o", "--base", "base.ini",
                option, file, "--jobs", "2", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    for (int i = 0; i < 30000 && !fs::exists(folder / "o" / "summary.csv"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const auto sent = std::chrono::steady_clock::now();
    ::kill(child, signal);
    int status = 0;
    ::waitpid(child, &status, 0);
    const auto waited = std::chrono::steady_clock::now() - sent;
    ASSERT_TRUE(WIFSIGNALED(status)) << option << " status " << status;
    EXPECT_EQ(WTERMSIG(status), signal) << option;
    // Within a part or a page, not at the end of the document.
    EXPECT_LT(waited, std::chrono::seconds(2)) << option;
    EXPECT_EQ(ReadBytes(folder / file), "an older document") << option;
    for (const fs::path& dir : {folder, folder / "o"}) {
        for (const auto& entry : fs::directory_iterator(dir))
            EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
    }
}

TEST(ProjectDocumentStop, SignalWhileTheDocumentIsWrittenEndsTheBatchAndKeepsTheOlderOne) {
    ScratchFolder folder;
    WriteBytes(folder / "base.ini", kBatchBase);
    std::string schedule = "name\r\n";
    for (int i = 0; i < 600; ++i) schedule += "P" + std::to_string(i) + "\r\n";
    WriteBytes(folder / "s.csv", schedule);
    ExpectStopLeavesTheOlderDocument(folder.path(), "--docx", "p.docx", SIGTERM);
    fs::remove_all(folder / "o");
    ExpectStopLeavesTheOlderDocument(folder.path(), "--pdf", "p.pdf", SIGINT);
}

}  // namespace
}  // namespace quoinry
