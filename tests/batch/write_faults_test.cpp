// Faults while writing and outputs that must not be written: a full disk or a file-size limit,
// an output that is an input, a read-only older output, a link where a position's folder goes,
// a position named like one of the batch's own files; and outputs that must open: text XML
// cannot hold, cells a spreadsheet would evaluate.
#include <sys/stat.h>
#include <unistd.h>

#include "batch/summary.h"
#include "batch_test_support.h"

namespace quoinry {
namespace {

using namespace batch_testing;

// Every file under `folder` whose name begins with a dot (a temporary name) or that is empty.
std::vector<std::string> Leftovers(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(".") || (entry.is_regular_file() && entry.file_size() == 0))
            found.push_back(entry.path().string());
    }
    return found;
}

class WriteFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteBytes(folder_ / "base.ini", kBatchBase);
        WriteBytes(folder_ / "s.csv", "name,计算处标高\r\nC1,20\r\nC2,30\r\n");
    }

    Finished Run(const std::string& arguments) { return RunProgram(folder_.path(), arguments); }

    // Runs the program with files limited to `kib` KiB and SIGXFSZ ignored, so that a write
    // past the limit fails as on a full disk. Standard error goes through a pipe (a pipe has
    // no size limit); standard output is dropped.
    Finished RunLimited(const std::string& arguments, int kib) {
        const std::string inner = "(trap '' XFSZ; ulimit -f " + std::to_string(kib) + "; '" +
                                  std::string(QUOINRY_EXECUTABLE) + "' " + arguments +
                                  " >/dev/null; echo \"status=$?\") 2>&1 | cat >err.txt";
        return Shell(inner);
    }

    // `inner` run by bash in the scratch folder with the program's usual environment; its
    // output in err.txt ends with "status=N".
    Finished Shell(const std::string& inner) {
        WriteBytes(folder_ / "inner.sh", inner + "\n");
        const std::string command = "cd '" + folder_.path().string() +
                                    "' && env -u DISPLAY -u WAYLAND_DISPLAY QUOINRY_HOME='" +
                                    folder_.path().string() + "' bash inner.sh";
        EXPECT_EQ(std::system(command.c_str()), 0);
        Finished finished;
        std::string text = ReadBytes(folder_ / "err.txt");
        fs::remove(folder_ / "err.txt");
        fs::remove(folder_ / "inner.sh");
        const std::size_t at = text.rfind("status=");
        if (at != std::string::npos) {
            finished.status = std::stoi(text.substr(at + 7));
            text.resize(at);
        }
        finished.err = text;
        return finished;
    }

    ScratchFolder folder_;
};

TEST_F(WriteFaults, ARunWhoseReportsFindNoRoomEndsWithOneMessageAndLeavesNothing) {
    const Finished run = RunLimited("run base.ini --out o", 0);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "当前错误:无法写入 o/wind.txt: 超出了文件大小的限制\n");
    EXPECT_TRUE(fs::is_directory(folder_ / "o"));
    EXPECT_TRUE(fs::is_empty(folder_ / "o"));
}

TEST_F(WriteFaults, ADocumentThatFindsNoRoomKeepsTheOlderOne) {
    WriteBytes(folder_ / "d.docx", "older document");
    const Finished run = RunLimited("run base.ini --out o --docx d.docx", 6);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("无法写入计算书 d.docx: 超出了文件大小的限制"), std::string::npos)
        << run.err;
    EXPECT_TRUE(ReadBytes(folder_ / "d.docx") == "older document");
    EXPECT_EQ(Leftovers(folder_.path()), std::vector<std::string>{});
    EXPECT_TRUE(fs::exists(folder_ / "o" / "gj.txt"));  // the reports fitted
}

