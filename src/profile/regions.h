#pragma once

#include <vector>

#include "profile/geometry.h"

namespace quoinry::profile {

// One closed area as a CAD region holds it: an outer loop minus the loops directly inside it.
struct Region {
    Loop outer;               // counter-clockwise
    std::vector<Loop> holes;  // clockwise
    double area_mm2 = 0;
    Box box;
};

// Distances below this count as one point: a millionth of the drawing's size.
double DrawingTolerance(const Box& extent);

// Refuses (SectionError naming the place) loops that cross themselves or each other, touch, or
// enclose no area. Nested loops alternate between outer boundaries and holes; an island inside a
// hole is a region of its own. Largest area first. Places in messages are shifted by `origin`.
std::vector<Region> FindRegions(const std::vector<Loop>& loops, Point origin = {});

// How many times the loop winds around p (p not on the loop); counter-clockwise positive.
int WindingNumber(const Loop& loop, Point p);

}  // namespace quoinry::profile
