#pragma once

#include <vector>

#include "profile/geometry.h"

namespace quoinry::profile {

// An open run of connected edges as drawn (a line, an arc, an open polyline).
using Chain = std::vector<Edge>;

// Joins chains whose ends meet within `tolerance` into closed loops; the joined ends are made
// exactly equal. An end that meets no other end, or a point where three or more ends meet, is
// refused (SectionError naming the point, in drawing coordinates: + `origin`).
// The chains are used up.
std::vector<Loop> JoinChains(std::vector<Chain> chains, double tolerance, Point origin = {});

}  // namespace quoinry::profile
