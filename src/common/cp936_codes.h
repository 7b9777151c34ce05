#pragma once

#include <cstdint>
#include <string>

namespace quoinry {

// What CP936 has for a character of the Basic Multilingual Plane: below 0x100 a single byte,
// else two bytes (lead byte high), or kCp936None. cp936_iconv.cpp asks iconv; the browser build,
// whose C library has no CP936, looks it up in a table made from the host's iconv.
inline constexpr std::uint32_t kCp936None = 0xFFFFFFFE;
std::uint32_t Cp936CodeOf(char32_t code);

// Appends the UTF-8 bytes of a code point (at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t code);

}  // namespace quoinry
