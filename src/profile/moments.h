#pragma once

#include "profile/geometry.h"

namespace quoinry::profile {

// Area integrals of a region over the coordinates relative to a reference point, mm units.
// A loop counter-clockwise adds, clockwise subtracts, so holes need no special case.
struct Moments {
    double area = 0;  // ∫dA, mm²
    double qx = 0;    // ∫x dA, mm³
    double qy = 0;    // ∫y dA, mm³
    double xx = 0;    // ∫x² dA, mm⁴
    double yy = 0;    // ∫y² dA, mm⁴
    double xy = 0;    // ∫xy dA, mm⁴

    Moments& operator+=(const Moments& other);
};

// The edge's share of the boundary integrals (Green's theorem), with the fan of triangles from
// the reference point to the chord plus, for an arc, the circular segment between chord and arc
// in closed form. Edges lying on a line through the reference point add nothing.
Moments EdgeMoments(const Edge& edge, Point reference);
// Its ∫dA alone, the same number.
double EdgeArea(const Edge& edge, Point reference);

Moments LoopMoments(const Loop& loop, Point reference);

}  // namespace quoinry::profile
