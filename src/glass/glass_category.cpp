#include "glass/glass_category.h"

#include <cstddef>

namespace quoinry {
namespace {

// In the order of GlassKind; design files, schedules, windows and reports use these bytes.
constexpr std::string_view kTexts[] = {"中空玻璃", "单层玻璃", "夹层玻璃"};

}  // namespace

std::optional<GlassKind> ParseGlassCategory(std::string_view text) {
    for (std::size_t i = 0; i < std::size(kTexts); ++i) {
        if (kTexts[i] == text)
            return static_cast<GlassKind>(i);
    }
    return std::nullopt;
}

std::string_view GlassCategoryText(GlassKind kind) {
    return kTexts[static_cast<std::size_t>(kind)];
}

std::span<const std::string_view> GlassCategoryTexts() {
    return kTexts;
}

}  // namespace quoinry
