#pragma once

#include <vector>

#include "profile/geometry.h"

namespace quoinry::profile {

// Refuses (SectionError naming the place) edges that cross, touch or overlap within `tolerance`,
// other than neighbours of one loop meeting at their shared corner; places in messages are
// shifted by `origin`. A sweep from left to right
// compares only edges that lie next to each other, so the time grows as n log n.
// `boxes` are the loops' boxes (LoopBox).
void CheckCrossings(const std::vector<Loop>& loops, const std::vector<Box>& boxes, double tolerance,
                    Point origin = {});

}  // namespace quoinry::profile
