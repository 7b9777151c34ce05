#include "profile/section_values.h"

#include <cmath>
#include <cstdio>

#include "common/numbers.h"
#include "profile/section_error.h"

namespace quoinry::profile {
namespace {

constexpr double kLargestValue = 1e12;

double Round3(double x) {
    return RoundN(x, 3);
}

double FirstMoment(const SectionPart& part) {
    return part.area_mm2 * part.distance_mm;
}

}  // namespace

ProfileValues ToProfileValues(const SectionProperties& s) {
    ProfileValues v;
    v.area_cm2 = Round3(s.area_mm2 / 100);
    v.ix_cm4 = Round3(s.ix_mm4 / 10000);
    v.iy_cm4 = Round3(s.iy_mm4 / 10000);
    v.wx1_cm3 = Round3(s.ix_mm4 / s.top_mm / 1000);
    v.wx2_cm3 = Round3(s.ix_mm4 / s.bottom_mm / 1000);
    v.wy1_cm3 = Round3(s.iy_mm4 / s.right_mm / 1000);
    v.wy2_cm3 = Round3(s.iy_mm4 / s.left_mm / 1000);
    v.sx1_cm3 = Round3(FirstMoment(s.above) / 1000);
    v.sx2_cm3 = Round3(FirstMoment(s.below) / 1000);
    v.sy1_cm3 = Round3(FirstMoment(s.left) / 1000);
    v.sy2_cm3 = Round3(FirstMoment(s.right) / 1000);
    return v;
}

std::array<std::pair<const char*, double>, 11> NamedValues(const ProfileValues& v) {
    return {{{"A", v.area_cm2},
             {"Ix", v.ix_cm4},
             {"Iy", v.iy_cm4},
             {"Wx1", v.wx1_cm3},
             {"Wx2", v.wx2_cm3},
             {"Wy1", v.wy1_cm3},
             {"Wy2", v.wy2_cm3},
             {"Sx1", v.sx1_cm3},
             {"Sx2", v.sx2_cm3},
             {"Sy1", v.sy1_cm3},
             {"Sy2", v.sy2_cm3}}};
}

ProfileValues MeasureProfile(const Region& region) {
    const SectionProperties section = ComputeSection(region);
    // Unrounded first: rounding a value beyond the double range fails on its own.
    const double raw[] = {section.area_mm2 / 100, section.ix_mm4 / 10000, section.iy_mm4 / 10000};
    for (double value : raw) {
        if (!(std::abs(value) < kLargestValue)) {
            char text[40];
            std::snprintf(text, sizeof text, "%.3g", value);
            throw SectionError(std::string("截面特性值") + text +
                               "过大,超出计算书可表示的范围,请检查图形单位");
        }
    }
    const ProfileValues values = ToProfileValues(section);
    for (const auto& [name, value] : NamedValues(values)) {
        if (!(std::abs(value) < kLargestValue)) {
            throw SectionError(std::string("截面特性") + name + "过大,超出计算书可表示的范围," +
                               "请检查图形单位");
        }
    }
    return values;
}

}  // namespace quoinry::profile
