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

// The chains' ends, the start and the end of each chain in turn, numbered by the node they join
// at (GroupNearPoints), as JoinChains works them out first.
std::vector<size_t> EndNodes(const std::vector<Chain>& chains, double tolerance);
// JoinChains with EndNodes(chains, tolerance) worked out already.
std::vector<Loop> JoinChains(std::vector<Chain> chains, const std::vector<size_t>& end_nodes,
                             Point origin);

}  // namespace quoinry::profile
