#include "profile/wmf_writer.h"

#include <algorithm>

#include "profile/wmf_records.h"

namespace quoinry::profile {
namespace {

constexpr size_t kMostPoints = 16000;

void PutWord(std::string& out, uint16_t w) {
    out += static_cast<char>(w & 0xFF);
    out += static_cast<char>(w >> 8);
}

void PutLong(std::string& out, uint32_t v) {
    PutWord(out, static_cast<uint16_t>(v & 0xFFFF));
    PutWord(out, static_cast<uint16_t>(v >> 16));
}

uint16_t Word(int16_t v) {
    return static_cast<uint16_t>(v);
}

}  // namespace

WmfWriter::WmfWriter(int16_t width, int16_t height, uint16_t units_per_inch)
    : width_(width), height_(height), inch_(units_per_inch) {
    Record(wmf::kSetWindowOrg, {0, 0});
    Record(wmf::kSetWindowExt, {Word(height), Word(width)});
    Record(wmf::kSetBkMode, {1});  // transparent
}

uint16_t WmfWriter::CreatePen(uint16_t style, uint32_t rgb) {
    Record(wmf::kCreatePenIndirect,
           {style, 1, 0, static_cast<uint16_t>(rgb & 0xFFFF), static_cast<uint16_t>(rgb >> 16)});
    return objects_++;
}

uint16_t WmfWriter::CreateBrush(uint16_t style, uint32_t rgb) {
    Record(wmf::kCreateBrushIndirect,
           {style, static_cast<uint16_t>(rgb & 0xFFFF), static_cast<uint16_t>(rgb >> 16), 0});
    return objects_++;
}

void WmfWriter::Select(uint16_t object) {
    Record(wmf::kSelectObject, {object});
}

void WmfWriter::Rectangle(int16_t left, int16_t top, int16_t right, int16_t bottom) {
    Record(wmf::kRectangle, {Word(bottom), Word(right), Word(top), Word(left)});
}

void WmfWriter::Polygon(const std::vector<WmfPoint>& points) {
    if (points.size() <= kMostPoints)
        return Points(wmf::kPolygon, points);
    std::vector<WmfPoint> closed = points;
    closed.push_back(points.front());
    Polyline(closed);
}

void WmfWriter::Polyline(const std::vector<WmfPoint>& points) {
    for (size_t from = 0; from + 1 < points.size(); from += kMostPoints - 1) {
        const size_t to = std::min(points.size(), from + kMostPoints);
        Points(wmf::kPolyline, {points.begin() + from, points.begin() + to});
    }
}

void WmfWriter::Points(uint16_t function, const std::vector<WmfPoint>& points) {
    std::vector<uint16_t> params{static_cast<uint16_t>(points.size())};
    for (const WmfPoint& p : points) {
        params.push_back(Word(p.x));
        params.push_back(Word(p.y));
    }
    Record(function, params);
}

void WmfWriter::Record(uint16_t function, const std::vector<uint16_t>& params) {
    const uint32_t size = static_cast<uint32_t>(3 + params.size());
    largest_record_ = std::max(largest_record_, size);
    words_.push_back(static_cast<uint16_t>(size & 0xFFFF));
    words_.push_back(static_cast<uint16_t>(size >> 16));
    words_.push_back(function);
    words_.insert(words_.end(), params.begin(), params.end());
}

std::string WmfWriter::Finish() {
    Record(wmf::kEof, {});
    std::string out;
    // Placeable header: key, handle, box, units per inch, reserved, checksum of the words before.
    std::string placeable;
    PutLong(placeable, wmf::kPlaceableKey);
    PutWord(placeable, 0);
    for (int16_t v : {int16_t{0}, int16_t{0}, width_, height_}) PutWord(placeable, Word(v));
    PutWord(placeable, inch_);
    PutLong(placeable, 0);
    uint16_t checksum = 0;
    for (size_t i = 0; i < placeable.size(); i += 2) {
        checksum ^= static_cast<uint16_t>(static_cast<unsigned char>(placeable[i]) |
                                          static_cast<unsigned char>(placeable[i + 1]) << 8);
    }
    PutWord(placeable, checksum);
    out += placeable;
    PutWord(out, 1);  // in memory
    PutWord(out, 9);  // header words
    PutWord(out, 0x0300);
    PutLong(out, static_cast<uint32_t>(9 + words_.size()));
    PutWord(out, objects_);
    PutLong(out, largest_record_);
    PutWord(out, 0);
    for (uint16_t w : words_) PutWord(out, w);
    return out;
}

}  // namespace quoinry::profile
