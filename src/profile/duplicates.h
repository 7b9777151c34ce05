#pragma once

#include <cstddef>
#include <vector>

#include "profile/loop_chaining.h"

namespace quoinry::profile {

// Removes every chain drawn again over earlier ones within `tolerance`: a chain each of whose
// edges repeats an edge of a chain that stays (the same line twice, an outline drawn again
// either way round, as a polyline or as lines). An edge repeats another when their ends and
// middles meet. Returns how many chains it removed.
size_t RemoveDuplicateChains(std::vector<Chain>& chains, double tolerance);

}  // namespace quoinry::profile
