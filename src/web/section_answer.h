#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quoinry::web {

// The regions of a DXF drawing for the page to show and pick from, largest first:
// {"regions": [{"area_mm2", "box": [x0, y0, x1, y1], "path": SVG path, y up as drawn}],
//  "notes": [...]}. A drawing the desktop program refuses throws its SectionError.
std::string RegionsJson(std::string_view dxf);

// A region measured as the member window takes it: the profile record's texts of positions
// 2 to 16 (the default strengths, modulus and wall where a drawing has none) and its picture.
struct MeasuredRegion {
    std::array<std::string, 15> record;
    std::string picture;  // a Windows metafile
};
MeasuredRegion MeasureRegion(std::string_view dxf, int index);

}  // namespace quoinry::web
