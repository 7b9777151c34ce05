// What the browser build puts in place of the C++ library's missing parts, held to the native
// behaviour at its limits: number conversion (common/std_compat.h) and CP936 (src/web tables).
// Run under node by scripts/web-golden.sh; prints each failure and exits 1.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "common/cp936.h"
#include "common/std_compat.h"

namespace {

int failures = 0;
int cases = 0;

void Expect(bool ok, const std::string& what) {
    ++cases;
    if (!ok) {
        ++failures;
        std::printf("FAIL %s\n", what.c_str());
    }
}

// from_chars: in range the value, out of range result_out_of_range and the value left alone.
void FromCharsCase(const char* text, bool in_range, double expected) {
    double value = -1.0;
    const auto r = quoinry::compat::FromChars(text, text + std::strlen(text), value);
    const bool ok = in_range ? r.ec == std::errc() && value == expected
                             : r.ec == std::errc::result_out_of_range && value == -1.0;
    Expect(ok && r.ptr == text + std::strlen(text), std::string("FromChars ") + text);
}

void ToCharsCase(double x, int precision, const char* expected) {
    char buffer[64];
    const auto r = quoinry::compat::ToCharsScientific(buffer, buffer + sizeof buffer, x, precision);
    Expect(std::string(buffer, r.ptr) == expected, std::string("ToCharsScientific ") + expected);
}

}  // namespace

int main() {
    // The largest double is 1.7976931348623157e308; halfway to 2^1024 is 1.79769313486231581e308.
    FromCharsCase("1.7976931348623157e308", true, 1.7976931348623157e308);
    FromCharsCase("1.7976931348623158e308", true, 1.7976931348623157e308);
    FromCharsCase("1.7976931348623159e308", false, 0);
    FromCharsCase("1e400", false, 0);
    // The smallest subnormal is 4.9406564584124654e-324; halfway to 0 is 2.47e-324.
    FromCharsCase("4.9e-324", true, 4.9406564584124654e-324);
    FromCharsCase("2.5e-324", true, 4.9406564584124654e-324);
    FromCharsCase("2.4e-324", false, 0);
    FromCharsCase("1e-400", false, 0);
    FromCharsCase("0e-400", true, 0.0);
    FromCharsCase("0.1", true, 0.1);
    // The exact value of 0.1 is 0.1000000000000000055511...; 2.5 is a tie, to even.
    ToCharsCase(0.1, 16, "1.0000000000000001e-01");
    ToCharsCase(2.5, 0, "2e+00");
    ToCharsCase(3.5, 0, "4e+00");
    ToCharsCase(1e300, 2, "1.00e+300");

    // GBK codes: 中 D6D0, · A1A4, € 80 (CP936's one single byte above ASCII).
    Expect(quoinry::Utf8ToCp936("中") == "\xD6\xD0", "中 to D6D0");
    Expect(quoinry::Utf8ToCp936("·") == "\xA1\xA4", "· to A1A4");
    Expect(quoinry::Utf8ToCp936("€") == "\x80", "€ to 80");
    Expect(quoinry::Utf8ToCp936("😀a") == "?a", "a character beyond the BMP to ?");
    Expect(quoinry::Cp936ToUtf8("\xD6\xD0\x41") == "中A", "D6D0 41 to 中A");
    Expect(quoinry::Cp936ToUtf8("\xFF") == "\xEF\xBF\xBD", "FF to U+FFFD");
    Expect(quoinry::Cp936ToUtf8("\xD6") == "\xEF\xBF\xBD", "a lead byte at the end to U+FFFD");
    Expect(quoinry::Cp936ToUtf8("\xD6\x30") ==
               "\xEF\xBF\xBD"
               "0",
           "a lead byte before a digit: U+FFFD, then the digit");

    std::printf("compat: %d cases, %d failed\n", cases, failures);
    return failures == 0 && cases == 22 ? 0 : 1;
}
