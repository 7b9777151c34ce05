// Design files: the current format, legacy INI designs, and what a broken file gets.
#include "design/design_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>

#include "common/cp936.h"
#include "common/file_bytes.h"
#include "design/input_fields.h"
#include "test_support.h"

namespace quoinry {
namespace {

namespace fs = std::filesystem;

std::string SamplePicture() {
    return ReadFileBytes(fs::path(QUOINRY_TEST_DATA).parent_path() / "data" / "profiles" /
                         "tl70-frame.wmf")
        .value();
}

DesignFileReading Parse(const std::string& bytes) {
    return ParseDesignFile(bytes, "d.ini");
}

// UTF-16 with a byte order mark, as Notepad saves "Unicode": each character of the Basic
// Multilingual Plane as two bytes.
std::string Utf16(const std::string& utf8, bool big_endian) {
    std::string out = big_endian ? "\xFE\xFF" : "\xFF\xFE";
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const int length = c < 0x80 ? 1 : c < 0xE0 ? 2 : 3;
        unsigned code = length == 1 ? c : length == 2 ? c & 0x1F : c & 0x0F;
        for (int k = 1; k < length; ++k) code = (code << 6) | (utf8[i + k] & 0x3F);
        i += static_cast<std::size_t>(length);
        const char high = static_cast<char>(code >> 8), low = static_cast<char>(code & 0xFF);
        out += big_endian ? std::string{high, low} : std::string{low, high};
    }
    return out;
}

// 南京 read from a legacy file in every encoding an editor may have used.
TEST(DesignFile, LegacyFilesInEveryEncodingReadTheSame) {
    const std::string text = "[glass]\r\nco2=南京\r\nco3=B类\r\n[gj]\r\nco1=竖向杆件\r\n";
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"CP936", Utf8ToCp936(text)},
        {"UTF-8 with a byte order mark", "\xEF\xBB\xBF" + text},
        {"UTF-8 without a byte order mark", text},
        {"UTF-16 little-endian", Utf16(text, false)},
        {"UTF-16 big-endian", Utf16(text, true)},
    };
    for (const auto& c : cases) {
        const DesignFileReading reading = Parse(c.bytes);
        EXPECT_TRUE(reading.legacy) << c.name;
        EXPECT_EQ(reading.design.wind.city, "南京") << c.name;
        EXPECT_EQ(reading.design.wind.terrain_category, "B类") << c.name;
        ASSERT_TRUE(reading.design.member) << c.name;
        EXPECT_EQ(reading.design.member->form, "竖向杆件") << c.name;
        EXPECT_TRUE(reading.warnings.empty()) << c.name;
    }
}

// GBK has no 𠀀 (GB18030 95 32 82 36): said once for each line that has one.
TEST(DesignFile, CharactersOnlyGb18030HasAreWarnedOfByLine) {
    const std::string outside = "\x95\x32\x82\x36";
    const DesignFileReading reading =
        Parse("[glass]\r\nco2=" + outside + Utf8ToCp936("南京") + outside +
              "\r\nco3=B\xC0\xE0\r\n" + "co4=" + outside + "\r\n");
    EXPECT_NE(reading.design.wind.city.find("南京"), std::string::npos);
    const std::string warning =
        "行: 有 GBK 以外的字符(GB18030 的四字节字符),本程序读不出;"
        "请把文件另存为 UTF-8";
    EXPECT_EQ(reading.warnings, (std::vector<std::string>{"警告: 设计文件 d.ini 第2" + warning,
                                                          "警告: 设计文件 d.ini 第4" + warning}));
}

