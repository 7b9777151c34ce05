#include "platform/executable_path.h"

#include <system_error>

namespace quoinry::platform {

std::filesystem::path ExecutablePath() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        return self;
    return std::filesystem::current_path(error) / "quoinry";
}

}  // namespace quoinry::platform
