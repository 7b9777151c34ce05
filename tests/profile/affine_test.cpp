#include "profile/affine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace quoinry::profile {
namespace {

TEST(Affine, ArcsStayCircularUnlessTheMapStretchesUnevenly) {
    // A quarter circle of radius 5 about the origin, counter-clockwise.
    const Edge arc{{5, 0}, {0, 5}, std::numbers::pi / 2};
    struct Case {
        const char* what;
        Affine map;
        bool circular;
        double sweep;
    };
    const Case cases[] = {
        {"turned by 30°", Rotation(30), true, std::numbers::pi / 2},
        {"turned and scaled evenly", Then(Rotation(-75), Scaling(3, 3)), true,
         std::numbers::pi / 2},
        {"mirrored in x", Scaling(-1, 1), true, -std::numbers::pi / 2},
        {"mirrored and turned", Then(Scaling(2, -2), Rotation(10)), true, -std::numbers::pi / 2},
        {"stretched in x", Scaling(2, 1), false, std::numbers::pi / 2},
        {"turned, then stretched", Then(Rotation(30), Scaling(1, 3)), false, std::numbers::pi / 2},
    };
    for (const Case& c : cases) {
        const Edge out = Transformed(arc, c.map);
        EXPECT_EQ(out.IsArc(), c.circular) << c.what;
        EXPECT_EQ(out.IsElliptic(), !c.circular) << c.what;
        EXPECT_DOUBLE_EQ(out.sweep, c.sweep) << c.what;
        // Its middle is the image of the arc's middle (5/√2, 5/√2).
        const Point mid = c.map({5 / std::sqrt(2.0), 5 / std::sqrt(2.0)});
        EXPECT_NEAR(Length(EdgeMidpoint(out) - mid), 0, 1e-12) << c.what;
    }
}

}  // namespace
}  // namespace quoinry::profile
