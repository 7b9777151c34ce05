#include "document/document_error.h"

#include <system_error>

#include "common/atomic_file.h"

namespace quoinry::document {
namespace {

const char* Describe(DocumentProblem problem) {
    switch (problem) {
        case DocumentProblem::ReportMissing:
            return "找不到报告文件";
        case DocumentProblem::ReportUnreadable:
            return "无法读取报告文件";
        case DocumentProblem::PictureMissing:
            return "找不到截面图片";
        case DocumentProblem::PictureUnreadable:
            return "无法读取截面图片";
        case DocumentProblem::PictureNotMetafile:
            return "截面图片不是 Windows 图元文件";
        case DocumentProblem::PictureDamaged:
            return "截面图片已损坏";
        case DocumentProblem::DocumentUnwritable:
            return "无法写入计算书";
        case DocumentProblem::SourceTooLarge:
            return "文件太大(超过16MB),不是本程序写的报告或截面图片:";
        case DocumentProblem::FontMissing:
            return "找不到计算书 PDF 所用的宋体字体文件";
        case DocumentProblem::Stopped:
            return "已中断,没有写出计算书";
    }
    return "";
}

// What the user does about it, after the file's name.
const char* Advice(DocumentProblem problem) {
    switch (problem) {
        case DocumentProblem::FontMissing:
            return ",请安装 Debian 软件包 fonts-arphic-uming(sudo apt install fonts-arphic-uming)";
        default:
            return "";
    }
}

std::string Cause(int cause) {
    return cause == 0 ? std::string()
                      : ": " + DescribeFileError(std::error_code(cause, std::generic_category()));
}

}  // namespace

DocumentError::DocumentError(DocumentProblem problem, const std::filesystem::path& file, int cause)
    : std::runtime_error(std::string(Describe(problem)) + " " + file.string() + Cause(cause) +
                         Advice(problem)),
      problem_(problem),
      file_(file) {}

std::string ErrorLine(const DocumentError& error) {
    return "当前错误:" + error.description();
}

}  // namespace quoinry::document
