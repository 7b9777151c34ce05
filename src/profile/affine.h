#pragma once

#include "profile/geometry.h"

namespace quoinry::profile {

// x' = a·x + b·y + shift.x, y' = c·x + d·y + shift.y.
struct Affine {
    double a = 1, b = 0, c = 0, d = 1;
    Point shift;

    Point operator()(Point p) const { return Linear(p) + shift; }
    Point Linear(Point v) const { return {a * v.x + b * v.y, c * v.x + d * v.y}; }
    double Det() const { return a * d - b * c; }
    // Keeps circles circles: a rotation and an even scale, perhaps mirrored.
    bool Similar() const;
};

// `first`, then `second`.
Affine Then(const Affine& first, const Affine& second);
Affine Translation(Point by);
Affine Scaling(double x, double y);
Affine Rotation(double degrees);  // exact at multiples of 90°

// An arc becomes elliptic where the map is not similar; a mirroring map turns arcs the other way.
Edge Transformed(const Edge& edge, const Affine& map);

}  // namespace quoinry::profile
