#include "common/report_file.h"

#include <cerrno>
#include <string>

#include "common/atomic_file.h"
#include "common/cp936.h"

namespace quoinry {

FileWriteError::FileWriteError(const std::filesystem::path& file, const std::error_code& cause)
    : CalcError(ErrorKind::FileUnwritable,
                "无法写入 " + file.string() + ": " + DescribeFileError(cause)) {}

void WriteReportFile(const std::filesystem::path& path, const ReportLines& lines) {
    // One conversion for the whole report: opening a converter per line cost more than the
    // calculation. CR LF cannot join a broken UTF-8 sequence, so the bytes are the same.
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    // Reports are made again by the next run: not worth a sync per file in a long batch.
    const std::error_code error =
        WriteFileAtomically(path, Utf8ToCp936(text), Durability::Unsynced);
    if (error)
        throw FileWriteError(path, error);
}

void DeleteReportIfExists(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(path, error);
    if (error || !std::filesystem::exists(status))
        return;
    if (std::filesystem::is_directory(status))
        throw FileWriteError(path, std::make_error_code(std::errc::is_a_directory));
    if (const std::error_code refused = RefuseReadOnly(path))
        throw FileWriteError(path, refused);
    if (!std::filesystem::remove(path, error) && error)
        throw FileWriteError(path, error);
}

}  // namespace quoinry
