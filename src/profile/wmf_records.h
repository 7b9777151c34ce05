#pragma once

#include <cstdint>

// Windows metafile record functions and constants used by the writer and the reader.
namespace quoinry::profile::wmf {

inline constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
inline constexpr int kPlaceableBytes = 22;
inline constexpr int kHeaderBytes = 18;

enum Function : uint16_t {
    kEof = 0x0000,
    kSetBkMode = 0x0102,
    kSetMapMode = 0x0103,
    kSelectObject = 0x012D,
    kDeleteObject = 0x01F0,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kLineTo = 0x0213,
    kMoveTo = 0x0214,
    kCreatePenIndirect = 0x02FA,
    kCreateFontIndirect = 0x02FB,
    kCreateBrushIndirect = 0x02FC,
    kPolygon = 0x0324,
    kPolyline = 0x0325,
    kEllipse = 0x0418,
    kRectangle = 0x041B,
    kTextOut = 0x0521,
    kPolyPolygon = 0x0538,
    kRoundRect = 0x061C,
    kArc = 0x0817,
    kPie = 0x081A,
    kChord = 0x0830,
    kExtTextOut = 0x0A32,
    kCreatePalette = 0x00F7,
    kCreatePatternBrush = 0x01F9,
    kDibCreatePatternBrush = 0x0142,
    kCreateRegion = 0x06FF,
};

inline constexpr uint16_t kPenSolid = 0;
inline constexpr uint16_t kPenNull = 5;
inline constexpr uint16_t kBrushSolid = 0;
inline constexpr uint16_t kBrushNull = 1;

}  // namespace quoinry::profile::wmf
