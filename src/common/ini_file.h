#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace quoinry {

// A parsed settings or design file. Texts are UTF-8.
// CP936 unless the bytes start with a UTF-8 byte order mark; lines end at CR LF, LF or CR;
// blanks are trimmed from lines, section names, keys and values; names compare
// case-insensitively (ASCII); the first section of a name and the first occurrence of a key
// win; a value is cut to its first 127 bytes counted in CP936 (a double-byte character that
// would straddle the cut is dropped), then trimmed again.
class IniDocument {
  public:
    static IniDocument Parse(std::string_view bytes);

    bool HasSection(std::string_view section) const;
    bool HasKey(std::string_view section, std::string_view key) const;
    // Empty text when the section or key is missing.
    std::string Value(std::string_view section, std::string_view key) const;

  private:
    // Lower-cased section name -> lower-cased key -> value.
    std::map<std::string, std::map<std::string, std::string>> sections_;
};

// The longest prefix of `utf8` that takes at most `limit` bytes in CP936; a character that would
// straddle the limit is dropped whole. The old profile functions read at most 127 such bytes.
std::string_view CutToCp936Bytes(std::string_view utf8, std::size_t limit);
inline constexpr std::size_t kProfileReadLimitBytes = 127;

// Settings file helpers with the profile-function semantics: a value is stored cut to its first
// 128 characters; writing a key twice keeps one line; the file is replaced atomically so that a
// crash mid-write never leaves half a settings file. Failures are silent.
void WriteIniString(const std::filesystem::path& file, std::string_view section,
                    std::string_view key, std::string_view value);

// Empty text when the file, section or key is missing, and when the file cannot be read as a
// settings file (ReadSettingsFile says why to whoever needs to know); read values are cut to 127
// CP936 bytes and trimmed of leading and trailing spaces.
std::string ReadIniString(const std::filesystem::path& file, std::string_view section,
                          std::string_view key);

}  // namespace quoinry
