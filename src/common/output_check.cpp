#include "common/output_check.h"

#include <sys/stat.h>

#include <system_error>

#include "common/atomic_file.h"

namespace quoinry {
namespace {

std::filesystem::path Resolved(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::path absolute =
        std::filesystem::absolute(path, error).lexically_normal();
    std::filesystem::path resolved = std::filesystem::weakly_canonical(absolute, error);
    return error ? absolute : resolved;
}

std::string Named(const NamedFile& file) {
    return file.path.string() + "(" + file.role + ")";
}

}  // namespace

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    struct stat sa {};
    struct stat sb {};
    if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    return Resolved(a) == Resolved(b);
}

std::string RefuseOutputs(const std::vector<NamedFile>& inputs,
                          const std::vector<NamedFile>& outputs) {
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const NamedFile& output = outputs[i];
        for (const NamedFile& input : inputs) {
            if (SameFile(output.path, input.path))
                return "输出文件 " + Named(output) + " 就是输入文件 " + Named(input) +
                       ",不能覆盖它;请换一个输出文件名";
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (SameFile(output.path, outputs[j].path))
                return "输出文件 " + Named(output) + " 与 " + Named(outputs[j]) +
                       " 是同一个文件;请换一个输出文件名";
        }
        if (RefuseReadOnly(output.path))
            return "输出文件 " + Named(output) + " 是只读的,没有替换它;请去掉它的只读属性" +
                   "或换一个输出文件名";
    }
    return {};
}

}  // namespace quoinry
