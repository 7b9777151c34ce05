#include "profile/dxf_tokens.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "common/std_compat.h"
#include "profile/section_error.h"

namespace quoinry::profile {
namespace {

constexpr std::string_view kBinaryDxf = "AutoCAD Binary DXF";
constexpr size_t kSniffedBytes = 4096;
// Group codes run from -5 to 1071.
constexpr long kLowestCode = -5;
constexpr long kHighestCode = 1071;

bool IsControlByte(unsigned char c) {
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != '\v') || c == 0x7F;
}

// Text DXF holds no NUL anywhere and no control bytes near its start; DWG and other binary
// files do at once.
bool LooksBinary(std::string_view text) {
    if (text.substr(0, kBinaryDxf.size()) == kBinaryDxf)
        return true;
    if (std::memchr(text.data(), '\0', text.size()) != nullptr)
        return true;
    for (unsigned char c : text.substr(0, kSniffedBytes)) {
        if (IsControlByte(c))
            return true;
    }
    return false;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// A group code line as CAD programs write it: digits, perhaps a minus and blanks, then the line
// end. Its length with the line end, or 0 for anything else: that goes the long way, which also
// words the refusal.
size_t PlainCodeLine(std::string_view rest, long& value) {
    size_t i = 0;
    while (i < rest.size() && IsBlank(rest[i])) ++i;
    const bool negative = i < rest.size() && rest[i] == '-';
    i += negative ? 1 : 0;
    const size_t first = i;
    long magnitude = 0;
    while (i < rest.size() && i - first < 5 && rest[i] >= '0' && rest[i] <= '9')
        magnitude = magnitude * 10 + (rest[i++] - '0');
    if (i == first)
        return 0;
    while (i < rest.size() && IsBlank(rest[i])) ++i;
    if (i < rest.size() && rest[i] != '\n')
        return 0;
    value = negative ? -magnitude : magnitude;
    if (value < kLowestCode || value > kHighestCode)
        return 0;
    return i < rest.size() ? i + 1 : i;
}

// Exact powers of ten as doubles.
constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// A plain decimal ("-123.4560") whose digits fit a double exactly: its value is one correctly
// rounded division, the same double from_chars gives. Others (exponents, long digit strings)
// are left to from_chars.
bool PlainDecimal(std::string_view text, double& value) {
    const char* at = text.data();
    const char* const end = at + text.size();
    const bool negative = at != end && *at == '-';
    at += negative ? 1 : 0;
    uint64_t digits = 0;  // wraps only for strings refused below
    auto read_digits = [&] {
        const char* const first = at;
        for (; at != end && static_cast<unsigned char>(*at - '0') < 10; ++at)
            digits = digits * 10 + static_cast<uint64_t>(*at - '0');
        return at - first;
    };
    const long whole = read_digits();
    long decimals = 0;
    if (at != end && *at == '.') {
        ++at;
        decimals = read_digits();
        if (decimals == 0)
            return false;
    }
    // 15 digits stay below 2^53, so the digits and the power of ten are exact.
    if (whole == 0 || at != end || whole + decimals > 15)
        return false;
    const double magnitude = static_cast<double>(digits) / kPowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    return true;
}

std::string Shown(std::string_view value) {
    std::string shown;
    for (unsigned char c : value.substr(0, 40)) shown += (c < 0x20 || c == 0x7F) ? '?' : char(c);
    if (value.size() > 40)
        shown += "...";
    return shown;
}

}  // namespace

std::string AtLine(size_t line) {
    return "第" + std::to_string(line) + "行: ";
}

std::string_view DxfTrimmed(std::string_view value) {
    while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
    while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
    return value;
}

DxfTokens::DxfTokens(std::string_view text) : text_(text) {
    if (LooksBinary(text))
        throw SectionError("不是DXF文本文件(二进制文件),请在CAD中另存为DXF文本格式");
    // A byte order mark may precede the first group code.
    if (text_.substr(0, 3) == "\xEF\xBB\xBF")
        at_ = 3;
}

std::string_view DxfTokens::Line() {
    const char* begin = text_.data() + at_;
    const size_t rest = text_.size() - at_;
    const void* found = std::memchr(begin, '\n', rest);
    const size_t length =
        found ? static_cast<size_t>(static_cast<const char*>(found) - begin) : rest;
    at_ += found ? length + 1 : length;
    ++line_;
    std::string_view line(begin, length);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

namespace {

// The group code on line `line`, or SectionError.
long CheckedCode(std::string_view code_text, size_t line) {
    const std::string_view code = DxfTrimmed(code_text);
    long value = 0;
    const auto [end, error] = std::from_chars(code.data(), code.data() + code.size(), value);
    if (code.empty() || error != std::errc() || end != code.data() + code.size() ||
        value < kLowestCode || value > kHighestCode) {
        if (line == 1)
            throw SectionError("不是DXF文本文件(第1行应为组码0)");
        throw SectionError(AtLine(line) + "应为组码(整数),而不是\"" + Shown(code_text) + "\"");
    }
    return value;
}

}  // namespace

bool DxfTokens::Next(DxfPair& pair) {
    // Blank lines after the last pair are not a pair.
    while (at_ < text_.size()) {
        const size_t code_line = line_ + 1;
        long value = 0;
        if (const size_t length = PlainCodeLine(text_.substr(at_), value)) {
            at_ += length;
            ++line_;
        } else {
            const std::string_view code_text = Line();
            if (DxfTrimmed(code_text).empty() && at_ >= text_.size())
                return false;
            value = CheckedCode(code_text, code_line);
        }
        if (at_ >= text_.size())
            throw SectionError(AtLine(code_line) + "组码" + std::to_string(value) +
                               "后文件意外结束");
        pair.code = static_cast<int>(value);
        pair.line = code_line;
        pair.value = Line();
        return true;
    }
    return false;
}

double DxfNumber(const DxfPair& pair, double largest) {
    std::string_view text = DxfTrimmed(pair.value);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    if (!PlainDecimal(text, value)) {
        const auto [end, error] = compat::FromChars(text.data(), text.data() + text.size(), value);
        if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
            !std::isfinite(value)) {
            throw SectionError(AtLine(pair.line + 1) + "组码" + std::to_string(pair.code) +
                               "的值\"" + Shown(pair.value) + "\"不是有效的数");
        }
    }
    if (std::abs(value) > largest) {
        char limit[32];
        std::snprintf(limit, sizeof limit, "%g", largest);
        throw SectionError(AtLine(pair.line + 1) + "数值" + Shown(text) +
                           "超出范围(绝对值应不大于" + limit + ")");
    }
    return value;
}

long DxfInteger(const DxfPair& pair, long lowest, long highest) {
    std::string_view text = DxfTrimmed(pair.value);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        throw SectionError(AtLine(pair.line + 1) + "组码" + std::to_string(pair.code) + "的值\"" +
                           Shown(pair.value) + "\"不是整数");
    }
    if (value < lowest || value > highest) {
        throw SectionError(AtLine(pair.line + 1) + "组码" + std::to_string(pair.code) + "的值" +
                           std::to_string(value) + "超出范围(" + std::to_string(lowest) + "至" +
                           std::to_string(highest) + ")");
    }
    return value;
}

}  // namespace quoinry::profile
