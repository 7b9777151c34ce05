#include "common/program_dir.h"

#include <cstdlib>
#include <system_error>

#include "platform/executable_path.h"

namespace quoinry {

std::filesystem::path ProgramDirectory() {
    if (const char* home = std::getenv("QUOINRY_HOME"); home != nullptr && *home != '\0') {
        return std::filesystem::path(home);
    }
    return platform::ExecutablePath().parent_path();
}

std::filesystem::path TempDirectory() {
    std::filesystem::path temp = ProgramDirectory() / "temp";
    std::error_code ignored;
    // A fresh installation has no temp folder; every calculation would fail without it.
    std::filesystem::create_directories(temp, ignored);
    return temp;
}

std::filesystem::path SectionPictureFile() {
    return TempDirectory() / "xc.wmf";
}

std::filesystem::path SettingsFile() {
    return ProgramDirectory() / "info.ini";
}

}  // namespace quoinry