TEST(DesignFile, BrokenFilesAreRefusedNamingFileAndLine) {
    const std::string picture_line = "picture=" + std::string(76, 'A') + "\n";
    const struct {
        std::string text;
        const char* where;
        const char* what;
    } cases[] = {
        {"[glass]\nco3=B类\n[gj\nco1=竖向杆件\n", "第3行", "缺少“]”"},
        {"[design]\nformat=2\n", "第2行", "较新版本"},
        {"[design]\nformat=99999999999\n", "第2行", "较新版本"},
        {"[design]\nformat=1.5\n", "第2行", "正整数"},
        {"[design]\nformat=0\n", "第2行", "正整数"},
        {"\n[design]\nname=x\n", "第2行", "format"},
        {"[design]\nformat=1\n[profile]\nsource=cad\n", "第4行", "library"},
        {"[design]\nformat=1\n[gj]\n[profile]\nsource=drawing\n", "第5行", "drawing="},
        {"[design]\nformat=1\n[profile]\npicture=AB$C\n", "第4行", "base64"},
        {"[design]\nformat=1\n[profile]\n" + picture_line, "第4行", "图元文件"},
        {"[design]\nformat=1\nname=" + Utf8ToCp936("三号窗") + "\n", "第3行", "UTF-8"},
        {"[design]\r\nformat=1\r\nname=" + Utf8ToCp936("三号窗") + "\r\n", "第3行", "UTF-8"},
        {"[design]\rformat=1\rname=" + Utf8ToCp936("三号窗") + "\r", "第3行", "UTF-8"},
    };
    for (const auto& c : cases) {
        try {
            Parse(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const DesignFileError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find("d.ini"), std::string::npos) << message;
            EXPECT_NE(message.find(c.where), std::string::npos) << message;
            EXPECT_NE(message.find(c.what), std::string::npos) << message;
        }
    }
}

// What is not a design is refused as a whole, not read as a legacy design with a warning a line.
TEST(DesignFile, FilesThatAreNotDesignsAreRefused) {
    const struct {
        std::string bytes;
        const char* what;
    } cases[] = {
        {std::string("[glass]\nco2=a\0b\n", 17), "不是文本文件"},
        {"[glass]\nco2=\x01\n", "不是文本文件"},
        {"PK\x03\x04\x14", "不是文本文件"},
        {"门窗编号,计算处标高\r\nC1,30\r\n", "没有 [design]、[glass] 或 [gj] 节"},
        {"", "没有 [design]、[glass] 或 [gj] 节"},
        {"[database]\nurl=x\n", "没有 [design]、[glass] 或 [gj] 节"},
        {"[project]\nformat=1\n", "这是工程文件"},
        {"[design]\nformat=1\n[position]\n", "这是工程文件"},
    };
    for (const auto& c : cases) {
        try {
            Parse(c.bytes);
            ADD_FAILURE() << "accepted: " << c.bytes;
        } catch (const DesignFileError& error) {
            EXPECT_NE(std::string(error.what()).find(c.what), std::string::npos) << error.what();
            EXPECT_NE(std::string(error.what()).find("d.ini"), std::string::npos) << error.what();
        }
    }
    // Tabs and CR LF are text; one known section is enough for a legacy design.
    EXPECT_EQ(Parse("[gj]\r\n\tco1=竖向杆件\r\n").design.member->form, "竖向杆件");
    EXPECT_TRUE(Parse("[glass]\n").legacy);
}

// The title block's names go through the file; a design without them keeps its old text.
TEST(DesignFile, CheckerApproverAndDateAreKeptWhenGiven) {
    Design design;
    design.info = {"C1-3", "某住宅", "张工", "李工", "王工", "2026-12-07"};
    EXPECT_EQ(Parse(DesignFileText(design)).design.info, design.info);
    const std::string bare = DesignFileText(Design{});
    for (const char* key : {"checker=", "approver=", "date="})
        EXPECT_EQ(bare.find(key), std::string::npos) << key;
}

TEST(DesignFile, LeadingZerosOfTheFormatDoNotMakeItNewer) {
    EXPECT_NO_THROW(Parse("[design]\nformat=0000000001\n"));
}

