#pragma once

#include <cmath>
#include <numbers>
#include <vector>

#include "profile/geometry.h"

// Loops for the section tests, counter-clockwise unless reversed.
namespace quoinry::profile::shapes {

inline Loop Polygon(const std::vector<Point>& points) {
    Loop loop;
    for (size_t i = 0; i < points.size(); ++i) {
        loop.push_back({points[i], points[(i + 1) % points.size()], 0});
    }
    return loop;
}

inline Loop Rectangle(double x, double y, double width, double height) {
    return Polygon({{x, y}, {x + width, y}, {x + width, y + height}, {x, y + height}});
}

// A circle as `pieces` equal arcs.
inline Loop CircleLoop(Point centre, double radius, int pieces = 2) {
    Loop loop;
    const double step = 2 * std::numbers::pi / pieces;
    auto at = [&](int k) {
        if (k % pieces == 0)
            return centre + Point{radius, 0};
        return centre + radius * Point{std::cos(k * step), std::sin(k * step)};
    };
    for (int k = 0; k < pieces; ++k) loop.push_back({at(k), at(k + 1), step});
    return loop;
}

inline Loop RoundedRectangle(double x, double y, double width, double height, double r) {
    const double q = std::numbers::pi / 2;
    const double x1 = x + width;
    const double y1 = y + height;
    return {{{x + r, y}, {x1 - r, y}, 0},   {{x1 - r, y}, {x1, y + r}, q},
            {{x1, y + r}, {x1, y1 - r}, 0}, {{x1, y1 - r}, {x1 - r, y1}, q},
            {{x1 - r, y1}, {x + r, y1}, 0}, {{x + r, y1}, {x, y1 - r}, q},
            {{x, y1 - r}, {x, y + r}, 0},   {{x, y + r}, {x + r, y}, q}};
}

inline Loop Rotated(const Loop& loop, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    auto turn = [&](Point p) { return Point{c * p.x - s * p.y, s * p.x + c * p.y}; };
    Loop out;
    for (const Edge& e : loop) out.push_back({turn(e.start), turn(e.end), e.sweep});
    return out;
}

}  // namespace quoinry::profile::shapes
