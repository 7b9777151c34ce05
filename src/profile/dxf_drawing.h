#pragma once

#include <filesystem>
#include <istream>
#include <string>
#include <vector>

#include "profile/geometry.h"

namespace quoinry::profile {

// The closed loops of a drawing's model space, in millimetres.
struct Drawing {
    std::vector<Loop> loops;
    std::vector<std::string> notes;  // what the reader changed, e.g. the unit conversion
};

// Reads an ASCII DXF file. Loops come from closed polylines, circles, and lines, arcs and open
// polylines whose ends meet. Refuses (SectionError) an unreadable file, ellipses and splines,
// entities outside the XY plane, and open or branching outlines.
Drawing ReadDxfDrawing(const std::filesystem::path& path);
Drawing ReadDxfDrawing(std::istream& dxf);

}  // namespace quoinry::profile
