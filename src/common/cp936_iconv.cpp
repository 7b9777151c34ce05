#include <iconv.h>

#include <cerrno>
#include <cstddef>
#include <string>

#include "common/cp936.h"
#include "common/cp936_codes.h"

// The conversions through the C library's iconv (the native build).
namespace quoinry {
namespace {

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

std::uint32_t Cp936CodeOf(char32_t code) {
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
        return kCp936None;
    const auto first = static_cast<unsigned char>(bytes[0]);
    return bytes.size() == 1 ? first : (first << 8) | static_cast<unsigned char>(bytes[1]);
}

std::string Cp936ToUtf8(std::string_view cp936) {
    Converter converter("UTF-8", "CP936");
    return converter.Convert(cp936, "\xEF\xBF\xBD",
                             [](const char*, std::size_t) { return std::size_t{1}; });
}

}  // namespace quoinry
