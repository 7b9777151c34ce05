#include "common/text_encoding.h"

#include "common/cp936.h"

namespace quoinry {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

unsigned char Byte(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

// The length of the valid sequence at `at`, or 0.
std::size_t SequenceLength(std::string_view bytes, std::size_t at) {
    const unsigned char lead = Byte(bytes, at);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;  // range of the second byte, narrower for some leads
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;  // overlong
        if (lead == 0xED)
            high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;  // overlong
        if (lead == 0xF4)
            high = 0x8F;  // beyond U+10FFFF
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    const unsigned char second = Byte(bytes, at + 1);
    if (second < low || second > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if ((Byte(bytes, at + i) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

}  // namespace

std::optional<std::size_t> FirstInvalidUtf8(std::string_view bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t length = SequenceLength(bytes, at);
        if (length == 0)
            return at;
        at += length;
    }
    return std::nullopt;
}

bool IsValidUtf8(std::string_view bytes) {
    return !FirstInvalidUtf8(bytes).has_value();
}

namespace {

// A character XML 1.0 cannot hold, given a valid sequence: a control character but tab, LF and
// CR, or U+FFFE and U+FFFF (EF BF BE, EF BF BF).
bool OutsideXml(std::string_view sequence) {
    if (sequence.size() == 1) {
        const unsigned char c = Byte(sequence, 0);
        return c < 0x20 && c != '\t' && c != '\n' && c != '\r';
    }
    return sequence == "\xEF\xBF\xBE" || sequence == "\xEF\xBF\xBF";
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

}  // namespace

std::optional<std::size_t> FirstOutsideXml(std::string_view bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t length = SequenceLength(bytes, at);
        if (length == 0 || OutsideXml(bytes.substr(at, length)))
            return at;
        at += length;
    }
    return std::nullopt;
}

std::string XmlSafe(std::string_view bytes) {
    std::optional<std::size_t> first = FirstOutsideXml(bytes);
    if (!first)
        return std::string(bytes);
    std::string safe(bytes.substr(0, *first));
    std::size_t at = *first;
    while (at < bytes.size()) {
        const std::size_t length = SequenceLength(bytes, at);
        if (length == 0 || OutsideXml(bytes.substr(at, length)))
            safe += kReplacement;
        else
            safe += bytes.substr(at, length);
        at += length == 0 ? 1 : length;
    }
    return safe;
}

bool IsPlainAscii(std::string_view bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

TextFileBody SplitTextEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom))
        return {true, bytes.substr(kUtf8Bom.size())};
    return {!IsPlainAscii(bytes) && IsValidUtf8(bytes), bytes};
}

std::string ToUtf8(const TextFileBody& body) {
    return body.utf8 ? std::string(body.bytes) : Cp936ToUtf8(body.bytes);
}

}  // namespace quoinry
