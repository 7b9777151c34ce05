#include "profile/regions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "profile/section_error.h"
#include "profile/section_properties.h"
#include "section_shapes.h"

namespace quoinry::profile {
namespace {

using namespace shapes;

std::string Refusal(const std::vector<Loop>& loops) {
    try {
        FindRegions(loops);
    } catch (const SectionError& e) {
        return e.what();
    }
    return "accepted";
}

TEST(Regions, NestedLoopsAlternateBetweenAreaAndHole) {
    // Outer 100 × 100 with a 60 × 60 hole holding a 20 × 20 island, and a separate small square.
    const std::vector<Region> regions =
        FindRegions({Rectangle(20, 20, 60, 60), Rectangle(0, 0, 100, 100),
                     Reversed(Rectangle(40, 40, 20, 20)), Rectangle(200, 0, 10, 10)});
    ASSERT_EQ(regions.size(), 3u);
    EXPECT_DOUBLE_EQ(regions[0].area_mm2, 10000 - 3600);
    EXPECT_EQ(regions[0].holes.size(), 1u);
    EXPECT_DOUBLE_EQ(regions[1].area_mm2, 400);
    EXPECT_DOUBLE_EQ(regions[2].area_mm2, 100);
    EXPECT_GT(LoopArea(regions[0].outer), 0);
    EXPECT_LT(LoopArea(regions[0].holes[0]), 0);
}

TEST(Regions, ConcentricCirclesMakeATube) {
    // The inner circle's points lie on the chord line of the outer one's half circles.
    const std::vector<Region> regions =
        FindRegions({CircleLoop({25, 25}, 25), CircleLoop({25, 25}, 23)});
    ASSERT_EQ(regions.size(), 1u);
    EXPECT_EQ(regions[0].holes.size(), 1u);
}

TEST(Regions, WindingNumberSeesInsideArcs) {
    const Loop circle = CircleLoop({0, 0}, 10);
    EXPECT_EQ(WindingNumber(circle, {9.9, 0.5}), 1);
    EXPECT_EQ(WindingNumber(circle, {0, -9.9}), 1);
    EXPECT_EQ(WindingNumber(circle, {7.1, 7.1}), 0);
    EXPECT_EQ(WindingNumber(Reversed(circle), {0, 0}), -1);
    EXPECT_EQ(WindingNumber(circle, {-3, 0}), 1);  // on the chord of both halves
    EXPECT_EQ(WindingNumber(circle, {12, 0}), 0);
}

TEST(Regions, RefusesBrokenDrawingsNamingThePlace) {
    struct Case {
        const char* what;
        std::vector<Loop> loops;
        const char* message;
    };
    const Case cases[] = {
        {"nothing", {}, "图形中没有封闭的轮廓"},
        {"bow tie",
         {Polygon({{0, 0}, {10, 10}, {10, 0}, {0, 20}})},
         "轮廓自相交,位置 (6.6667, 6.6667)"},
        {"crossing loops",
         {Rectangle(0, 0, 10, 10), Rectangle(5, 5, 10, 10)},
         "两个轮廓相交、重叠或相接,位置 "},
        {"hole touching its outer loop",
         {Rectangle(0, 0, 10, 10), Rectangle(0, 2, 4, 4)},
         "两个轮廓相交、重叠或相接,位置 "},
        {"circle cutting a square",
         {Rectangle(0, 0, 10, 10), CircleLoop({10, 5}, 2)},
         "两个轮廓相交、重叠或相接,位置 "},
        {"doubled back", {Polygon({{0, 0}, {10, 0}, {5, 0}})}, "轮廓没有面积,位置 (0, 0)"},
        {"spike",
         {Polygon({{0, 0}, {10, 0}, {10, 10}, {5, 10}, {5, 15}, {5, 10}, {0, 10}})},
         "轮廓自"},
        {"arc crossing its own line",
         {Loop{{{0, 0}, {10, 0}, 0}, {{10, 0}, {0, 0}, -4.0}}},
         "accepted"},
        {"figure of eight",
         {Loop{{{0, 0}, {10, 0}, 3},
               {{10, 0}, {0, 0}, 3},
               {{0, 0}, {-6, 0}, -3},
               {{-6, 0}, {0, 0}, -3}}},
         "轮廓自相交,位置 (0, 0)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Refusal(c.loops).rfind(c.message, 0), 0u) << c.what << ": " << Refusal(c.loops);
    }
}

TEST(Regions, IslandInsideAnArcsBulgeIsAHole) {
    // 20 × 10 with a half circle of radius 10 on top (centre (10, 10)): a square in the half
    // circle above the chord is a hole; one beside the arc, inside the box only, is apart.
    const Loop arched{{{0, 0}, {20, 0}, 0},
                      {{20, 0}, {20, 10}, 0},
                      {{20, 10}, {0, 10}, std::numbers::pi},
                      {{0, 10}, {0, 0}, 0}};
    const std::vector<Region> regions =
        FindRegions({arched, Rectangle(9, 14, 2, 2), Rectangle(18, 18, 2, 2)});
    ASSERT_EQ(regions.size(), 2u);
    EXPECT_NEAR(regions[0].area_mm2, 200 + 50 * std::numbers::pi - 4, 1e-9);
    EXPECT_EQ(regions[0].holes.size(), 1u);
    EXPECT_DOUBLE_EQ(regions[1].area_mm2, 4);
}

TEST(Regions, PointOnAChordsLineIsJudgedByTheWindingNumber) {
    // The square's lower side runs along the chord of the circle's two halves (y = 25).
    const std::vector<Region> regions =
        FindRegions({CircleLoop({25, 25}, 25), Rectangle(20, 25, 10, 5)});
    ASSERT_EQ(regions.size(), 1u);
    EXPECT_EQ(regions[0].holes.size(), 1u);
}

TEST(Regions, ReversedEllipticHoleKeepsItsQuarter) {
    // A 100 × 100 square less a quarter of the ellipse with semi-axes 20 and 10 about (50, 50),
    // drawn counter-clockwise, so that it is turned round as a hole.
    const Ellipse e{{50, 50}, {20, 0}, {0, 10}};
    const Loop quarter{
        {{50, 50}, {70, 50}, 0}, EllipticEdge(e, 0, std::numbers::pi / 2), {{50, 60}, {50, 50}, 0}};
    const std::vector<Region> regions = FindRegions({Rectangle(0, 0, 100, 100), quarter});
    ASSERT_EQ(regions.size(), 1u);
    const double a = 50 * std::numbers::pi;                  // the quarter's area, πab/4
    const double xq = 50 + 4 * 20 / (3 * std::numbers::pi);  // its centroid
    const SectionProperties s = ComputeSection(regions[0]);
    EXPECT_NEAR(s.area_mm2, 10000 - a, 1e-9);
    EXPECT_NEAR(s.centroid.x, (10000 * 50 - a * xq) / (10000 - a), 1e-9);
}

TEST(Regions, EdgesShorterThanTheToleranceGoAndLoopsComeOutClosed) {
    const double tolerance = DrawingTolerance(LoopBox(Rectangle(0, 0, 10, 10)));
    // A first side split just below and just above the tolerance from its start.
    for (const double part : {1 - 1e-7, 1 + 1e-7}) {
        const Loop split = Polygon({{0, 0}, {part * tolerance, 0}, {10, 0}, {10, 10}, {0, 10}});
        EXPECT_EQ(FindRegions({split})[0].outer.size(), part < 1 ? 4u : 5u) << part;
    }
    // A bump of 1e-7 mm on the top side, a half circle: it goes, and the box with it.
    const Loop bumped{
        {{0, 0}, {10, 0}, 0},          {{10, 0}, {10, 10}, 0},
        {{10, 10}, {5 + 5e-8, 10}, 0}, {{5 + 5e-8, 10}, {5 - 5e-8, 10}, std::numbers::pi},
        {{5 - 5e-8, 10}, {0, 10}, 0},  {{0, 10}, {0, 0}, 0}};
    const Region bump = FindRegions({bumped})[0];
    EXPECT_EQ(bump.outer.size(), 5u);
    EXPECT_EQ(bump.box.max.y, 10);
    // A side that starts 1e-12 mm from where the one before ends starts exactly there.
    Loop gapped = Rectangle(0, 0, 10, 10);
    gapped[1].start.y = 1e-12;
    const Loop outer = FindRegions({gapped})[0].outer;
    for (size_t k = 0; k < outer.size(); ++k) {
        const Point end = outer[(k + outer.size() - 1) % outer.size()].end;
        EXPECT_TRUE(outer[k].start.x == end.x && outer[k].start.y == end.y) << k;
    }
}

TEST(Regions, LoopsWithinTheToleranceOfEachOtherTouch) {
    // A triangle pointing down at the square's top side from half a tolerance and from two.
    const double tolerance = DrawingTolerance(LoopBox(Rectangle(0, 0, 10, 15)));
    const Loop square = Rectangle(0, 0, 10, 10);
    auto triangle = [&](double gap) {
        return Polygon({{5, 10 + gap * tolerance}, {7, 15}, {3, 15}});
    };
    EXPECT_EQ(Refusal({square, triangle(0.5)}), "两个轮廓相交、重叠或相接,位置 (5, 10)");
    EXPECT_EQ(Refusal({square, triangle(2)}), "accepted");
}

// Hundreds of loops are checked for crossings on a second thread while their nesting is found.
TEST(Regions, ManyLoopsAreJudgedAsFewAre) {
    std::vector<Loop> loops;  // 600 squares 10 mm wide, 20 mm apart, each with a round hole
    for (int k = 0; k < 600; ++k) {
        const double x = 20 * (k % 25), y = 20 * (k / 25);
        loops.push_back(Rectangle(x, y, 10, 10));
        loops.push_back(CircleLoop({x + 5, y + 5}, 2));
    }
    const std::vector<Region> regions = FindRegions(loops);
    ASSERT_EQ(regions.size(), 600u);
    for (const Region& region : regions) {
        ASSERT_EQ(region.holes.size(), 1u);
        EXPECT_NEAR(region.area_mm2, 100 - 4 * std::numbers::pi, 1e-9);
    }
    // A sliver touching the last square's right side between its corners.
    loops.push_back(Polygon({{490, 463}, {500, 462}, {500, 464}}));
    EXPECT_EQ(Refusal(loops), "两个轮廓相交、重叠或相接,位置 (490, 463)");
}

// Deep nesting costs no more than wide: 2,000 concentric squares 1 mm apart make 1,000 rings,
// ring k between the squares of sides 2000 − 2k and 1998 − 2k (area 4·(1999 − 2k)), whatever
// way each loop runs.
TEST(Regions, DeeplyNestedSquaresMakeRings) {
    std::vector<Loop> loops;
    for (int k = 0; k < 2000; ++k) {
        const Loop square = Rectangle(k, k, 4000 - 2 * k, 4000 - 2 * k);
        loops.push_back(k % 3 == 0 ? Reversed(square) : square);
    }
    const std::vector<Region> regions = FindRegions(loops);
    ASSERT_EQ(regions.size(), 1000u);
    for (std::size_t r = 0; r < regions.size(); ++r) {
        const double outer = 4000 - 4.0 * static_cast<double>(r);
        ASSERT_EQ(regions[r].holes.size(), 1u) << r;
        EXPECT_DOUBLE_EQ(regions[r].area_mm2, outer * outer - (outer - 2) * (outer - 2)) << r;
    }
}

// Rays from each loop's rightmost point meet a neighbour from outside, run along level edges,
// or graze a circle at its top, a corner at its tip: each loop still finds the loop around it.
TEST(Regions, LoopsBesideEachOtherFindTheLoopAroundThem) {
    std::vector<Loop> loops{Rectangle(0, 0, 1000, 100)};
    for (int k = 0; k < 40; ++k) loops.push_back(Rectangle(10 + 20 * k, 10, 10, 10));
    // The squares' right sides end at y 20 and 10: level with a circle's top and a diamond's tip.
    loops.push_back(CircleLoop({850, 15}, 5));
    loops.push_back(Polygon({{880, 10}, {890, 20}, {900, 10}, {890, 0.5}}));
    loops.push_back(CircleLoop({950, 50}, 30, 3));
    loops.push_back(Rectangle(940, 40, 20, 20));  // an island in the round hole
    const std::vector<Region> regions = FindRegions(loops);
    ASSERT_EQ(regions.size(), 2u);
    EXPECT_EQ(regions[0].holes.size(), 43u);
    EXPECT_DOUBLE_EQ(regions[1].area_mm2, 400);
    EXPECT_TRUE(regions[1].holes.empty());
}

TEST(Regions, TangentFilletsAndSharedCornersAreFine) {
    EXPECT_EQ(Refusal({RoundedRectangle(0, 0, 30, 20, 10)}), "accepted");  // half-circle ends
    EXPECT_EQ(Refusal({CircleLoop({0, 0}, 5, 2)}), "accepted");
    EXPECT_EQ(Refusal({Rectangle(0, 0, 1e-3, 1e-3)}), "accepted");  // tiny but whole
}

}  // namespace
}  // namespace quoinry::profile

namespace quoinry::profile {
namespace {

using namespace shapes;

// A star of n spikes between radii 10 and 100: every edge's box overlaps hundreds of others.
std::vector<Point> Star(int spikes) {
    std::vector<Point> points;
    for (int k = 0; k < 2 * spikes; ++k) {
        const double a = std::numbers::pi * k / spikes;
        const double r = k % 2 ? 10 : 100;
        points.push_back({r * std::cos(a), r * std::sin(a)});
    }
    return points;
}

TEST(Crossings, SweepFindsTheOnlyFaultAmongManyOverlappingBoxes) {
    std::vector<Point> star = Star(2000);
    EXPECT_EQ(Refusal({Polygon(star)}), "accepted");
    // Two spike tips swapped: the edges to them cross like an X.
    std::vector<Point> bent = star;
    std::swap(bent[1000], bent[1002]);
    EXPECT_EQ(Refusal({Polygon(bent)}).rfind("轮廓自相交", 0), 0u);
    // A small loop touching the tip of a spike from outside, and one a gap away.
    const Point tip = star[0];
    EXPECT_EQ(Refusal({Polygon(star), Rectangle(tip.x, tip.y - 1, 2, 2)}).rfind("两个轮廓相交", 0),
              0u);
    EXPECT_EQ(Refusal({Polygon(star), Rectangle(tip.x + 1e-3, tip.y - 1, 2, 2)}), "accepted");
}

TEST(Crossings, VerticalEdgesMeetEveryEdgeAlongThem) {
    struct Case {
        const char* what;
        std::vector<Loop> loops;
        const char* message;
    };
    const Case cases[] = {
        {"sliver touching a side between its corners",
         {Rectangle(0, 0, 10, 10), Polygon({{10, 3}, {20, 3}, {20, 4}})},
         "两个轮廓相交、重叠或相接,位置 (10, 3)"},
        {"side passing through a corner of the other",
         {Rectangle(0, 0, 10, 10), Polygon({{10, 10}, {20, 12}, {20, 20}})},
         "两个轮廓相交、重叠或相接,位置 (10, 10)"},
        {"comb with a tooth through the back",
         {Polygon({{0, 0}, {100, 0}, {100, 1}, {-0.5, 1}, {-0.5, 2}, {100, 2}, {100, 3}, {0, 3}})},
         "轮廓自相交,位置 (0, 1)"},
        {"comb",
         {Polygon({{0, 0}, {100, 0}, {100, 1}, {1, 1}, {1, 2}, {100, 2}, {100, 3}, {0, 3}})},
         "accepted"},
        {"arc bulging into a neighbour",
         {Rectangle(0, 0, 10, 10), Loop{{{10.5, 0}, {20, 0}, 0},
                                        {{20, 0}, {20, 10}, 0},
                                        {{20, 10}, {10.5, 10}, 0},
                                        {{10.5, 10}, {10.5, 0}, 1.5}}},
         "两个轮廓相交、重叠或相接"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Refusal(c.loops).rfind(c.message, 0), 0u) << c.what << ": " << Refusal(c.loops);
    }
}

}  // namespace
}  // namespace quoinry::profile

namespace quoinry::profile {
namespace {

using namespace shapes;

TEST(Crossings, HalvesOfACircleKeepTheirOrderInTheSweep) {
    // A circle crosses the lower side of a plate above it at (±4, 3). Left of x = −4.2 a sliver
    // lies between them, so the crossing is found only where the sliver ends, between the
    // circle's upper half and the plate: the upper half must be known to lie above the lower
    // one although both leave (−5, 0) together and meet again at (5, 0).
    const Loop sliver = Polygon({{-6, 2.9}, {-4.2, 2.9}, {-6, 2.95}});
    const Loop plate = Rectangle(-20, 3, 40, 7);
    for (bool backwards : {false, true}) {
        const Loop circle = backwards ? Reversed(CircleLoop({0, 0}, 5)) : CircleLoop({0, 0}, 5);
        EXPECT_EQ(Refusal({plate, sliver, circle}).rfind("两个轮廓相交", 0), 0u) << backwards;
        EXPECT_EQ(Refusal({plate, sliver, circle}), Refusal({circle, sliver, plate})) << backwards;
    }
}

}  // namespace
}  // namespace quoinry::profile

namespace quoinry::profile {
namespace {

using namespace shapes;

TEST(Crossings, FewEdgesAreJudgedAsTheSweepJudgesThem) {
    // A polygon of n corners on a circle of radius 10 with a corner at (10, 0), and a 2 × 2
    // square whose left side runs through that corner or a millimetre beside it: groups of 31
    // to 34 edges, on both sides of the size that is compared pair by pair.
    for (int corners : {27, 28, 29, 30}) {
        std::vector<Point> ring;
        for (int k = 0; k < corners; ++k) {
            const double a = 2 * std::numbers::pi * k / corners;
            ring.push_back({10 * std::cos(a), 10 * std::sin(a)});
        }
        EXPECT_EQ(Refusal({Polygon(ring), Rectangle(10, -1, 2, 2)}),
                  "两个轮廓相交、重叠或相接,位置 (10, 0)")
            << corners;
        EXPECT_EQ(Refusal({Rectangle(11, -1, 2, 2), Polygon(ring)}), "accepted") << corners;
        // Two corners swapped: the edges to them cross like an X.
        std::swap(ring[5], ring[6]);
        EXPECT_EQ(Refusal({Polygon(ring)}).rfind("轮廓自相交", 0), 0u) << corners;
    }
}

}  // namespace
}  // namespace quoinry::profile
