#include "profile/dxf_tokens.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "profile/section_error.h"

namespace quoinry::profile {
namespace {

std::string Refusal(const DxfPair& pair) {
    try {
        DxfNumber(pair, 1e300);
    } catch (const SectionError& e) {
        return e.what();
    }
    return "accepted";
}

// Every value must be the double nearest to the decimal, bit for bit (the compiler rounds the
// literals), however it is written.
TEST(DxfTokens, NumbersAreTheNearestDouble) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"0.1", 0.1},
        {"-12345.678901", -12345.678901},
        {"0.414213562373", 0.414213562373},
        {"0.30000000000000004", 0.30000000000000004},
        {"123456789012345", 123456789012345.0},    // 15 digits
        {"1234567890123456", 1234567890123456.0},  // 16 digits
        {"12345678901234.5", 12345678901234.5},
        {"1234567890.123456", 1234567890.123456},
        {"9007199254740993", 9007199254740992.0},  // halfway: to even
        {"0.000000000000001", 1e-15},
        {"0.0000000000000001", 1e-16},
        {"00000000000000000001.5", 1.5},
        {"5.", 5},
        {".5", 0.5},
        {"-.5", -0.5},
        {"+.5", 0.5},
        {"1E+00", 1},
        {"1e3", 1000},
        {"2.5e-3", 0.0025},
        {" 7 \r", 7},
        {"\t-3.25", -3.25},
        {"+-1", -1},
        {"-1", -1},
    };
    for (const Case& c : cases) {
        const double read = DxfNumber({10, c.text, 1}, 1e300);
        EXPECT_EQ(read, c.value) << c.text;
    }
    EXPECT_TRUE(std::signbit(DxfNumber({10, "-0", 1})));
    EXPECT_TRUE(std::signbit(DxfNumber({10, "-0.000", 1})));
    EXPECT_FALSE(std::signbit(DxfNumber({10, "0.000", 1})));
}

TEST(DxfTokens, RefusesWhatIsNoNumber) {
    for (const char* text :
         {"", ".", "-", "--1", "1.2.3", "1,5", "0x10", "inf", "nan", "- 1", "1 2", "1e999"}) {
        EXPECT_EQ(Refusal({10, text, 7}),
                  "第8行: 组码10的值\"" + std::string(text) + "\"不是有效的数")
            << text;
    }
    EXPECT_EQ(Refusal({10, "-1e301", 7}), "第8行: 数值-1e301超出范围(绝对值应不大于1e+300)");
    EXPECT_NO_THROW(DxfNumber({10, "1000000000000", 1}));
    EXPECT_THROW(DxfNumber({10, "1000000000000.1", 1}), SectionError);
    EXPECT_THROW(DxfNumber({10, "-1000000000001", 1}), SectionError);
}

// The code of the pair after "0 / X", or the refusal.
std::string CodeRead(const std::string& code) {
    try {
        const std::string text = "0\nX\n" + code + "\nvalue\n";
        DxfTokens tokens(text);
        DxfPair pair;
        tokens.Next(pair);
        if (!tokens.Next(pair))
            return "none";
        return std::to_string(pair.code) + " " + std::string(pair.value);
    } catch (const SectionError& e) {
        return e.what();
    }
}

TEST(DxfTokens, GroupCodesAreWholeNumbersInRange) {
    struct Case {
        const char* code;
        const char* read;
    };
    const Case cases[] = {
        {"10", "10 value"},
        {" 10", "10 value"},
        {"\t7\r", "7 value"},
        {"-5", "-5 value"},
        {"1071", "1071 value"},
        {"00010", "10 value"},
        {"000010", "10 value"},
        {"-6", "第3行: 应为组码(整数),而不是\"-6\""},
        {"1072", "第3行: 应为组码(整数),而不是\"1072\""},
        {"+10", "第3行: 应为组码(整数),而不是\"+10\""},
        {"10x", "第3行: 应为组码(整数),而不是\"10x\""},
        {"1 0", "第3行: 应为组码(整数),而不是\"1 0\""},
        {"", "第3行: 应为组码(整数),而不是\"\""},
        {"-", "第3行: 应为组码(整数),而不是\"-\""},
        {"99999999999999999999", "第3行: 应为组码(整数),而不是\"99999999999999999999\""},
    };
    for (const Case& c : cases) EXPECT_EQ(CodeRead(c.code), c.read) << c.code;
}

// What reading the whole text gives: each pair as "line:code=value;", or the refusal.
std::string AllPairs(const std::string& text) {
    std::string read;
    try {
        DxfTokens tokens(text);
        for (DxfPair pair; tokens.Next(pair);) {
            read += std::to_string(pair.line) + ":" + std::to_string(pair.code) + "=" +
                    std::string(pair.value) + ";";
        }
    } catch (const SectionError& e) {
        read += e.what();
    }
    return read;
}

TEST(DxfTokens, LinesCountAcrossLineEndsAndTheTextsEnd) {
    struct Case {
        const char* text;
        const char* read;
    };
    const Case cases[] = {
        {"0\nA\n10\n1.5\n", "1:0=A;3:10=1.5;"},
        {"0\r\nA\r\n 10 \r\n1.5\r\n", "1:0=A;3:10=1.5;"},
        {"0\nA\n10\n1.5", "1:0=A;3:10=1.5;"},
        {"0\nA\n\n", "1:0=A;"},
        {"0\nA\n\n\n", "1:0=A;第3行: 应为组码(整数),而不是\"\""},
        {"0\nA\n10", "1:0=A;第3行: 组码10后文件意外结束"},
        {"0\nA\n10\n", "1:0=A;第3行: 组码10后文件意外结束"},
        {"0\nA\n10\n1.5\n20\n2.5\nxx\nv\n",
         "1:0=A;3:10=1.5;5:20=2.5;第7行: 应为组码(整数),而不是\"xx\""},
        {"0\nA\n1\r0\nv\n", "1:0=A;第3行: 应为组码(整数),而不是\"1?0\""},
    };
    for (const Case& c : cases) EXPECT_EQ(AllPairs(c.text), c.read) << c.text;
}

}  // namespace
}  // namespace quoinry::profile
