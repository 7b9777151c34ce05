#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "profile/geometry.h"

namespace quoinry::profile {

// Drawing primitives of a metafile in its logical units (y grows downwards).
struct PicturePath {
    std::vector<Point> points;
    bool closed = false;
    bool stroked = true;   // drawn with a visible pen
    uint32_t pen_rgb = 0;  // 0x00BBGGRR
    bool filled = false;
    uint32_t fill_rgb = 0;
};

struct PictureText {
    Point at;
    std::string text;  // UTF-8
    double height = 0;
    uint32_t rgb = 0;
};

struct Picture {
    Box window;  // the logical area the picture shows
    std::vector<PicturePath> paths;
    std::vector<PictureText> texts;
};

struct WmfReading {
    Picture picture;      // empty when the file is unusable
    std::string message;  // why it is unusable; empty when read
};

// Reads a Windows metafile (placeable or not): lines, polylines, polygons, poly-polygons,
// rectangles, ellipses, arcs, pies, chords, text, pens, brushes, window origin and extent.
// Any byte string is safe: a malformed file (records past its end, no end record) gives an
// empty picture and a message "图片文件已损坏:...".
WmfReading ReadWmf(std::string_view bytes);

}  // namespace quoinry::profile
