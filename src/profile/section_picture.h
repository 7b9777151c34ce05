#pragma once

#include <string>
#include <vector>

#include "profile/geometry.h"

namespace quoinry::profile {

// The picture's shape: the picture boxes are 296 × 216.
inline constexpr double kPictureWidth = 296;
inline constexpr double kPictureHeight = 216;
inline constexpr double kPictureMargin = 10;  // mm around the section, top and bottom

// The part of the drawing shown around a section with box `section`: 10 mm above and below,
// and sideways a margin k = ((H + 20) × 296 / 216 − B) / 2 (2 decimals) that gives the window
// the picture's shape. A section too wide for that (k < 0) keeps 10 mm at the sides and takes
// the height from the shape instead, so it is never cut off.
Box ExportWindow(const Box& section);

// Black outlines on white of every loop that lies inside the window, as the bytes of a
// placeable Windows metafile.
std::string SectionPictureWmf(const std::vector<Loop>& loops, const Box& window);

}  // namespace quoinry::profile
