#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quoinry {

// Base64 of RFC 4648 (alphabet A-Z a-z 0-9 + /, "=" padding), for binary data in text files.
std::string EncodeBase64(std::string_view bytes);

// Decodes a base64 text; nothing when a character is outside the alphabet or the padding is
// wrong. Blanks are not allowed inside.
std::optional<std::string> DecodeBase64(std::string_view text);

}  // namespace quoinry
