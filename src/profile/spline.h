#pragma once

#include <cstddef>
#include <vector>

#include "profile/geometry.h"

namespace quoinry::profile {

// A NURBS curve as a DXF SPLINE holds it: degree, knots, control points, and weights (empty
// when all are 1).
struct Spline {
    int degree = 3;
    std::vector<double> knots;
    std::vector<Point> control;
    std::vector<double> weights;
    size_t line = 0;  // of the entity, for messages
};

// SectionError naming the spline's line when its numbers do not make a curve (degree, knot
// count and order, weights).
void CheckSpline(const Spline& spline);

Point SplinePoint(const Spline& spline, double t);

// Points along the curve from its start to its end such that the chords stray at most
// `tolerance` from it (adaptive subdivision of every knot span). `budget` counts the points all
// splines may still add; SectionError when it runs out.
std::vector<Point> FlattenSpline(const Spline& spline, double tolerance, size_t& budget);

}  // namespace quoinry::profile