TEST_F(WriteFaults, ABatchThatFindsNoRoomStopsWithOneMessageAndKeepsOlderOutputs) {
    WriteBytes(folder_ / "older.xlsx", "older workbook");
    for (const std::string jobs : {"1", "2"}) {
        const Finished run =
            RunLimited("batch s.csv --base base.ini --out o --xlsx older.xlsx --jobs " + jobs, 0);
        EXPECT_EQ(run.status, 1) << jobs;
        EXPECT_EQ(run.err, "quoinry batch: 无法写入 o/C1/wind.txt: 超出了文件大小的限制\n") << jobs;
        EXPECT_EQ(run.err.find("ERROR"), std::string::npos) << run.err;
        EXPECT_EQ(ReadBytes(folder_ / "older.xlsx"), "older workbook");
        EXPECT_EQ(Leftovers(folder_.path()), std::vector<std::string>{}) << jobs;
        EXPECT_FALSE(fs::exists(folder_ / "o" / "summary.csv"));
    }
}

// A real full disk: a tmpfs of a few kilobytes, filled up, in a mount namespace of its own.
TEST_F(WriteFaults, AFullDiskIsNamedAsSuch) {
    if (::geteuid() != 0 || std::system("unshare -m true 2>/dev/null") != 0)
        GTEST_SKIP() << "a tmpfs needs root and mount namespaces";
    fs::create_directories(folder_ / "full");
    const Finished run = Shell(
        "unshare -m bash -c \"mount -t tmpfs -o size=64k tmpfs full && mkdir full/o && "
        "echo older >full/o/summary.csv && head -c 1M /dev/zero >full/fill 2>/dev/null; "
        "'" +
        std::string(QUOINRY_EXECUTABLE) +
        "' batch s.csv --base base.ini --out full/o "
        ">/dev/null; s=\\$?; find full -name '.?*' -o -type f -empty; "
        "echo status=\\$s\" 2>&1 | cat >err.txt");
    EXPECT_EQ(run.status, 1);
    // Which report finds the disk full depends on the tmpfs's pages; nothing hidden or empty
    // is left (find prints nothing).
    EXPECT_NE(run.err.find("quoinry batch: 无法写入 full/o/C1/"), std::string::npos) << run.err;
    EXPECT_TRUE(run.err.ends_with(".txt: 磁盘空间不足\n")) << run.err;
}

// Two runs without --out at once write the same temp/ reports: each report is whole, one run's
// or the other's, never a mix of both (it was in 9 of 250 pairs).
TEST_F(WriteFaults, TwoRunsAtOnceNeverMixAReport) {
    std::string other = kBatchBase;
    other.replace(other.find("te3=20"), 6, "te3=90");  // another height: another wind.txt
    WriteBytes(folder_ / "other.ini", other);
    ASSERT_EQ(Run("run base.ini --out a").status, 0);
    ASSERT_EQ(Run("run other.ini --out b").status, 0);
    ASSERT_NE(ReadBytes(folder_ / "a" / "wind.txt"), ReadBytes(folder_ / "b" / "wind.txt"));
    const std::string q = "'" + std::string(QUOINRY_EXECUTABLE) + "'";
    const Finished run =
        Shell("(for i in $(seq 60); do " + q + " run base.ini >/dev/null & " + q +
              " run other.ini >/dev/null; wait; for r in wind glass gj; do "
              "cmp -s temp/$r.txt a/$r.txt || cmp -s temp/$r.txt b/$r.txt || echo \"mixed $r $i\"; "
              "done; done; echo status=0) 2>&1 | cat >err.txt");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
}

// Memory that runs out ends the command with a message, not an abort (the allocator's own
// operator new aborts). Under a few address-space limits each run either measures the drawing
// or says 内存不足; the tightest must say it.
TEST_F(WriteFaults, MemoryThatRunsOutIsAMessage) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space";
#endif
    std::string dxf = "0\nSECTION\n2\nENTITIES\n";
    for (int k = 0; k < 20000; ++k) {
        const std::string a = std::to_string(k), b = std::to_string(40000 - k);
        dxf += "0\nLWPOLYLINE\n90\n4\n70\n1\n10\n" + a + "\n20\n" + a + "\n10\n" + b + "\n20\n" +
               a + "\n10\n" + b + "\n20\n" + b + "\n10\n" + a + "\n20\n" + b + "\n";
    }
    WriteBytes(folder_ / "nested.dxf", dxf + "0\nENDSEC\n0\nEOF\n");
    std::vector<int> statuses;
    for (const int kib : {40000, 60000, 200000}) {
        const Finished run =
            Shell("(ulimit -v " + std::to_string(kib) + "; '" + std::string(QUOINRY_EXECUTABLE) +
                  "' section nested.dxf --region 1 >/dev/null; "
                  "echo \"status=$?\") 2>&1 | cat >err.txt");
        statuses.push_back(run.status);
        if (run.status != 0) {
            EXPECT_EQ(run.err, "quoinry section: 内存不足\n") << kib;
        }
    }
    EXPECT_EQ(statuses, (std::vector<int>{1, 1, 0}));
}

