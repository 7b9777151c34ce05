#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace quoinry {

// The whole content of a file; nothing when it is missing, a folder, or cannot be read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& file);

}  // namespace quoinry
