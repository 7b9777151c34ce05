// Where the program writes: its own folder when it may, else the user's XDG folders.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "common/base64.h"
#include "common/program_dir.h"
#include "common/text_encoding.h"

namespace quoinry {
namespace {

TEST(FileLocations, ProgramDirectoryWhenWritableElseXdgFolders) {
    const struct {
        bool writable;
        XdgEnvironment environment;
        const char* settings;
        const char* data;
    } cases[] = {
        {true, {"/c", "/d", "/home/a"}, "/opt/q/info.ini", "/opt/q"},
        {false, {"/c", "/d", "/home/a"}, "/c/quoinry/info.ini", "/d/quoinry"},
        {false,
         {"", "", "/home/a"},
         "/home/a/.config/quoinry/info.ini",
         "/home/a/.local/share/quoinry"},
        // A relative XDG path does not count.
        {false,
         {"rel", "rel", "/home/a"},
         "/home/a/.config/quoinry/info.ini",
         "/home/a/.local/share/quoinry"},
        {false, {"", "/d", "/home/a"}, "/home/a/.config/quoinry/info.ini", "/d/quoinry"},
        // Nowhere else to go: the program directory, whose errors name it.
        {false, {"", "", ""}, "/opt/q/info.ini", "/opt/q"},
        {false, {"/c", "", ""}, "/opt/q/info.ini", "/opt/q"},
    };
    for (const auto& c : cases) {
        const FileLocations locations = ChooseFileLocations("/opt/q", c.writable, c.environment);
        EXPECT_EQ(locations.program, "/opt/q");
        EXPECT_EQ(locations.settings, c.settings);
        EXPECT_EQ(locations.data, c.data);
    }
}

TEST(FileLocations, AnInstallationIsBinBesideShareQuoinry) {
    namespace fs = std::filesystem;
    const fs::path root =
        fs::temp_directory_path() / ("quoinry-install-" + std::to_string(::getpid()));
    fs::remove_all(root);
    for (const char* folder : {"usr/bin", "usr/share/quoinry", "opt/bin", "opt/share", "build/app",
                               "build/share/quoinry", "flat/bin/share/quoinry"})
        fs::create_directories(root / folder);
    fs::create_directories(root / "file/bin");
    fs::create_directories(root / "file/share");
    std::ofstream(root / "file/share/quoinry") << "not a folder";
    const struct {
        const char* executable_folder;
        std::optional<const char*> data;
    } cases[] = {
        {"usr/bin", "usr/share/quoinry"}, {"opt/bin", std::nullopt},  // no share/quoinry
        {"build/app", std::nullopt},  // a build keeps everything beside the executable
        {"flat/bin", std::nullopt},   // share/quoinry inside bin is no installation
        {"file/bin", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto found = InstalledDataFolder(root / c.executable_folder);
        if (c.data)
            EXPECT_EQ(found, std::optional<fs::path>(root / *c.data)) << c.executable_folder;
        else
            EXPECT_FALSE(found.has_value()) << c.executable_folder;
    }
    fs::remove_all(root);
}

TEST(TextEncoding, Utf8IsRecognisedOnlyWhenWellFormed) {
    const struct {
        std::string bytes;
        bool valid;
    } cases[] = {
        {"plain", true},
        {"南京", true},
        {"\xF0\x9F\x98\x80", true},   // outside the BMP
        {"\xC0\x80", false},          // overlong
        {"\xE0\x80\xAF", false},      // overlong
        {"\xED\xA0\x80", false},      // a surrogate
        {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
        {"\xE5\x8D", false},          // cut short
        {"\x80", false},              // a lone continuation byte
        {"\xC4\xCF\xBE\xA9", false},  // 南京 in CP936
    };
    for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
    EXPECT_EQ(FirstInvalidUtf8("ab\ncd\xC4\xCF"), 5u);
    EXPECT_FALSE(SplitTextEncoding("ascii").utf8);
    EXPECT_TRUE(SplitTextEncoding("南京").utf8);
    EXPECT_FALSE(SplitTextEncoding("\xC4\xCF\xBE\xA9").utf8);
    EXPECT_EQ(SplitTextEncoding("\xEF\xBB\xBF\xC4").bytes, "\xC4");
}

// What XML 1.0 cannot hold becomes U+FFFD, one for each byte that breaks UTF-8.
TEST(TextEncoding, XmlSafeReplacesWhatXmlCannotHold) {
    const std::string r = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {"南京 a\tb\r\nc", "南京 a\tb\r\nc"},  // tab, CR, LF are text
        {"a\x01"
         "b\x1F"
         "c\x7F",
         "a" + r + "b" + r + "c\x7F"},
        {"\xEF\xBF\xBE\xEF\xBF\xBF", r + r},               // U+FFFE, U+FFFF
        {"\xEF\xBF\xBD\xEF\xBF\xBC", r + "\xEF\xBF\xBC"},  // U+FFFD, U+FFFC stay
        {"\xC4\xCF", r + r},                               // GBK 南: two bytes that break UTF-8
        {"\xED\xA0\x80", r + r + r},                       // a surrogate
        {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},          // U+10FFFF
        {"\xE5\x8D", r + r},                               // cut short at the end
    };
    for (const auto& [text, safe] : cases) {
        EXPECT_EQ(XmlSafe(text), safe) << text;
        EXPECT_EQ(FirstOutsideXml(text).has_value(), text != safe) << text;
    }
    EXPECT_EQ(FirstOutsideXml("ab\xEF\xBF\xBF"), 2u);
}

TEST(Base64, KnownTextsAndRefusals) {
    // RFC 4648, section 10.
    const std::pair<std::string, std::string> known[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {std::string("\0\xFF\xFE", 3), "AP/+"},
    };
    for (const auto& [bytes, text] : known) {
        EXPECT_EQ(EncodeBase64(bytes), text);
        EXPECT_EQ(DecodeBase64(text), bytes);
    }
    for (const char* broken : {"Zg=", "Zg", "Z===", "Zm9v$A==", "Zh==", "Zm9=", "=Zm9", "Zg==Zg=="})
        EXPECT_FALSE(DecodeBase64(broken).has_value()) << broken;
}

}  // namespace
}  // namespace quoinry
