#pragma once

// Shared by the schedule fuzz targets: the bytes go to a file of this process (the readers read
// files), and every row read goes through the header and row checks as a batch would use it.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "project/schedule.h"
#include "project/table_reader.h"

namespace quoinry::fuzzing {

inline std::filesystem::path InputFile(const char* extension) {
    return std::filesystem::temp_directory_path() /
           ("quoinry-fuzz-" + std::to_string(::getpid()) + extension);
}

template <typename Open>
int ReadSchedule(const uint8_t* data, size_t size, const char* extension, Open open) {
    const std::filesystem::path file = InputFile(extension);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    try {
        auto table = open(file);
        std::optional<ScheduleRows> rows;
        while (std::optional<TableRow> row = table->Next()) {
            if (row->cells.size() > kMaxTableColumns)
                __builtin_trap();
            if (!rows) {
                try {
                    rows.emplace(ReadScheduleHeader(*row, file), Design{}, "2001", "", nullptr,
                                 true);
                } catch (const ScheduleError&) {
                    break;
                }
                continue;
            }
            std::optional<ScheduleRow> built = rows->Build(*row);
            if (built && built->position.has_value() == !built->error.empty())
                __builtin_trap();
        }
    } catch (const ScheduleError&) {
    }
    return 0;
}

}  // namespace quoinry::fuzzing
