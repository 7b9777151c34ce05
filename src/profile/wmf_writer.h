#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quoinry::profile {

struct WmfPoint {
    int16_t x = 0;
    int16_t y = 0;
};

// A placeable Windows metafile built record by record, in logical units (y down).
class WmfWriter {
  public:
    // The picture covers 0..width × 0..height; `units_per_inch` sets its printed size.
    WmfWriter(int16_t width, int16_t height, uint16_t units_per_inch);

    // Objects get the lowest free index, as a player assigns them.
    uint16_t CreatePen(uint16_t style, uint32_t rgb);
    uint16_t CreateBrush(uint16_t style, uint32_t rgb);
    void Select(uint16_t object);
    void Rectangle(int16_t left, int16_t top, int16_t right, int16_t bottom);
    void Polygon(const std::vector<WmfPoint>& points);  // split into polylines when too long
    void Polyline(const std::vector<WmfPoint>& points);

    std::string Finish();  // header, records, end record

  private:
    void Record(uint16_t function, const std::vector<uint16_t>& params);
    void Points(uint16_t function, const std::vector<WmfPoint>& points);

    int16_t width_;
    int16_t height_;
    uint16_t inch_;
    uint16_t objects_ = 0;
    uint32_t largest_record_ = 0;
    std::vector<uint16_t> words_;
};

}  // namespace quoinry::profile
