#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quoinry {

// How a text file that may come from an older program (CP936) or from any editor (UTF-8, with
// or without a byte order mark) is read.
struct TextFileBody {
    bool utf8 = false;
    std::string_view bytes;  // without the byte order mark
};

// UTF-8 when the bytes start with a byte order mark, or when they are valid UTF-8 and not
// plain ASCII; CP936 otherwise. Plain ASCII reads the same either way.
TextFileBody SplitTextEncoding(std::string_view bytes);

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no surrogates, nothing
// beyond U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// The offset of the first byte that breaks UTF-8, or nothing when the bytes are valid.
std::optional<std::size_t> FirstInvalidUtf8(std::string_view bytes);

bool IsPlainAscii(std::string_view bytes);

// The offset of the first byte that breaks UTF-8 or begins a character XML 1.0 cannot hold (a
// control character but tab, LF and CR, U+FFFE, U+FFFF), or nothing.
std::optional<std::size_t> FirstOutsideXml(std::string_view bytes);

// The text with each such byte or character replaced by U+FFFD, the mark the CP936 reader also
// uses for bytes it cannot decode: one of them would make a whole DOCX or XLSX part unreadable.
std::string XmlSafe(std::string_view bytes);

// The text as UTF-8.
std::string ToUtf8(const TextFileBody& body);

}  // namespace quoinry
