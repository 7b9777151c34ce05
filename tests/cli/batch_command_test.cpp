// quoinry batch on the command line: usage, exit status, messages, the library, the workbook
// summary and Ctrl+C.
#include <signal.h>
#include <unistd.h>
#include <zip.h>

#include <chrono>
#include <thread>

#include "batch_test_support.h"
#include "common/cp936.h"
#include "project/table_reader.h"

namespace quoinry {
namespace {

using namespace batch_testing;

const std::string kBase = kBatchBase;

class BatchCommand : public ::testing::Test {
  protected:
    void SetUp() override { WriteBytes(folder_ / "base.ini", kBase); }
    Finished Batch(const std::string& arguments) {
        return RunProgram(folder_.path(), "batch " + arguments);
    }
    ScratchFolder folder_;
};

TEST_F(BatchCommand, BadUsageExitsWithTwo) {
    WriteBytes(folder_ / "s.csv", "name,计算处标高\nC1,20\n");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "no schedule given"},
        {"s.csv", "--out DIR is missing"},
        {"s.csv --out", "--out needs a value"},
        {"s.csv --out o --jobs 0", "--jobs wants a whole number from 1 to 256"},
        {"s.csv --out o --jobs x", "--jobs wants"},
        {"s.csv --out o --docx", "--docx needs a value"},
        {"s.csv --out o --pdf", "--pdf needs a value"},
        {"s.csv --out o --odt p.odt", "unknown option '--odt'"},
        {"s.csv other.csv --out o", "more than one schedule"},
        {"p.qproj --out o --base base.ini", "--base is for .csv and .xlsx schedules"},
    };
    for (const auto& [arguments, message] : cases) {
        const Finished run = Batch(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find(message), std::string::npos) << arguments << ": " << run.err;
        EXPECT_NE(run.err.find("usage: quoinry batch SCHEDULE --out DIR"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(fs::exists(folder_ / "o"));
}

TEST_F(BatchCommand, AScheduleThatCannotBeReadAtAllExitsWithTwoAndWritesNothing) {
    WriteBytes(folder_ / "empty.csv", "\xEF\xBB\xBF\r\n");
    WriteBytes(folder_ / "header.csv", "name,计算处标高\r\n,\r\n");
    WriteBytes(folder_ / "colours.csv", "颜色,备注\r\nred,x\r\n");
    WriteBytes(folder_ / "text.xlsx", "name\n");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"empty.csv", "是空的"},
        {"header.csv", "计划表中没有计算位置"},
        {"colours.csv", "没有一列是本程序认识的输入"},
        {"text.xlsx", "不是 xlsx 工作簿"},
        {"missing.csv", "找不到计划表"},
        {"missing.qproj", "找不到工程文件"},
    };
    for (const auto& [schedule, message] : cases) {
        const Finished run = Batch(schedule + " --out o");
        EXPECT_EQ(run.status, 2) << schedule;
        EXPECT_NE(run.err.find(message), std::string::npos) << schedule << ": " << run.err;
        EXPECT_FALSE(fs::exists(folder_ / "o" / "summary.csv"));
    }
}

TEST_F(BatchCommand, BadRowsAreNamedAndTheOthersStillRun) {
    WriteBytes(folder_ / "s.csv", Utf8ToCp936("门窗编号,计算处标高(m),颜色,备注\r\n"
                                              "C1521,45,白,\r\n"
                                              "C1818,abc,白,\r\n"
                                              "C1521,600,灰,\r\n"
                                              ",,,\r\n"
                                              "M1024,3.5,,x\r\n"));
    const Finished run = Batch("s.csv --out o --base base.ini --xlsx o/summary.xlsx");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "4 个计算位置: 2 个满足, 0 个不满足, 2 个出错\n");
    EXPECT_NE(run.err.find("C列“颜色”不是本程序认识的列,已忽略"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("D列“备注”不是本程序认识的列"), std::string::npos);
    EXPECT_NE(
        run.err.find(
            "错误: C1818: 第3行 B列“计算处标高(m)”: 计算处标高(m): “abc” 应为大于0且不大于550的数"),
        std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("第4行的名称“C1521”与前面的位置重复"), std::string::npos);
    EXPECT_NE(run.err.find("错误: C1521: 第4行 B列“计算处标高(m)”: 计算处标高(m): “600”"),
              std::string::npos);
    for (const char* report : {"C1521/wind.txt", "C1521/glass.txt", "C1521/gj.txt", "M1024/gj.txt"})
        EXPECT_TRUE(fs::exists(folder_ / "o" / report)) << report;
    EXPECT_FALSE(fs::exists(folder_ / "o" / "C1818" / "wind.txt"));
    EXPECT_FALSE(fs::exists(folder_ / "o" / "C1521_2" / "wind.txt"));
    EXPECT_TRUE(fs::exists(folder_ / "o" / "summary.xlsx"));
}

// Each value meets the plausible range of its input as in a single design: at either end it is
// computed, beyond it the row is refused naming row, column and range, as quoinry run names it.
TEST_F(BatchCommand, RowsMeetThePlausibleRangesOfASingleDesign) {
    WriteBytes(folder_ / "s.csv",
               "name,glass.te4,gj.te7\r\nP1,20000,0.1\r\nP2,20001,1.4\r\nP3,1200,0.09\r\n"
               "P4,1e300,1.4\r\nP5,100,100\r\nP6,99,100.5\r\n");
    const Finished run = Batch("s.csv --out o --base base.ini");
    EXPECT_EQ(run.status, 1);
    const std::vector<std::string> refusals = {
        "错误: P2: 第3行 B列“glass.te4”: 玻璃分格宽(mm): “20001” 应为不小于100且不大于20000的数",
        "错误: P3: 第4行 C列“gj.te7”: 校核处壁厚(mm): “0.09” 应为不小于0.1且不大于100的数",
        "错误: P4: 第5行 B列“glass.te4”: 玻璃分格宽(mm): “1e300” 应为不小于100且不大于20000的数",
        "错误: P6: 第7行 B列“glass.te4”: 玻璃分格宽(mm): “99” 应为不小于100且不大于20000的数",
    };
    for (const std::string& refusal : refusals)
        EXPECT_NE(run.err.find(refusal), std::string::npos) << refusal << "\n" << run.err;
    EXPECT_EQ(run.err.find("P1:"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("P5:"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::exists(folder_ / "o" / "P1" / "gj.txt"));
    EXPECT_TRUE(fs::exists(folder_ / "o" / "P5" / "gj.txt"));

    std::string beyond = kBase;
    beyond.replace(beyond.find("te4=1200"), 8, "te4=20001");
    WriteBytes(folder_ / "beyond.ini", beyond);
    const Finished single = RunProgram(folder_.path(), "run beyond.ini --out single");
    EXPECT_EQ(single.status, 1);
    EXPECT_NE(single.err.find("玻璃分格宽(mm): “20001” 应为不小于100且不大于20000的数"),
              std::string::npos)
        << single.err;
}

TEST_F(BatchCommand, ARowNamingALibraryProfileTakesItsSectionValues) {
    // The sample library of a new database has KC60-01: fa 85.4, t 1.6, Ix 9.379, Wx1 3.187.
    WriteBytes(folder_ / "s.csv",
               "name,型材系列,型材编号\r\nC1,60平开窗,KC60-01\r\nC2,60平开窗,KC60-99\r\nC3,,\r\n");
    const Finished run = Batch("s.csv --out o --base base.ini --jobs 2");
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("第3行 B列“型材系列”、C列“型材编号”: 型材库中没有型材 60平开窗 KC60-99"),
              std::string::npos)
        << run.err;
    const std::string gj = Cp936ToUtf8(ReadBytes(folder_ / "o" / "C1" / "gj.txt"));
    EXPECT_NE(gj.find("60平开窗\\KC60-01"), std::string::npos);
    EXPECT_NE(gj.find("9.379"), std::string::npos);
    EXPECT_EQ(gj.find("GR50"), std::string::npos);
    // A row that names no profile keeps the base design's, as given.
    EXPECT_NE(Cp936ToUtf8(ReadBytes(folder_ / "o" / "C3" / "gj.txt")).find("GR50\\GR50-01"),
              std::string::npos);
}

TEST_F(BatchCommand, TheWorkbookSummaryHasUnitsAFrozenHeaderAndRedFailures) {
    // 10 mm of height at 2400 mm span with a weak profile fails the member check.
    WriteBytes(folder_ / "s.csv", "name,gj.te10,gj.te11\r\nstrong,10,12\r\nweak,1,1\r\n");
    const Finished run = Batch("s.csv --out o --base base.ini --xlsx summary.xlsx");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "2 个计算位置: 1 个满足, 1 个不满足, 0 个出错\n");
    auto table = OpenXlsxTable(folder_ / "summary.xlsx");
    const std::optional<TableRow> header = table->Next();
    ASSERT_TRUE(header);
    EXPECT_EQ(header->cells[0], "名称");
    EXPECT_EQ(header->cells[1], "Wk\n(kN/m²)");
    const std::optional<TableRow> strong = table->Next();
    const std::optional<TableRow> weak = table->Next();
    ASSERT_TRUE(strong && weak);
    EXPECT_EQ(strong->cells[1], "1.105");
    EXPECT_EQ(weak->cells[4], "不满足");  // member_ok, in the engineer's words
    // The sheet keeps the header in view and styles the failing verdict unlike the passing one.
    int code = 0;
    zip_t* archive = zip_open((folder_ / "summary.xlsx").c_str(), ZIP_RDONLY, &code);
    ASSERT_NE(archive, nullptr);
    auto part = [&](const char* name) {
        zip_stat_t stat;
        zip_stat(archive, name, 0, &stat);
        std::string text(stat.size, '\0');
        zip_file_t* file = zip_fopen(archive, name, 0);
        zip_fread(file, text.data(), text.size());
        zip_fclose(file);
        return text;
    };
    const std::string sheet = part("xl/worksheets/sheet1.xml");
    const std::string styles = part("xl/styles.xml");
    zip_close(archive);
    EXPECT_NE(sheet.find("<pane xSplit=\"1\" ySplit=\"1\""), std::string::npos);
    EXPECT_NE(styles.find("FFFFC7CE"), std::string::npos);
    auto style_of = [&](const std::string& cell) {
        const std::size_t at = sheet.find("<c r=\"" + cell + "\"");
        const std::size_t s = sheet.find(" s=\"", at);
        return sheet.substr(s, sheet.find('"', s + 4) - s);
    };
    EXPECT_NE(style_of("E2"), style_of("E3"));
}

TEST_F(BatchCommand, GbkAndUtf8SchedulesGiveTheSameReports) {
    const std::string text = "名称,玻璃类别,计算处标高\r\nC1,中空玻璃,30\r\n";
    WriteBytes(folder_ / "utf8.csv", text);
    WriteBytes(folder_ / "gbk.csv", Utf8ToCp936(text));
    ASSERT_EQ(Batch("utf8.csv --out a --base base.ini").status, 0);
    ASSERT_EQ(Batch("gbk.csv --out b --base base.ini").status, 0);
    for (const char* report : {"C1/wind.txt", "C1/glass.txt", "C1/gj.txt", "summary.csv"})
        EXPECT_EQ(ReadBytes(folder_ / "a" / report), ReadBytes(folder_ / "b" / report)) << report;
    EXPECT_NE(Cp936ToUtf8(ReadBytes(folder_ / "a" / "C1" / "glass.txt")).find("中空玻璃"),
              std::string::npos);
}

// Rows follow the base design's code edition unless they name their own. B, 10 m, 350 Pa:
// 2012 with μsl 1.0 + 0.2: 1.70 × 1.2 × 1.00 × 0.35 = 0.714; 2001 with μs 1.0:
// 0.89 × (1 + 2 × 0.5) × 1.0 × 1.0 × 0.35 = 0.623.
TEST_F(BatchCommand, RowsFollowTheBaseDesignsEditionUnlessTheyNameTheirOwn) {
    std::string base = kBase;
    base.replace(base.find("te2=1.5"), 7, "te2=1.0");
    base.replace(base.find("op2=False\n"), 10, "op2=False\nedition=2012\ninternal_pressure=0.2\n");
    WriteBytes(folder_ / "base2012.ini", base);
    WriteBytes(folder_ / "s.csv", "name,计算处标高,规范版本\nC1,10,\nC2,10,2001\n");
    const Finished run = Batch("s.csv --out o --base base2012.ini --jobs 1");
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string summary = ReadBytes(folder_ / "o" / "summary.csv");
    EXPECT_NE(summary.find("\nC1,0.714,1.071,"), std::string::npos) << summary;
    EXPECT_NE(summary.find("\nC2,0.623,0.872,"), std::string::npos) << summary;
}

TEST_F(BatchCommand, CtrlCLeavesNoSummaryBehind) {
    std::string text = "name\r\n";
    for (int i = 0; i < 20000; ++i) text += "P" + std::to_string(i) + "\r\n";
    WriteBytes(folder_ / "s.csv", text);
    fs::create_directories(folder_ / "o");
    WriteBytes(folder_ / "o" / "summary.csv", "an earlier run");
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("QUOINRY_HOME", folder_.path().c_str(), 1);
        ::chdir(folder_.path().c_str());
        ::freopen("/dev/null", "w", stdout);
        ::freopen("/dev/null", "w", stderr);
        ::execl(QUOINRY_EXECUTABLE, "quoinry", "batch", "s.csv", "--out", "o", "--base", "base.ini",
                "--xlsx", "summary.xlsx", "--docx", "p.docx", "--jobs", "2",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Once positions are being written, interrupt.
    for (int i = 0; i < 500 && !fs::exists(folder_ / "o" / "P10" / "wind.txt"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ::kill(child, SIGINT);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), SIGINT);
    EXPECT_FALSE(fs::exists(folder_ / "o" / "summary.csv"));
    EXPECT_FALSE(fs::exists(folder_ / "summary.xlsx"));
    EXPECT_FALSE(fs::exists(folder_ / "p.docx"));
    for (const fs::path& dir : {folder_.path(), folder_ / "o"}) {
        for (const auto& entry : fs::directory_iterator(dir))
            EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
    }
}

}  // namespace
}  // namespace quoinry
