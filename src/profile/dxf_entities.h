#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "profile/geometry.h"
#include "profile/spline.h"

namespace quoinry::profile {

// The placement of a block: base point to the insertion point, scaled, turned, in columns and
// rows, seen from below when its extrusion points down.
struct InsertPlacement {
    std::string block;  // as written; looked up in upper case
    Point at;
    double x_scale = 1;
    double y_scale = 1;
    double degrees = 0;
    long columns = 1;
    long rows = 1;
    double column_spacing = 0;
    double row_spacing = 0;
    bool mirrored = false;
};

// One drawn entity in the coordinates of its block (the world's, for model space). Splines and
// insertions, the rarer kinds, are held apart: the many lines and arcs stay small.
struct DxfEntity {
    enum class Kind { kCurves, kSpline, kInsert };
    Kind kind = Kind::kCurves;
    std::vector<Edge> edges;                  // lines, arcs and elliptic arcs
    std::unique_ptr<Spline> spline;           // kSpline
    std::unique_ptr<InsertPlacement> insert;  // kInsert
    std::string layer = "0";                  // upper case
    std::string linetype = "BYLAYER";         // upper case
    size_t line = 0;
    std::string refusal;  // why it cannot be measured, should it be used
};

// Entities stay where they are put: a deque grows without moving them.
using DxfEntities = std::deque<DxfEntity>;

struct DxfBlock {
    Point base;
    DxfEntities entities;
};

// What the reader takes from a DXF file: model space entities, block definitions, the
// linetypes of layers, whether each linetype is drawn broken, and the header values used.
struct DxfFile {
    DxfEntities model;
    std::unordered_map<std::string, DxfBlock> blocks;              // upper-case names
    std::unordered_map<std::string, std::string> layer_linetypes;  // upper case
    std::unordered_map<std::string, bool> broken_linetypes;        // upper case
    long insunits = 0;
    std::string version;   // $ACADVER, e.g. "AC1015"
    std::string codepage;  // $DWGCODEPAGE, e.g. "ANSI_936"
    size_t solids = 0;     // REGION, 3DSOLID, BODY: ACIS data we cannot read
};

// SectionError (naming the line) for a file that is not DXF text or holds a number that is not
// a finite number in range.
DxfFile ParseDxf(std::string_view text);

// A name or text of the file in UTF-8: UTF-8 from R2007 (AC1021) on, the drawing's code page
// before (GBK for ANSI_936), \U+XXXX escapes decoded.
std::string DxfText(std::string_view raw, const DxfFile& file);

}  // namespace quoinry::profile
