#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quoinry {

// A file a command reads or writes, with what the user calls it ("设计文件", "--docx").
struct NamedFile {
    std::string role;
    std::filesystem::path path;
};

// Whether two paths are one file: the same device and inode after links where both exist,
// else the same absolute path with links and "." and ".." resolved.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Why the outputs may not be written, naming the files; empty when they may. An output may not
// be an input, nor another output, nor an existing read-only file.
std::string RefuseOutputs(const std::vector<NamedFile>& inputs,
                          const std::vector<NamedFile>& outputs);

}  // namespace quoinry
