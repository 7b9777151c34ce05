#pragma once

#include <cstdio>
#include <filesystem>

#include "common/calc_error.h"
#include "common/report.h"

namespace quoinry {

// A report file on disk: CP936, CR LF after every line. Failures raise CalcError with
// "权限被拒绝" when access is denied, else "路径/文件访问错误".
class ReportFile {
  public:
    // Opens the file for output, replacing any content.
    explicit ReportFile(const std::filesystem::path& path);
    ~ReportFile();
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    void Write(const ReportLines& lines);
    void Close();

  private:
    std::FILE* file_;
};

// Deletes the file when it exists.
void DeleteReportIfExists(const std::filesystem::path& path);

// The error for a failed file operation, by errno.
CalcError FileError(int error_number);

}  // namespace quoinry
