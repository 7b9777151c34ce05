#include "common/ini_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/cp936.h"
#include "test_support.h"

namespace quoinry {
namespace {

std::string Repeat(std::string_view text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

struct ParseCase {
    const char* name;
    std::string bytes;
    const char* section;
    const char* key;
    std::string expected;
};

TEST(IniDocument, FollowsTheReaderRules) {
    const std::vector<ParseCase> cases = {
        {"CR LF", "[s]\r\nk=1\r\nj=2\r\n", "s", "j", "2"},
        {"LF", "[s]\nk=1\nj=2", "s", "j", "2"},
        {"CR", "[s]\rk=1\rj=2", "s", "j", "2"},
        {"blanks trimmed", " \t[ glass \t] \t\n \t co1 \t= \t \xC9\xCF \xBA\xA3 \t\n", "glass",
         "co1", "上 海"},
        {"names ignore case", "[GLASS]\nCo1=x", "glass", "CO1", "x"},
        {"first key wins", "[s]\nk=1\nK=2", "s", "k", "1"},
        {"first section wins", "[s]\nk=1\n[t]\n[S]\nk=2", "s", "k", "1"},
        {"repeated section unread", "[s]\nk=1\n[s]\nj=2", "s", "j", ""},
        {"line without =", "[s]\nk\nj=2", "s", "k", ""},
        {"[ without ]", "[s]\n[t\nk=1", "s", "k", "1"},
        {"[ without ] with =", "[s]\n[t=1", "s", "[t", ""},
        {"first = splits", "[s]\nk=a=b", "s", "k", "a=b"},
        {"no comments or quotes", "[s]\n;k=1\nk=\"x\" ;c", "s", "k", "\"x\" ;c"},
        {"key before any section", "k=1\n[s]\n", "s", "k", ""},
        {"empty value", "[s]\nk=\nj=2", "s", "k", ""},
        {"missing section", "[s]\nk=1", "t", "k", ""},
        {"CP936 bytes", "[s]\nk=\xC9\xCF\xBA\xA3", "s", "k", "上海"},
        {"UTF-8 after a BOM", "\xEF\xBB\xBF[s]\nk=上海", "s", "k", "上海"},
        {"Chinese names", "[\xB2\xA3\xC1\xA7]\n\xBC\xFC=1", "玻璃", "键", "1"},
    };
    for (const ParseCase& c : cases) {
        EXPECT_EQ(IniDocument::Parse(c.bytes).Value(c.section, c.key), c.expected) << c.name;
    }
}

TEST(IniDocument, ReadsUtf8WithoutABomAsCp936) {
    EXPECT_NE(IniDocument::Parse("[s]\nk=上海").Value("s", "k"), "上海");
}

TEST(IniDocument, KnowsSectionsEvenWithoutKeys) {
    const IniDocument document = IniDocument::Parse("k=1\n[GJ]\n[broken\n");
    EXPECT_TRUE(document.HasSection("gj"));
    EXPECT_FALSE(document.HasSection("broken"));
    EXPECT_FALSE(document.HasSection("glass"));
    EXPECT_FALSE(document.HasSection(""));
}

TEST(IniDocument, CutsValuesTo127Cp936Bytes) {
    struct CutCase {
        const char* name;
        std::string value;
        std::string expected;
    };
    const std::string feng = "风";  // two bytes in CP936
    const std::vector<CutCase> cases = {
        {"fits exactly", "a" + Repeat(feng, 63), "a" + Repeat(feng, 63)},
        {"straddling character dropped", "ab" + Repeat(feng, 63), "ab" + Repeat(feng, 62)},
        {"ASCII", Repeat("x", 130), Repeat("x", 127)},
        {"trimmed after the cut", Repeat("x", 126) + " y", Repeat("x", 126)},
    };
    for (const CutCase& c : cases) {
        const std::string line = "[s]\r\nk=" + c.value + "\r\n";
        EXPECT_EQ(IniDocument::Parse(Utf8ToCp936(line)).Value("s", "k"), c.expected) << c.name;
        EXPECT_EQ(IniDocument::Parse("\xEF\xBB\xBF" + line).Value("s", "k"), c.expected)
            << c.name << " (UTF-8)";
    }
}

class IniFileTest : public testing::Test {
  protected:
    std::string Bytes() const { return testing_support::ReadBytes(file_); }
    void SetBytes(const std::string& bytes) const { testing_support::WriteBytes(file_, bytes); }

    testing_support::ScratchFolder folder_;
    std::filesystem::path dir_ = folder_.path();
    std::filesystem::path file_ = dir_ / "info.ini";
};

TEST_F(IniFileTest, MissingFileSectionOrKeyReadsEmpty) {
    EXPECT_EQ(ReadIniString(file_, "glass", "co1"), "");
    WriteIniString(file_, "glass", "co1", "x");
    EXPECT_EQ(ReadIniString(file_, "gj", "co1"), "");
    EXPECT_EQ(ReadIniString(file_, "glass", "co2"), "");
}

TEST_F(IniFileTest, CreatesTheFileInWindowsLayout) {
    WriteIniString(file_, "glass", "op1", "True");
    WriteIniString(file_, "glass", "te1", " 550 ");
    WriteIniString(file_, "gj", "co1", "上海");
    EXPECT_EQ(Bytes(), "[glass]\r\nop1=True\r\nte1= 550 \r\n[gj]\r\nco1=\xC9\xCF\xBA\xA3\r\n");
    EXPECT_EQ(ReadIniString(file_, "glass", "op1"), "True");
    EXPECT_EQ(ReadIniString(file_, "glass", "te1"), "550");
    EXPECT_EQ(ReadIniString(file_, "gj", "co1"), "上海");
}

TEST_F(IniFileTest, WritingAKeyTwiceKeepsOneLine) {
    WriteIniString(file_, "gj", "te1", "1");
    WriteIniString(file_, "GJ", "TE1", "2");
    EXPECT_EQ(Bytes(), "[gj]\r\nTE1=2\r\n");
    EXPECT_EQ(ReadIniString(file_, "gj", "te1"), "2");
}

TEST_F(IniFileTest, StoresTheFirst128Characters) {
    WriteIniString(file_, "s", "ascii", Repeat("x", 130));
    WriteIniString(file_, "s", "chinese", Repeat("风", 130));
    EXPECT_EQ(Bytes(), "[s]\r\nascii=" + Repeat("x", 128) +
                           "\r\nchinese=" + Utf8ToCp936(Repeat("风", 128)) + "\r\n");
    EXPECT_EQ(ReadIniString(file_, "s", "ascii"), Repeat("x", 127));
    EXPECT_EQ(ReadIniString(file_, "s", "chinese"), Repeat("风", 63));
}

TEST_F(IniFileTest, KeepsEveryOtherLineByteForByte) {
    const std::string before =
        "; settings\n"
        "[glass]\r\n"
        "  CO1 = old \r"
        "te1=550\n"
        "\r\n"
        "[gj]\r\n"
        "te1=\xC9\xCF\r\n"
        "[glass]\r\n"
        "te2=1";
    SetBytes(before);
    WriteIniString(file_, "glass", "co1", "new");
    WriteIniString(file_, "glass", "te3", "12");
    WriteIniString(file_, "gj", "te2", "3");
    EXPECT_EQ(Bytes(),
              "; settings\n"
              "[glass]\r\n"
              "co1=new\r\n"
              "te1=550\n"
              "te3=12\r\n"
              "\r\n"
              "[gj]\r\n"
              "te1=\xC9\xCF\r\n"
              "te2=3\r\n"
              "[glass]\r\n"
              "te2=1");
}

TEST_F(IniFileTest, EndsALastLineWithoutLineEndBeforeAppending) {
    SetBytes("[s]\r\nk=1");
    WriteIniString(file_, "s", "j", "2");
    EXPECT_EQ(Bytes(), "[s]\r\nk=1\r\nj=2\r\n");
    SetBytes("[s]");
    WriteIniString(file_, "t", "j", "2");
    EXPECT_EQ(Bytes(), "[s]\r\n[t]\r\nj=2\r\n");
}

TEST_F(IniFileTest, KeepsAUtf8FileUtf8) {
    SetBytes("\xEF\xBB\xBF[s]\r\n");
    WriteIniString(file_, "s", "k", "上海");
    EXPECT_EQ(Bytes(), "\xEF\xBB\xBF[s]\r\nk=上海\r\n");
    EXPECT_EQ(ReadIniString(file_, "s", "k"), "上海");
}

TEST_F(IniFileTest, ALineBreakCannotAddLines) {
    WriteIniString(file_, "s", "k", "1\r\nj=2");
    WriteIniString(file_, "s", "a=b", "3");
    WriteIniString(file_, "s\n[t]", "k", "4");
    EXPECT_EQ(Bytes(), "[s]\r\nk=1\r\n");
}

TEST_F(IniFileTest, ReplacesTheFileWithoutLeavingATemporaryFile) {
    SetBytes("[s]\r\nk=1\r\n");
    WriteIniString(file_, "s", "k", "2");
    WriteIniString(file_, "t", "k", "3");
    std::vector<std::filesystem::path> entries;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
        entries.push_back(entry.path().filename());
    }
    EXPECT_EQ(entries, std::vector<std::filesystem::path>{"info.ini"});
}

TEST_F(IniFileTest, FailsSilentlyWithoutTouchingAnything) {
    const std::filesystem::path nowhere = dir_ / "missing" / "info.ini";
    WriteIniString(nowhere, "s", "k", "1");
    EXPECT_FALSE(std::filesystem::exists(nowhere.parent_path()));
    // A folder where the file should be cannot be read or replaced.
    std::filesystem::create_directory(file_);
    WriteIniString(file_, "s", "k", "1");
    EXPECT_TRUE(std::filesystem::is_directory(file_));
    EXPECT_EQ(ReadIniString(file_, "s", "k"), "");
}

}  // namespace
}  // namespace quoinry
