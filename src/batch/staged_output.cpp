#include "batch/staged_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "batch/batch_error.h"
#include "common/atomic_file.h"

namespace quoinry {
namespace {

std::string Reason(int error) {
    return DescribeFileError(std::error_code(error, std::generic_category()));
}

}  // namespace

StagedOutput::StagedOutput(const std::filesystem::path& target) : target_(target) {
    const int fd = CreateTemporaryBeside(target, temporary_);
    if (fd < 0)
        throw BatchError("无法写入 " + target.string() + ": " + Reason(errno));
    ::fchmod(fd, 0644);
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
        ::close(fd);
        ::unlink(temporary_.c_str());
        throw BatchError("无法写入 " + target.string());
    }
}

StagedOutput::~StagedOutput() {
    if (file_ != nullptr)
        std::fclose(file_);
    if (!committed_)
        ::unlink(temporary_.c_str());
}

void StagedOutput::Write(std::string_view bytes) {
    if (file_ != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size() &&
        write_error_ == 0)
        write_error_ = errno != 0 ? errno : EIO;
}

void StagedOutput::Release() {
    if (file_ != nullptr && std::fclose(file_) != 0 && write_error_ == 0)
        write_error_ = errno;
    file_ = nullptr;
}

void StagedOutput::Commit() {
    int error = write_error_;
    if (file_ != nullptr) {
        if ((std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0) && error == 0)
            error = errno;
        if (std::fclose(file_) != 0 && error == 0)
            error = errno;
        file_ = nullptr;
    }
    if (error == 0)
        error = RefuseReadOnly(target_).value();
    if (error == 0 && ::rename(temporary_.c_str(), target_.c_str()) != 0)
        error = errno;
    if (error != 0)
        throw BatchError("无法写入 " + target_.string() + ": " + Reason(error));
    committed_ = true;
}

}  // namespace quoinry
