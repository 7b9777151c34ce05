#include "profile/dxf_tokens.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

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
    const size_t first = value.find_first_not_of(" \t\r");
    if (first == value.npos)
        return {};
    const size_t last = value.find_last_not_of(" \t\r");
    return value.substr(first, last - first + 1);
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

bool DxfTokens::Next(DxfPair& pair) {
    // Blank lines after the last pair are not a pair.
    while (at_ < text_.size()) {
        const size_t code_line = line_ + 1;
        const std::string_view code_text = Line();
        const std::string_view code = DxfTrimmed(code_text);
        if (code.empty() && at_ >= text_.size())
            return false;
        long value = 0;
        const auto [end, error] = std::from_chars(code.data(), code.data() + code.size(), value);
        if (code.empty() || error != std::errc() || end != code.data() + code.size() ||
            value < kLowestCode || value > kHighestCode) {
            if (code_line == 1)
                throw SectionError("不是DXF文本文件(第1行应为组码0)");
            throw SectionError(AtLine(code_line) + "应为组码(整数),而不是\"" + Shown(code_text) +
                               "\"");
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
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        throw SectionError(AtLine(pair.line + 1) + "组码" + std::to_string(pair.code) + "的值\"" +
                           Shown(pair.value) + "\"不是有效的数");
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
