#include "common/file_stamp.h"

namespace quoinry {

std::optional<FileStamp> StampOf(const std::filesystem::path& file) {
    std::error_code error;
    const auto time = std::filesystem::last_write_time(file, error);
    if (error)
        return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error)
        return std::nullopt;
    return FileStamp{time, size};
}

bool ChangedSince(const std::filesystem::path& file, const std::optional<FileStamp>& seen) {
    const std::optional<FileStamp> now = StampOf(file);
    return now && now != seen;
}

}  // namespace quoinry
