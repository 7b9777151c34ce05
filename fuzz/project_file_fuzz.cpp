// libFuzzer entry: any bytes as a project file, read whole as the 工程 window does and position
// by position as the batch does, to positions or one message, never a crash.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "batch/position_source.h"
#include "project/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("quoinry-fuzz-" + std::to_string(::getpid()) + ".qproj");
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    try {
        quoinry::ReadProjectFile(file);
    } catch (const quoinry::ProjectFileError&) {
    }
    try {
        auto source = quoinry::OpenPositionSource(file, std::nullopt, "", nullptr);
        while (std::optional<quoinry::SourceItem> item = source->Next()) {
            if (item->position.has_value() == !item->error.empty())
                __builtin_trap();
        }
    } catch (const std::runtime_error&) {  // ProjectFileError, ScheduleError
    }
    return 0;
}
