#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace quoinry::document {

// Why the calculation document could not be built.
enum class DocumentProblem {
    ReportMissing,
    ReportUnreadable,
    PictureMissing,
    PictureUnreadable,
    PictureNotMetafile,
    PictureDamaged,
    DocumentUnwritable,
    SourceTooLarge,  // a report or picture far larger than the program writes
    FontMissing,     // the PDF's font file
    Stopped,         // Ctrl+C or SIGTERM while the document was written
};

// A document error names the file it is about; what() is the description without the
// "当前错误:" prefix, e.g. "找不到报告文件 /home/a/temp/gj.txt".
class DocumentError : public std::runtime_error {
  public:
    // `cause` (the system's error number) is said after the file's name when known.
    DocumentError(DocumentProblem problem, const std::filesystem::path& file, int cause = 0);
    DocumentProblem problem() const { return problem_; }
    const std::filesystem::path& file() const { return file_; }
    std::string description() const { return what(); }

  private:
    DocumentProblem problem_;
    std::filesystem::path file_;
};

// The line shown in the message box and on standard error: "当前错误:" + description.
std::string ErrorLine(const DocumentError& error);

}  // namespace quoinry::document
