#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quoinry {

// The whole content of a file; nothing when it is missing, a folder, or cannot be read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& file);

}  // namespace quoinry

namespace quoinry {

// Writes `bytes` to a temporary file beside `file` and renames it over `file`, so a failed write
// leaves an older file as it was; false when that fails.
bool WriteFileBytes(const std::filesystem::path& file, std::string_view bytes);

}  // namespace quoinry
