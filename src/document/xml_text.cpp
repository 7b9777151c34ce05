#include "document/xml_text.h"

#include "common/text_encoding.h"

namespace quoinry::document {

void AppendXmlEscaped(std::string& out, std::string_view text) {
    const bool safe = !FirstOutsideXml(text).has_value();
    const std::string replaced = safe ? std::string() : XmlSafe(text);
    for (char c : safe ? text : std::string_view(replaced)) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out += c;
        }
    }
}

std::string XmlEscaped(std::string_view text) {
    std::string out;
    AppendXmlEscaped(out, text);
    return out;
}

}  // namespace quoinry::document
