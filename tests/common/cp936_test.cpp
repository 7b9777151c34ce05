#include "common/cp936.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <random>
#include <thread>
#include <vector>

namespace quoinry {
namespace {

TEST(Cp936, EncodesReportTexts) {
    EXPECT_EQ(Utf8ToCp936("kN·m"), "kN\xA1\xA4m");
    EXPECT_EQ(Utf8ToCp936("风"), "\xB7\xE7");
    EXPECT_EQ(Utf8ToCp936("€"), "\x80");
    EXPECT_EQ(Utf8ToCp936(""), "");
}

TEST(Cp936, WritesOneQuestionMarkPerUnencodableCharacter) {
    EXPECT_EQ(Utf8ToCp936("m²•x"), "m??x");
    EXPECT_EQ(Utf8ToCp936("a\xF0\x9F\x98\x80"
                          "b"),
              "a?b");  // outside the BMP
    EXPECT_EQ(Utf8ToCp936("a\xE9"
                          "b"),
              "a?b");                         // malformed UTF-8
    EXPECT_EQ(Utf8ToCp936("\xE9\xA3"), "?");  // cut off at the end
}

TEST(Cp936, DecodesAndRoundTrips) {
    const std::string text = "三、门窗竖向受力杆件计算 σ≤ｆg=28N/mm^2 kN·m";
    EXPECT_EQ(Cp936ToUtf8(Utf8ToCp936(text)), text);
    EXPECT_EQ(Cp936ToUtf8("a\xFF"
                          "b"),
              "a\xEF\xBF\xBD"
              "b");
}

// glibc's converter, used the way the reports used it before they went through a table: on a
// sequence it refuses, one "?" and the lead byte with the continuation bytes it announces.
std::string ByIconv(std::string_view utf8) {
    iconv_t cd = iconv_open("CP936", "UTF-8");
    std::string out;
    char* src = const_cast<char*>(utf8.data());
    std::size_t left = utf8.size();
    while (left > 0) {
        char buffer[256];
        char* dst = buffer;
        std::size_t room = sizeof buffer;
        const std::size_t rc = iconv(cd, &src, &left, &dst, &room);
        out.append(buffer, dst - buffer);
        if (rc != static_cast<std::size_t>(-1) || errno == E2BIG)
            continue;
        const auto lead = static_cast<unsigned char>(*src);
        const std::size_t expected = lead >= 0xF0 && lead <= 0xF4   ? 4
                                     : lead >= 0xE0 && lead <= 0xEF ? 3
                                     : lead >= 0xC2 && lead <= 0xDF ? 2
                                                                    : 1;
        std::size_t n = 1;
        while (n < expected && n < left && (static_cast<unsigned char>(src[n]) & 0xC0) == 0x80) ++n;
        src += n;
        left -= n;
        out += '?';
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

std::string Utf8Of(char32_t code) {
    std::string s;
    if (code < 0x80) {
        s += static_cast<char>(code);
    } else if (code < 0x800) {
        s += static_cast<char>(0xC0 | (code >> 6));
        s += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        s += static_cast<char>(0xE0 | (code >> 12));
        s += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (code >> 18));
        s += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (code & 0x3F));
    }
    return s;
}

TEST(Cp936, EveryCharacterOfThePlaneAsIconvEncodesIt) {
    std::string all;
    for (char32_t code = 1; code < 0x10000; ++code) {
        if (code < 0xD800 || code > 0xDFFF)
            all += Utf8Of(code) + "|";
    }
    all += Utf8Of(0x10000) + Utf8Of(0x10FFFF);
    EXPECT_EQ(Utf8ToCp936(all), ByIconv(all));
}

TEST(Cp936, BrokenUtf8AsIconvRefusesIt) {
    const std::vector<std::string> cases = {
        "\xC0\x80",
        "\xE0\x80\x80",
        "\xF0\x80\x80\x80",
        "\xED\xA0\x80",
        "\xF4\x90\x80\x80",
        "\xF5\x80\x80\x80",
        "\xF8\x88\x80\x80\x80",
        "\xFE\xFF",
        "\xE4\xB8",
        "\xE4\xB8"
        "A",
        "\x80\x80",
        "a\xC2",
    };
    for (const std::string& bytes : cases) EXPECT_EQ(Utf8ToCp936(bytes), ByIconv(bytes)) << bytes;
    // Short random texts of the bytes that matter: ASCII, continuation and lead bytes.
    std::mt19937 random(14);
    const unsigned char kBytes[] = {'a',  0x80, 0xA3, 0xBF, 0xC0, 0xC2, 0xDF, 0xE0, 0xE4,
                                    0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF, 0xB8, 0x8C};
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        const int length = static_cast<int>(random() % 8);
        for (int i = 0; i < length; ++i)
            bytes += static_cast<char>(kBytes[random() % sizeof kBytes]);
        ASSERT_EQ(Utf8ToCp936(bytes), ByIconv(bytes)) << ::testing::PrintToString(bytes);
    }
}

TEST(Cp936, ThreadsFillingTheTableAtOnceGetTheSameBytes) {
    std::string text;
    for (char32_t code = 0x4E00; code < 0x9FA6; ++code) text += Utf8Of(code);
    const std::string expected = ByIconv(text);
    std::vector<std::string> results(4);
    std::vector<std::thread> threads;
    for (auto& result : results) threads.emplace_back([&] { result = Utf8ToCp936(text); });
    for (auto& thread : threads) thread.join();
    for (const auto& result : results) EXPECT_EQ(result, expected);
}

// Beyond the Basic Multilingual Plane a character is a surrogate pair; a half of one, or an odd
// last byte, is one U+FFFD, as a strict decoder gives it.
TEST(Utf16, PairsHalvesAndOddBytes) {
    const std::string replacement = "\xEF\xBF\xBD";
    struct Case {
        std::string utf16, utf8;
    };
    for (const Case& c : {
             Case{std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), "\xF0\x9F\x98\x80"},  // U+1F600
             Case{std::string("\xFE\xFF\xD8\x3D\xDE\x00", 6), "\xF0\x9F\x98\x80"},
             Case{std::string("\xFF\xFE\x3D\xD8\x41\x00", 6), replacement + "A"},
             Case{std::string("\xFF\xFE\x00\xDE", 4), replacement},
             Case{std::string("\xFF\xFE\x2D\x4E\x41", 5), "\xE4\xB8\xAD" + replacement},  // 中
             Case{std::string("\x00\x41\x00\x42", 4), "AB"},  // no mark: big-endian
             Case{std::string("\xFF\xFE", 2), ""},
         }) {
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
    }
}

}  // namespace
}  // namespace quoinry
