#include "common/cp936.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>

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

std::string Utf8ToCp936(std::string_view utf8) {
    Converter converter("CP936", "UTF-8");
    return converter.Convert(utf8, "?", Utf8CharacterLength);
}

std::string Cp936ToUtf8(std::string_view cp936) {
    Converter converter("UTF-8", "CP936");
    return converter.Convert(cp936, "\xEF\xBF\xBD",
                             [](const char*, std::size_t) { return std::size_t{1}; });
}

}  // namespace quoinry
