#pragma once

#include <filesystem>
#include <system_error>

#include "common/calc_error.h"
#include "common/report.h"

namespace quoinry {

// A file that could not be written or replaced; the description names it and the cause
// ("无法写入 out/wind.txt: 磁盘空间不足").
class FileWriteError : public CalcError {
  public:
    FileWriteError(const std::filesystem::path& file, const std::error_code& cause);
};

// Writes a report file (CP936, CR LF after every line) through a temporary file renamed over
// `path`, so that a full disk leaves the older file or none, never half of one. Raises
// FileWriteError.
void WriteReportFile(const std::filesystem::path& path, const ReportLines& lines);

// Deletes the file when it exists (a link itself, never what it points to); a read-only one is
// refused, not deleted. Raises FileWriteError.
void DeleteReportIfExists(const std::filesystem::path& path);

}  // namespace quoinry
