#pragma once

#include <filesystem>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "profile/geometry.h"

namespace quoinry::profile {

// The closed loops of a drawing's model space, in millimetres, relative to the drawing's centre
// `origin` so that a profile far from the drawing's origin is measured as well as one at it.
struct Drawing {
    std::vector<Loop> loops;
    Point origin;                    // drawing coordinates (mm) of the loops' (0, 0)
    std::vector<std::string> notes;  // what the reader changed or left out, for the user
};

// Reads an ASCII DXF file (R12 to R2018). Loops come from lines, arcs, circles, ellipses,
// polylines with bulges and splines (flattened), in model space and in inserted blocks; ends
// within max(1e-6 of the drawing's size, 1e-3 mm) are joined, repeated edges count once, and
// lines of broken linetypes (centre lines) are left out. Refuses (SectionError naming the line
// or the place) a file that is not DXF text, numbers out of range, entities outside the XY
// plane, coordinates too far out for the drawing's detail, and open or branching outlines.
Drawing ReadDxfDrawing(const std::filesystem::path& path);
Drawing ReadDxfDrawing(std::istream& dxf);
Drawing ReadDxfText(std::string_view text);

}  // namespace quoinry::profile
