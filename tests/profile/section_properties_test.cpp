#include "profile/section_properties.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "common/numbers.h"
#include "profile/regions.h"
#include "profile/section_error.h"
#include "profile/section_values.h"
#include "section_shapes.h"

namespace quoinry::profile {
namespace {

using namespace shapes;
constexpr double kPi = std::numbers::pi;
constexpr double kRelative = 1e-9;

SectionProperties Measure(const std::vector<Loop>& loops) {
    const std::vector<Region> regions = FindRegions(loops);
    EXPECT_EQ(regions.size(), 1u);
    return ComputeSection(regions.at(0));
}

std::string Listing(const SectionProperties& s) {
    std::string text;
    for (const auto& [name, value] : NamedValues(ToProfileValues(s))) {
        text += std::string(name) + "=" + GeneralText(value) + " ";
    }
    return text;
}

void ExpectNear(double actual, double expected, const char* what) {
    EXPECT_NEAR(actual, expected, kRelative * std::abs(expected)) << what;
}

TEST(SectionValues, SolidRectangleGivesTheBoxTexts) {
    // 60 mm wide, 100 mm high: A = 6000 mm², Ix = 60·100³/12, Iy = 100·60³/12.
    const SectionProperties s = Measure({Rectangle(200, 300, 60, 100)});
    EXPECT_EQ(Listing(s),
              "A=60 Ix=500 Iy=180 Wx1=100 Wx2=100 Wy1=60 Wy2=60 Sx1=75 Sx2=75 Sy1=45 Sy2=45 ");
}

TEST(SectionValues, ClockwiseAndFarAwayDrawingsGiveTheSameValues) {
    const Loop near = RoundedRectangle(0, 0, 50, 80, 6);
    const SectionProperties a = Measure({near});
    const SectionProperties b = Measure({Reversed(Translated(near, {1e5, -3e5}))});
    ExpectNear(b.area_mm2, a.area_mm2, "area");
    ExpectNear(b.ix_mm4, a.ix_mm4, "Ix");
    ExpectNear(b.iy_mm4, a.iy_mm4, "Iy");
    ExpectNear(b.above.area_mm2, a.above.area_mm2, "A above");
    EXPECT_EQ(Listing(a), Listing(b));
}

TEST(SectionValues, RectangularTube) {
    // B × H outside, wall t: I = (B·H³ − b·h³)/12 with b = B − 2t, h = H − 2t.
    const double B = 50, H = 80, t = 1.6, b = B - 2 * t, h = H - 2 * t;
    const SectionProperties s = Measure({Rectangle(0, 0, B, H), Reversed(Rectangle(t, t, b, h))});
    ExpectNear(s.area_mm2, B * H - b * h, "A");
    ExpectNear(s.ix_mm4, (B * H * H * H - b * h * h * h) / 12, "Ix");
    ExpectNear(s.iy_mm4, (H * B * B * B - h * b * b * b) / 12, "Iy");
    // Half the tube above X: the first moment of a B × H/2 block minus a b × h/2 block.
    ExpectNear(s.above.area_mm2 * s.above.distance_mm, (B * H * H - b * h * h) / 8, "Sx1");
    ExpectNear(s.top_mm, H / 2, "top");
}

TEST(SectionValues, CircularTubeMatchesClosedForms) {
    // A = π(R² − r²), I = π(R⁴ − r⁴)/4, half-tube first moment (2/3)(R³ − r³).
    const double R = 30, r = 27.6;
    for (int pieces : {2, 3, 8, 64}) {
        const SectionProperties s =
            Measure({CircleLoop({7, -3}, R, pieces), Reversed(CircleLoop({7, -3}, r, pieces + 1))});
        ExpectNear(s.area_mm2, kPi * (R * R - r * r), "A");
        ExpectNear(s.ix_mm4, kPi * (std::pow(R, 4) - std::pow(r, 4)) / 4, "Ix");
        ExpectNear(s.iy_mm4, kPi * (std::pow(R, 4) - std::pow(r, 4)) / 4, "Iy");
        const double half = 2.0 / 3 * (R * R * R - r * r * r);
        for (const SectionPart& part : {s.above, s.below, s.left, s.right}) {
            ExpectNear(part.area_mm2 * part.distance_mm, half, "S");
        }
        ExpectNear(s.right_mm, R, "right");
        ExpectNear(s.bottom_mm, R, "bottom");
    }
}

TEST(SectionValues, RoundedRectangleMatchesHandFormula) {
    // A cross of two rectangles plus four quarter discs. A quarter disc whose centre lies c from
    // the axis adds c²·πr²/4 + 2c·r³/3 + πr⁴/16 to ∫y² (its own ∫y' = r³/3, ∫y'² = πr⁴/16).
    const double B = 40, H = 70, r = 5;
    const SectionProperties s = Measure({RoundedRectangle(-3, 2, B, H, r)});
    auto quarter_discs = [&](double c) {
        return 4 * (c * c * kPi * r * r / 4 + 2 * c * r * r * r / 3 + kPi * r * r * r * r / 16);
    };
    auto strip = [](double w, double h, double centre) {
        return w * h * h * h / 12 + w * h * centre * centre;
    };
    const double ix =
        strip(B, H - 2 * r, 0) + 2 * strip(B - 2 * r, r, (H - r) / 2) + quarter_discs(H / 2 - r);
    const double iy =
        strip(H, B - 2 * r, 0) + 2 * strip(H - 2 * r, r, (B - r) / 2) + quarter_discs(B / 2 - r);
    ExpectNear(s.area_mm2, B * H - (4 - kPi) * r * r, "A");
    ExpectNear(s.ix_mm4, ix, "Ix");
    ExpectNear(s.iy_mm4, iy, "Iy");
    ExpectNear(s.top_mm, H / 2, "top");
}

TEST(SectionValues, UnequalAngleMatchesHandFormula) {
    // L 60 × 40 × 5, corner at the origin: a vertical leg t × h and a horizontal leg (b − t) × t.
    // Centroid and moments by the parallel-axis rule; principal moments from the Mohr circle.
    const double h = 60, b = 40, t = 5;
    const SectionProperties s =
        Measure({Polygon({{0, 0}, {b, 0}, {b, t}, {t, t}, {t, h}, {0, h}})});
    const double a1 = t * h, a2 = (b - t) * t, a = a1 + a2;
    const double xc = (a1 * t / 2 + a2 * (t + b) / 2) / a;
    const double yc = (a1 * h / 2 + a2 * t / 2) / a;
    const double ixx = t * h * h * h / 12 + a1 * std::pow(h / 2 - yc, 2) +
                       (b - t) * t * t * t / 12 + a2 * std::pow(t / 2 - yc, 2);
    const double iyy = h * t * t * t / 12 + a1 * std::pow(t / 2 - xc, 2) +
                       t * std::pow(b - t, 3) / 12 + a2 * std::pow((t + b) / 2 - xc, 2);
    const double ixy = a1 * (t / 2 - xc) * (h / 2 - yc) + a2 * ((t + b) / 2 - xc) * (t / 2 - yc);
    const double mean = (ixx + iyy) / 2, radius = std::hypot((ixx - iyy) / 2, ixy);
    ExpectNear(s.centroid.x, xc, "xc");
    ExpectNear(s.centroid.y, yc, "yc");
    ExpectNear(s.ixy_mm4, ixy, "Ixy");
    ExpectNear(s.principal_mm4[0], mean - radius, "I min");
    ExpectNear(s.principal_mm4[1], mean + radius, "I max");
    // The part above X is the leg above the centroid: t·(h − yc)²/2; about the centroid the two
    // sides balance.
    ExpectNear(s.above.area_mm2 * s.above.distance_mm, t * std::pow(h - yc, 2) / 2, "Sx1");
    ExpectNear(s.below.area_mm2 * s.below.distance_mm, t * std::pow(h - yc, 2) / 2, "Sx2");
    ExpectNear(s.top_mm, h - yc, "top");
    ExpectNear(s.left_mm, xc, "left");
    // The smaller moment's axis leans more than 30° from X, so it is Iy.
    EXPECT_GT(std::abs(s.principal_axis[0].y), 0.5);
    EXPECT_EQ(s.ix_mm4, s.principal_mm4[1]);
}

TEST(SectionValues, PrincipalMomentsGoToXAndYByTheAxisOfTheSmallerOne) {
    // A 100 × 20 bar: principal moments 20·100³/12 and 100·20³/12 at any angle; the smaller
    // belongs to the bar's long axis.
    const double small = 100.0 * 20 * 20 * 20 / 12, large = 20.0 * 100 * 100 * 100 / 12;
    struct Case {
        double degrees;
        double ix;
    };
    // The smaller moment's axis turns to Y once its y component rounds to 1: beyond 30°.
    for (const Case& c : {Case{0, small}, Case{20, small}, Case{29.9, small}, Case{30.1, large},
                          Case{60, large}, Case{90, large}, Case{145, large}, Case{151, small}}) {
        const Loop bar = Rotated(Rectangle(-50, -10, 100, 20), c.degrees * kPi / 180);
        const SectionProperties s = Measure({bar});
        ExpectNear(s.principal_mm4[0], small, "min");
        ExpectNear(s.principal_mm4[1], large, "max");
        ExpectNear(s.ix_mm4, c.ix, "Ix");
        ExpectNear(s.iy_mm4, c.ix == small ? large : small, "Iy");
        const Point axis = s.principal_axis[0];
        EXPECT_NEAR(std::abs(axis.y), std::abs(std::sin(c.degrees * kPi / 180)), 1e-9);
    }
}

TEST(SectionValues, EqualPrincipalMomentsTakeXFirst) {
    const SectionProperties s = Measure({Rectangle(0, 0, 30, 30)});
    EXPECT_EQ(s.principal_axis[0].x, 1);
    EXPECT_EQ(s.principal_axis[0].y, 0);
    EXPECT_EQ(s.principal_axis[1].y, 1);
}

TEST(SectionValues, PlateWithTwoRoundHoles) {
    // 100 × 40 plate, holes r = 6 at x = ±25 on the centre line: each takes πr⁴/4 + πr²·25² from
    // Iy.
    const double r = 6;
    const SectionProperties s =
        Measure({Rectangle(-50, -20, 100, 40), CircleLoop({-25, 0}, r), CircleLoop({25, 0}, r)});
    const double hole = kPi * r * r;
    ExpectNear(s.area_mm2, 4000 - 2 * hole, "A");
    ExpectNear(s.ix_mm4, 100.0 * 40 * 40 * 40 / 12 - 2 * hole * r * r / 4, "Ix");
    ExpectNear(s.iy_mm4, 40.0 * 100 * 100 * 100 / 12 - 2 * (hole * r * r / 4 + hole * 625), "Iy");
    // Left of Y: a 50 × 40 block minus one hole, each at its own distance.
    ExpectNear(s.left.area_mm2 * s.left.distance_mm, 2000 * 25 - hole * 25, "Sy1");
}

// An ellipse as the image of the unit circle under p ↦ centre + [u v]·p, in `pieces` elliptic
// edges from parameter t0, clockwise when `backwards`.
Loop EllipseLoop(Point centre, Point u, Point v, double t0, int pieces, bool backwards) {
    Loop loop;
    const double step = 2 * std::numbers::pi / pieces;
    for (int k = 0; k < pieces; ++k)
        loop.push_back(EllipticEdge({centre, u, v}, t0 + k * step, step));
    loop.back().end = loop.front().start;
    return backwards ? Reversed(loop) : loop;
}

TEST(EllipseSections, MatchTheUnitCircleMappedByTheirAxes) {
    // The unit disc has A = π and ∫x² = ∫y² = π/4; mapped by M = [u v] a figure's tensor of
    // second moments is |det M|·(π/4)·M·Mᵀ, and the half on one side of a centroidal axis has
    // first moment (2/3)·|det M|·|row of M across that axis|.
    struct Case {
        const char* what;
        Point centre, u, v;
        double t0;
        int pieces;
        bool backwards;
    };
    const double c30 = std::cos(kPi / 6), s30 = std::sin(kPi / 6);
    const Case cases[] = {
        {"axes along x and y", {0, 0}, {30, 0}, {0, 12}, 0, 2, false},
        {"turned by 30°, far away",
         {5e5, -3e5},
         {30 * c30, 30 * s30},
         {-12 * s30, 12 * c30},
         0.3,
         2,
         false},
        {"mirrored (minor axis turned the other way)",
         {7, -3},
         {30 * c30, 30 * s30},
         {12 * s30, -12 * c30},
         1,
         3,
         false},
        {"sheared circle of a block scaled unevenly", {-4, 9}, {20, 0}, {10, 10}, 2.5, 5, true},
        {"flat pieces", {1, 2}, {0, 25}, {-8, 0}, 0.1, 64, false},
    };
    for (const Case& c : cases) {
        const SectionProperties s =
            Measure({EllipseLoop(c.centre, c.u, c.v, c.t0, c.pieces, c.backwards)});
        const double det = std::abs(Cross(c.u, c.v));
        const double k = det * kPi / 4;
        ExpectNear(s.area_mm2, kPi * det, c.what);
        EXPECT_NEAR(s.centroid.x, c.centre.x, 1e-9 * 30) << c.what;
        EXPECT_NEAR(s.centroid.y, c.centre.y, 1e-9 * 30) << c.what;
        ExpectNear(s.iyy_mm4, k * (c.u.x * c.u.x + c.v.x * c.v.x), c.what);
        ExpectNear(s.ixx_mm4, k * (c.u.y * c.u.y + c.v.y * c.v.y), c.what);
        EXPECT_NEAR(s.ixy_mm4, k * (c.u.x * c.u.y + c.v.x * c.v.y), 1e-9 * k * 900) << c.what;
        const double across_x = std::hypot(c.u.y, c.v.y), across_y = std::hypot(c.u.x, c.v.x);
        for (const SectionPart& part : {s.above, s.below}) {
            ExpectNear(part.area_mm2 * part.distance_mm, 2.0 / 3 * det * across_x, c.what);
        }
        for (const SectionPart& part : {s.left, s.right}) {
            ExpectNear(part.area_mm2 * part.distance_mm, 2.0 / 3 * det * across_y, c.what);
        }
        ExpectNear(s.top_mm, across_x, c.what);
        ExpectNear(s.left_mm, across_y, c.what);
    }
}

TEST(EllipseSections, WindingSeesInsideTheCurveNotJustTheChords) {
    // Ellipse x²/30² + y²/12² = 1 in two halves: (29, 2) lies between the curve and the chord.
    const Loop loop = EllipseLoop({0, 0}, {30, 0}, {0, 12}, 0, 2, false);
    EXPECT_EQ(WindingNumber(loop, {29, 2}), 1);
    EXPECT_EQ(WindingNumber(loop, {0, 11.9}), 1);
    EXPECT_EQ(WindingNumber(loop, {0, 12.1}), 0);
    EXPECT_EQ(WindingNumber(loop, {29, 5}), 0);
    EXPECT_EQ(WindingNumber(Reversed(loop), {-20, 0}), -1);
    const Loop mirrored = EllipseLoop({0, 0}, {30, 0}, {0, -12}, 0, 2, false);
    EXPECT_EQ(WindingNumber(mirrored, {29, 2}), -1);
    EXPECT_EQ(WindingNumber(mirrored, {29, 5}), 0);
}

TEST(SectionValues, ValuesTooLargeForTheReportsAreRefused) {
    // Ix = s⁴/12 mm⁴ must stay below 1e12 cm⁴: s = 18,000 mm gives 8.7e11, 19,000 mm 1.09e12.
    const std::vector<Region> fits = FindRegions({Rectangle(0, 0, 18000, 18000)});
    EXPECT_NEAR(MeasureProfile(fits.at(0)).ix_cm4, std::pow(18000.0, 4) / 12 / 1e4, 1e-3);
    const std::vector<Region> too_large = FindRegions({Rectangle(0, 0, 19000, 19000)});
    try {
        MeasureProfile(too_large.at(0));
        ADD_FAILURE() << "accepted";
    } catch (const SectionError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "截面特性值1.09e+12过大,超出计算书可表示的范围,请检查图形单位");
    }
}

TEST(SectionValues, CircularSegmentsOnBothSidesOfTheSeriesSwitch) {
    // The segment of a circle r = 10 above its chord at half-angle a: the sector of angle 2a less
    // the triangle to the centre. A = r²(2a − sin 2a)/2, centroid 4r·sin³a / (3(2a − sin 2a))
    // from the centre; about the centre ∫x² = r⁴(a − sc)/4 − r⁴s³c/6, ∫y² = r⁴(a + sc)/4 −
    // r⁴sc³/2 (s = sin a, c = cos a). Flat segments (a < 0.25) take a series.
    const double r = 10;
    for (double a : {0.05, 0.15, 0.2499, 0.2501, 0.6, 1.4}) {
        const double s = std::sin(a), c = std::cos(a), r4 = r * r * r * r;
        const Loop segment = {{{r * s, r * c}, {-r * s, r * c}, 2 * a},
                              {{-r * s, r * c}, {r * s, r * c}, 0}};
        const SectionProperties p = Measure({segment});
        const double area = r * r * (2 * a - std::sin(2 * a)) / 2;
        const double d = 4 * r * s * s * s / (3 * (2 * a - std::sin(2 * a)));
        const double xx = r4 * (a - s * c) / 4 - r4 * s * s * s * c / 6;
        const double yy = r4 * (a + s * c) / 4 - r4 * s * c * c * c / 2 - area * d * d;
        EXPECT_NEAR(p.area_mm2, area, 1e-12 * area) << a;
        EXPECT_NEAR(p.centroid.y, d, 1e-12 * r) << a;
        EXPECT_NEAR(p.iyy_mm4, xx, 1e-9 * xx) << a;
        // About the centroid the reference loses as many digits as (d / segment height)² has:
        // too many below a = 0.2.
        if (a > 0.2) {
            EXPECT_NEAR(p.ixx_mm4, yy, 1e-9 * yy) << a;
        }
    }
}

}  // namespace
}  // namespace quoinry::profile
