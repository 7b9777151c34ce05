#pragma once

#include <string>
#include <string_view>

namespace quoinry {

// Report files and settings are CP936 (GBK) on disk and UTF-8 inside the program.

// Every character that CP936 cannot encode (also one outside the BMP, or a malformed UTF-8
// sequence) becomes one "?"; 0x80 is "€".
std::string Utf8ToCp936(std::string_view utf8);

// Bytes that are not valid CP936 become U+FFFD.
std::string Cp936ToUtf8(std::string_view cp936);

}  // namespace quoinry
