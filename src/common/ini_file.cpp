#include "common/ini_file.h"

#include <cstddef>
#include <fstream>
#include <optional>
#include <random>
#include <system_error>
#include <vector>

#include "common/cp936.h"
#include "common/settings_file.h"
#include "common/text.h"

namespace quoinry {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::size_t kWriteLimitCharacters = 128;
constexpr std::string_view kLineEnd = "\r\n";

bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t NextCharacter(std::string_view utf8, std::size_t at) {
    ++at;
    while (at < utf8.size() && IsUtf8Continuation(utf8[at])) ++at;
    return at;
}

std::string_view CutToCharacters(std::string_view utf8, std::size_t limit) {
    std::size_t end = 0;
    for (std::size_t count = 0; end < utf8.size() && count < limit; ++count) {
        end = NextCharacter(utf8, end);
    }
    return utf8.substr(0, end);
}

struct Line {
    std::string_view text;
    std::string_view ending;  // CR LF, LF, CR, or empty for a last line without one
};

std::vector<Line> SplitLines(std::string_view body) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < body.size()) {
        const std::size_t end = body.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back({body.substr(start), {}});
            break;
        }
        std::size_t after = end + 1;
        if (body[end] == '\r' && after < body.size() && body[after] == '\n')
            ++after;
        lines.push_back({body.substr(start, end - start), body.substr(end, after - end)});
        start = after;
    }
    return lines;
}

enum class LineKind { kOther, kSection, kKey };

struct Entry {
    LineKind kind = LineKind::kOther;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // trimmed, not yet cut
};

// `line` is UTF-8, so a "]" or "=" found here is never the second byte of a CP936 character.
Entry Classify(std::string_view line) {
    line = TrimBlanks(line);
    if (!line.empty() && line.front() == '[') {
        const std::size_t close = line.rfind(']');
        if (close == std::string_view::npos)
            return {};
        return {LineKind::kSection, TrimBlanks(line.substr(1, close - 1)), {}};
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return {};
    return {LineKind::kKey, TrimBlanks(line.substr(0, equals)),
            TrimBlanks(line.substr(equals + 1))};
}

struct Body {
    bool utf8 = false;
    std::string_view bytes;  // without the byte order mark
};

Body SplitEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom))
        return {true, bytes.substr(kUtf8Bom.size())};
    return {false, bytes};
}

std::string ToUtf8(const Body& body, std::string_view text) {
    return body.utf8 ? std::string(text) : Cp936ToUtf8(text);
}

std::string FromUtf8(const Body& body, std::string_view text) {
    return body.utf8 ? std::string(text) : Utf8ToCp936(text);
}

// The whole new file goes to a sibling first and then replaces the old one in one rename, so a
// reader or a crash sees either the old file or the new one.
void ReplaceFile(const std::filesystem::path& file, std::string_view bytes) {
    std::random_device random;
    std::filesystem::path temp = file;
    temp += ".tmp" + std::to_string(random());
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    std::error_code error;
    if (!out) {
        std::filesystem::remove(temp, error);
        return;
    }
    const auto old_permissions = std::filesystem::status(file, error).permissions();
    if (!error)
        std::filesystem::permissions(temp, old_permissions, error);
    std::filesystem::rename(temp, file, error);
    if (error)
        std::filesystem::remove(temp, error);
}

// A text cut where the old profile functions cut it (at a NUL) or where a line break would
// otherwise start a new line of the file.
std::string_view FirstLine(std::string_view text) {
    return text.substr(0, text.find_first_of(std::string_view("\0\r\n", 3)));
}

