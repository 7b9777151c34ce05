#include "common/cp936.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(Utf8ToCp936("a\xF0\x9F\x98\x80" "b"), "a?b");  // outside the BMP
    EXPECT_EQ(Utf8ToCp936("a\xE9" "b"), "a?b");              // malformed UTF-8
    EXPECT_EQ(Utf8ToCp936("\xE9\xA3"), "?");                 // cut off at the end
}

TEST(Cp936, DecodesAndRoundTrips) {
    const std::string text = "三、门窗竖向受力杆件计算 σ≤ｆg=28N/mm^2 kN·m";
    EXPECT_EQ(Cp936ToUtf8(Utf8ToCp936(text)), text);
    EXPECT_EQ(Cp936ToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
}

}  // namespace
}  // namespace quoinry
