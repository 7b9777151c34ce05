#include <system_error>

#include "cli/commands.h"
#include "common/install_layout.h"
#include "platform/executable_path.h"

namespace quoinry::cli {

std::filesystem::path ModuleFile(const char* name) {
    const std::filesystem::path folder = platform::ExecutablePath().parent_path();
    const std::filesystem::path beside = folder / name;
    std::error_code error;
    if (std::filesystem::exists(beside, error))
        return beside;
    return folder.parent_path() / kInstalledModuleDir / name;
}

std::filesystem::path QtModuleFile() {
    return ModuleFile("libquoinry_qt.so");
}

std::filesystem::path FilesModuleFile() {
    return ModuleFile("libquoinry_files.so");
}

}  // namespace quoinry::cli
