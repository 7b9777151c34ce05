// The `quoinry run` contract: exit statuses, what goes to standard output and error, files.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "batch_test_support.h"
#include "common/cp936.h"
#include "common/version.h"

namespace {

using namespace quoinry::batch_testing;
using Outcome = Finished;

class RunCommand : public testing::Test {
  protected:
    Outcome Quoinry(const std::string& args) { return RunProgram(dir_, args); }

    // Writes a design file from UTF-8 text, as CP936 unless a byte order mark is wanted.
    fs::path Design(const std::string& text, bool utf8_bom = false) {
        const fs::path path = dir_ / "design.ini";
        std::ofstream(path, std::ios::binary)
            << (utf8_bom ? "\xEF\xBB\xBF" + text : quoinry::Utf8ToCp936(text));
        return path;
    }

    ScratchFolder folder_;
    fs::path dir_ = folder_.path();
};

const std::string kGlass =
    "[glass]\nco2=南京\nco3=B类\nco4=单层玻璃\nco5=普通玻璃\nco6=6\nte1=350\nte2=1.5\nte3=20\n"
    "te4=1200\nte5=1500\n";
const std::string kMember =
    "[gj]\nco1=竖向杆件\nte1=85.5\nte2=1200\nte3=0\nte4=2400\nte5=49.6\nte6=70000\nte7=1.4\n"
    "te8=50\nte9=30\nte10=10\nte11=12\nte12=8\nte13=7\nte14=5\n";

TEST_F(RunCommand, BadUsageExitsWithTwoAndPrintsNothingOnStandardOutput) {
    for (const std::string args :
         {"", "run", "run --out x", "run a.ini --frobnicate", "run missing.ini", "run a.ini b.ini",
          "bogus", "run a --out", "run a.ini --picture p.wmf", "run a.ini --docx",
          "run a.ini --pdf"}) {
        const Outcome outcome = Quoinry(args);
        EXPECT_EQ(outcome.status, 2) << args;
        EXPECT_EQ(outcome.out, "") << args;
        EXPECT_NE(outcome.err, "") << args;
    }
}

TEST_F(RunCommand, HelpExplainsTheCommand) {
    EXPECT_EQ(Quoinry("--help").status, 0);
    const Outcome version = Quoinry("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("quoinry ") + quoinry::kVersion + "\n");
    const Outcome help = Quoinry("run --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--out DIR"), std::string::npos);
}

TEST_F(RunCommand, WritesReportsIntoANewFolderAndPrintsTheBoxes) {
    const fs::path out = dir_ / "a" / "b";
    const Outcome outcome =
        Quoinry("run '" + Design(kGlass + kMember).string() + "' --out '" + out.string() + "'");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    EXPECT_TRUE(
        outcome.out.starts_with("风荷载的标准值:1.105kN/m^2\n风荷载的设计值:1.547kN/m^2\n"));
    EXPECT_TRUE(outcome.out.ends_with("挠度满足要求!\n"));
    const std::string wind = ReadBytes(out / "wind.txt");
    EXPECT_TRUE(wind.starts_with(quoinry::Utf8ToCp936("基本参数:南京,基本风压:350Pa\r\n\r\n")));
    EXPECT_TRUE(wind.ends_with("=1.547kN/m^2\r\n"));
    EXPECT_TRUE(fs::exists(out / "gj.txt"));
}

TEST_F(RunCommand, WritesTheCalculationDocumentWhenAsked) {
    const fs::path out = dir_ / "o";
    const fs::path docx = dir_ / "计算书.docx";
    const Outcome outcome = Quoinry("run '" + Design(kGlass + kMember).string() + "' --out '" +
                                    out.string() + "' --docx '" + docx.string() + "'");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_TRUE(fs::is_regular_file(docx));
    EXPECT_NE(outcome.err, "");  // no section picture: a warning, but the document is written

    // A failed calculation writes no document.
    std::string glass = kGlass;
    glass.replace(glass.find("te2=1.5"), 7, "te2=");
    const fs::path none = dir_ / "none.docx";
    EXPECT_EQ(Quoinry("run '" + Design(glass).string() + "' --out '" + out.string() + "' --docx '" +
                      none.string() + "'")
                  .status,
              1);
    EXPECT_FALSE(fs::exists(none));
}

TEST_F(RunCommand, WritesThePdfWhenAsked) {
    const fs::path out = dir_ / "o";
    const fs::path pdf = dir_ / "计算书.pdf";
    const fs::path picture = fs::path(QUOINRY_TEST_DATA) / "data" / "document" / "xc.wmf";
    const Outcome outcome =
        Quoinry("run '" + Design(kGlass + kMember).string() + "' --out '" + out.string() +
                "' --pdf '" + pdf.string() + "' --picture '" + picture.string() + "'");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    EXPECT_TRUE(ReadBytes(pdf).starts_with("%PDF-"));
    EXPECT_FALSE(fs::exists(dir_ / "计算书.docx"));
}

TEST_F(RunCommand, ReportsGoToTheProgramTempFolderByDefault) {
    EXPECT_EQ(Quoinry("run '" + Design(kGlass).string() + "'").status, 0);
    EXPECT_TRUE(fs::exists(dir_ / "temp" / "glass.txt"));
    EXPECT_FALSE(fs::exists(dir_ / "temp" / "gj.txt"));
}

TEST_F(RunCommand, ReadsUtf8DesignsWithAByteOrderMark) {
    const Outcome outcome = Quoinry("run '" + Design(kGlass, true).string() + "' --out '" +
                                    (dir_ / "o").string() + "'");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_TRUE(ReadBytes(dir_ / "o" / "wind.txt")
                    .starts_with(quoinry::Utf8ToCp936("基本参数:南京,基本风压:350Pa")));
}

TEST_F(RunCommand, BothOptionsTrueSelectOnlyTheSecond) {
    // Wk = 0.801 × 1.885 × 0.1 × 0.35 = 0.053, raised to 0.75 and not to 1.
    std::string glass = kGlass + "op1=True\nop2=true\n";
    glass.replace(glass.find("te2=1.5"), 7, "te2=0.1");
    glass.replace(glass.find("te3=20"), 6, "te3=5");
    const Outcome outcome =
        Quoinry("run '" + Design(glass).string() + "' --out '" + (dir_ / "o").string() + "'");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_TRUE(outcome.out.starts_with("风荷载的标准值:0.75kN/m^2\n风荷载的设计值:1.05kN/m^2\n"));
}

// The calculation's own error stays the first line; the refused step writes nothing.
TEST_F(RunCommand, ARefusedInputIsNamedAfterTheErrorAndStopsLaterSteps) {
    std::string glass = kGlass;
    glass.replace(glass.find("co6=6"), 5, "co6=0");
    const fs::path out = dir_ / "o";
    fs::create_directories(out);
    std::ofstream(out / "glass.txt") << "old";
    std::ofstream(out / "gj.txt") << "old";
    const Outcome outcome =
        Quoinry("run '" + Design(glass + kMember).string() + "' --out '" + out.string() + "'");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "当前错误:除数为零\n外片厚度(mm): “0” 应为不小于1且不大于100的数\n");
    EXPECT_EQ(outcome.out, "风荷载的标准值:1.105kN/m^2\n风荷载的设计值:1.547kN/m^2\n");
    EXPECT_TRUE(fs::exists(out / "wind.txt"));
    EXPECT_FALSE(fs::exists(out / "glass.txt"));
    // The member step never ran: an older gj.txt, maybe of another design, is gone.
    EXPECT_FALSE(fs::exists(out / "gj.txt"));
}

