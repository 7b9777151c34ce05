#pragma once

#include <cstddef>
#include <vector>

#include "profile/geometry.h"

namespace quoinry::profile {

// Groups points that lie within `tolerance` of each other, directly or through a run of such
// neighbours: the group number of each point, numbered by first appearance. Sorting by x keeps
// it n log n.
std::vector<size_t> GroupNearPoints(const std::vector<Point>& points, double tolerance);

// The pairs (i, j), i < j, of points within `tolerance` of each other.
std::vector<std::pair<size_t, size_t>> NearPairs(const std::vector<Point>& points,
                                                 double tolerance);

}  // namespace quoinry::profile
