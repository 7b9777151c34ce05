#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quoinry {

// Report files and settings are CP936 (GBK) on disk and UTF-8 inside the program.

// Every character that CP936 cannot encode (also one outside the BMP, or a malformed UTF-8
// sequence) becomes one "?"; 0x80 is "€".
std::string Utf8ToCp936(std::string_view utf8);

// Bytes that are not valid CP936 become U+FFFD.
std::string Cp936ToUtf8(std::string_view cp936);

// UTF-16 text with its byte order mark (what Windows calls "Unicode") as UTF-8 without one;
// units that are no UTF-16 become U+FFFD.
std::string Utf16ToUtf8(std::string_view utf16);

// The offsets of characters that only GB18030 has (four bytes: a lead byte, then a digit), read
// as CP936 text; CP936 turns each into U+FFFD.
std::vector<std::size_t> Gb18030OnlyCharacters(std::string_view cp936);

}  // namespace quoinry
