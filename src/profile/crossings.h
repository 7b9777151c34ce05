#pragma once

#include <vector>

#include "profile/geometry.h"

namespace quoinry::profile {

// A circular arc's frame and box, found once for the box of its loop and for the sweep.
struct ArcFacts {
    ArcFrame frame;
    Box box;
};

// The circular arcs of loops, loop after loop and edge after edge; loop l's start at first[l].
struct LoopArcs {
    std::vector<ArcFacts> arcs;
    std::vector<size_t> first;

    // Adds the arcs of the next loop and returns its box (LoopBox).
    Box Add(const Loop& loop);
    // Adds loop `l` of `other` as the next loop.
    void AddFrom(const LoopArcs& other, size_t l);
};

// Refuses (SectionError naming the place) edges that cross, touch or overlap within `tolerance`,
// other than neighbours of one loop meeting at their shared corner; places in messages are
// shifted by `origin`. A sweep from left to right compares only edges that lie next to each
// other, so the time grows as n log n. `boxes` and `arcs` are the loops' (LoopArcs::Add).
void CheckCrossings(const std::vector<Loop>& loops, const std::vector<Box>& boxes,
                    const LoopArcs& arcs, double tolerance, Point origin = {});

}  // namespace quoinry::profile
