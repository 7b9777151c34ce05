#include "profile/dxf_records.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "profile/affine.h"
#include "profile/section_error.h"

namespace quoinry::profile {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kLargestScale = 1e6;

std::string Upper(std::string_view text) {
    std::string out(DxfTrimmed(text));
    for (char& c : out) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

// Groups every entity shares; fills the entity's layer, linetype and line and says whether it
// is drawn in model space and visible.
struct Common {
    bool wanted = true;
    Point normal_xy;
    double normal_z = 1;

    // Arcs, circles, polylines and inserts lie in their own plane; one seen from below is mirrored.
    bool Mirrored() const { return normal_z < 0; }
    bool Flat() const {
        const double size = std::hypot(normal_xy.x, normal_xy.y, normal_z);
        return size == 0 || std::hypot(normal_xy.x, normal_xy.y) <= 1e-9 * size;
    }
};

Common ReadCommon(const DxfFields& fields, DxfEntity& entity) {
    Common common;
    for (const DxfPair& f : fields) {
        switch (f.code) {
            case 8:
                entity.layer = Upper(f.value);
                break;
            case 6:
                entity.linetype = Upper(f.value);
                break;
            case 67:
                common.wanted = common.wanted && DxfInteger(f) == 0;
                break;
            case 60:
                common.wanted = common.wanted && DxfInteger(f) == 0;
                break;
            case 210:
                common.normal_xy.x = DxfNumber(f);
                break;
            case 220:
                common.normal_xy.y = DxfNumber(f);
                break;
            case 230:
                common.normal_z = DxfNumber(f);
                break;
            default:
                break;
        }
    }
    if (entity.linetype.empty())
        entity.linetype = "BYLAYER";
    return common;
}

// Seen from below, the entity's x runs along the world's −x.
std::vector<Edge> ToWorld(std::vector<Edge> edges, const Common& common) {
    if (common.Mirrored()) {
        for (Edge& edge : edges) edge = Transformed(edge, Scaling(-1, 1));
    }
    return edges;
}

void RefuseTilted(const Common& common, DxfEntity& entity, Point where) {
    if (!common.Flat())
        entity.refusal = AtLine(entity.line) + "实体不在XY平面内,位置 " + PointText(where);
}

// The pair of a given code, or its default.
double Number(const DxfFields& fields, int code, double fallback, double largest = 1e12) {
    double value = fallback;
    for (const DxfPair& f : fields) {
        if (f.code == code)
            value = DxfNumber(f, largest);
    }
    return value;
}

std::vector<Edge> CircleEdges(Point centre, double radius) {
    const Point right = centre + Point{radius, 0};
    const Point left = centre - Point{radius, 0};
    return {{right, left, kPi}, {left, right, kPi}};
}

Point OnCircle(Point centre, double radius, double degrees) {
    const double a = degrees * kPi / 180;
    return centre + radius * Point{std::cos(a), std::sin(a)};
}

void Line(const DxfFields& f, DxfEntity& e) {
    const Point a{Number(f, 10, 0), Number(f, 20, 0)};
    const Point b{Number(f, 11, 0), Number(f, 21, 0)};
    if (a.x != b.x || a.y != b.y)
        e.edges.push_back({a, b, 0});
}

void CircleShape(const DxfFields& f, DxfEntity& e, const Common& common) {
    const Point centre{Number(f, 10, 0), Number(f, 20, 0)};
    const double radius = Number(f, 40, 0);
    RefuseTilted(common, e, centre);
    if (radius > 0)
        e.edges = ToWorld(CircleEdges(centre, radius), common);
}

void Arc(const DxfFields& f, DxfEntity& e, const Common& common) {
    const Point centre{Number(f, 10, 0), Number(f, 20, 0)};
    const double radius = Number(f, 40, 0);
    const double from = std::fmod(Number(f, 50, 0), 360.0);
    double sweep = std::fmod(Number(f, 51, 0) - from, 360.0);
    if (sweep <= 0)
        sweep += 360;
    RefuseTilted(common, e, centre);
    if (!(radius > 0))
        return;
    if (sweep >= 360 || sweep <= 0) {
        e.edges = ToWorld(CircleEdges(centre, radius), common);
        return;
    }
    e.edges = ToWorld({{OnCircle(centre, radius, from), OnCircle(centre, radius, from + sweep),
                        sweep * kPi / 180}},
                      common);
}

void EllipseShape(const DxfFields& f, DxfEntity& e, const Common& common) {
    const Point centre{Number(f, 10, 0), Number(f, 20, 0)};
    const Point u{Number(f, 11, 0), Number(f, 21, 0)};
    const double ratio = Number(f, 40, 1);
    const double from = Number(f, 41, 0, 1e6);
    const double to = Number(f, 42, 2 * kPi, 1e6);
    RefuseTilted(common, e, centre);
    if (!(ratio > 0 && ratio <= 1 + 1e-9)) {
        throw SectionError(AtLine(e.line) + "椭圆的短轴与长轴之比应在0与1之间");
    }
    if (u.x == 0 && u.y == 0)
        return;
    // The minor axis is normal × major axis: seen from below it turns the other way.
    const Point across = common.Mirrored() ? Point{u.y, -u.x} : Point{-u.y, u.x};
    const Ellipse ellipse{centre, u, ratio * across};
    double sweep = std::fmod(to - from, 2 * kPi);
    if (sweep <= 0)
        sweep += 2 * kPi;
    if (sweep >= 2 * kPi - 1e-12 || std::abs(to - from) >= 2 * kPi) {
        e.edges = {EllipticEdge(ellipse, from, kPi), EllipticEdge(ellipse, from + kPi, kPi)};
        e.edges[1].end = e.edges[0].start;
        return;
    }
    e.edges = {EllipticEdge(ellipse, from, sweep)};
}

std::vector<Edge> PolylineEdges(const std::vector<PolylineVertex>& vertices, bool closed) {
    std::vector<Edge> edges;
    const size_t n = vertices.size();
    const size_t count = closed ? n : (n == 0 ? 0 : n - 1);
    edges.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const Point from = vertices[i].at, to = vertices[(i + 1) % n].at;
        if (from.x == to.x && from.y == to.y)
            continue;
        edges.push_back({from, to, 4 * std::atan(vertices[i].bulge)});
    }
    return edges;
}

void LightPolyline(const DxfFields& f, DxfEntity& e, const Common& common) {
    std::vector<PolylineVertex> vertices;
    // As many vertices as the groups read hold, whatever count the file states.
    vertices.reserve(static_cast<size_t>(
        std::count_if(f.begin(), f.end(), [](const DxfPair& p) { return p.code == 10; })));
    bool closed = false;
    for (const DxfPair& p : f) {
        if (p.code == 70)
            closed = (DxfInteger(p) & 1) != 0;
        if (p.code == 10)
            vertices.push_back({{DxfNumber(p), 0}, 0});
        if (p.code == 20 && !vertices.empty())
            vertices.back().at.y = DxfNumber(p);
        if (p.code == 42 && !vertices.empty())
            vertices.back().bulge = DxfNumber(p);
    }
    RefuseTilted(common, e, vertices.empty() ? Point{} : vertices.front().at);
    e.edges = ToWorld(PolylineEdges(vertices, closed), common);
}

void SplineShape(const DxfFields& f, DxfEntity& e) {
    e.kind = DxfEntity::Kind::kSpline;
    e.spline = std::make_unique<Spline>();
    Spline& s = *e.spline;
    s.line = e.line;
    bool fitted = false;
    for (const DxfPair& p : f) {
        switch (p.code) {
            case 71:
                s.degree = static_cast<int>(DxfInteger(p, -1000, 1000));
                break;
            case 40:
                s.knots.push_back(DxfNumber(p));
                break;
            case 41:
                s.weights.push_back(DxfNumber(p));
                break;
            case 10:
                s.control.push_back({DxfNumber(p), 0});
                break;
            case 20:
                if (!s.control.empty())
                    s.control.back().y = DxfNumber(p);
                break;
            case 11:
                fitted = true;
                break;
            default:
                break;
        }
    }
    if (s.control.empty() && fitted) {
        throw SectionError(AtLine(e.line) +
                           "样条曲线只有拟合点而没有控制点,请在CAD中把它转换为多段线");
    }
    CheckSpline(s);
}

void Insert(const DxfFields& f, DxfEntity& e, const Common& common) {
    e.kind = DxfEntity::Kind::kInsert;
    e.insert = std::make_unique<InsertPlacement>();
    InsertPlacement& p = *e.insert;
    for (const DxfPair& g : f) {
        if (g.code == 2)
            p.block = std::string(DxfTrimmed(g.value));
    }
    p.at = {Number(f, 10, 0), Number(f, 20, 0)};
    p.x_scale = Number(f, 41, 1, kLargestScale);
    p.y_scale = Number(f, 42, 1, kLargestScale);
    p.degrees = Number(f, 50, 0);
    for (const DxfPair& g : f) {
        if (g.code == 70)
            p.columns = std::max(1L, DxfInteger(g, 0, 32767));
        if (g.code == 71)
            p.rows = std::max(1L, DxfInteger(g, 0, 32767));
    }
    p.column_spacing = Number(f, 44, 0);
    p.row_spacing = Number(f, 45, 0);
    p.mirrored = common.Mirrored();
    RefuseTilted(common, e, p.at);
    if (p.x_scale == 0 || p.y_scale == 0)
        throw SectionError(AtLine(e.line) + "图块的插入比例为0");
}

}  // namespace

