#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace quoinry {

// The glass categories of a design. Their stored texts live in glass_category.cpp only.
enum class GlassKind { Insulating, Single, Laminated };

// The category a stored text names exactly, or nullopt (a design keeps such a text as it is;
// the input check refuses it and the report writes only the area section).
std::optional<GlassKind> ParseGlassCategory(std::string_view text);

// The stored text of a category ("中空玻璃").
std::string_view GlassCategoryText(GlassKind kind);

// The stored texts in the list's order.
std::span<const std::string_view> GlassCategoryTexts();

}  // namespace quoinry
