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

std::error_code RefuseReadOnly(const std::filesystem::path& file) {
    struct stat status {};
    if (::lstat(file.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return {};
    const bool read_only =
        (status.st_mode & 0222) == 0 || (::access(file.c_str(), W_OK) != 0 && errno == EACCES);
    return read_only ? std::make_error_code(std::errc::permission_denied) : std::error_code();
}

std::error_code WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                                    Durability durability) {
    if (const std::error_code refused = RefuseReadOnly(file))
        return refused;
    std::filesystem::path temp;
    const int fd = CreateTemporaryBeside(file, temp);
    if (fd < 0)
        return LastError();
    std::error_code error = WriteAll(fd, bytes);
    if (!error && durability == Durability::Synced && ::fsync(fd) != 0)
        error = LastError();
    // The new file keeps the old one's permissions; a new file gets the usual ones.
    struct stat old_status {};
    const bool old_file = ::lstat(file.c_str(), &old_status) == 0 && S_ISREG(old_status.st_mode);
    const mode_t mode = old_file ? (old_status.st_mode & 07777) : static_cast<mode_t>(0644);
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
    if (durability == Durability::Synced)
        SyncFolder(FolderOf(file));
    return {};
}

std::string DescribeFileError(const std::error_code& error) {
    switch (error.value()) {
        case EACCES:
        case EPERM:
            return "权限被拒绝(文件或文件夹是只读的,或属于别的用户)";
        case EROFS:
            return "文件夹是只读的";
        case ENOSPC:
            return "磁盘空间不足";
        case EDQUOT:
            return "超出了磁盘配额";
        case EFBIG:
            return "超出了文件大小的限制";
        case EIO:
            return "磁盘读写错误";
        case EEXIST:
            return "同名的文件已存在";
        case ENAMETOOLONG:
            return "文件名太长";
        case ELOOP:
            return "路径中有符号链接";
        case ENOENT:
        case ENOTDIR:
            return "文件夹不存在";
        case EISDIR:
            return "这是一个文件夹";
        default:
            return "系统错误 " + std::to_string(error.value()) + "(" + error.message() + ")";
    }
}

}  // namespace quoinry
