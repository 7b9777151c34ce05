#pragma once

#include <filesystem>

namespace quoinry::platform {

// Absolute path of the running executable; the current folder when it cannot be found.
std::filesystem::path ExecutablePath();

}  // namespace quoinry::platform
