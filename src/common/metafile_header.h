#pragma once

#include <string_view>

namespace quoinry {

// A Windows metafile (the section pictures), with or without the placeable header: the header
// says so. What follows it is checked by whoever draws the picture.
bool IsWindowsMetafile(std::string_view bytes);

}  // namespace quoinry
