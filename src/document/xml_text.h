#pragma once

#include <string>
#include <string_view>

namespace quoinry::document {

// Appends UTF-8 text escaped for XML character data and attribute values. Control characters
// that XML 1.0 forbids (all below U+0020 but tab, LF and CR) become U+FFFD, the mark the CP936
// reader also uses for bytes it cannot decode; any of them would make the whole part unreadable.
void AppendXmlEscaped(std::string& out, std::string_view text);

std::string XmlEscaped(std::string_view text);

}  // namespace quoinry::document
