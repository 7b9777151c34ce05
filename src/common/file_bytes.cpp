#include "common/file_bytes.h"

#include <fstream>
#include <random>
#include <system_error>

namespace quoinry {

std::optional<std::string> ReadFileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    // istream::read turns a failing read (a folder, an I/O error) into badbit, not an exception.
    // Large blocks: a drawing of several megabytes is read in a few calls.
    std::string bytes;
    std::string buffer(1 << 20, '\0');
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0)
        bytes.append(buffer.data(), static_cast<size_t>(in.gcount()));
    if (in.bad())
        return std::nullopt;
    return bytes;
}

bool WriteFileBytes(const std::filesystem::path& file, std::string_view bytes) {
    static std::mt19937_64 random{std::random_device{}()};
    const std::filesystem::path folder =
        file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    const std::filesystem::path temporary =
        folder / (".quoinry-" + std::to_string(random()) + ".tmp");
    std::error_code error;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, file, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace quoinry
