#include "wind/terrain_category.h"

#include <array>

namespace quoinry {
namespace {

constexpr std::array<TerrainCategory, 4> kCategories = {{
    {"A类", 0.387, -0.12, 0.92, 1.379, 0.24, "       μf=0.387×(Z/10)^(-0.12)", "0.387×(",
     "/10)^(-0.12)", "       βgz=0.92×(1+2×μf)", "0.92×(1+2×", "       μz=1.379×(Z/10)^0.24",
     "1.379×(", "/10)^0.24"},
    {"B类", 0.5, -0.16, 0.89, 1, 0.32, "       μf=0.5×(Z/10)^(-0.16)", "0.5×(", "/10)^(-0.16)",
     "       βgz=0.89×(1+2×μf)", "0.89×(1+2×", "       μz=(Z/10)^0.32", "(", "/10)^0.32"},
    {"C类", 0.734, -0.22, 0.85, 0.616, 0.44, "       μf=0.734×(Z/10)^(-0.22)", "0.734×(",
     "/10)^(-0.22)", "       βgz=0.85×(1+2×μf)", "0.85×(1+2×", "       μz=0.616×(Z/10)^0.44",
     "0.616×(", "/10)^0.44"},
    {"D类", 1.2248, -0.3, 0.8, 0.318, 0.6, "       μf=1.2248×(Z/10)^(-0.3)", "1.2248×(",
     "/10)^(-0.3)", "       βgz=0.8×(1+2×μf)", "0.8×(1+2×", "       μz=0.318×(Z/10)^0.6", "0.318×(",
     "/10)^0.6"},
}};

}  // namespace

const TerrainCategory* FindTerrainCategory(std::string_view text) {
    for (const auto& category : kCategories) {
        if (category.text == text)
            return &category;
    }
    return nullptr;
}

}  // namespace quoinry
