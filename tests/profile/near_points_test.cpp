#include "profile/near_points.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <string>

namespace quoinry::profile {
namespace {

using PairSet = std::set<std::pair<size_t, size_t>>;

PairSet Found(const std::vector<Point>& points, double tolerance) {
    PairSet found;
    for (const auto& pair : NearPairs(points, tolerance)) {
        EXPECT_LT(pair.first, pair.second);
        EXPECT_TRUE(found.insert(pair).second) << "twice: " << pair.first << ", " << pair.second;
    }
    return found;
}

// Every pair compared.
PairSet Expected(const std::vector<Point>& points, double tolerance) {
    PairSet expected;
    for (size_t i = 0; i < points.size(); ++i) {
        for (size_t j = i + 1; j < points.size(); ++j) {
            if (std::hypot(points[i].x - points[j].x, points[i].y - points[j].y) <= tolerance)
                expected.insert({i, j});
        }
    }
    return expected;
}

// `count` points in a w × h box at `at`, a few of them repeated or just beside another.
std::vector<Point> Scattered(Point at, double w, double h, int count, double tolerance) {
    std::mt19937_64 random(static_cast<unsigned>(count));
    std::uniform_real_distribution<double> x(at.x, at.x + w), y(at.y, at.y + h);
    std::vector<Point> points;
    for (int i = 0; i < count; ++i) {
        if (i % 7 == 3)
            points.push_back(points[static_cast<size_t>(i) / 2]);
        else if (i % 7 == 5)
            points.push_back(points[static_cast<size_t>(i) - 1] +
                             Point{0.7 * tolerance, 0.6 * tolerance});
        else
            points.push_back({x(random), y(random)});
    }
    return points;
}

TEST(NearPoints, PairsAreThoseWithinTheTolerance) {
    struct Case {
        const char* what;
        std::vector<Point> points;
        double tolerance;
    };
    const Case cases[] = {
        {"none", {}, 1},
        {"one", {{3, 4}}, 1},
        {"at the tolerance, below, above",
         {{0, 0}, {1, 0}, {0, -1}, {0.5, 0.5}, {2.0000001, 0}, {-3, -3}, {-3.7, -3.7}},
         1},
        {"on cell borders", {{-1, -1}, {0, 0}, {1, 1}, {-1, 0}, {0, -1}, {1, -1}, {-1, 1}}, 1},
        {"five on one point", {{2, 2}, {2, 2}, {2, 2}, {2, 2}, {2, 2}}, 1e-3},
        {"zero tolerance", {{2, 2}, {2, 2}, {2, 2.0000001}}, 0},
        {"a crowd", Scattered({-50, -50}, 100, 100, 1500, 2), 2},
        {"far from the origin", Scattered({5e8, -7e8}, 1000, 1000, 800, 1e-3), 1e-3},
        // Too many cells for one 64-bit number per point: the cells are sorted by both
        // coordinates.
        {"5e8 cells each way", Scattered({0, 0}, 5e5, 5e5, 800, 1e-3), 1e-3},
        {"spread over 1e12", Scattered({-5e11, -5e11}, 1e12, 1e12, 800, 1e-3), 1e-3},
        {"spread in x only", Scattered({0, 0}, 1e12, 10, 800, 1e-3), 1e-3},
        {"spread in y only", Scattered({0, 0}, 10, 1e12, 800, 1e-3), 1e-3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Found(c.points, c.tolerance), Expected(c.points, c.tolerance)) << c.what;
}

TEST(NearPoints, GroupsRunThroughNeighboursAndCountFromTheFirst) {
    // 4, 0 and 2 are a run of neighbours; 1 and 3 stand alone; 5 is beside 1.
    const std::vector<Point> points = {{10, 0}, {50, 50}, {10.95, 0}, {-40, 7}, {9.1, 0}, {50, 51}};
    const std::vector<size_t> expected = {0, 1, 0, 2, 0, 1};
    EXPECT_EQ(GroupNearPoints(points, 1), expected);
    const std::vector<size_t> apart = {0, 1, 2, 3, 4, 5};
    EXPECT_EQ(GroupNearPoints(points, 0.5), apart);
}

}  // namespace
}  // namespace quoinry::profile
