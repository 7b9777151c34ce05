#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quoinry {

// μsl of cladding: the external local coefficient plus the internal one, whose sign is taken so
// that it increases |μsl| (suction -1.4 with 0.2 gives -1.6, pressure 1.0 gives 1.2); rounded to
// 3 decimals like every coefficient.
double LocalShapeWithInternal(double external, double internal);

// +1 for pressure (external ≥ 0), -1 for suction.
double SignOfExternal(double external);

// The sum as the report prints it before its value: "-1.4-0.2", "1+0.2".
std::string LocalShapeSumText(double external, double internal);

// The wall zones of a closed rectangular building and their external local coefficients.
struct WallZone {
    std::string_view text;  // what the design stores and the report names
    double mu;
    // A wall's coefficient, which 8.3.4 reduces by a member's area; a projecting member's
    // (8.3.3-2) is not a wall's and keeps its value.
    bool wall = true;
};
std::span<const WallZone> WallZones();
// The zone of that text, or nullptr.
const WallZone* FindWallZone(std::string_view text);

// Whether a member's external coefficient may be reduced by its area: that of a wall zone; one
// given by hand only below 2.0 in size, which only projecting members reach.
bool ReducibleByArea(std::string_view zone_text, double external);

// The internal coefficient of a building with one dominant opening, as the factor on the
// opening's own μsl by its opening ratio: 0.4 up to 0.10, 0.6 up to 0.30, 0.8 above. A ratio
// below 0.02 is no dominant opening (0 here: the building counts as closed), above 1 none at all.
double DominantOpeningFactor(double opening_ratio);
inline constexpr double kClosedBuildingInternal = 0.2;

// The internal coefficient's size for one dominant opening: the factor above × |μsl| of the wall
// the opening is in, rounded to 3 decimals; nullopt where the ratio makes no dominant opening.
std::optional<double> DominantOpeningInternal(double opening_ratio, double opening_mu);

}  // namespace quoinry
