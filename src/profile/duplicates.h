#pragma once

#include <cstddef>
#include <vector>

#include "profile/loop_chaining.h"

namespace quoinry::profile {

// Removes every chain drawn again over earlier ones within `tolerance`: a single edge that
// repeats an edge of any kept chain, or a longer chain whose edges all repeat those of one kept
// chain of the same length (the same outline, either way round, from any start). An edge repeats
// another when their ends and middles meet. Returns how many chains it removed.
size_t RemoveDuplicateChains(std::vector<Chain>& chains, double tolerance);

}  // namespace quoinry::profile
