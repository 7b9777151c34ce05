#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "profile/dxf_entities.h"
#include "profile/dxf_tokens.h"

namespace quoinry::profile {

// The groups of one record (after its "0 / TYPE" pair).
using DxfFields = std::vector<DxfPair>;

enum class RecordUse { kShape, kPolylineStart, kVertex, kSequenceEnd, kSolid, kIgnored };

// What a record of type `type` is to the reader.
RecordUse UseOf(std::string_view type);

// The entity of a LINE, ARC, CIRCLE, ELLIPSE, LWPOLYLINE, SPLINE or INSERT record; nothing for
// an entity in paper space or an invisible one.
std::optional<DxfEntity> ShapeEntity(std::string_view type, const DxfFields& fields, size_t line);

// A polyline's vertex and the bulge of the segment that starts there.
struct PolylineVertex {
    Point at;
    double bulge = 0;
};

// An old-style polyline: the POLYLINE record, then its VERTEX records.
class PolylineBuilder {
  public:
    // False when the polyline is not to be measured (paper space, mesh, invisible).
    bool Start(const DxfFields& fields, size_t line);
    void AddVertex(const DxfFields& fields);
    std::optional<DxfEntity> Finish();

  private:
    bool active_ = false;
    bool closed_ = false;
    bool world_ = false;  // 3D polylines lie in world coordinates
    bool mirrored_ = false;
    DxfEntity entity_;
    std::vector<PolylineVertex> vertices_;
};

}  // namespace quoinry::profile
