#include "profile/wmf_reader.h"

#include <cmath>
#include <numbers>
#include <optional>

#include "common/cp936.h"
#include "profile/wmf_records.h"

namespace quoinry::profile {
namespace {

constexpr size_t kMostPoints = 4'000'000;
constexpr int kCurveSteps = 72;
constexpr double kPi = std::numbers::pi;

struct Malformed {
    std::string what;
};

// Little-endian words of one record's parameters; every read is checked.
class Params {
  public:
    Params(std::string_view bytes) : bytes_(bytes) {}

    size_t words() const { return bytes_.size() / 2; }
    uint16_t U16(size_t index) const {
        if (index >= words())
            throw Malformed{"记录参数不足"};
        return static_cast<uint16_t>(static_cast<unsigned char>(bytes_[2 * index]) |
                                     static_cast<unsigned char>(bytes_[2 * index + 1]) << 8);
    }
    int16_t S16(size_t index) const { return static_cast<int16_t>(U16(index)); }
    uint32_t Rgb(size_t index) const { return U16(index) | (uint32_t{U16(index + 1)} << 16); }
    Point At(size_t x_index) const { return {double(S16(x_index)), double(S16(x_index + 1))}; }
    std::string_view Bytes(size_t byte_offset, size_t count) const {
        if (byte_offset > bytes_.size() || count > bytes_.size() - byte_offset) {
            throw Malformed{"文字超出记录"};
        }
        return bytes_.substr(byte_offset, count);
    }

