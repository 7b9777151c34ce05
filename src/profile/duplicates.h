#pragma once

#include <cstddef>
#include <vector>

#include "profile/loop_chaining.h"

namespace quoinry::profile {

// The chains drawn again over earlier ones within `tolerance`: a chain each of whose edges
// repeats an edge of a chain that stays (the same line twice, an outline drawn again either way
// round, as a polyline or as lines). An edge repeats another when their ends and middles meet.
// One flag for each chain, or no flags at all when no edge repeats.
std::vector<bool> RepeatedChains(const std::vector<Chain>& chains, double tolerance);

// Removes the chains flagged (RepeatedChains) and returns how many it removed.
size_t RemoveChains(std::vector<Chain>& chains, const std::vector<bool>& flagged);

}  // namespace quoinry::profile
