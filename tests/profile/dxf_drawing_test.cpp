#include "profile/dxf_drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <sstream>
#include <string>

#include "profile/regions.h"
#include "profile/section_error.h"
#include "profile/section_properties.h"

namespace quoinry::profile {
namespace {

constexpr double kPi = std::numbers::pi;

std::string Dxf(const std::string& entities, const std::string& header = "") {
    return "0\nSECTION\n2\nHEADER\n" + header + "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + entities +
           "0\nENDSEC\n0\nEOF\n";
}

Drawing Read(const std::string& dxf) {
    std::istringstream in(dxf);
    return ReadDxfDrawing(in);
}

std::string Refusal(const std::string& dxf) {
    try {
        Read(dxf);
    } catch (const SectionError& e) {
        return e.what();
    }
    return "accepted";
}

double Area(const Drawing& drawing) {
    double area = 0;
    for (const Region& region : FindRegions(drawing.loops)) area += region.area_mm2;
    return area;
}

const std::string kTextInChinese = "0\nTEXT\n8\n0\n10\n0\n20\n0\n40\n2.5\n1\n\xB7\xE7\xC1\xA6\n";

// A 20 × 10 slot with half-circle ends: bulge 1 is a half turn.
const std::string kSlot =
    "0\nLWPOLYLINE\n8\n0\n90\n4\n70\n1\n10\n0\n20\n0\n10\n20\n20\n0\n42\n1\n10\n20\n20\n10\n"
    "10\n0\n20\n10\n42\n1\n";

TEST(DxfDrawing, PolylineBulgesAreArcs) {
    const Drawing drawing = Read(Dxf(kSlot + kTextInChinese, "9\n$DWGCODEPAGE\n3\nANSI_936\n"));
    ASSERT_EQ(drawing.loops.size(), 1u);
    EXPECT_NEAR(Area(drawing), 200 + kPi * 25, 1e-9);
    EXPECT_TRUE(drawing.notes.empty());
}

TEST(DxfDrawing, OldPolylinesCountTheirOwnVertices) {
    // The second polyline has 3 vertices; the count left over from the first would be 4.
    auto vertex = [](double x, double y) {
        return "0\nVERTEX\n8\n0\n10\n" + std::to_string(x) + "\n20\n" + std::to_string(y) + "\n";
    };
    const std::string first = "0\nPOLYLINE\n8\n0\n66\n1\n70\n1\n" + vertex(0, 0) + vertex(10, 0) +
                              vertex(10, 10) + vertex(0, 10) + "0\nSEQEND\n";
    const std::string second = "0\nPOLYLINE\n8\n0\n66\n1\n70\n1\n" + vertex(20, 0) + vertex(30, 0) +
                               vertex(20, 10) + "0\nSEQEND\n";
    const Drawing drawing = Read(Dxf(first + second));
    ASSERT_EQ(drawing.loops.size(), 2u);
    EXPECT_EQ(drawing.loops[1].size(), 3u);
    EXPECT_NEAR(Area(drawing), 100 + 50, 1e-9);
}

TEST(DxfDrawing, LinesAndArcsJoinAtTheirEnds) {
    // A 40 × 20 plate with a rounded right end drawn as separate lines and an arc, in any order,
    // one end off by a hair; and a circle hole.
    const std::string entities =
        "0\nARC\n8\n0\n10\n40\n20\n10\n40\n10\n50\n270\n51\n90\n"
        "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n40\n21\n0\n"
        "0\nLINE\n8\n0\n10\n0\n20\n20\n11\n0\n21\n0.0000000001\n"
        "0\nLINE\n8\n0\n10\n40\n20\n20\n11\n0\n21\n20\n"
        "0\nCIRCLE\n8\n0\n10\n20\n20\n10\n40\n4\n";
    const Drawing drawing = Read(Dxf(entities));
    ASSERT_EQ(drawing.loops.size(), 2u);
    EXPECT_NEAR(Area(drawing), 800 + kPi * 100 / 2 - kPi * 16, 1e-6);
}

TEST(DxfDrawing, MirroredArcsTurnTheOtherWay) {
    // Normal (0, 0, -1): OCS x runs along world -x. The arc 270°→90° about OCS (-40, 10) is the
    // right half circle about world (40, 10), as in the plate above.
    const std::string entities =
        "0\nARC\n8\n0\n10\n-40\n20\n10\n40\n10\n210\n0\n220\n0\n230\n-1\n50\n90\n51\n270\n"
        "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n40\n21\n0\n"
        "0\nLINE\n8\n0\n10\n0\n20\n20\n11\n0\n21\n0\n"
        "0\nLINE\n8\n0\n10\n40\n20\n20\n11\n0\n21\n20\n";
    EXPECT_NEAR(Area(Read(Dxf(entities))), 800 + kPi * 100 / 2, 1e-6);
}

TEST(DxfDrawing, ConvertsUnitsToMillimetresAndSaysSo) {
    const Drawing drawing = Read(Dxf(kSlot, "9\n$INSUNITS\n70\n5\n"));  // centimetres
    EXPECT_NEAR(Area(drawing), (200 + kPi * 25) * 100, 1e-6);
    ASSERT_EQ(drawing.notes.size(), 1u);
    EXPECT_EQ(drawing.notes[0], "图形单位为厘米,已换算为毫米");
}

TEST(DxfDrawing, SkipsBlockDefinitionsAndPaperSpace) {
    const std::string blocks =
        "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n8\n0\n2\nB1\n70\n0\n10\n0\n20\n0\n"
        "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n5\n21\n5\n0\nENDBLK\n0\nENDSEC\n";
    const std::string paper = "0\nLINE\n8\n0\n67\n1\n10\n0\n20\n0\n11\n5\n21\n5\n";
    const std::string dxf = Dxf(kSlot + paper);
    const size_t entities = dxf.find("0\nSECTION\n2\nENTITIES");
    EXPECT_EQ(Read(dxf.substr(0, entities) + blocks + dxf.substr(entities)).loops.size(), 1u);
}

TEST(DxfDrawing, RefusesWhatItCannotMeasure) {
    struct Case {
        const char* what;
        std::string dxf;
        const char* message;
    };
    const Case cases[] = {
        {"empty", Dxf(kTextInChinese), "图形中没有封闭的轮廓"},
        {"open chain", Dxf("0\nLINE\n8\n0\n10\n0\n20\n0\n11\n10\n21\n0\n"),
         "图形中有未闭合的线段,端点在 (0, 0)"},
        {"branch",
         Dxf("0\nLINE\n8\n0\n10\n0\n20\n0\n11\n10\n21\n0\n0\nLINE\n8\n0\n10\n10\n20\n0\n11\n0\n21\n"
             "5\n0\nLINE\n8\n0\n10\n0\n20\n5\n11\n0\n21\n0\n0\nLINE\n8\n0\n10\n10\n20\n0\n11\n20\n2"
             "1\n0\n"),
         "三条或更多线段交于 (10, 0),无法确定轮廓"},
        {"tilted circle", Dxf("0\nCIRCLE\n8\n0\n10\n1\n20\n2\n40\n3\n210\n0.6\n220\n0\n230\n0.8\n"),
         "第12行: 实体不在XY平面内,位置 (1, 2)"},
        {"odd unit", Dxf(kSlot, "9\n$INSUNITS\n70\n19\n"),
         "图形单位($INSUNITS=19)不是可用的长度单位"},
        {"inserted block", Dxf("0\nINSERT\n8\n0\n2\nB1\n10\n0\n20\n0\n"),
         "第12行: 插入的图块\"B1\"没有定义"},
        {"garbage", "\xFF\xFE garbage\n\n1\n", "不是DXF文本文件(第1行应为组码0)"},
    };
    for (const Case& c : cases) EXPECT_EQ(Refusal(c.dxf), c.message) << c.what;
}

// Blocks and an INSERT before the entities.
std::string WithBlocks(const std::string& blocks, const std::string& entities,
                       const std::string& header = "") {
    return "0\nSECTION\n2\nHEADER\n" + header + "0\nENDSEC\n0\nSECTION\n2\nBLOCKS\n" + blocks +
           "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n";
}

std::string BlockOf(const std::string& name, const std::string& entities) {
    return "0\nBLOCK\n8\n0\n2\n" + name + "\n10\n0\n20\n0\n" + entities + "0\nENDBLK\n";
}

std::string InsertOf(const std::string& name, const std::string& more = "") {
    return "0\nINSERT\n8\n0\n2\n" + name + "\n10\n0\n20\n0\n" + more;
}

std::string Number(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

std::string Line(Point a, Point b) {
    return "0\nLINE\n8\n0\n10\n" + Number(a.x) + "\n20\n" + Number(a.y) + "\n11\n" + Number(b.x) +
           "\n21\n" + Number(b.y) + "\n";
}

std::string SquareAt(Point at, double side) {
    const Point b = at + Point{side, 0}, c = at + Point{side, side}, d = at + Point{0, side};
    return Line(at, b) + Line(b, c) + Line(c, d) + Line(d, at);
}

// A w × h rectangle of lines whose last line stops `gap` short of the first corner.
std::string RectangleWithGap(double w, double h, double gap) {
    return Line({0, 0}, {w, 0}) + Line({w, 0}, {w, h}) + Line({w, h}, {0, h}) +
           Line({0, h}, {0, gap});
}

// Blocks B1 … Bn, each inserting the next; the last holds a square.
std::string Nested(int depth) {
    std::string blocks;
    for (int k = 1; k <= depth; ++k) {
        const std::string inner =
            k == depth ? SquareAt({0, 0}, 10) : InsertOf("B" + std::to_string(k + 1));
        blocks += BlockOf("B" + std::to_string(k), inner);
    }
    return WithBlocks(blocks, InsertOf("B1"));
}

TEST(DxfDrawing, LimitsHoldAtBelowAndAbove) {
    struct Case {
        const char* what;
        std::string dxf;
        const char* outcome;  // "accepted" or the start of the message
    };
    const std::string empty = BlockOf("E", "");
    const Case cases[] = {
        // Ends join within max(1e-6 of the drawing's size, 1e-3 mm).
        {"gap below 1e-3 mm", Dxf(RectangleWithGap(40, 20, 0.9e-3)), "accepted"},
        {"gap above 1e-3 mm", Dxf(RectangleWithGap(40, 20, 1.1e-3)), "图形中有未闭合的线段"},
        {"gap below 1e-6 of 4000 mm", Dxf(RectangleWithGap(4000, 20, 3.9e-3)), "accepted"},
        {"gap above 1e-6 of 4000 mm", Dxf(RectangleWithGap(4000, 20, 4.1e-3)),
         "图形中有未闭合的线段"},
        // Blocks nest 16 deep.
        {"16 nested blocks", Nested(16), "accepted"},
        {"17 nested blocks", Nested(17), "第"},
        // A coordinate's step must stay below 1e-10 of the drawing: 4.5e6 mm for a 10 mm square.
        {"10 mm square at 4e6 mm", Dxf(SquareAt({4e6, 1000}, 10)), "accepted"},
        {"10 mm square at 5e6 mm", Dxf(SquareAt({5e6, 1000}, 10)), "图形离原点太远"},
        // Numbers of the file up to 1e12.
        {"coordinates of 1e12", Dxf(SquareAt({-1e12, -1e12}, 2e12)), "accepted"},
        {"a coordinate above 1e12", Dxf(SquareAt({-1e12, -1e12}, 2.1e12)),
         "第20行: 数值1100000000000超出范围"},
        // A million insertions.
        {"1000 × 1000 insertions", WithBlocks(empty, InsertOf("E", "70\n1000\n71\n1000\n")),
         "图形中没有封闭的轮廓"},
        {"1000 × 1001 insertions", WithBlocks(empty, InsertOf("E", "70\n1000\n71\n1001\n")),
         "图形过于复杂(图块插入超过1000000次)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Refusal(c.dxf).rfind(c.outcome, 0), 0u) << c.what << ": " << Refusal(c.dxf);
    EXPECT_EQ(Refusal(Nested(17)),
              "第" + std::to_string(6 + 4 + 15 * 22 + 10 + 2) + "行: 图块\"B17\"嵌套超过16层");
}

TEST(DxfDrawing, ReadsTheTextAsCadProgramsWriteIt) {
    // CR LF, a byte order mark, blanks around codes and values, a plus sign, a 100,000-character
    // comment, pairs after EOF.
    std::string crlf;
    for (char c : Dxf(kSlot)) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::string tidy = "\xEF\xBB\xBF" +
                             Dxf("999\n" + std::string(100000, 'c') + "\n" +
                                 "  0\nLWPOLYLINE\n 70\n     1\n10\n +0\n20\n0.0  \n"
                                 "10\n20\n20\n0\n42\n1\n10\n20\n20\n10\n10\n0\n20\n"
                                 "10\n42\n1.0E+00\n") +
                             "0\nLINE\n10\nnot read\n";
    for (const std::string& dxf : {crlf, tidy}) EXPECT_NEAR(Area(Read(dxf)), 200 + kPi * 25, 1e-9);
    // A vertex count in the file sizes nothing: the vertices there are read.
    const std::string counted =
        "0\nLWPOLYLINE\n90\n1073741825\n70\n1\n" + kSlot.substr(kSlot.find("10\n0\n20\n0"));
    EXPECT_NEAR(Area(Read(Dxf(counted))), 200 + kPi * 25, 1e-9);
}

TEST(DxfDrawing, NamesInMessagesComeOutInUtf8) {
    // "风": GBK B7 E7 before R2007, UTF-8 from R2007 on, or the escape \U+98CE.
    struct Case {
        std::string header;
        std::string name;
    };
    const Case cases[] = {
        {"9\n$ACADVER\n1\nAC1015\n9\n$DWGCODEPAGE\n3\nANSI_936\n", "\xB7\xE7"},
        {"9\n$ACADVER\n1\nAC1021\n", "风"},
        {"9\n$ACADVER\n1\nAC1015\n9\n$DWGCODEPAGE\n3\nANSI_1252\n", "\\U+98CE"},
    };
    for (const Case& c : cases) {
        const std::string message = Refusal(Dxf(InsertOf(c.name), c.header));
        EXPECT_NE(message.find("插入的图块\"风\"没有定义"), std::string::npos) << message;
    }
}

TEST(DxfDrawing, BrokenLinetypesAreConstructionLines) {
    // A linetype is broken when its pattern has a gap (a negative length) or it is not defined.
    const std::string tables =
        "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLTYPE\n"
        "0\nLTYPE\n2\nLONGDASH\n73\n1\n49\n5\n"
        "0\nLTYPE\n2\nDOTS\n73\n2\n49\n0\n49\n-1\n0\nENDTAB\n"
        "0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nAXES\n6\nDOTS\n0\nENDTAB\n0\nENDSEC\n";
    const std::string square = SquareAt({0, 0}, 10);
    const std::string cross = Line({-5, 5}, {15, 5});
    auto read = [&](const std::string& entities) {
        const std::string dxf = Dxf(entities);
        const size_t at = dxf.find("0\nSECTION\n2\nENTITIES");
        return Read(dxf.substr(0, at) + tables + dxf.substr(at));
    };
    for (const std::string& attribs :
         {std::string("6\nDOTS\n"), std::string("8\nAXES\n"), std::string("6\nPHANTOM2\n")}) {
        Drawing drawing;
        try {
            drawing = read(square + "0\nLINE\n" + attribs + cross.substr(11));  // after layer 0
        } catch (const SectionError& e) {
            ADD_FAILURE() << attribs << e.what();
            continue;
        }
        EXPECT_NEAR(Area(drawing), 100, 1e-9) << attribs;
        ASSERT_EQ(drawing.notes.size(), 1u);
        EXPECT_EQ(drawing.notes[0], "已忽略1条非连续线型的线(中心线、虚线等辅助线)");
    }
    // A pattern without gaps draws a whole line; the square's side drawn that way counts.
    EXPECT_NEAR(
        Area(read(Line({0, 0}, {10, 0}).insert(7, "6\nLONGDASH\n") + Line({10, 0}, {10, 10}) +
                  Line({10, 10}, {0, 10}) + Line({0, 10}, {0, 0}))),
        100, 1e-9);
}

TEST(DxfDrawing, InsertAnglesCountOnceRound) {
    // A 10 × 2 bar turned by 90°, 450° or −270° stands upright: its moment about X is 2·10³/12.
    const std::string bar = BlockOf(
        "BAR",
        "0\nLWPOLYLINE\n8\n0\n70\n1\n10\n0\n20\n0\n10\n10\n20\n0\n10\n10\n20\n2\n10\n0\n20\n2\n");
    for (const char* degrees : {"90", "450", "-270", "810"}) {
        const std::string dxf =
            WithBlocks(bar, InsertOf("BAR", std::string("50\n") + degrees + "\n"));
        const std::vector<Region> regions = FindRegions(Read(dxf).loops);
        ASSERT_EQ(regions.size(), 1u) << degrees;
        const SectionProperties s = ComputeSection(regions[0]);
        EXPECT_NEAR(s.ixx_mm4, 2.0 * 1000 / 12, 1e-9) << degrees;
        EXPECT_NEAR(s.iyy_mm4, 10.0 * 8 / 12, 1e-9) << degrees;
    }
}

// A 10 × 10 square with its lower left corner at (x, y), as one closed polyline.
std::string Square(int x, int y) {
    auto pair = [](int code, int value) {
        return std::to_string(code) + "\n" + std::to_string(value) + "\n";
    };
    return "0\nLWPOLYLINE\n8\n0\n90\n4\n70\n1\n" + pair(10, x) + pair(20, y) + pair(10, x + 10) +
           pair(20, y) + pair(10, x + 10) + pair(20, y + 10) + pair(10, x) + pair(20, y + 10);
}

std::string Line(int x1, int y1, int x2, int y2) {
    return "0\nLINE\n8\n0\n10\n" + std::to_string(x1) + "\n20\n" + std::to_string(y1) + "\n11\n" +
           std::to_string(x2) + "\n21\n" + std::to_string(y2) + "\n";
}

// Drawings of hundreds of parts are joined and checked with a second thread at work: they must
// come out as the same parts drawn few.
TEST(DxfDrawing, ManyPartsAreJoinedAsFewAre) {
    std::string squares;  // 600 squares, 20 mm apart: x 0 to 490, y 0 to 470
    for (int k = 0; k < 600; ++k) squares += Square(20 * (k % 25), 20 * (k / 25));

    const Drawing drawn_twice = Read(Dxf(squares + Line(0, 0, 10, 0) + Line(10, 0, 10, 10) +
                                         Line(10, 10, 0, 10) + Line(0, 10, 0, 0)));
    EXPECT_EQ(drawn_twice.loops.size(), 600u);
    EXPECT_NEAR(Area(drawn_twice), 600 * 100.0, 1e-6);
    ASSERT_EQ(drawn_twice.notes.size(), 1u);
    EXPECT_EQ(drawn_twice.notes[0], "有4处重复绘制的图线,已按一处计算");

    // The last part left open at its top: its two loose ends are named.
    const std::string open =
        squares + Line(500, 460, 510, 460) + Line(510, 460, 510, 470) + Line(500, 470, 500, 460);
    EXPECT_EQ(Refusal(Dxf(open)), "图形中有未闭合的线段,端点在 (510, 470)");
}

TEST(DxfDrawing, MissingFileIsAClearError) {
    try {
        ReadDxfDrawing(std::filesystem::path("/nonexistent/profile.dxf"));
        FAIL();
    } catch (const SectionError& e) {
        EXPECT_EQ(std::string(e.what()), "无法打开图形文件 /nonexistent/profile.dxf");
    }
}

}  // namespace
}  // namespace quoinry::profile
