#pragma once

#include <filesystem>

namespace quoinry::platform {

// Opens `file` with the desktop's default application for its type (xdg-open), detached from
// this process. Returns false when no application could be started: xdg-open is missing, or it
// ends at once with a failure. Waits at most a few seconds for that answer.
bool OpenWithDefaultApplication(const std::filesystem::path& file);

}  // namespace quoinry::platform
