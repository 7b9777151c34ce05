#pragma once

#include <vector>

#include "profile/geometry.h"

namespace quoinry::profile {

struct EdgeContact {
    std::vector<Point> points;  // where the edges meet or cross
    bool overlap = false;       // they share a stretch (collinear lines, arcs of one circle)
};

// Where two edges meet, within `tolerance` (mm).
EdgeContact FindContact(const Edge& a, const Edge& b, double tolerance);

}  // namespace quoinry::profile
