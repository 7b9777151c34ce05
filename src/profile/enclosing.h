#pragma once

#include <vector>

#include "profile/geometry.h"

namespace quoinry::profile {

// The loop directly around each loop (the smallest one around it), -1 for none, for loops that
// neither cross nor touch one another (closer than `tolerance`) and have the signed `areas`.
// A ray goes right from each loop's rightmost point; the first edge it meets belongs to the loop
// around it, or to a loop beside it that has the same one around it. The edges are kept in a
// segment tree of horizontal slabs, where they lie in order from left to right, so time and
// memory grow as n log n in the number of edges whatever the nesting. For loops that do cross,
// the answer is some loop or none, never a cycle.
std::vector<long> EnclosingLoops(const std::vector<Loop>& loops, const std::vector<double>& areas,
                                 double tolerance);

}  // namespace quoinry::profile