// A report far larger than the program writes is refused before the document is laid out (a
// 100 MB one once took 6.7 GB); one of 16 MB still goes in.
TEST_F(WriteFaults, AReportFarLargerThanTheProgramWritesIsRefused) {
    fs::create_directories(folder_ / "r");
    const std::string line = std::string(98, 'x') + "\r\n";
    std::string big;
    for (int k = 0; k < (16 << 20) / 100; ++k) big += line;
    big.resize(16 << 20, 'x');
    WriteBytes(folder_ / "r" / "wind.txt", big);
    WriteBytes(folder_ / "r" / "glass.txt", "glass\r\n");
    // At the limit wind.txt is read; the missing member report then stops the document.
    const Finished at_limit = Run("document r --docx d.docx");
    EXPECT_EQ(at_limit.status, 1);
    EXPECT_EQ(at_limit.err, "当前错误:找不到报告文件 r/gj.txt\n");
    WriteBytes(folder_ / "r" / "wind.txt", big + "x");
    const Finished run = Run("document r --docx d.docx");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "当前错误:文件太大(超过16MB),不是本程序写的报告或截面图片: r/wind.txt\n");
    EXPECT_FALSE(fs::exists(folder_ / "d.docx"));
}

TEST_F(WriteFaults, AnOutputThatIsAnInputIsRefusedAndTheInputKept) {
    fs::create_directories(folder_ / "o");
    fs::copy_file(folder_ / "s.csv", folder_ / "o" / "summary.csv");
    fs::create_directories(folder_ / "o" / "C1");
    fs::copy_file(folder_ / "base.ini", folder_ / "o" / "C1" / "wind.txt");
    fs::create_symlink("base.ini", folder_ / "link.ini");
    const std::string design = ReadBytes(folder_ / "base.ini");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"run base.ini --docx base.ini",
         "输出文件 base.ini(--docx) 就是输入文件 base.ini(设计文件)"},
        {"run base.ini --pdf link.ini", "输出文件 link.ini(--pdf) 就是输入文件 base.ini(设计文件)"},
        {"run base.ini --out o --docx ./d.docx --pdf d.docx",
         "输出文件 d.docx(--pdf) 与 ./d.docx(--docx) 是同一个文件"},
        {"run base.ini --out . --docx ./gj.txt", "输出文件 ./gj.txt(--docx) 与 ./gj.txt(报告)"},
        {"batch s.csv --base base.ini --out o --xlsx s.csv",
         "输出文件 s.csv(--xlsx) 就是输入文件 s.csv(计划表)"},
        {"batch o/summary.csv --base base.ini --out o",
         "输出文件 o/summary.csv(汇总表) 就是输入文件 o/summary.csv(计划表)"},
        {"batch s.csv --base link.ini --out o --docx base.ini",
         "输出文件 base.ini(--docx) 就是输入文件 link.ini(--base)"},
        {"batch s.csv --base o/C1/wind.txt --out o",
         "输入文件 o/C1/wind.txt(--base)在输出文件夹的报告位置上"},
        {"document o/C1 --docx o/C1/wind.txt",
         "输出文件 o/C1/wind.txt(--docx) 就是输入文件 o/C1/wind.txt(报告)"},
    };
    for (const auto& [arguments, message] : cases) {
        const Finished run = Run(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find(message), std::string::npos) << arguments << ": " << run.err;
    }
    EXPECT_EQ(ReadBytes(folder_ / "base.ini"), design);
    EXPECT_EQ(ReadBytes(folder_ / "o" / "summary.csv"), ReadBytes(folder_ / "s.csv"));
    EXPECT_EQ(ReadBytes(folder_ / "o" / "C1" / "wind.txt"), design);
    EXPECT_FALSE(fs::exists(folder_ / "wind.txt"));
    EXPECT_FALSE(fs::exists(folder_ / "d.docx"));
}

