#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace quoinry {

// What a file looked like when it was read or written: another program (or another copy of
// this one) that writes it in between changes its time or size.
struct FileStamp {
    std::filesystem::file_time_type time;
    std::uintmax_t size = 0;

    bool operator==(const FileStamp&) const = default;
};

// The file's stamp now; nothing when it does not exist or cannot be looked at.
std::optional<FileStamp> StampOf(const std::filesystem::path& file);

// Whether `file`, last seen as `seen`, has been written by someone else since: it exists and
// its stamp differs. A file that is gone has nothing to lose.
bool ChangedSince(const std::filesystem::path& file, const std::optional<FileStamp>& seen);

}  // namespace quoinry
