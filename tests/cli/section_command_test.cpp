#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "batch_test_support.h"

namespace {

using namespace quoinry::batch_testing;

std::string Data(const std::string& name) {
    return std::string(QUOINRY_TEST_DATA) + "/data/section/" + name;
}

class SectionCommand : public testing::Test {
  protected:
    Finished Section(const std::string& args) const {
        return RunProgram(folder_.path(), "section " + args);
    }
    ScratchFolder folder_;
};

TEST_F(SectionCommand, PrintsTheElevenValues) {
    const Finished run = Section(Data("rectangle.dxf"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "A=60\nIx=500\nIy=180\nWx1=100\nWx2=100\nWy1=60\nWy2=60\nSx1=75\nSx2=75\nSy1=45\n"
              "Sy2=45\n");
}

TEST_F(SectionCommand, ListsSeveralRegionsUnlessOneIsPicked) {
    const Finished list = Section(Data("two_regions.dxf"));
    EXPECT_EQ(list.status, 3);
    EXPECT_EQ(list.out,
              "1 area=6000 box=(100, 50)-(160, 150)\n2 area=314.159 box=(190, 40)-(210, 60)\n");
    const Finished second = Section(Data("two_regions.dxf") + " --region 2");
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(second.out.substr(0, 12), "A=3.142\nIx=0");
}

TEST_F(SectionCommand, WritesThePicture) {
    const fs::path picture = folder_ / "xc.wmf";
    EXPECT_EQ(Section(Data("rectangle.dxf") + " --picture " + picture.string()).status, 0);
    EXPECT_EQ(ReadBytes(picture).substr(0, 4), "\xD7\xCD\xC6\x9A");
}

TEST_F(SectionCommand, AFailedPictureLeavesNoPartOfItBehind) {
    // The picture goes to a temporary file renamed over its place; here the place is a folder.
    const fs::path folder = folder_ / "pictures";
    fs::create_directories(folder / "xc.wmf" / "inside");
    EXPECT_EQ(Section(Data("rectangle.dxf") + " --picture " + (folder / "xc.wmf").string()).status,
              1);
    EXPECT_TRUE(fs::is_directory(folder / "xc.wmf" / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);
    EXPECT_EQ(Section(Data("rectangle.dxf") + " --picture /nonexistent/xc.wmf").status, 1);
    // A successful write replaces an older picture whole.
    WriteBytes(folder / "old.wmf", std::string(100000, 'x'));
    EXPECT_EQ(Section(Data("rectangle.dxf") + " --picture " + (folder / "old.wmf").string()).status,
              0);
    EXPECT_LT(fs::file_size(folder / "old.wmf"), 100000u);
}

TEST_F(SectionCommand, ExitStatusSaysWhatWentWrong) {
    EXPECT_EQ(Section("").status, 2);
    EXPECT_EQ(Section(Data("rectangle.dxf") + " --region 0").status, 2);
    EXPECT_EQ(Section(Data("rectangle.dxf") + " --region 2").status, 2);
    EXPECT_EQ(Section(Data("rectangle.dxf") + " --colour red").status, 2);
    EXPECT_EQ(Section(Data("missing.dxf")).status, 1);
    EXPECT_EQ(Section(Data("open_chain.dxf")).status, 1);
}

// Damaged and hostile drawings: each must end the command with exit status 1 and a message,
// within a second (the test's ctest TIMEOUT).
struct Damaged {
    const char* name;
    std::string bytes;
    const char* message;  // the start of the message after "quoinry section: "
};

std::string Entities(const std::string& entities) {
    return "0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n";
}

std::string Square(double x, double y, double side) {
    std::string out = "0\nLWPOLYLINE\n8\n0\n70\n1\n";
    const double xs[] = {x, x + side, x + side, x}, ys[] = {y, y, y + side, y + side};
    char line[128];
    for (int k = 0; k < 4; ++k) {
        std::snprintf(line, sizeof line, "10\n%.17g\n20\n%.17g\n", xs[k], ys[k]);
        out += line;
    }
    return out;
}

std::string Block(const std::string& name, const std::string& entities) {
    return "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n8\n0\n2\n" + name + "\n10\n0\n20\n0\n" + entities +
           "0\nENDBLK\n0\nENDSEC\n";
}

// A spline round a circle of radius 1 a thousand times: millions of chords at 1e-7 of its size.
std::string Coil(int turns) {
    std::string out = "0\nSPLINE\n8\n0\n71\n3\n";
    const int points = 8 * turns;
    for (int k = 0; k < points + 4; ++k) out += "40\n" + std::to_string(k) + "\n";
    for (int k = 0; k < points; ++k) {
        out += "10\n" + std::to_string(std::cos(k * 0.785398)) + "\n20\n" +
               std::to_string(std::sin(k * 0.785398)) + "\n";
    }
    return out;
}

const Damaged kDamaged[] = {
    {"lwpolyline_count", "0\nLWPOLYLINE\n90\n1073741825\n10\n0\n20\n0\n", "图形中没有封闭的轮廓"},
    {"spline_counts",
     Entities("0\nSPLINE\n71\n3\n72\n2000000000\n73\n2000000000\n74\n2000000000\n40\n0\n40\n1\n"
              "10\n0\n20\n0\n"),
     "第6行: 样条曲线的控制点太少"},
    {"leader_count", Entities("0\nLEADER\n76\n2000000000\n10\n0\n20\n0\n"), "图形中没有封闭的轮廓"},
    {"long_line",
     Entities("0\nLINE\n8\n" + std::string(5000, 'A') + "\n10\n0\n20\n0\n11\n1\n21\n1\n"),
     "图形中有未闭合的线段"},
    {"long_garbage_line", std::string(100000, 'x') + "\n", "不是DXF文本文件"},
    {"dwg", std::string("AC1027\0\0\0\0\x1f\x8b", 12) + std::string(3000, '\x01'),
     "不是DXF文本文件"},
    {"binary_dxf", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22), "不是DXF文本文件"},
    {"arc_angles", Entities("0\nARC\n8\n0\n10\n0\n20\n0\n40\n5\n50\n1e20\n51\n-1e20\n"),
     "第16行: 数值1e20超出范围"},
    {"nan", Entities(Square(0, 0, 10) + "0\nLINE\n10\nnan\n20\n0\n11\n1\n21\n1\n"),
     "第30行: 组码10的值\"nan\"不是有效的数"},
    {"huge_drawing", Entities(Square(-1e100, -1e100, 2e100)), "第12行: 数值-1e+100超出范围"},
    {"square_at_1e17", Entities(Square(1e17, 0, 10)), "第12行: 数值1e+17超出范围"},
    {"square_at_1e11", Entities(Square(1e11, 0, 10)), "图形离原点太远"},
    {"huge_in_kilometres",
     "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n7\n0\nENDSEC\n" + Entities(Square(1e9, 0, 1e9)),
     "图形坐标超出范围"},
    {"block_in_itself",
     Block("B", "0\nINSERT\n8\n0\n2\nB\n10\n1\n20\n0\n") +
         Entities("0\nINSERT\n8\n0\n2\nB\n10\n0\n20\n0\n"),
     "第16行: 图块\"B\"嵌套超过16层"},
    {"insert_array", Block("E", "") + Entities("0\nINSERT\n8\n0\n2\nE\n70\n32767\n71\n32767\n"),
     "图形过于复杂(图块插入超过1000000次)"},
    {"spline_coil", Entities(Coil(1000)), "第6行: 样条曲线过于复杂"},
    {"empty", "", "图形中没有封闭的轮廓"},
};

class Refusal : public testing::TestWithParam<Damaged> {};

TEST_P(Refusal, EndsWithExitStatus1AndAMessage) {
    const Damaged& d = GetParam();
    const ScratchFolder folder;
    WriteBytes(folder / "damaged.dxf", d.bytes);
    const Finished run = RunProgram(folder.path(), "section damaged.dxf");
    EXPECT_EQ(run.status, 1) << d.name << ": " << run.err;
    EXPECT_EQ(run.err.rfind("quoinry section: " + std::string(d.message), 0), 0u)
        << d.name << ": " << run.err;
}

INSTANTIATE_TEST_SUITE_P(DamagedDrawing, Refusal, testing::ValuesIn(kDamaged),
                         [](const testing::TestParamInfo<Damaged>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
