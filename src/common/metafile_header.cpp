#include "common/metafile_header.h"

#include <cstddef>
#include <cstdint>

namespace quoinry {
namespace {

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

}  // namespace

bool IsWindowsMetafile(std::string_view bytes) {
    constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
    constexpr std::size_t kPlaceableHeaderSize = 22;
    constexpr std::size_t kHeaderSize = 18;
    std::size_t header = 0;
    if (bytes.size() >= 4 && LittleEndian(bytes, 0, 4) == kPlaceableKey) {
        header = kPlaceableHeaderSize;
    }
    if (bytes.size() < header + kHeaderSize)
        return false;
    const std::uint32_t type = LittleEndian(bytes, header, 2);  // 1 in memory, 2 on disk
    const std::uint32_t header_words = LittleEndian(bytes, header + 2, 2);
    return (type == 1 || type == 2) && header_words == kHeaderSize / 2;
}

}  // namespace quoinry
