// Drawings as CAD programs write them, made by ezdxf (tests/dxf/make_drawings.py) in DXF R12 to
// R2018: each places one profile (a 60 × 40 plate with a hole of radius 8 at (20, 22)) in its
// own way, and its section must match the closed forms of the profile as placed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <numbers>
#include <string>

#include <unistd.h>

#include "profile/dxf_drawing.h"
#include "profile/regions.h"
#include "profile/section_properties.h"

namespace quoinry::profile {
namespace {

namespace fs = std::filesystem;
constexpr double kPi = std::numbers::pi;

// Area, centroid and second moments about the centroid (∫x², ∫y², ∫xy) of a figure.
struct Figure {
    double area = 0;
    Point centroid;
    double xx = 0, yy = 0, xy = 0;
};

// The image of `f` under p ↦ L·p + shift, L = [[a, b], [c, d]]: areas scale by |det L|, the
// tensor of second moments by L·J·Lᵀ.
Figure Mapped(const Figure& f, double a, double b, double c, double d, Point shift = {}) {
    const double det = std::abs(a * d - b * c);
    Figure m;
    m.area = det * f.area;
    m.centroid =
        Point{a * f.centroid.x + b * f.centroid.y, c * f.centroid.x + d * f.centroid.y} + shift;
    m.xx = det * (a * a * f.xx + 2 * a * b * f.xy + b * b * f.yy);
    m.yy = det * (c * c * f.xx + 2 * c * d * f.xy + d * d * f.yy);
    m.xy = det * (a * c * f.xx + (a * d + b * c) * f.xy + b * d * f.yy);
    return m;
}

// f minus g (g inside f), by the parallel-axis rule.
Figure Minus(const Figure& f, const Figure& g) {
    Figure m;
    m.area = f.area - g.area;
    m.centroid = (1 / m.area) * (f.area * f.centroid - g.area * g.centroid);
    auto shifted = [&](const Figure& h, double sign) {
        const Point d = h.centroid - m.centroid;
        m.xx += sign * (h.xx + h.area * d.x * d.x);
        m.yy += sign * (h.yy + h.area * d.y * d.y);
        m.xy += sign * (h.xy + h.area * d.x * d.y);
    };
    shifted(f, 1);
    shifted(g, -1);
    return m;
}

Figure Rectangle(double w, double h) {
    return {w * h, {w / 2, h / 2}, h * w * w * w / 12, w * h * h * h / 12, 0};
}
const Figure kUnitDisc{kPi, {0, 0}, kPi / 4, kPi / 4, 0};
// Upper half of the unit disc: centroid 4/(3π) above the diameter.
const Figure kUnitHalfDisc{
    kPi / 2, {0, 4 / (3 * kPi)}, kPi / 8, kPi / 8 - kPi / 2 * 16 / (9 * kPi * kPi), 0};

// A regular n-gon of circumradius r: n triangles from the centre, ∫|p|² = n·r⁴·sin θ·(2 + cos
// θ)/12.
Figure RegularPolygon(int n, double r) {
    const double t = 2 * kPi / n;
    const double polar = n * r * r * r * r * std::sin(t) * (2 + std::cos(t)) / 12;
    return {n * r * r * std::sin(t) / 2, {0, 0}, polar / 2, polar / 2, 0};
}

const Figure kPlate = Minus(Rectangle(60, 40), Mapped(kUnitDisc, 8, 0, 0, 8, {20, 22}));

struct Placement {
    const char* name;
    Figure expected;
    size_t regions = 1;
    const char* note = "";
    double relative = 1e-9;
};

// The ellipse of the drawings: major axis (6, 8), ratio 0.6, so minor axis 0.6·(−8, 6).
const Figure kEllipseHole = Mapped(kUnitDisc, 6, -4.8, 8, 3.6, {20, 22});
const Figure kEllipsePlate = Minus(Rectangle(60, 40), kEllipseHole);
const double kSin45 = std::sqrt(0.5);
const Point kNestedShift =
    Point{200, 100} + Point{20 * std::cos(kPi / 12), 20 * std::sin(kPi / 12)};

const Placement kPlacements[] = {
    {"plain", kPlate},
    {"block_moved", Mapped(kPlate, 1, 0, 0, 1, {100, 50})},
    {"block_rotated", Mapped(kPlate, 0, -1, 1, 0)},
    {"block_scaled", Mapped(kPlate, 2, 0, 0, 2)},
    {"block_mirrored", Mapped(kPlate, -1, 0, 0, 1)},
    {"block_unequal", Mapped(kPlate, 2, 0, 0, 1)},
    {"block_base", Mapped(kPlate, 1, 0, 0, 1, {-30, -20})},
    {"block_nested", Mapped(kPlate, 2 * kSin45, -2 * kSin45, 2 * kSin45, 2 * kSin45, kNestedShift)},
    {"block_twice", kPlate, 2},
    {"block_array", kPlate, 4},
    {"block_seen_from_below", Mapped(kPlate, -1, 0, 0, 1, {-50, 0})},
    {"far", Mapped(kPlate, 1, 0, 0, 1, {500000, -300000})},
    {"units_cm", kPlate, 1, "图形单位为厘米"},
    {"lines_with_gaps",
     // Ends moved by up to 1e-4 mm move the corners joined there by as much.
     Minus(Rectangle(60, 40), Mapped(RegularPolygon(720, 8), 1, 0, 0, 1, {20, 22})), 1, "", 1e-5},
    {"duplicates", kPlate, 1, "重复绘制"},
    {"duplicates_lines_first", kPlate, 1, "有2处重复绘制的图线"},
    {"centre_lines", kPlate, 1, "非连续线型"},
    {"chinese_layers", kPlate, 1, "非连续线型"},
    {"ellipse_hole", kEllipsePlate},
    {"ellipse_half", Minus(Rectangle(60, 40), Mapped(kUnitHalfDisc, 10, 0, 0, 5, {30, 20}))},
    // x scale −2, then turned by 90°: (x, y) ↦ (−y, −2x).
    {"ellipse_in_unequal_block", Mapped(kEllipsePlate, 0, -1, -2, 0)},
    {"spline_circle", kPlate, 1, "样条曲线", 1e-6},
};

class DxfDrawings : public testing::Test {
  protected:
    static void TearDownTestSuite() {
        if (!folder_.empty())
            fs::remove_all(folder_);
    }

