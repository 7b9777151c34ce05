#include "profile/dxf_placement.h"

#include "profile/dxf_tokens.h"
#include "profile/section_error.h"

namespace quoinry::profile {
namespace {

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// The insertion an entity lies in: its layer and linetype stand for layer 0 and BYBLOCK.
struct Context {
    bool in_block = false;
    std::string layer;
    std::string linetype = "CONTINUOUS";
};

class Placer {
  public:
    explicit Placer(const DxfFile& file) : file_(file) {}

    void Place(const DxfEntities& entities, const Affine& map, const Context& context, int depth) {
        for (const DxfEntity& entity : entities) PlaceOne(entity, map, context, depth, nullptr);
    }

    // Model space is placed once: its entities give up their edges to the chains.
    void PlaceModel(DxfEntities& model, const Affine& map) {
        for (DxfEntity& entity : model) PlaceOne(entity, map, Context{}, 0, &entity.edges);
    }

    PlacedGeometry Result() { return std::move(out_); }

  private:
    // `edges`, when given, are the entity's own, to be moved rather than copied.
    void PlaceOne(const DxfEntity& entity, const Affine& map, const Context& context, int depth,
                  std::vector<Edge>* edges) {
        const std::string& layer =
            context.in_block && entity.layer == "0" ? context.layer : entity.layer;
        const std::string& linetype = Linetype(entity, layer, context);
        if (entity.kind == DxfEntity::Kind::kInsert) {
            Insert(entity, map, {true, layer, linetype}, depth);
            return;
        }
        if (Broken(linetype)) {
            ++out_.construction;
            return;
        }
        if (!entity.refusal.empty())
            throw SectionError(entity.refusal);
        if (entity.kind == DxfEntity::Kind::kSpline) {
            Spline spline = *entity.spline;
            for (Point& p : spline.control) p = map(p);
            Count(spline.control.size());
            out_.splines.push_back(std::move(spline));
            return;
        }
        Count(entity.edges.size());
        Chain chain;
        if (edges) {
            for (Edge& edge : *edges) edge = Transformed(edge, map);
            chain = std::move(*edges);
        } else {
            chain.reserve(entity.edges.size());
            for (const Edge& edge : entity.edges) chain.push_back(Transformed(edge, map));
        }
        // The extent is taken while the edges are at hand.
        for (const Edge& edge : chain) out_.chain_extent.Add(EdgeBox(edge));
        if (!chain.empty())
            out_.chains.push_back(std::move(chain));
    }

    const std::string& Linetype(const DxfEntity& entity, const std::string& layer,
                                const Context& context) const {
        static const std::string kContinuous = "CONTINUOUS";
        if (entity.linetype == "BYBLOCK")
            return context.linetype;
        if (entity.linetype != "BYLAYER")
            return entity.linetype;
        const auto found = file_.layer_linetypes.find(layer);
        return found == file_.layer_linetypes.end() ? kContinuous : found->second;
    }

    // A linetype with gaps, or one the file names without defining it (other than CONTINUOUS).
    bool Broken(const std::string& linetype) const {
        if (linetype == "CONTINUOUS" || linetype.empty() || linetype == "BYLAYER" ||
            linetype == "BYBLOCK")
            return false;
        const auto found = file_.broken_linetypes.find(linetype);
        return found == file_.broken_linetypes.end() || found->second;
    }

    void Count(size_t edges) {
        edges_ += edges;
        if (edges_ > kMostEdges)
            throw SectionError("图形过于复杂(超过" + std::to_string(kMostEdges) + "条线段)");
    }

    void Insert(const DxfEntity& entity, const Affine& map, const Context& context, int depth) {
        if (!entity.refusal.empty())
            throw SectionError(entity.refusal);
        const InsertPlacement& p = *entity.insert;
        const auto found = file_.blocks.find(Upper(p.block));
        if (found == file_.blocks.end()) {
            throw SectionError(AtLine(entity.line) + "插入的图块\"" + DxfText(p.block, file_) +
                               "\"没有定义");
        }
        if (depth >= kDeepestNesting) {
            throw SectionError(AtLine(entity.line) + "图块\"" + DxfText(p.block, file_) +
                               "\"嵌套超过" + std::to_string(kDeepestNesting) + "层");
        }
        const DxfBlock& block = found->second;
        const Affine turn = Rotation(p.degrees);
        const Affine local =
            Then(Then(Translation(-1 * block.base), Scaling(p.x_scale, p.y_scale)), turn);
        const Affine seen = p.mirrored ? Scaling(-1, 1) : Affine{};
        for (long row = 0; row < p.rows; ++row) {
            for (long column = 0; column < p.columns; ++column) {
                if (++insertions_ > kMostInsertions) {
                    throw SectionError("图形过于复杂(图块插入超过" +
                                       std::to_string(kMostInsertions) + "次)");
                }
                const Point cell =
                    turn.Linear({double(column) * p.column_spacing, double(row) * p.row_spacing});
                const Affine placed = Then(Then(Then(local, Translation(p.at + cell)), seen), map);
                Place(block.entities, placed, context, depth + 1);
            }
        }
    }

    const DxfFile& file_;
    PlacedGeometry out_;
    size_t edges_ = 0;
    size_t insertions_ = 0;
};

}  // namespace

PlacedGeometry PlaceEntities(DxfFile& file, const Affine& to_world) {
    Placer placer(file);
    placer.PlaceModel(file.model, to_world);
    return placer.Result();
}

}  // namespace quoinry::profile
