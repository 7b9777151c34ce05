#include "common/cp936.h"

#include <iconv.h>

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

class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of `in`; at each sequence iconv refuses, appends `replacement` and skips
    // `skip(position, bytes_left)` bytes.
    template <typename Skip>
    std::string Convert(std::string_view in, std::string_view replacement, Skip skip) {
        std::string out;
        out.reserve(in.size() * 3 / 2 + 8);
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            return out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t src_left = in.size();
        char buffer[512];
        while (src_left > 0) {
            char* dst = buffer;
            std::size_t dst_left = sizeof buffer;
            std::size_t rc = iconv(cd_, &src, &src_left, &dst, &dst_left);
            out.append(buffer, dst - buffer);
            if (rc != static_cast<std::size_t>(-1))
                continue;
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (a sequence cut off at the end): replace it and go on.
            const std::size_t n = skip(src, src_left);
            src += n;
            src_left -= n;
            out.append(replacement);
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

  private:
    iconv_t cd_;
};

}  // namespace

namespace {

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

// The CP936 bytes of each character of the Basic Multilingual Plane, asked of iconv the first
// time the character comes: converting through the table is many times faster than through
// iconv for every report, and gives the same bytes. An entry is kUnknown until asked, kNone
// when CP936 has no such character, below 0x100 a single byte, else two bytes.
constexpr std::uint32_t kUnknown = 0xFFFFFFFF;
constexpr std::uint32_t kNone = 0xFFFFFFFE;

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

std::uint32_t AskIconv(char32_t code) {
    thread_local Converter converter("CP936", "UTF-8");
    char utf8[3];
    std::size_t length = 0;
    if (code < 0x800) {
        utf8[length++] = static_cast<char>(0xC0 | (code >> 6));
    } else {
        utf8[length++] = static_cast<char>(0xE0 | (code >> 12));
        utf8[length++] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    }
    utf8[length++] = static_cast<char>(0x80 | (code & 0x3F));
    bool failed = false;
    const std::string bytes =
        converter.Convert(std::string_view(utf8, length), "", [&](const char*, std::size_t left) {
            failed = true;
            return left;
        });
    if (failed || bytes.empty() || bytes.size() > 2)
        return kNone;
    const auto first = static_cast<unsigned char>(bytes[0]);
    return bytes.size() == 1 ? first : (first << 8) | static_cast<unsigned char>(bytes[1]);
}

void AppendCp936(std::string& out, char32_t code) {
    std::uint32_t bytes = kNone;
    if (code <= 0xFFFF) {
        std::atomic<std::uint32_t>& entry = Cp936Table()[code];
        bytes = entry.load(std::memory_order_relaxed);
        if (bytes == kUnknown) {
            // Two threads may ask at once; both get the same answer.
            bytes = AskIconv(code);
            entry.store(bytes, std::memory_order_relaxed);
        }
    }
    if (bytes == kNone) {
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

std::string Cp936ToUtf8(std::string_view cp936) {
    Converter converter("UTF-8", "CP936");
    return converter.Convert(cp936, "\xEF\xBF\xBD",
                             [](const char*, std::size_t) { return std::size_t{1}; });
}

std::string Utf16ToUtf8(std::string_view utf16) {
    Converter converter("UTF-8", "UTF-16");
    return converter.Convert(utf16, "\xEF\xBF\xBD", [](const char*, std::size_t left) {
        return std::min<std::size_t>(2, left);
    });
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
