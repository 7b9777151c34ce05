#include "profile/dxf_drawing.h"

#include <dl_creationadapter.h>
#include <dl_dxf.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <numbers>

#include "profile/dxf_units.h"
#include "profile/loop_chaining.h"
#include "profile/regions.h"
#include "profile/section_error.h"

namespace quoinry::profile {
namespace {

constexpr double kPi = std::numbers::pi;

struct Vertex {
    Point at;
    double bulge;
};

// Turns dxflib's callbacks into chains and loops; nothing of DXF leaves this class.
class Collector : public DL_CreationAdapter {
  public:
    void addBlock(const DL_BlockData&) override {
        FinishPolyline();
        in_block_ = true;
    }
    void endBlock() override { in_block_ = false; }
    void setVariableInt(const std::string& key, int value, int) override {
        if (key == "$INSUNITS")
            insunits_ = value;
    }

    void addLine(const DL_LineData& d) override {
        if (!Wanted())
            return;
        chains_.push_back({Edge{{d.x1, d.y1}, {d.x2, d.y2}, 0}});
    }

    void addArc(const DL_ArcData& d) override {
        if (!Wanted() || !InPlane({d.cx, d.cy}))
            return;
        double sweep = d.angle2 - d.angle1;
        while (sweep <= 0) sweep += 360;
        while (sweep > 360) sweep -= 360;
        if (sweep == 360)
            return AddCircle({d.cx, d.cy}, d.radius);
        const double from = d.angle1 * kPi / 180;
        const double to = from + sweep * kPi / 180;
        auto at = [&](double angle) {
            return Point{d.cx + d.radius * std::cos(angle), d.cy + d.radius * std::sin(angle)};
        };
        chains_.push_back({Mirrored({at(from), at(to), sweep * kPi / 180})});
    }

    void addCircle(const DL_CircleData& d) override {
        if (!Wanted() || !InPlane({d.cx, d.cy}))
            return;
        AddCircle({d.cx, d.cy}, d.radius);
    }

    void addEllipse(const DL_EllipseData& d) override {
        if (!Wanted())
            return;
        Refuse("图形中有椭圆(中心 " + PointText({d.cx, d.cy}) + "),请改用圆弧或多段线绘制");
    }

    void addSpline(const DL_SplineData&) override {
        if (!Wanted())
            return;
        Refuse("图形中有样条曲线,请改用圆弧或多段线绘制");
    }

    void addInsert(const DL_InsertData&) override {
        if (Wanted())
            ++inserts_;
    }

    void addPolyline(const DL_PolylineData& d) override {
        if (!Wanted())
            return;
        // Meshes and polyface meshes outline no area.
        if (d.flags & (16 | 64))
            return;
        polyline_active_ = InPlane({0, 0});
        polyline_closed_ = (d.flags & 1) != 0;
        mirrored_ = mirror_;
        vertices_.clear();
    }

    void addVertex(const DL_VertexData& d) override {
        if (polyline_active_)
            vertices_.push_back({{d.x, d.y}, d.bulge});
    }

    void endEntity() override { FinishPolyline(); }
    void endSequence() override { FinishPolyline(); }

    Drawing Finish() {
        FinishPolyline();
        if (!refusal_.empty())
            throw SectionError(refusal_);
        Drawing drawing;
        const LengthUnit unit = UnitOfInsunits(insunits_);
        if (!unit.name.empty()) {
            drawing.notes.push_back("图形单位为" + unit.name + ",已换算为毫米");
        }
        Box extent;
        for (const Chain& chain : chains_) {
            for (const Edge& edge : chain) extent.Add(EdgeBox(edge));
        }
        for (const Loop& loop : loops_) extent.Add(LoopBox(loop));
        drawing.loops = loops_;
        if (!chains_.empty()) {
            std::vector<Loop> joined = JoinChains(chains_, DrawingTolerance(extent));
            drawing.loops.insert(drawing.loops.end(), joined.begin(), joined.end());
        }
        if (drawing.loops.empty()) {
            throw SectionError(inserts_ > 0 ? "图形中没有封闭的轮廓(图块中的轮廓请先分解)"
                                            : "图形中没有封闭的轮廓");
        }
        if (unit.millimetres != 1) {
            for (Loop& loop : drawing.loops) {
                for (Edge& edge : loop) {
                    edge.start = unit.millimetres * edge.start;
                    edge.end = unit.millimetres * edge.end;
                }
            }
        }
        return drawing;
    }

  private:
    // Model space only: block definitions and paper space are not the drawing.
    bool Wanted() {
        FinishPolyline();
        return !in_block_ && !getAttributes().isInPaperSpace();
    }

    // Arcs, circles and polylines lie in their own coordinate system; one whose normal points
    // down is the plan seen from below, mirrored in X.
    bool InPlane(Point where) {
        const double* n = getExtrusion()->getDirection();
        mirror_ = n[2] < 0;
        if (std::abs(n[0]) > 1e-9 || std::abs(n[1]) > 1e-9) {
            Refuse("图形中有不在XY平面内的实体,位置 " + PointText(where));
            return false;
        }
        return true;
    }

    Edge Mirrored(Edge edge) const {
        if (!mirror_)
            return edge;
        return {{-edge.start.x, edge.start.y}, {-edge.end.x, edge.end.y}, -edge.sweep};
    }

    void AddCircle(Point centre, double radius) {
        if (!(radius > 0))
            return;
        const Point right = centre + Point{radius, 0};
        const Point left = centre - Point{radius, 0};
        loops_.push_back({Mirrored({right, left, kPi}), Mirrored({left, right, kPi})});
    }

    void FinishPolyline() {
        if (!polyline_active_)
            return;
        polyline_active_ = false;
        const bool saved = mirror_;
        mirror_ = mirrored_;
        Chain chain;
        const size_t n = vertices_.size();
        const size_t edges = polyline_closed_ ? n : (n == 0 ? 0 : n - 1);
        for (size_t i = 0; i < edges; ++i) {
            const Vertex& v = vertices_[i];
            const Point to = vertices_[(i + 1) % n].at;
            if (v.at.x == to.x && v.at.y == to.y)
                continue;
            chain.push_back(Mirrored({v.at, to, 4 * std::atan(v.bulge)}));
        }
        mirror_ = saved;
        if (chain.empty())
            return;
        if (polyline_closed_) {
            loops_.push_back(chain);
        } else {
            chains_.push_back(chain);
        }
    }

    void Refuse(const std::string& message) {
        if (refusal_.empty())
            refusal_ = message;
    }

    bool in_block_ = false;
    bool mirror_ = false;
    int insunits_ = 0;
    int inserts_ = 0;
    bool polyline_active_ = false;
    bool polyline_closed_ = false;
    bool mirrored_ = false;
    std::vector<Vertex> vertices_;
    std::vector<Chain> chains_;
    std::vector<Loop> loops_;
    std::string refusal_;
};

}  // namespace

Drawing ReadDxfDrawing(std::istream& dxf) {
    Collector collector;
    auto reader = std::make_unique<DL_Dxf>();
    if (!reader->in(dxf, &collector))
        throw SectionError("无法读取DXF图形");
    return collector.Finish();
}

Drawing ReadDxfDrawing(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw SectionError("无法打开图形文件 " + path.string());
    return ReadDxfDrawing(file);
}

}  // namespace quoinry::profile
