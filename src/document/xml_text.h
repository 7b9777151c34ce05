#pragma once

#include <string>
#include <string_view>

namespace quoinry::document {

// Appends UTF-8 text escaped for XML character data and attribute values. What XML 1.0 cannot
// hold (bytes that break UTF-8, control characters but tab, LF and CR, U+FFFE, U+FFFF) becomes
// U+FFFD (XmlSafe); any of them would make the whole part unreadable.
void AppendXmlEscaped(std::string& out, std::string_view text);

std::string XmlEscaped(std::string_view text);

}  // namespace quoinry::document
