#include "common/cp936.h"

#include "common/cp936_codes.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace quoinry {
namespace {

// Bytes of the (possibly malformed) UTF-8 character at p: its lead byte and the continuation
// bytes that follow it, at most as many as the lead byte announces.
std::size_t Utf8CharacterLength(const char* p, std::size_t left) {
    const auto lead = static_cast<unsigned char>(p[0]);
    std::size_t expected = 1;
    if (lead >= 0xF0 && lead <= 0xF4) {
        expected = 4;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        expected = 3;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        expected = 2;
    }
    std::size_t n = 1;
    while (n < expected && n < left && (static_cast<unsigned char>(p[n]) & 0xC0) == 0x80) ++n;
    return n;
}

// The code point of the well-formed UTF-8 character at p of `length` bytes (2 to 4); nothing for
// an overlong form, a surrogate, a value beyond U+10FFFF or a missing continuation byte.
std::optional<char32_t> DecodeUtf8(const unsigned char* p, std::size_t length, std::size_t left) {
    if (length > left)
        return std::nullopt;
    char32_t code = p[0] & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return std::nullopt;
        code = (code << 6) | (p[i] & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return std::nullopt;
    return code;
}

// The CP936 bytes of each character of the Basic Multilingual Plane, asked of the converter the
// first time the character comes: converting through the table is many times faster than
// through iconv for every report, and gives the same bytes. An entry is kUnknown until asked,
// else as Cp936CodeOf gives it.
constexpr std::uint32_t kUnknown = 0xFFFFFFFF;

struct Cp936Entries {
    Cp936Entries() {
        for (auto& entry : entries) entry.store(kUnknown, std::memory_order_relaxed);
    }
    std::array<std::atomic<std::uint32_t>, 0x10000> entries;
};

std::array<std::atomic<std::uint32_t>, 0x10000>& Cp936Table() {
    static Cp936Entries table;
    return table.entries;
}

void AppendCp936(std::string& out, char32_t code) {
    std::uint32_t bytes = kCp936None;
    if (code <= 0xFFFF) {
        std::atomic<std::uint32_t>& entry = Cp936Table()[code];
        bytes = entry.load(std::memory_order_relaxed);
        if (bytes == kUnknown) {
            // Two threads may ask at once; both get the same answer.
            bytes = Cp936CodeOf(code);
            entry.store(bytes, std::memory_order_relaxed);
        }
    }
    if (bytes == kCp936None) {
        out += '?';
    } else if (bytes < 0x100) {
        out += static_cast<char>(bytes);
    } else {
        out += static_cast<char>(bytes >> 8);
        out += static_cast<char>(bytes & 0xFF);
    }
}

}  // namespace

std::string Utf8ToCp936(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    std::size_t left = utf8.size();
    while (left > 0) {
        if (p[0] < 0x80) {
            out += static_cast<char>(p[0]);
            ++p;
            --left;
            continue;
        }
        const std::size_t length = p[0] >= 0xF0 ? 4 : p[0] >= 0xE0 ? 3 : p[0] >= 0xC0 ? 2 : 1;
        const std::optional<char32_t> code =
            length > 1 ? DecodeUtf8(p, length, left) : std::nullopt;
        // What iconv skips at a sequence it refuses: the lead byte and the continuation bytes
        // it announces, one "?" for them.
        const std::size_t skip =
            code ? length : Utf8CharacterLength(reinterpret_cast<const char*>(p), left);
        if (code)
            AppendCp936(out, *code);
        else
            out += '?';
        p += skip;
        left -= skip;
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// By hand rather than through iconv: the browser build has no iconv, and the rule is short.
std::string Utf16ToUtf8(std::string_view utf16) {
    bool big_endian = true;  // what a file without a byte order mark is taken to be
    if (utf16.starts_with("\xFF\xFE")) {
        big_endian = false;
        utf16.remove_prefix(2);
    } else if (utf16.starts_with("\xFE\xFF")) {
        utf16.remove_prefix(2);
    }
    const auto unit = [&](std::size_t at) -> char32_t {
        const auto a = static_cast<unsigned char>(utf16[at]);
        const auto b = static_cast<unsigned char>(utf16[at + 1]);
        return big_endian ? (a << 8 | b) : (b << 8 | a);
    };
    std::string out;
    out.reserve(utf16.size() * 3 / 2);
    std::size_t at = 0;
    for (; at + 1 < utf16.size(); at += 2) {
        const char32_t first = unit(at);
        if (first >= 0xD800 && first <= 0xDBFF && at + 3 < utf16.size()) {
            const char32_t second = unit(at + 2);
            if (second >= 0xDC00 && second <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00));
                at += 2;
                continue;
            }
        }
        AppendUtf8(out, first >= 0xD800 && first <= 0xDFFF ? char32_t{0xFFFD} : first);
    }
    if (at < utf16.size())
        AppendUtf8(out, 0xFFFD);  // an odd byte at the end
    return out;
}

std::vector<std::size_t> Gb18030OnlyCharacters(std::string_view cp936) {
    std::vector<std::size_t> found;
    std::size_t at = 0;
    while (at < cp936.size()) {
        const auto lead = static_cast<unsigned char>(cp936[at]);
        if (lead < 0x81 || lead == 0xFF || at + 1 >= cp936.size()) {
            ++at;
            continue;
        }
        const auto next = static_cast<unsigned char>(cp936[at + 1]);
        if (next >= 0x30 && next <= 0x39) {
            found.push_back(at);
            at += 4;
        } else {
            at += 2;
        }
    }
    return found;
}

}  // namespace quoinry