RecordUse UseOf(std::string_view type) {
    // Looked through in turn: a few short names, the commonest first.
    static constexpr std::pair<std::string_view, RecordUse> kUses[] = {
        {"LINE", RecordUse::kShape},         {"ARC", RecordUse::kShape},
        {"CIRCLE", RecordUse::kShape},       {"LWPOLYLINE", RecordUse::kShape},
        {"VERTEX", RecordUse::kVertex},      {"POLYLINE", RecordUse::kPolylineStart},
        {"SEQEND", RecordUse::kSequenceEnd}, {"ELLIPSE", RecordUse::kShape},
        {"SPLINE", RecordUse::kShape},       {"INSERT", RecordUse::kShape},
        {"REGION", RecordUse::kSolid},       {"3DSOLID", RecordUse::kSolid},
        {"BODY", RecordUse::kSolid},
    };
    for (const auto& [name, use] : kUses) {
        if (name == type)
            return use;
    }
    return RecordUse::kIgnored;
}

std::optional<DxfEntity> ShapeEntity(std::string_view type, const DxfFields& fields, size_t line) {
    DxfEntity entity;
    entity.line = line;
    const Common common = ReadCommon(fields, entity);
    if (!common.wanted)
        return std::nullopt;
    if (type == "LINE")
        Line(fields, entity);
    else if (type == "ARC")
        Arc(fields, entity, common);
    else if (type == "CIRCLE")
        CircleShape(fields, entity, common);
    else if (type == "ELLIPSE")
        EllipseShape(fields, entity, common);
    else if (type == "LWPOLYLINE")
        LightPolyline(fields, entity, common);
    else if (type == "SPLINE")
        SplineShape(fields, entity);
    else if (type == "INSERT")
        Insert(fields, entity, common);
    return entity;
}