  private:
    std::string_view bytes_;
};

uint32_t Long(std::string_view b, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

struct Object {
    enum Kind { kFree, kPen, kBrush, kFont, kOther } kind = kFree;
    bool visible = false;  // pen drawn / brush filled
    uint32_t rgb = 0;
    double height = 0;  // font
};

class Player {
  public:
    explicit Player(Picture& picture) : picture_(picture) {}

    void SetWindow(std::optional<Box> placeable) {
        if (placeable) {
            origin_ = placeable->min;
            extent_ = placeable->max - placeable->min;
        }
    }

    // Returns false at the end record.
    bool Play(uint16_t function, const Params& p) {
        switch (function) {
            case wmf::kEof:
                return false;
            case wmf::kSetWindowOrg:
                origin_ = {double(p.S16(1)), double(p.S16(0))};
                break;
            case wmf::kSetWindowExt:
                extent_ = {double(p.S16(1)), double(p.S16(0))};
                break;
            case wmf::kCreatePenIndirect:
                Create({Object::kPen, p.U16(0) != wmf::kPenNull, p.Rgb(3), 0});
                break;
            case wmf::kCreateBrushIndirect:
                Create({Object::kBrush, p.U16(0) != wmf::kBrushNull, p.Rgb(1), 0});
                break;
            case wmf::kCreateFontIndirect:
                Create({Object::kFont, true, 0, std::abs(double(p.S16(0)))});
                break;
            case wmf::kCreatePalette:
            case wmf::kCreatePatternBrush:
            case wmf::kDibCreatePatternBrush:
            case wmf::kCreateRegion:
                Create({Object::kOther, false, 0, 0});
                break;
            case wmf::kSelectObject:
                Select(p.U16(0));
                break;
            case wmf::kDeleteObject:
                if (p.U16(0) < objects_.size())
                    objects_[p.U16(0)] = Object{};
                break;
            case wmf::kMoveTo:
                position_ = {double(p.S16(1)), double(p.S16(0))};
                break;
            case wmf::kLineTo: {
                const Point to{double(p.S16(1)), double(p.S16(0))};
                Add({position_, to}, false);
                position_ = to;
                break;
            }
            case wmf::kPolyline:
            case wmf::kPolygon:
                Add(PointList(p, 1, p.U16(0)), function == wmf::kPolygon);
                break;
            case wmf::kPolyPolygon:
                PolyPolygon(p);
                break;
            case wmf::kRectangle:
            case wmf::kRoundRect: {
                const size_t k = function == wmf::kRoundRect ? 2 : 0;
                const double bottom = p.S16(k), right = p.S16(k + 1), top = p.S16(k + 2),
                             left = p.S16(k + 3);
                Add({{left, top}, {right, top}, {right, bottom}, {left, bottom}}, true);
                break;
            }
            case wmf::kEllipse:
                Add(Curve(p, 0, 0, 2 * kPi, false), true);
                break;
            case wmf::kArc:
            case wmf::kPie:
            case wmf::kChord:
                ArcRecord(function, p);
                break;
            case wmf::kTextOut: {
                const uint16_t count = p.U16(0);
                const size_t words = 1 + (count + 1) / 2;
                Text(p.Bytes(2, count), {double(p.S16(words + 1)), double(p.S16(words))});
                break;
            }
            case wmf::kExtTextOut: {
                const uint16_t count = p.U16(2);
                const size_t skip = (p.U16(3) & 0x0006) ? 8 : 0;
                Text(p.Bytes(8 + skip, count), {double(p.S16(1)), double(p.S16(0))});
                break;
            }
            default:
                break;  // state we do not draw
        }
        return true;
    }

    void Finish() {
        if (extent_.x != 0 && extent_.y != 0) {
            picture_.window.Add(origin_);
            picture_.window.Add(origin_ + extent_);
            return;
        }
        for (const PicturePath& path : picture_.paths) {
            for (Point q : path.points) picture_.window.Add(q);
        }
    }

  private:
    void Create(const Object& object) {
        for (Object& slot : objects_) {
            if (slot.kind == Object::kFree) {
                slot = object;
                return;
            }
        }
        if (objects_.size() >= 0xFFFF)
            throw Malformed{"对象过多"};
        objects_.push_back(object);
    }

    void Select(uint16_t index) {
        if (index >= objects_.size())
            return;
        const Object& o = objects_[index];
        if (o.kind == Object::kPen)
            pen_ = o;
        if (o.kind == Object::kBrush)
            brush_ = o;
        if (o.kind == Object::kFont)
            font_height_ = o.height;
    }

    void Count(size_t points) {
        total_points_ += points;
        if (total_points_ > kMostPoints)
            throw Malformed{"图形过于复杂"};
    }

    std::vector<Point> PointList(const Params& p, size_t first, size_t count) {
        if (first + 2 * count > p.words())
            throw Malformed{"点数超出记录"};
        Count(count);
        std::vector<Point> points;
        points.reserve(count);
        for (size_t i = 0; i < count; ++i) points.push_back(p.At(first + 2 * i));
        return points;
    }

    void PolyPolygon(const Params& p) {
        const uint16_t polygons = p.U16(0);
        size_t next = 1 + size_t{polygons};
        for (uint16_t i = 0; i < polygons; ++i) {
            const uint16_t count = p.U16(1 + i);
            Add(PointList(p, next, count), true);
            next += 2 * size_t{count};
        }
    }

    // The ellipse in the box at parameters 4..7 (bottom, right, top, left) from `from` turning
    // `turn` radians counter-clockwise as seen; optionally through its centre.
    std::vector<Point> Curve(const Params& p, size_t box, double from, double turn,
                             bool via_centre) {
        const double bottom = p.S16(box), right = p.S16(box + 1), top = p.S16(box + 2),
                     left = p.S16(box + 3);
        const Point centre{(left + right) / 2, (top + bottom) / 2};
        const double rx = std::abs(right - left) / 2, ry = std::abs(bottom - top) / 2;
        Count(kCurveSteps + 2);
        std::vector<Point> points;
        for (int i = 0; i <= kCurveSteps; ++i) {
            const double a = from + turn * i / kCurveSteps;
            points.push_back({centre.x + rx * std::cos(a), centre.y - ry * std::sin(a)});
        }
        if (via_centre)
            points.push_back(centre);
        return points;
    }

    void ArcRecord(uint16_t function, const Params& p) {
        const Point centre{(double(p.S16(5)) + p.S16(7)) / 2, (double(p.S16(4)) + p.S16(6)) / 2};
        auto angle = [&](Point q) { return std::atan2(centre.y - q.y, q.x - centre.x); };
        const double from = angle({double(p.S16(3)), double(p.S16(2))});
        double turn = angle({double(p.S16(1)), double(p.S16(0))}) - from;
        while (turn <= 0) turn += 2 * kPi;
        Add(Curve(p, 4, from, turn, function == wmf::kPie), function != wmf::kArc);
    }

    void Add(std::vector<Point> points, bool closed) {
        if (points.empty())
            return;
        PicturePath path;
        path.points = std::move(points);
        path.closed = closed;
        path.stroked = pen_.visible;
        path.pen_rgb = pen_.rgb;
        path.filled = closed && brush_.visible;
        path.fill_rgb = brush_.rgb;
        picture_.paths.push_back(std::move(path));
    }

    void Text(std::string_view cp936, Point at) {
        Count(1);
        picture_.texts.push_back({at, Cp936ToUtf8(cp936), font_height_, 0});
    }

    Picture& picture_;
    std::vector<Object> objects_;
    Object pen_{Object::kPen, true, 0, 0};
    Object brush_{Object::kBrush, true, 0xFFFFFF, 0};
    double font_height_ = 12;
    Point origin_;
    Point extent_;
    Point position_;
    size_t total_points_ = 0;
};

void Play(std::string_view bytes, Picture& picture) {
    size_t at = 0;
    std::optional<Box> placeable;
    if (bytes.size() >= wmf::kPlaceableBytes && Long(bytes, 0) == wmf::kPlaceableKey) {
        const Params p(bytes.substr(6, 8));
        Box box;
        box.Add(p.At(0));
        box.Add(p.At(2));
        placeable = box;
        at = wmf::kPlaceableBytes;
    }
    if (bytes.size() - at < wmf::kHeaderBytes)
        throw Malformed{"文件太短"};
    const Params header(bytes.substr(at, wmf::kHeaderBytes));
    if ((header.U16(0) != 1 && header.U16(0) != 2) || header.U16(1) != 9) {
        throw Malformed{"不是Windows图元文件"};
    }
    at += wmf::kHeaderBytes;
    Player player(picture);
    player.SetWindow(placeable);
    // The body is records, each inside the file, up to the end record.
    bool ended = false;
    while (!ended && bytes.size() - at >= 6) {
        const uint32_t words = Long(bytes, at);
        if (words < 3 || words > (bytes.size() - at) / 2)
            throw Malformed{"记录长度不对"};
        const uint16_t function = Params(bytes.substr(at + 4, 2)).U16(0);
        ended = !player.Play(function, Params(bytes.substr(at + 6, 2 * size_t{words} - 6)));
        at += 2 * size_t{words};
    }
    if (!ended)
        throw Malformed{"缺少结束记录"};
    player.Finish();
}

}  // namespace

WmfReading ReadWmf(std::string_view bytes) {
    WmfReading reading;
    try {
        Play(bytes, reading.picture);
    } catch (const Malformed& m) {
        reading.picture = Picture{};
        reading.message = "图片文件已损坏:" + m.what;
    }
    return reading;
}

}  // namespace quoinry::profile
