#include "wind/local_shape.h"

#include <array>
#include <cmath>

#include "common/checked_math.h"
#include "common/numbers.h"
#include "common/text_table.h"

namespace quoinry {
namespace {

constexpr std::array<WallZone, 5> kZones = {{
    {"迎风面", 1.0},
    {"侧面边缘区Sa", -1.4},
    {"侧面Sb", -1.0},
    {"背风面", -0.6},
    {"突出构件", -2.0, false},
}};

}  // namespace

double SignOfExternal(double external) {
    return external < 0.0 ? -1.0 : 1.0;
}

std::string LocalShapeSumText(double external, double internal) {
    return GeneralText(external) + (SignOfExternal(external) < 0 ? "-" : "+") +
           GeneralText(internal);
}

double LocalShapeWithInternal(double external, double internal) {
    return RoundN(Add(external, Mul(SignOfExternal(external), std::fabs(internal))), 3);
}

std::span<const WallZone> WallZones() {
    return kZones;
}

const WallZone* FindWallZone(std::string_view text) {
    return FindByText(kZones, text);
}

bool ReducibleByArea(std::string_view zone_text, double external) {
    const WallZone* zone = FindWallZone(zone_text);
    if (zone != nullptr && zone->mu == external)
        return zone->wall;
    return std::fabs(external) < 2.0;
}

double DominantOpeningFactor(double opening_ratio) {
    if (opening_ratio < 0.02 || opening_ratio > 1.0)
        return 0.0;
    if (opening_ratio <= 0.10)
        return 0.4;
    if (opening_ratio <= 0.30)
        return 0.6;
    return 0.8;
}

std::optional<double> DominantOpeningInternal(double opening_ratio, double opening_mu) {
    const double factor = DominantOpeningFactor(opening_ratio);
    if (factor == 0.0)
        return std::nullopt;
    return RoundN(Mul(factor, std::fabs(opening_mu)), 3);
}

}  // namespace quoinry
