#pragma once

#include <cstdio>
#include <filesystem>

#include "common/calc_error.h"
#include "common/report.h"

namespace quoinry {

// A report file on disk: CP936, CR LF after every line. Failures raise CalcError with
// "权限被拒绝" when access is denied, else "路径/文件访问错误", and the file.
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
    std::filesystem::path path_;
};

// Deletes the file when it exists.
void DeleteReportIfExists(const std::filesystem::path& path);

// The error for a failed file operation, by errno, naming what could not be done to which file
// or folder: "权限被拒绝(无法写入 /x/temp/wind.txt)".
class FileAccessError : public CalcError {
  public:
    FileAccessError(int error_number, const std::string& what_failed);
};
CalcError FileError(int error_number, const std::string& what_failed);
// "无法写入 FILE", "无法建立文件夹 FOLDER".
std::string CannotWrite(const std::filesystem::path& file);
std::string CannotMakeFolder(const std::filesystem::path& folder);

}  // namespace quoinry