    // Draws the named cases (all without names) into a folder of this process's own.
    void Make(const std::string& cases = "") {
        if (std::string(QUOINRY_EZDXF_PYTHON).empty())
            GTEST_SKIP() << "python3-ezdxf is not installed: apt-get install python3-ezdxf";
        folder_ = fs::temp_directory_path() / ("quoinry-dxf-drawings-" + std::to_string(getpid()));
        fs::remove_all(folder_);
        const std::string command = std::string(QUOINRY_EZDXF_PYTHON) + " " + QUOINRY_TEST_DATA +
                                    "/dxf/make_drawings.py " + folder_.string() + " " + cases;
        ASSERT_EQ(std::system(command.c_str()), 0) << "tests/dxf/make_drawings.py failed";
    }

    // Every version of a case: R12 only where the entities exist there.
    static std::map<std::string, fs::path> Versions(const std::string& name) {
        std::map<std::string, fs::path> found;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            const std::string file = entry.path().stem().string();
            if (file.rfind(name + "-R", 0) == 0)
                found[file.substr(name.size() + 1)] = entry.path();
        }
        return found;
    }

    static fs::path folder_;
};

fs::path DxfDrawings::folder_;

void ExpectSection(const SectionProperties& s, Point origin, const Figure& f, double relative,
                   const std::string& what) {
    const double moment = std::max(f.xx, f.yy);
    EXPECT_NEAR(s.area_mm2, f.area, relative * f.area) << what;
    EXPECT_NEAR(origin.x + s.centroid.x, f.centroid.x, relative * 100) << what;
    EXPECT_NEAR(origin.y + s.centroid.y, f.centroid.y, relative * 100) << what;
    EXPECT_NEAR(s.iyy_mm4, f.xx, relative * moment) << what;
    EXPECT_NEAR(s.ixx_mm4, f.yy, relative * moment) << what;
    EXPECT_NEAR(s.ixy_mm4, f.xy, relative * moment) << what;
}

TEST_F(DxfDrawings, EveryPlacementMeasuresAsTheProfilePlaced) {
    std::string cases;
    for (const Placement& p : kPlacements) cases += std::string(p.name) + " ";
    Make(cases);
    if (IsSkipped() || HasFatalFailure())
        return;
    for (const Placement& p : kPlacements) {
        const auto versions = Versions(p.name);
        EXPECT_GE(versions.size(), 4u) << p.name;
        for (const auto& [version, file] : versions) {
            const std::string what = std::string(p.name) + " " + version;
            Drawing drawing;
            std::vector<Region> regions;
            try {
                drawing = ReadDxfDrawing(file);
                regions = FindRegions(drawing.loops, drawing.origin);
            } catch (const std::exception& e) {
                ADD_FAILURE() << what << ": " << e.what();
                continue;
            }
            ASSERT_EQ(regions.size(), p.regions) << what;
            // Copies of the profile all measure alike; one of them lies where the case says.
            Point nearest = drawing.origin + ComputeSection(regions[0]).centroid;
            for (const Region& region : regions) {
                const Point at = drawing.origin + ComputeSection(region).centroid;
                if (Length(at - p.expected.centroid) < Length(nearest - p.expected.centroid))
                    nearest = at;
            }
            for (const Region& region : regions) {
                const SectionProperties s = ComputeSection(region);
                const Point copy = drawing.origin + s.centroid - nearest;
                ExpectSection(s, drawing.origin - copy, p.expected, p.relative, what);
            }
            std::string notes;
            for (const std::string& note : drawing.notes) notes += note + " ";
            EXPECT_NE(notes.find(p.note), std::string::npos) << what << ": " << notes;
            if (std::string(p.note).empty()) {
                EXPECT_EQ(notes, "") << what;
            }
        }
    }
}

TEST_F(DxfDrawings, SplineNoseMatchesADensePolygonOfIt) {
    // ezdxf's own 50,000 points of the same spline stand for the exact curve.
    Make("spline_nose spline_nose_dense");
    if (IsSkipped() || HasFatalFailure())
        return;
    const auto dense = Versions("spline_nose_dense");
    ASSERT_EQ(dense.size(), 1u);
    const Drawing reference_drawing = ReadDxfDrawing(dense.begin()->second);
    const SectionProperties reference = ComputeSection(FindRegions(reference_drawing.loops).at(0));
    const Figure f{reference.area_mm2, reference_drawing.origin + reference.centroid,
                   reference.iyy_mm4, reference.ixx_mm4, reference.ixy_mm4};
    for (const auto& [version, file] : Versions("spline_nose")) {
        const Drawing drawing = ReadDxfDrawing(file);
        const SectionProperties s = ComputeSection(FindRegions(drawing.loops).at(0));
        ExpectSection(s, drawing.origin, f, 1e-6, "spline_nose " + version);
        ASSERT_EQ(drawing.notes.size(), 1u);
        EXPECT_EQ(drawing.notes[0].rfind("样条曲线已按折线近似计算(1条", 0), 0u);
    }
}

}  // namespace
}  // namespace quoinry::profile