TEST_F(WriteFaults, TheSectionPictureIsNeverTheDrawing) {
    WriteBytes(folder_ / "d.dxf", "0\nEOF\n");
    const Finished run = Run("section d.dxf --picture ./d.dxf");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("输出文件 ./d.dxf(--picture) 就是输入文件 d.dxf(图纸)"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(ReadBytes(folder_ / "d.dxf"), "0\nEOF\n");
}

TEST_F(WriteFaults, AReadOnlyOlderOutputIsRefusedNotReplaced) {
    WriteBytes(folder_ / "d.docx", "protected");
    fs::permissions(folder_ / "d.docx", fs::perms::owner_read | fs::perms::group_read);
    for (const std::string arguments : {"run base.ini --out o --docx d.docx",
                                        "batch s.csv --base base.ini --out o --pdf d.docx"}) {
        const Finished run = Run(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find("输出文件 d.docx(--"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("是只读的,没有替换它"), std::string::npos) << run.err;
        EXPECT_EQ(ReadBytes(folder_ / "d.docx"), "protected");
        EXPECT_EQ(fs::status(folder_ / "d.docx").permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::group_read);
    }
    // A position's read-only report stops the batch, as a disk that takes no report does.
    fs::create_directories(folder_ / "o" / "C2");
    WriteBytes(folder_ / "o" / "C2" / "glass.txt", "protected");
    fs::permissions(folder_ / "o" / "C2" / "glass.txt", fs::perms::owner_read);
    const Finished batch = Run("batch s.csv --base base.ini --out o");
    EXPECT_EQ(batch.status, 1);
    EXPECT_TRUE(
        batch.err.ends_with("quoinry batch: 无法写入 o/C2/glass.txt: 权限被拒绝(文件或文件夹是只读"
                            "的,或属于别的用户)\n"))
        << batch.err;
    EXPECT_EQ(ReadBytes(folder_ / "o" / "C2" / "glass.txt"), "protected");
}

// A link where a position's folder goes is that position's error: the files it points to are
// neither written nor deleted, whether the position runs or has an error of its own.
TEST_F(WriteFaults, ALinkInsteadOfAPositionFolderIsRefused) {
    fs::create_directories(folder_ / "elsewhere");
    for (const char* report : {"wind.txt", "glass.txt", "gj.txt"})
        WriteBytes(folder_ / "elsewhere" / report, "not the batch's");
    fs::create_directories(folder_ / "o");
    fs::create_directory_symlink("../elsewhere", folder_ / "o" / "C1");
    fs::create_directory_symlink("../elsewhere", folder_ / "o" / "C2");
    WriteBytes(folder_ / "o" / "C3", "a file");
    WriteBytes(folder_ / "s.csv", "name,计算处标高\r\nC1,20\r\nC2,abc\r\nC3,20\r\nC4,20\r\n");
    const Finished run = Run("batch s.csv --base base.ini --out o --jobs 1");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("第2行 报告文件夹 o/C1 是一个符号链接,没有写入"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("第3行 报告文件夹 o/C2 是一个符号链接"), std::string::npos);
    EXPECT_NE(run.err.find("第4行 报告文件夹 o/C3 是一个文件"), std::string::npos);
    for (const char* report : {"wind.txt", "glass.txt", "gj.txt"})
        EXPECT_EQ(ReadBytes(folder_ / "elsewhere" / report), "not the batch's") << report;
    EXPECT_EQ(ReadBytes(folder_ / "o" / "C3"), "a file");
    EXPECT_TRUE(fs::exists(folder_ / "o" / "C4" / "gj.txt"));
    EXPECT_NE(run.out.find("4 个计算位置: 1 个满足, 0 个不满足, 3 个出错"), std::string::npos)
        << run.out;
}

TEST_F(WriteFaults, APositionNamedLikeTheBatchsOwnFilesGetsAnotherFolder) {
    WriteBytes(folder_ / "s.csv",
               "name,计算处标高\r\nsummary.csv,20\r\nSUMMARY.CSV,20\r\n"
               "d.docx,20\r\nw.xlsx,20\r\n");
    const Finished run =
        Run("batch s.csv --base base.ini --out o --xlsx o/w.xlsx --docx o/d.docx --jobs 2");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::is_regular_file(folder_ / "o" / "summary.csv"));
    EXPECT_TRUE(fs::is_regular_file(folder_ / "o" / "w.xlsx"));
    EXPECT_TRUE(fs::is_regular_file(folder_ / "o" / "d.docx"));
    for (const char* folder : {"summary.csv_2", "SUMMARY.CSV_3", "d.docx_2", "w.xlsx_2"})
        EXPECT_TRUE(fs::exists(folder_ / "o" / folder / "gj.txt")) << folder;
}

// Bytes that break UTF-8 (a GBK row pasted into a UTF-8 file) and characters XML cannot hold in
// names still give a workbook and a document that a strict XML parser (expat, through Python)
// reads in every part.
TEST_F(WriteFaults, NamesXmlCannotHoldStillGiveOutputsThatOpen) {
    WriteBytes(folder_ / "s.csv",
               "\xEF\xBB\xBFname,计算处标高\r\nC\xC4\xCF"
               "1,20\r\nA\xEF\xBF\xBF\xEF\xBF\xBE"
               "B,20\r\n"
               "D\x01\x1B"
               "[31m,20\r\n=HYPERLINK(\"x\"),20\r\n");
    const Finished run = Run("batch s.csv --base base.ini --out o --xlsx o/s.xlsx --docx o/d.docx");
    EXPECT_EQ(run.status, 1) << run.err;
    for (const std::string row : {"第2行", "第3行", "第4行"}) {
        EXPECT_NE(run.err.find(row + " A列“name”: 第2个字节起不是 UTF-8 文字或是控制字符"),
                  std::string::npos)
            << row << run.err;
    }
    WriteBytes(folder_ / "parse.py",
               "import sys, zipfile, xml.etree.ElementTree as ET\n"
               "for path in sys.argv[1:]:\n"
               "    with zipfile.ZipFile(path) as z:\n"
               "        for name in z.namelist():\n"
               "            if name.endswith(('.xml', '.rels')):\n"
               "                ET.fromstring(z.read(name))\n"
               "    print(path, 'ok')\n");
    const std::string command = "cd '" + folder_.path().string() +
                                "' && python3 parse.py o/s.xlsx o/d.docx >parsed.txt 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << ReadBytes(folder_ / "parsed.txt");
    EXPECT_EQ(ReadBytes(folder_ / "parsed.txt"), "o/s.xlsx ok\no/d.docx ok\n");
    EXPECT_NE(ReadBytes(folder_ / "o" / "summary.csv").find("\"'=HYPERLINK(\"\"x\"\")\""),
              std::string::npos);
}

// A cell a spreadsheet would take for a formula is text; a figure, negative or not, stays one.
TEST(SummaryCsv, CellsThatLookLikeFormulasAreText) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"=1+2", "\"'=1+2\""},
        {"+86 21", "\"'+86 21\""},
        {"-x", "\"'-x\""},
        {"@SUM(A1)", "\"'@SUM(A1)\""},
        {"\tC1", "\"'\tC1\""},
        {"\rC1", "\"'\rC1\""},
        {"=a,b", "\"'=a,b\""},
        {"=\"q\"", "\"'=\"\"q\"\"\""},
        {"-1.105", "-1.105"},
        {"+2", "+2"},
        {"-1e-3", "-1e-3"},
        {"-1e", "\"'-1e\""},
        {"-", "\"'-\""},
        {"C=1", "C=1"},
        {"", ""},
    };
    for (const auto& [cell, written] : cases) EXPECT_EQ(CsvLine({cell}), written + "\r\n") << cell;
}

}  // namespace
}  // namespace quoinry
