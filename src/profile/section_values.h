#pragma once

#include <array>
#include <string>

#include "profile/section_properties.h"

namespace quoinry::profile {

// The values a profile record holds, in its units (cm², cm⁴, cm³), each rounded to 3 decimals.
struct ProfileValues {
    double area_cm2 = 0;
    double ix_cm4 = 0;
    double iy_cm4 = 0;
    double wx1_cm3 = 0;  // Ix over the distance to the top
    double wx2_cm3 = 0;  // Ix over the distance to the bottom
    double wy1_cm3 = 0;  // Iy over the distance to the right
    double wy2_cm3 = 0;  // Iy over the distance to the left
    double sx1_cm3 = 0;  // first moment of the part above X
    double sx2_cm3 = 0;  // below X
    double sy1_cm3 = 0;  // left of Y
    double sy2_cm3 = 0;  // right of Y
};

ProfileValues ToProfileValues(const SectionProperties& section);

// The values of a region as the boxes and reports take them; SectionError when one is too large
// for them (beyond 1e12 in its unit: a drawing in the wrong unit).
ProfileValues MeasureProfile(const Region& region);

// Name and value in the order the boxes are filled: A, Ix, Iy, Wx1 ... Sy2.
std::array<std::pair<const char*, double>, 11> NamedValues(const ProfileValues& values);

// Material defaults written with a measured section.
inline constexpr const char* kDefaultStrength = "85.4";  // N/mm²
inline constexpr const char* kDefaultShear = "49.6";     // N/mm²
inline constexpr const char* kDefaultModulus = "70000";  // N/mm²
inline constexpr const char* kDefaultThickness = "1.4";  // mm

}  // namespace quoinry::profile
