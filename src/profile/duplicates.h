#pragma once

#include <cstddef>
#include <vector>

#include "profile/geometry.h"

namespace quoinry::profile {

// Removes every edge that repeats an earlier one within `tolerance` (same ends, either way
// round, and the same middle); returns how many it removed.
size_t RemoveDuplicateEdges(std::vector<Edge>& edges, double tolerance);

}  // namespace quoinry::profile