TEST_F(RunCommand, ADesignWithoutGlassSectionIsATypeMismatch) {
    const Outcome outcome =
        Quoinry("run '" + Design(kMember).string() + "' --out '" + (dir_ / "o").string() + "'");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_TRUE(
        outcome.err.starts_with("当前错误:类型不匹配\n地面类型: “” 应为A类、B类、C类、D类之一\n"
                                "基本风压(Pa): “” 应为不小于100且不大于10000的数"
                                "(以Pa为单位,0.55kN/m^2应填550)\n"));
    EXPECT_EQ(outcome.out, "");
}

TEST_F(RunCommand, AMemberReportThatCannotBeReplacedIsAnError) {
    const fs::path out = dir_ / "o";
    fs::create_directories(out / "gj.txt");  // a folder where the report should go
    const Outcome outcome =
        Quoinry("run '" + Design(kGlass + kMember).string() + "' --out '" + out.string() + "'");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "当前错误:无法写入 " + (out / "gj.txt").string() + ": 这是一个文件夹\n");
    EXPECT_TRUE(fs::exists(out / "glass.txt"));
}

// A folder that held another design's member report: a run without a member leaves none there,
// and its document has no member part, even with another picture lying in temp/.
TEST_F(RunCommand, NoLeftoverReportOfAnotherDesign) {
    const fs::path out = dir_ / "o";
    EXPECT_EQ(
        Quoinry("run '" + Design(kGlass + kMember).string() + "' --out '" + out.string() + "'")
            .status,
        0);
    ASSERT_TRUE(fs::exists(out / "gj.txt"));
    fs::create_directories(dir_ / "temp");
    std::ofstream(dir_ / "temp" / "xc.wmf") << "a picture of another design";
    const fs::path docx = dir_ / "d.docx";
    const Outcome outcome = Quoinry("run '" + Design(kGlass).string() + "' --out '" + out.string() +
                                    "' --docx '" + docx.string() + "'");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_FALSE(fs::exists(out / "gj.txt"));
    EXPECT_TRUE(fs::exists(docx));
    EXPECT_EQ(outcome.err, "");  // no picture needed, none taken
}