TEST(DesignFile, SixteenMegabytesIsTheLargestDesign) {
    auto refusal = [](std::size_t size) {
        try {
            Parse(std::string(size, 'x'));
        } catch (const DesignFileError& error) {
            return std::string(error.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(refusal(16u << 20).find("太大"), std::string::npos);
    EXPECT_NE(refusal((16u << 20) + 1).find("太大(16777217 字节)"), std::string::npos);
}

TEST(DesignFile, UnknownLinesAreWarningsThatNameThem) {
    const std::string text =
        "; a comment\n# another\ncox=1\n[glass]\nco3=B类\ncox=1\nte3=20\nte3=30\nhello\n"
        "[glas]\nco3=C类\n[glass]\nco3=D类\n[database]\nurl=\n";
    const DesignFileReading reading = Parse(text);
    const std::vector<std::string> expected = {
        "第3行: 键“cox”不在任何节中",  "第6行: 节[glass]中未知的键“cox”",
        "第8行: 键“te3”在第7行已出现", "第9行: “hello”不是“键=值”的形式",
        "第10行: 未知的节[glas]",      "第12行: 节[glass]在第4行已出现"};
    ASSERT_EQ(reading.warnings.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NE(reading.warnings[i].find(expected[i]), std::string::npos) << reading.warnings[i];
        EXPECT_NE(reading.warnings[i].find("d.ini"), std::string::npos);
    }
    EXPECT_EQ(reading.design.wind.terrain_category, "B类");  // first section, first key
    EXPECT_EQ(reading.design.wind.height, "20");
}

TEST(DesignFile, SavedDesignReadsBackWhole) {
    Design design;
    design.info = {"C1-3 窗", "上海某住宅", "张工"};
    for (const InputField& field : InputFields()) {
        if (field.kind == FieldKind::Text)
            SetFieldText(design, field, Cat("值 ", field.section, ".", field.key));
    }
    design.wind.minimum_rule = MinimumWkRule::AtLeast075;
    design.member->section_drawing = "tl70-frame.dxf";
    design.picture = SamplePicture();
    const std::string text = DesignFileText(design);
    EXPECT_TRUE(text.find("[design]\nformat=1\nname=C1-3 窗\n") != std::string::npos);
    EXPECT_TRUE(text.find("\n[profile]\nsource=drawing\ndrawing=tl70-frame.dxf\npicture=") !=
                std::string::npos);
    const DesignFileReading reading = Parse(text);
    EXPECT_FALSE(reading.legacy);
    EXPECT_TRUE(reading.warnings.empty());
    EXPECT_EQ(reading.design, design);

    // A library profile without a member and without a picture.
    Design bare;
    bare.wind.city = "南京";
    EXPECT_EQ(Parse(DesignFileText(bare)).design, bare);
}

// The old profile functions read 127 CP936 bytes of a value; a design file keeps it whole.
TEST(DesignFile, OnlyLegacyValuesAreCutTo127Bytes) {
    const std::string long_city(60, 'x');
    const std::string city = long_city + "南京南京南京南京南京南京南京南京南京南京";  // 100 bytes
    EXPECT_EQ(Parse("[glass]\nco2=" + city + "\n").design.wind.city,
              long_city + "南京南京南京南京南京南京南京南京南京南京");
    const std::string longer = city + city;
    EXPECT_EQ(Utf8ToCp936(Parse("[glass]\nco2=" + longer + "\n").design.wind.city).size(), 127u);
    EXPECT_EQ(Parse("[design]\nformat=1\n[glass]\nco2=" + longer + "\n").design.wind.city, longer);
}

// A full disk during the save: the old file stays as it was and nothing else is left behind.
TEST(DesignFile, FailedSaveKeepsTheOldFile) {
    const testing_support::ScratchFolder scratch;
    const fs::path& folder = scratch.path();
    const fs::path file = folder / "design.ini";
    Design design;
    design.wind.city = "南京";
    SaveDesignFile(file, design);
    const std::string old_bytes = ReadFileBytes(file).value();

    design.picture = SamplePicture();
    struct rlimit old_limit {};
    getrlimit(RLIMIT_FSIZE, &old_limit);
    struct rlimit small = old_limit;
    small.rlim_cur = 1024;
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(SaveDesignFile(file, design), DesignFileError);
    setrlimit(RLIMIT_FSIZE, &old_limit);
    signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(ReadFileBytes(file).value(), old_bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    try {
        SaveDesignFile(folder / "no-such-folder" / "d.ini", design);
        ADD_FAILURE();
    } catch (const DesignFileError& error) {
        EXPECT_NE(std::string(error.what()).find("no-such-folder"), std::string::npos);
    }
}

TEST(DesignFile, MissingFileIsNamed) {
    try {
        ReadDesignFile("/nonexistent/x.ini");
        ADD_FAILURE();
    } catch (const DesignFileError& error) {
        EXPECT_NE(std::string(error.what()).find("/nonexistent/x.ini"), std::string::npos);
    }
}

}  // namespace
}  // namespace quoinry
