#pragma once

#include <vector>

#include "profile/affine.h"
#include "profile/dxf_entities.h"
#include "profile/loop_chaining.h"

namespace quoinry::profile {

// The drawing's curves in the world, with every block insertion placed.
struct PlacedGeometry {
    std::vector<Chain> chains;  // one for each entity: its edges in drawing order
    Box chain_extent;           // of the chains' edges
    std::vector<Spline> splines;
    size_t construction = 0;  // entities left out: their linetype is broken (centre, hidden lines)
};

inline constexpr size_t kMostEdges = 1'000'000;
inline constexpr size_t kMostSplinePoints = 500'000;  // of all splines together
inline constexpr size_t kMostInsertions = 1'000'000;
inline constexpr int kDeepestNesting = 16;

// Places model space through `to_world` (the drawing unit in mm). Linetypes BYLAYER and BYBLOCK
// resolve as CAD programs do; entities of layer 0 in a block take the insert's layer.
// SectionError for a missing block, nesting deeper than 16, or more than kMostEdges edges or
// kMostInsertions insertions.
// Model space's edges are moved out of `file`.
PlacedGeometry PlaceEntities(DxfFile& file, const Affine& to_world);

}  // namespace quoinry::profile
