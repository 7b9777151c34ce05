#pragma once

#include <filesystem>
#include <vector>

namespace quoinry {

// The design files opened or saved last, newest first, at most this many.
inline constexpr std::size_t kRecentDesignCount = 8;

// The list kept in `list_file` (UTF-8, one path a line); empty when there is none.
std::vector<std::filesystem::path> ReadRecentDesigns(const std::filesystem::path& list_file);

// Puts `design` first in the list (once) and writes it back; a failed write only loses the list.
void AddRecentDesign(const std::filesystem::path& list_file, const std::filesystem::path& design);

// Takes a design (one that is gone, say) off the list.
void RemoveRecentDesign(const std::filesystem::path& list_file,
                        const std::filesystem::path& design);

}  // namespace quoinry
