#include "common/file_bytes.h"

#include <fstream>

namespace quoinry {

std::optional<std::string> ReadFileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    // istream::read turns a failing read (a folder, an I/O error) into badbit, not an exception.
    std::string bytes;
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) bytes.append(buffer, in.gcount());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

}  // namespace quoinry
