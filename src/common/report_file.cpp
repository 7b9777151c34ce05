#include "common/report_file.h"

#include <cerrno>
#include <string>
#include <system_error>

#include "common/cp936.h"

namespace quoinry {

CalcError FileError(int error_number) {
    const bool denied = error_number == EACCES || error_number == EPERM;
    return CalcError(denied ? ErrorKind::PermissionDenied : ErrorKind::PathFileAccess);
}

ReportFile::ReportFile(const std::filesystem::path& path) : file_(std::fopen(path.c_str(), "wb")) {
    if (file_ == nullptr)
        throw FileError(errno);
}

ReportFile::~ReportFile() {
    if (file_ != nullptr)
        std::fclose(file_);
}

void ReportFile::Write(const ReportLines& lines) {
    // One conversion for the whole report: opening a converter per line cost more than the
    // calculation. CR LF cannot join a broken UTF-8 sequence, so the bytes are the same.
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    const std::string bytes = Utf8ToCp936(text);
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        throw FileError(errno);
    }
}

void ReportFile::Close() {
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0)
        throw FileError(errno);
}

void DeleteReportIfExists(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(path, error);
    if (error || !std::filesystem::exists(status))
        return;
    if (std::filesystem::is_directory(status))
        throw CalcError(ErrorKind::PathFileAccess);
    if (!std::filesystem::remove(path, error) && error)
        throw FileError(error.value());
}

}  // namespace quoinry
