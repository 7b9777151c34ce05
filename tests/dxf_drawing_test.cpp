#include "profile/dxf_drawing.h"

#include <gtest/gtest.h>

#include <cmath>
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
