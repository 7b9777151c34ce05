#include <gtest/gtest.h>

#include <random>
#include <string>

#include "profile/section_picture.h"
#include "profile/wmf_reader.h"
#include "profile/wmf_records.h"
#include "profile/wmf_writer.h"
#include "section_shapes.h"

namespace quoinry::profile {
namespace {

using namespace shapes;

std::string TubePicture() {
    const std::vector<Loop> loops = {RoundedRectangle(0, 0, 50, 80, 5),
                                     Reversed(Rectangle(2, 2, 46, 76)),
                                     Rectangle(500, 500, 5, 5)};  // outside the window
    return SectionPictureWmf(loops, ExportWindow(LoopBox(loops[0])));
}

TEST(SectionPicture, WindowHasThePictureShape) {
    // 60 × 100: k = ((100 + 20) × 296 / 216 − 60) / 2 = 52.22 (2 decimals).
    const Box window = ExportWindow({{0, 0}, {60, 100}});
    EXPECT_DOUBLE_EQ(window.min.x, -52.22);
    EXPECT_DOUBLE_EQ(window.max.x, 112.22);
    EXPECT_DOUBLE_EQ(window.min.y, -10);
    EXPECT_DOUBLE_EQ(window.max.y, 110);
    // A section too wide for the shape keeps 10 at the sides and grows in height instead.
    const Box wide = ExportWindow({{0, 0}, {400, 20}});
    EXPECT_DOUBLE_EQ(wide.min.x, -10);
    EXPECT_NEAR((wide.max.x - wide.min.x) / (wide.max.y - wide.min.y), 296.0 / 216, 1e-4);
}

TEST(SectionPicture, WrittenPictureReadsBackAsBlackOutlinesOnWhite) {
    const WmfReading reading = ReadWmf(TubePicture());
    ASSERT_EQ(reading.message, "");
    const Picture& picture = reading.picture;
    ASSERT_EQ(picture.paths.size(), 3u);  // paper, outer outline, inner outline
    EXPECT_TRUE(picture.paths[0].filled);
    EXPECT_EQ(picture.paths[0].fill_rgb, 0xFFFFFFu);
    EXPECT_FALSE(picture.paths[0].stroked);
    for (size_t i = 1; i < 3; ++i) {
        EXPECT_TRUE(picture.paths[i].closed);
        EXPECT_TRUE(picture.paths[i].stroked);
        EXPECT_EQ(picture.paths[i].pen_rgb, 0u);
        EXPECT_FALSE(picture.paths[i].filled);
    }
    // The outer outline spans 50 of the window's 50 + 2k in x.
    const Box window = ExportWindow({{0, 0}, {50, 80}});
    Box outline;
    for (Point p : picture.paths[1].points) outline.Add(p);
    const double width = picture.window.max.x - picture.window.min.x;
    EXPECT_NEAR((outline.max.x - outline.min.x) / width, 50 / (window.max.x - window.min.x), 1e-3);
    EXPECT_EQ(picture.window.min.x, 0);
}

TEST(SectionPicture, EllipsesAreDrawnAlongTheCurve) {
    // Two elliptic halves of x²/30² + y²/12² = 1: every point drawn lies on the curve.
    const Ellipse e{{0, 0}, {30, 0}, {0, 12}};
    const Loop loop = {EllipticEdge(e, 0, 3.14159265358979),
                       EllipticEdge(e, 3.14159265358979, 3.14159265358979)};
    const Box window = ExportWindow(LoopBox(loop));
    const WmfReading reading = ReadWmf(SectionPictureWmf({loop}, window));
    ASSERT_EQ(reading.picture.paths.size(), 2u);
    const std::vector<Point>& points = reading.picture.paths[1].points;
    EXPECT_GT(points.size(), 100u);
    const double scale = (reading.picture.window.max.x - reading.picture.window.min.x) /
                         (window.max.x - window.min.x);
    for (Point p : points) {
        const double x = p.x / scale + window.min.x, y = window.max.y - p.y / scale;
        EXPECT_NEAR(x * x / 900 + y * y / 144, 1, 0.01);
    }
}

TEST(WmfReader, ReadsShapesAndTextOfOtherWriters) {
    WmfWriter writer(1000, 800, 1440);
    writer.Select(writer.CreatePen(wmf::kPenSolid, 0x0000FF));
    writer.Polyline({{0, 0}, {100, 100}, {200, 0}});
    std::string bytes = writer.Finish();
    // Append an ellipse and a text record before the end record by hand.
    bytes.resize(bytes.size() - 6);
    auto word = [&](int v) {
        bytes += static_cast<char>(v & 0xFF);
        bytes += static_cast<char>((v >> 8) & 0xFF);
    };
    word(7), word(0), word(wmf::kEllipse), word(400), word(300), word(100), word(0);
    word(7), word(0), word(wmf::kTextOut), word(2), bytes += "\xB7\xE7", word(50), word(60);
    word(3), word(0), word(0);
    const WmfReading reading = ReadWmf(bytes);
    ASSERT_EQ(reading.message, "");
    ASSERT_EQ(reading.picture.paths.size(), 2u);
    EXPECT_EQ(reading.picture.paths[0].pen_rgb, 0x0000FFu);
    EXPECT_EQ(reading.picture.paths[0].points.size(), 3u);
    EXPECT_TRUE(reading.picture.paths[1].closed);
    ASSERT_EQ(reading.picture.texts.size(), 1u);
    EXPECT_EQ(reading.picture.texts[0].text, "风");
    EXPECT_EQ(reading.picture.texts[0].at.x, 60);
}

TEST(WmfReader, MalformedFilesGiveAnEmptyPictureAndAMessage) {
    const std::string good = TubePicture();
    for (size_t length = 0; length < good.size() - 6; ++length) {
        const WmfReading reading = ReadWmf(good.substr(0, length));
        // A cut at a record boundary leaves a shorter but whole picture.
        if (!reading.message.empty()) {
            EXPECT_TRUE(reading.picture.paths.empty()) << length;
        }
    }
    EXPECT_EQ(ReadWmf("").message, "图片文件已损坏:文件太短");
    std::string huge_count = good;
    huge_count[good.size() - 6] = '\x7F';  // the end record's length, far past the end
    EXPECT_NE(ReadWmf(huge_count).message, "");
    // Without its end record, or with a record cut short, the body is not whole records.
    EXPECT_EQ(ReadWmf(good.substr(0, good.size() - 6)).message, "图片文件已损坏:缺少结束记录");
    EXPECT_EQ(ReadWmf(good.substr(0, good.size() - 2)).message, "图片文件已损坏:缺少结束记录");
    std::mt19937 random(4);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes = good;
        for (int k = 0; k < 8; ++k) bytes[random() % bytes.size()] = static_cast<char>(random());
        const WmfReading reading = ReadWmf(bytes);
        if (!reading.message.empty()) {
            EXPECT_TRUE(reading.picture.paths.empty());
        }
    }
}

}  // namespace
}  // namespace quoinry::profile