TEST_F(RunCommand, DesignFileProblemsNameTheLine) {
    const struct {
        std::string text;
        int status;
        const char* err;
    } cases[] = {
        {"[glass]\nco3=B类\n[gj\nco1=竖向杆件\n", 2, "第3行: 节标题“[gj”缺少“]”"},
        {"[design]\nformat=7\n" + kGlass, 2, "第2行: 格式版本 format=7 比本程序认识的版本(1)新"},
        {kGlass + "te6=1\n", 0, "警告: 设计文件 "},
    };
    for (const auto& c : cases) {
        const fs::path path = dir_ / "utf8.ini";
        std::ofstream(path, std::ios::binary) << c.text;  // UTF-8 without a byte order mark
        const Outcome outcome =
            Quoinry("run '" + path.string() + "' --out '" + (dir_ / "o").string() + "'");
        EXPECT_EQ(outcome.status, c.status) << c.text;
        EXPECT_NE(outcome.err.find(c.err), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find(path.string()), std::string::npos) << outcome.err;
    }
    EXPECT_TRUE(ReadBytes(dir_ / "o" / "wind.txt")
                    .starts_with(quoinry::Utf8ToCp936("基本参数:南京,基本风压:350Pa")));
}

// The shipped examples run without warnings; the design files bring their own picture.
TEST_F(RunCommand, ExamplesRunCleanly) {
    const fs::path examples = fs::path(QUOINRY_TEST_DATA).parent_path() / "examples";
    int design_files = 0;
    for (const auto& entry : fs::directory_iterator(examples)) {
        if (entry.path().extension() != ".ini")
            continue;  // the window schedules are run by quoinry batch
        const bool legacy = ReadBytes(entry.path()).find("[design]") == std::string::npos;
        design_files += legacy ? 0 : 1;
        const Outcome outcome =
            Quoinry("run '" + entry.path().string() + "' --out '" + (dir_ / "o").string() +
                    "' --docx '" + (dir_ / "d.docx").string() + "'");
        EXPECT_EQ(outcome.status, 0) << entry.path();
        EXPECT_TRUE(outcome.out.ends_with("挠度满足要求!\n")) << entry.path();
        // Only a legacy design lacks a picture for its document.
        EXPECT_EQ(outcome.err.empty(), !legacy) << entry.path() << outcome.err;
    }
    EXPECT_GE(design_files, 2);
}

// A pipe or a device named as the design used to hang the command for ever.
TEST_F(RunCommand, ADesignThatIsNoRegularFileIsRefusedAtOnce) {
    const fs::path fifo = dir_ / "design.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& design : {fifo.string(), std::string("/dev/zero")}) {
        const Outcome outcome = Quoinry("run '" + design + "' --out '" + dir_.string() + "'");
        EXPECT_EQ(outcome.status, 2);
        EXPECT_NE(outcome.err.find(design + " 不是普通文件"), std::string::npos) << outcome.err;
    }
}

}  // namespace
