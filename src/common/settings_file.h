#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

namespace quoinry {

// The largest settings file the program reads: 1 MB.
inline constexpr std::size_t kSettingsFileLimit = std::size_t{1} << 20;

// A settings file that exists but cannot be used; the message names it and says why.
class SettingsFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The bytes of the settings file `file`; nothing when it does not exist. Raises
// SettingsFileError ("无法读取设置文件 FILE: reason") when it exists but is not a regular file, is
// larger than kSettingsFileLimit, or cannot be read.
std::optional<std::string> ReadSettingsFile(const std::filesystem::path& file);

}  // namespace quoinry
