#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

namespace quoinry {
namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

std::error_code WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return LastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

// Data and rename reach the disk before the caller reports success.
void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

}  // namespace

int CreateTemporaryBeside(const std::filesystem::path& file, std::filesystem::path& temporary) {
    const std::string pattern =
        (FolderOf(file) / ("." + file.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd >= 0)
        temporary = name.data();
    return fd;
}

std::error_code WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::path temp;
    const int fd = CreateTemporaryBeside(file, temp);
    if (fd < 0)
        return LastError();
    std::error_code error = WriteAll(fd, bytes);
    if (!error && ::fsync(fd) != 0)
        error = LastError();
    // The new file keeps the old one's permissions; a new file gets the usual ones.
    struct stat old_status {};
    const mode_t mode = ::stat(file.c_str(), &old_status) == 0 ? (old_status.st_mode & 07777)
                                                               : static_cast<mode_t>(0644);
    if (!error && ::fchmod(fd, mode) != 0)
        error = LastError();
    if (::close(fd) != 0 && !error)
        error = LastError();
    if (!error && ::rename(temp.c_str(), file.c_str()) != 0)
        error = LastError();
    if (error) {
        ::unlink(temp.c_str());
        return error;
    }
    SyncFolder(FolderOf(file));
    return {};
}

std::string DescribeFileError(const std::error_code& error) {
    switch (error.value()) {
        case EACCES:
        case EPERM:
            return "权限被拒绝";
        case EROFS:
            return "文件夹是只读的";
        case ENOSPC:
        case EDQUOT:
            return "磁盘已满";
        case ENOENT:
        case ENOTDIR:
            return "文件夹不存在";
        case EISDIR:
            return "这是一个文件夹";
        default:
            return error.message();
    }
}

}  // namespace quoinry
