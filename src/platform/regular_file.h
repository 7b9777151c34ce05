#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace quoinry::platform {

// What reading a small file found.
enum class FileReadStatus {
    kRead,
    kMissing,
    kNotRegular,  // a folder, a device, a pipe, a socket
    kTooLarge,
    kUnreadable,  // no permission or a read error; `error` says which
};

struct FileRead {
    FileReadStatus status = FileReadStatus::kMissing;
    std::string bytes;  // the whole content when kRead
    std::string error;  // the system's reason for kUnreadable
};

// Whether `file` is a regular file this process may read, without reading it (kRead when so).
FileRead ProbeRegularFile(const std::filesystem::path& file);

// The content of a regular file of at most `limit` bytes. Never blocks on a pipe or a device
// and never reads past `limit`, so a settings file that is /dev/zero or a FIFO is refused
// instead of hanging the program.
FileRead ReadRegularFile(const std::filesystem::path& file, std::size_t limit);

}  // namespace quoinry::platform
