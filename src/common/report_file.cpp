#include "common/report_file.h"

#include <cerrno>
#include <string>
#include <system_error>

#include "common/cp936.h"

namespace quoinry {

namespace {

ErrorKind KindOf(int error_number) {
    const bool denied = error_number == EACCES || error_number == EPERM;
    return denied ? ErrorKind::PermissionDenied : ErrorKind::PathFileAccess;
}

}  // namespace

FileAccessError::FileAccessError(int error_number, const std::string& what_failed)
    : CalcError(KindOf(error_number),
                std::string(Describe(KindOf(error_number))) + "(" + what_failed + ")") {}

CalcError FileError(int error_number, const std::string& what_failed) {
    return FileAccessError(error_number, what_failed);
}

std::string CannotWrite(const std::filesystem::path& file) {
    return "无法写入 " + file.string() + ",请检查这个文件夹是否存在、是否可写";
}

std::string CannotMakeFolder(const std::filesystem::path& folder) {
    return "无法建立文件夹 " + folder.string() + ",请检查它所在的文件夹是否可写";
}

ReportFile::ReportFile(const std::filesystem::path& path)
    : file_(std::fopen(path.c_str(), "wb")), path_(path) {
    if (file_ == nullptr)
        throw FileError(errno, CannotWrite(path_));
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
        throw FileError(errno, CannotWrite(path_));
    }
}

void ReportFile::Close() {
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0)
        throw FileError(errno, CannotWrite(path_));
}

void DeleteReportIfExists(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(path, error);
    if (error || !std::filesystem::exists(status))
        return;
    if (std::filesystem::is_directory(status))
        throw FileError(EISDIR, "报告文件 " + path.string() + " 是一个文件夹,无法替换");
    if (!std::filesystem::remove(path, error) && error)
        throw FileError(error.value(), "无法删除旧的报告文件 " + path.string());
}

}  // namespace quoinry
