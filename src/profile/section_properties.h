#pragma once

#include "profile/geometry.h"
#include "profile/regions.h"

namespace quoinry::profile {

// A part of the section on one side of a centroidal axis.
struct SectionPart {
    double area_mm2 = 0;
    double distance_mm = 0;  // from the axis to the part's centroid
};

// Properties of one region in drawing units (mm). Axes X and Y run through the centroid,
// parallel to the drawing's axes.
struct SectionProperties {
    double area_mm2 = 0;
    Point centroid;                    // drawing coordinates
    double ixx_mm4 = 0;                // second moment about X, ∫y² dA
    double iyy_mm4 = 0;                // second moment about Y, ∫x² dA
    double ixy_mm4 = 0;                // product of area, ∫xy dA
    double principal_mm4[2] = {0, 0};  // ascending
    Point principal_axis[2];           // unit direction of the axis of each; X first when equal
    // The principal moments assigned to X and Y: when the axis of the smaller one is nearer to
    // vertical (its y component rounds to ±1), it is Iy.
    double ix_mm4 = 0;
    double iy_mm4 = 0;
    // Distances from the centroid to the sides of the bounding box.
    double top_mm = 0;
    double bottom_mm = 0;
    double left_mm = 0;
    double right_mm = 0;
    SectionPart above;
    SectionPart below;
    SectionPart left;
    SectionPart right;
};

SectionProperties ComputeSection(const Region& region);

}  // namespace quoinry::profile
