#include <cstddef>
#include <string>

#include "common/cp936.h"
#include "common/cp936_codes.h"
#include "web/cp936_tables.h"

// The conversions of the browser build, whose C library has no CP936: by the tables made from
// the host's iconv, with what iconv does at a byte it refuses (one U+FFFD, one byte skipped).
namespace quoinry {
namespace {

constexpr std::uint16_t kNothing = 0xFFFF;

}  // namespace

std::uint32_t Cp936CodeOf(char32_t code) {
    const std::uint16_t bytes = code <= 0xFFFF ? web::Cp936EncodeTable()[code] : kNothing;
    return bytes == kNothing ? kCp936None : bytes;
}

std::string Cp936ToUtf8(std::string_view cp936) {
    std::string out;
    out.reserve(cp936.size() * 3 / 2 + 8);
    for (std::size_t i = 0; i < cp936.size(); ++i) {
        const auto lead = static_cast<unsigned char>(cp936[i]);
        std::uint16_t code = web::Cp936SingleTable()[lead];
        if (lead >= 0x81 && lead <= 0xFE && i + 1 < cp936.size()) {
            const auto trail = static_cast<unsigned char>(cp936[i + 1]);
            if (trail >= 0x40 && trail <= 0xFE) {
                const std::uint16_t pair =
                    web::Cp936PairTable()[(lead - 0x81) * 191 + trail - 0x40];
                if (pair != kNothing) {
                    code = pair;
                    ++i;
                }
            }
        }
        if (code == kNothing)
            out += "\xEF\xBF\xBD";
        else
            AppendUtf8(out, code);
    }
    return out;
}

}  // namespace quoinry