std::string UpdatedFile(std::string_view old_bytes, std::string_view section, std::string_view key,
                        std::string_view value) {
    const Body body = SplitEncoding(old_bytes);
    const std::vector<Line> lines = SplitLines(body.bytes);
    const std::string wanted_section = AsciiLower(section);
    const std::string wanted_key = AsciiLower(key);
    const std::string key_line = FromUtf8(body, std::string(key) + "=" + std::string(value));

    // Only the first section of the name counts; it ends at the next section line.
    std::optional<std::size_t> section_begin;
    std::optional<std::size_t> key_at;
    std::size_t last_content = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string text = ToUtf8(body, lines[i].text);
        const Entry entry = Classify(text);
        if (entry.kind == LineKind::kSection) {
            if (section_begin)
                break;
            if (AsciiLower(entry.name) == wanted_section)
                section_begin = last_content = i;
        } else if (section_begin) {
            if (!TrimBlanks(text).empty())
                last_content = i;
            if (entry.kind == LineKind::kKey && !key_at && AsciiLower(entry.name) == wanted_key) {
                key_at = i;
            }
        }
    }

    std::string out(old_bytes.substr(0, old_bytes.size() - body.bytes.size()));
    auto append_line = [&out](std::string_view text, std::string_view ending) {
        out += text;
        out += ending;
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (key_at == i) {
            append_line(key_line, kLineEnd);
            continue;
        }
        const bool insert_after = section_begin && !key_at && i == last_content;
        append_line(lines[i].text,
                    insert_after && lines[i].ending.empty() ? kLineEnd : lines[i].ending);
        if (insert_after)
            append_line(key_line, kLineEnd);
    }
    if (!section_begin) {
        if (!lines.empty() && lines.back().ending.empty())
            out += kLineEnd;
        append_line(FromUtf8(body, "[" + std::string(section) + "]"), kLineEnd);
        append_line(key_line, kLineEnd);
    }
    return out;
}

}  // namespace

std::string_view CutToCp936Bytes(std::string_view utf8, std::size_t limit) {
    if (Utf8ToCp936(utf8).size() <= limit)
        return utf8;
    std::size_t used = 0;
    std::size_t end = 0;
    while (end < utf8.size()) {
        const std::size_t next = NextCharacter(utf8, end);
        used += Utf8ToCp936(utf8.substr(end, next - end)).size();
        if (used > limit)
            break;
        end = next;
    }
    return utf8.substr(0, end);
}

IniDocument IniDocument::Parse(std::string_view bytes) {
    const Body body = SplitEncoding(bytes);
    const std::string text = ToUtf8(body, body.bytes);
    IniDocument document;
    // Keys before any section, and in a repeated section, are out of reach.
    std::map<std::string, std::string>* current = nullptr;
    for (const Line& line : SplitLines(text)) {
        const Entry entry = Classify(line.text);
        if (entry.kind == LineKind::kSection) {
            auto [it, inserted] = document.sections_.try_emplace(AsciiLower(entry.name));
            current = inserted ? &it->second : nullptr;
        } else if (entry.kind == LineKind::kKey && current != nullptr) {
            current->try_emplace(AsciiLower(entry.name),
                                 TrimBlanks(CutToCp936Bytes(entry.value, kProfileReadLimitBytes)));
        }
    }
    return document;
}

bool IniDocument::HasSection(std::string_view section) const {
    return sections_.contains(AsciiLower(section));
}

bool IniDocument::HasKey(std::string_view section, std::string_view key) const {
    const auto found_section = sections_.find(AsciiLower(section));
    return found_section != sections_.end() && found_section->second.contains(AsciiLower(key));
}

std::string IniDocument::Value(std::string_view section, std::string_view key) const {
    const auto found_section = sections_.find(AsciiLower(section));
    if (found_section == sections_.end())
        return {};
    const auto found_key = found_section->second.find(AsciiLower(key));
    if (found_key == found_section->second.end())
        return {};
    return found_key->second;
}

void WriteIniString(const std::filesystem::path& file, std::string_view section,
                    std::string_view key, std::string_view value) {
    // Such names would write lines that read back as something else.
    if (FirstLine(section) != section || FirstLine(key) != key ||
        key.find('=') != std::string_view::npos) {
        return;
    }
    std::string old_bytes;
    try {
        old_bytes = ReadSettingsFile(file).value_or("");
    } catch (const SettingsFileError&) {
        // Rewriting a file that could not be read would lose its other settings.
        return;
    }
    const std::string_view stored = CutToCharacters(FirstLine(value), kWriteLimitCharacters);
    ReplaceFile(file, UpdatedFile(old_bytes, section, key, stored));
}

std::string ReadIniString(const std::filesystem::path& file, std::string_view section,
                          std::string_view key) {
    std::optional<std::string> bytes;
    try {
        bytes = ReadSettingsFile(file);
    } catch (const SettingsFileError&) {
        return {};
    }
    if (!bytes)
        return {};
    return IniDocument::Parse(*bytes).Value(section, key);
}

}  // namespace quoinry
