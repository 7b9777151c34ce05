#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quoinry::platform {

// Loads the shared library `file` and calls its function `symbol`, of the type
// int(const char* command, int argc, const char* const* argv). Returns its result, or nothing
// with `error` set when the library or the function cannot be loaded.
std::optional<int> CallModuleCommand(const std::filesystem::path& file, const char* symbol,
                                     const std::string& command,
                                     const std::vector<std::string>& args, std::string& error);

// Loads the shared library `file` (it stays loaded) and returns the address of its function
// `symbol`, or nullptr with `error` set.
void* LoadModuleFunction(const std::filesystem::path& file, const char* symbol, std::string& error);

}  // namespace quoinry::platform
