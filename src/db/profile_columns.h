#pragma once

#include <array>
#include <string>

namespace quoinry::db {

// Columns of table xc after xl and mc, in the order of their positions 2 to 16: strength and
// shear design values, wall thickness, area, modulus of elasticity, Ix, Iy, Wx1, Wx2, Wy1, Wy2,
// Sx1, Sx2, Sy1, Sy2.
inline constexpr std::array<const char*, 15> kProfileNumberColumns = {
    "fa",  "fv",  "t",   "area", "e",   "ix",  "iy", "wx1",
    "wx2", "wy1", "wy2", "sx1",  "sx2", "sy1", "sy2"};

// Position 17: the section picture, bytes of a Windows metafile.
inline constexpr const char* kProfilePictureColumn = "pic";
inline constexpr int kPicturePosition = 17;
inline constexpr int kFirstNumberPosition = 2;

// INSERT of a whole profile: xl, mc, the fifteen numbers and the picture as parameters.
std::string ProfileInsertStatement();

}  // namespace quoinry::db
