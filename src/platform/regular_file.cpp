#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace quoinry::platform {
namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

FileRead Unreadable(int error_number) {
    return {FileReadStatus::kUnreadable, {}, std::strerror(error_number)};
}

// Opens `file` for reading when it is a regular file of at most `limit` bytes; `fd` stays
// below 0 otherwise, and the result says why.
FileRead OpenRegular(const std::filesystem::path& file, std::uintmax_t limit, int& fd) {
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    fd = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return {FileReadStatus::kMissing, {}, {}};
        return Unreadable(errno);
    }
    struct stat info {};
    FileRead result{FileReadStatus::kRead, {}, {}};
    if (fstat(fd, &info) != 0) {
        result = Unreadable(errno);
    } else if (!S_ISREG(info.st_mode)) {
        result.status = FileReadStatus::kNotRegular;
    } else if (static_cast<std::uintmax_t>(info.st_size) > limit) {
        result.status = FileReadStatus::kTooLarge;
    }
    if (result.status != FileReadStatus::kRead) {
        close(fd);
        fd = -1;
    }
    return result;
}

}  // namespace

FileRead ProbeRegularFile(const std::filesystem::path& file) {
    int fd = -1;
    FileRead result = OpenRegular(file, UINTMAX_MAX, fd);
    if (fd >= 0)
        close(fd);
    return result;
}

FileRead ReadRegularFile(const std::filesystem::path& file, std::size_t limit) {
    int opened = -1;
    FileRead result = OpenRegular(file, limit, opened);
    if (opened < 0)
        return result;
    const FileDescriptor fd(opened);
    // Up to one byte more than the limit tells a file that grew while being read.
    char buffer[65536];
    while (result.bytes.size() <= limit) {
        const ssize_t got = read(fd.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Unreadable(errno);
        if (got == 0)
            break;
        result.bytes.append(buffer, static_cast<std::size_t>(got));
    }
    if (result.bytes.size() > limit)
        return {FileReadStatus::kTooLarge, {}, {}};
    return result;
}

}  // namespace quoinry::platform