bool PolylineBuilder::Start(const DxfFields& fields, size_t line) {
    entity_ = DxfEntity{};
    entity_.line = line;
    vertices_.clear();
    const Common common = ReadCommon(fields, entity_);
    long flags = 0;
    for (const DxfPair& f : fields) {
        if (f.code == 70)
            flags = DxfInteger(f);
    }
    // Meshes and polyface meshes outline no area.
    active_ = common.wanted && (flags & (16 | 64)) == 0;
    closed_ = (flags & 1) != 0;
    world_ = (flags & 8) != 0;
    if (!world_)
        RefuseTilted(common, entity_, {});
    mirrored_ = !world_ && common.Mirrored();
    return active_;
}

void PolylineBuilder::AddVertex(const DxfFields& fields) {
    if (!active_)
        return;
    for (const DxfPair& f : fields) {
        // Spline frame points are not on the curve.
        if (f.code == 70 && (DxfInteger(f) & 16) != 0)
            return;
    }
    const Point at{Number(fields, 10, 0), Number(fields, 20, 0)};
    vertices_.push_back({at, Number(fields, 42, 0)});
}

std::optional<DxfEntity> PolylineBuilder::Finish() {
    if (!active_)
        return std::nullopt;
    active_ = false;
    std::vector<Edge> edges = PolylineEdges(vertices_, closed_);
    if (mirrored_) {
        for (Edge& edge : edges) edge = Transformed(edge, Scaling(-1, 1));
    }
    entity_.edges = std::move(edges);
    return std::move(entity_);
}

}  // namespace quoinry::profile
