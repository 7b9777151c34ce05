#include "web/section_answer.h"

#include <cmath>
#include <cstdio>
#include <numbers>

#include "common/numbers.h"
#include "profile/dxf_drawing.h"
#include "profile/regions.h"
#include "profile/section_error.h"
#include "profile/section_picture.h"
#include "profile/section_values.h"
#include "web/json_writer.h"

namespace quoinry::web {
namespace {

using namespace quoinry::profile;

struct ReadDrawing {
    Drawing drawing;
    std::vector<Region> regions;
};

ReadDrawing Read(std::string_view dxf) {
    ReadDrawing read{ReadDxfText(dxf), {}};
    read.regions = FindRegions(read.drawing.loops, read.drawing.origin);
    if (read.regions.empty())
        throw SectionError("图形中没有封闭的面域");
    return read;
}

std::string Number(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", x);
    return text;
}

// SVG draws y downwards: y is negated, and a counter-clockwise arc turns the other way.
void AppendLoop(std::string& path, const Loop& loop) {
    if (loop.empty())
        return;
    path += "M" + Number(loop.front().start.x) + " " + Number(-loop.front().start.y);
    for (const Edge& edge : loop) {
        const std::string end = Number(edge.end.x) + " " + Number(-edge.end.y);
        if (edge.IsArc()) {
            const double chord = std::hypot(edge.end.x - edge.start.x, edge.end.y - edge.start.y);
            const double radius = chord / (2 * std::sin(std::abs(edge.sweep) / 2));
            const bool large = std::abs(edge.sweep) > std::numbers::pi;
            path += "A" + Number(radius) + " " + Number(radius) + " 0 " + (large ? "1 " : "0 ") +
                    (edge.sweep > 0 ? "0 " : "1 ") + end;
        } else {
            path += "L" + end;  // an elliptic arc is shown by its chord
        }
    }
    path += "Z";
}

std::string RegionJson(const Region& region) {
    std::string path;
    AppendLoop(path, region.outer);
    for (const Loop& hole : region.holes) AppendLoop(path, hole);
    const std::string box = JsonArray()
                                .Raw(Number(region.box.min.x))
                                .Raw(Number(region.box.min.y))
                                .Raw(Number(region.box.max.x))
                                .Raw(Number(region.box.max.y))
                                .Close();
    return JsonObject()
        .Raw("area_mm2", GeneralText(RoundN(region.area_mm2, 3)))
        .Raw("box", box)
        .Text("path", path)
        .Close();
}

}  // namespace

std::string RegionsJson(std::string_view dxf) {
    const ReadDrawing read = Read(dxf);
    JsonArray regions;
    for (const Region& region : read.regions) regions.Raw(RegionJson(region));
    JsonArray notes;
    for (const std::string& note : read.drawing.notes) notes.Text(note);
    return JsonObject().Raw("regions", regions.Close()).Raw("notes", notes.Close()).Close();
}

MeasuredRegion MeasureRegion(std::string_view dxf, int index) {
    const ReadDrawing read = Read(dxf);
    if (index < 0 || static_cast<std::size_t>(index) >= read.regions.size())
        throw SectionError("图形中没有第" + std::to_string(index + 1) + "个区域");
    const Region& region = read.regions[static_cast<std::size_t>(index)];
    const ProfileValues v = MeasureProfile(region);
    MeasuredRegion measured;
    measured.record = {kDefaultStrength,        kDefaultShear,          kDefaultThickness,
                       GeneralText(v.area_cm2), kDefaultModulus,        GeneralText(v.ix_cm4),
                       GeneralText(v.iy_cm4),   GeneralText(v.wx1_cm3), GeneralText(v.wx2_cm3),
                       GeneralText(v.wy1_cm3),  GeneralText(v.wy2_cm3), GeneralText(v.sx1_cm3),
                       GeneralText(v.sx2_cm3),  GeneralText(v.sy1_cm3), GeneralText(v.sy2_cm3)};
    measured.picture = SectionPictureWmf(read.drawing.loops, ExportWindow(region.box));
    return measured;
}

}  // namespace quoinry::web
