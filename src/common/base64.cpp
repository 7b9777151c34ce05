#include "common/base64.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace quoinry {
namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<int, 256> DecodingTable() {
    std::array<int, 256> table{};
    for (int& value : table) value = -1;
    for (std::size_t i = 0; i < kAlphabet.size(); ++i)
        table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<int>(i);
    return table;
}

constexpr std::array<int, 256> kDecoding = DecodingTable();

}  // namespace

std::string EncodeBase64(std::string_view bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - at);
        std::uint32_t group = 0;
        for (std::size_t i = 0; i < 3; ++i) {
            const unsigned char byte = i < count ? static_cast<unsigned char>(bytes[at + i]) : 0;
            group = (group << 8) | byte;
        }
        for (std::size_t i = 0; i < 4; ++i) {
            text += i <= count ? kAlphabet[(group >> (18 - 6 * i)) & 0x3F] : '=';
        }
    }
    return text;
}

std::optional<std::string> DecodeBase64(std::string_view text) {
    if (text.size() % 4 != 0)
        return std::nullopt;
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (std::size_t at = 0; at < text.size(); at += 4) {
        const bool last = at + 4 == text.size();
        std::size_t padding = 0;
        std::uint32_t group = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            const char c = text[at + i];
            int value = 0;
            if (c == '=' && last && i >= 2) {
                ++padding;
            } else if (padding > 0 || (value = kDecoding[static_cast<unsigned char>(c)]) < 0) {
                return std::nullopt;
            }
            group = (group << 6) | static_cast<std::uint32_t>(value);
        }
        // Bits under the padding must be zero, so that each text has one meaning.
        if ((padding == 1 && (group & 0xFF) != 0) || (padding == 2 && (group & 0xFFFF) != 0))
            return std::nullopt;
        for (std::size_t i = 0; i < 3 - padding; ++i)
            bytes += static_cast<char>((group >> (16 - 8 * i)) & 0xFF);
    }
    return bytes;
}

}  // namespace quoinry
