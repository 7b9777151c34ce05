#include "document/report_text.h"

#include <cstddef>

namespace quoinry::document {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of a number "12" or "0.32" at the start of `text`; 0 when there is none.
std::size_t NumberLength(std::string_view text) {
    std::size_t end = 0;
    while (end < text.size() && IsDigit(text[end])) ++end;
    if (end == 0)
        return 0;
    if (end + 1 < text.size() && text[end] == '.' && IsDigit(text[end + 1])) {
        end += 2;
        while (end < text.size() && IsDigit(text[end])) ++end;
    }
    return end;
}

// Length of "(...)" with balanced brackets at the start of `text`, the brackets included; 0 when
// the group is not closed or is empty.
std::size_t GroupLength(std::string_view text) {
    if (text.empty() || text[0] != '(')
        return 0;
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(') {
            ++depth;
        } else if (text[i] == ')' && --depth == 0) {
            return i > 1 ? i + 1 : 0;
        }
    }
    return 0;
}

void AppendPlain(Runs& runs, std::string_view text) {
    if (text.empty())
        return;
    if (!runs.empty() && !runs.back().superscript)
        runs.back().text += text;
    else
        runs.push_back({std::string(text), false});
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

Runs ExponentRuns(std::string_view line) {
    Runs runs;
    std::size_t plain_start = 0;
    for (std::size_t caret = line.find('^'); caret != std::string_view::npos;
         caret = line.find('^', caret + 1)) {
        const std::string_view after = line.substr(caret + 1);
        std::string_view exponent;
        std::size_t consumed = NumberLength(after);
        if (consumed > 0) {
            exponent = after.substr(0, consumed);
        } else if ((consumed = GroupLength(after)) > 0) {
            exponent = after.substr(1, consumed - 2);
        } else {
            continue;
        }
        AppendPlain(runs, line.substr(plain_start, caret - plain_start));
        runs.push_back({std::string(exponent), true});
        plain_start = caret + 1 + consumed;
        caret = plain_start - 1;
    }
    AppendPlain(runs, line.substr(plain_start));
    return runs;
}

int HeadingLevelOf(std::string_view line) {
    // The numerals of the part headings, each three bytes in UTF-8.
    static constexpr std::string_view kNumerals[] = {"一", "二", "三", "四", "五",
                                                     "六", "七", "八", "九", "十"};
    std::string_view rest = line;
    bool numeral = false;
    for (bool more = true; more;) {
        more = false;
        for (std::string_view n : kNumerals) {
            if (StartsWith(rest, n)) {
                rest.remove_prefix(n.size());
                numeral = more = true;
            }
        }
    }
    if (numeral && StartsWith(rest, "、") && rest.size() > std::string_view("、").size())
        return 1;
    if (StartsWith(line, "(")) {
        const std::size_t digits = NumberLength(line.substr(1));
        const std::string_view number = line.substr(1, digits);
        if (digits > 0 && number.find('.') == std::string_view::npos &&
            StartsWith(line.substr(1 + digits), ")."))
            return 2;
    }
    return 0;
}

bool IsFailingVerdict(std::string_view line) {
    return line.find("不满足") != std::string_view::npos ||
           line.find("不能满足") != std::string_view::npos;
}

}  // namespace quoinry::document
