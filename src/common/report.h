#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quoinry {

// A report is a list of UTF-8 lines until the caller writes it. A calculation that stops on an
// error leaves the lines written so far.
using ReportLines = std::vector<std::string>;

// Joins texts with one allocation; report lines are built from many pieces.
template <typename... Pieces>
std::string Cat(const Pieces&... pieces) {
    std::string text;
    text.reserve((std::string_view(pieces).size() + ... + 0));
    (text.append(std::string_view(pieces)), ...);
    return text;
}

// Result boxes hold CR LF separated lines.
inline void AppendBoxLine(std::string& box, std::string_view line) {
    box += "\r\n";
    box += line;
}

}  // namespace quoinry
