#include "common/numbers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "common/calc_error.h"
#include "common/checked_math.h"
#include "test_support.h"

namespace quoinry {
namespace {

using testing_support::ErrorOf;

TEST(RoundN, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundN(0.0235, 3), 0.024);
    EXPECT_EQ(RoundN(2.5, 0), 2.0);
    EXPECT_EQ(RoundN(3.5, 0), 4.0);
    EXPECT_EQ(RoundN(7.18, 0), 7.0);
    EXPECT_EQ(RoundN(0.5525, 3), 0.552);
    EXPECT_EQ(RoundN(-2.5, 0), -2.0);
    EXPECT_EQ(RoundN(1.10532, 3), 1.105);
    EXPECT_EQ(ErrorOf([] { RoundN(1e306, 3); }), ErrorKind::Overflow);
}

struct FixedCase {
    double value;
    bool single;
    int decimals;
    const char* text;
};

TEST(FormatFixed, RoundsHalfAwayFromZeroFromTheSignificantDigits) {
    const FixedCase cases[] = {
        {2.675, false, 2, "2.68"},
        {0.0005, false, 3, "0.001"},
        {-0.0004, false, 3, "0.000"},
        {1350000, true, 3, "1350000.000"},
        {0.325, false, 2, "0.33"},
        {0.6005, true, 3, "0.601"},
        {0.35, false, 2, "0.35"},
        {1.687, true, 3, "1.687"},
        {0, false, 3, "0.000"},
        {-0.0005, false, 3, "-0.001"},
        {-1.25, false, 1, "-1.3"},
        {9.9995, false, 3, "10.000"},
        {0.0056, false, 4, "0.0056"},
        {17150000, true, 3, "17150000.000"},
        {0.00603, true, 5, "0.00603"},
        {123456789012.5, false, 0, "123456789013"},
        {1e20, false, 2, "100000000000000000000.00"},
        {0.000049, false, 4, "0.0000"},
        {0.00005, false, 4, "0.0001"},
        {-0.0, false, 2, "0.00"},
    };
    for (const auto& c : cases) {
        const std::string text = c.single ? FormatFixed(static_cast<float>(c.value), c.decimals)
                                          : FormatFixed(c.value, c.decimals);
        EXPECT_EQ(text, c.text) << c.value << " single=" << c.single;
    }
}

struct GeneralCase {
    double value;
    bool single;
    const char* text;
};

TEST(GeneralText, PlainOrScientificByExponent) {
    const GeneralCase cases[] = {
        {72000, false, "72000"},     {0.2, true, "0.2"},
        {0.00603, false, "0.00603"}, {0.325, true, "0.325"},
        {1350000, true, "1350000"},  {17150000, true, "1.715E+07"},
        {0.00001, false, "1E-05"},   {1e15, false, "1E+15"},
        {0.0001, false, "0.0001"},   {0, false, "0"},
        {-3.5, false, "-3.5"},       {1.105, false, "1.105"},
        {1105, false, "1105"},       {0.1, true, "0.1"},
        {0.1, false, "0.1"},         {123456789012345, false, "123456789012345"},
        {1234567, true, "1234567"},  {12345678, true, "1.234568E+07"},
        {9999999.6, true, "1E+07"},  {-0.000012, false, "-1.2E-05"},
        {1e100, false, "1E+100"},    {0.55, true, "0.55"},
        {1.4, false, "1.4"},
    };
    for (const auto& c : cases) {
        const std::string text =
            c.single ? GeneralText(static_cast<float>(c.value)) : GeneralText(c.value);
        EXPECT_EQ(text, c.text) << c.value << " single=" << c.single;
    }
}

TEST(ParseStrict, AcceptsOnlyWholeNumberTexts) {
    EXPECT_EQ(ParseStrict("350"), 350.0);
    EXPECT_EQ(ParseStrict("  1.5\t"), 1.5);
    EXPECT_EQ(ParseStrict("-0.5"), -0.5);
    EXPECT_EQ(ParseStrict("+2"), 2.0);
    EXPECT_EQ(ParseStrict("1."), 1.0);
    EXPECT_EQ(ParseStrict(".5"), 0.5);
    EXPECT_EQ(ParseStrict("1e2"), 100.0);
    EXPECT_EQ(ParseStrict("1E-2"), 0.01);
    EXPECT_EQ(ParseStrict("1e-400"), 0.0);
    EXPECT_EQ(ParseStrict("0.1"), 0.1);
    for (const char* bad : {"", " ", ".", "abc", "1,5", "1e", "1e+", "--1", "+-1", "1.2.3", "inf",
                            "nan", "0x10", "15m", "1 5", "１５", "\n1"}) {
        EXPECT_EQ(ErrorOf([&] { ParseStrict(bad); }), ErrorKind::TypeMismatch) << bad;
    }
    EXPECT_EQ(ErrorOf([] { ParseStrict("1e400"); }), ErrorKind::Overflow);
    EXPECT_EQ(ErrorOf([] { ParseStrict("-1e309"); }), ErrorKind::Overflow);
}

TEST(ParseLeading, TakesTheNumberAtTheStart) {
    const std::pair<const char*, double> cases[] = {
        {"15m", 15},   {" 1 2.5x", 12.5}, {"abc", 0},  {"", 0},     {"-3", -3},
        {"1e2", 100},  {"1e", 1},         {"6", 6},    {"- 3", -3}, {"1 e 2", 100},
        {"+-3", 0},    {"1.2.3", 1.2},    {".5", 0.5}, {".", 0},    {"\r\n7", 7},
        {"1e-400", 0}, {"2400", 2400},    {"1,5", 1},  {"1e+x", 1}, {"0.000", 0},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ParseLeading(text), value) << text;
    }
    EXPECT_EQ(ErrorOf([] { ParseLeading("1e400"); }), ErrorKind::Overflow);
}

TEST(ToSingle, OverflowsOnlyWhereTheResultRoundsToInfinity) {
    EXPECT_EQ(ToSingle(2.4), 2.4f);
    EXPECT_EQ(ToSingle(static_cast<double>(FLT_MAX) * (1 + 1e-9)), FLT_MAX);
    EXPECT_EQ(ErrorOf([] { ToSingle(static_cast<double>(FLT_MAX) * 1.001); }), ErrorKind::Overflow);
    EXPECT_EQ(ErrorOf([] { ToSingle(1e300); }), ErrorKind::Overflow);
}

TEST(ToInteger16, RoundsToEvenAndChecksTheRange) {
    EXPECT_EQ(ToInteger16(7.18), 7);
    EXPECT_EQ(ToInteger16(7.5), 8);
    EXPECT_EQ(ToInteger16(6.5), 6);
    EXPECT_EQ(ToInteger16(32767.4), 32767);
    EXPECT_EQ(ToInteger16(-32768), -32768);
    EXPECT_EQ(ErrorOf([] { ToInteger16(32767.5); }), ErrorKind::Overflow);
    EXPECT_EQ(ErrorOf([] { ToInteger16(-40000); }), ErrorKind::Overflow);
}

TEST(CheckedMath, RaisesTheUsersErrors) {
    EXPECT_EQ(ErrorOf([] { Div(1, 0); }), ErrorKind::DivisionByZero);
    EXPECT_EQ(ErrorOf([] { Div(0, 0); }), ErrorKind::DivisionByZero);
    EXPECT_EQ(ErrorOf([] { Pow(-2, 0.5); }), ErrorKind::InvalidCall);
    EXPECT_EQ(ErrorOf([] { Pow(0, -0.12); }), ErrorKind::InvalidCall);
    EXPECT_EQ(ErrorOf([] { Pow(1e200, 2); }), ErrorKind::Overflow);
    EXPECT_EQ(ErrorOf([] { Mul(1e200, 1e200); }), ErrorKind::Overflow);
    EXPECT_EQ(ErrorOf([] { Add(1.7e308, 1.7e308); }), ErrorKind::Overflow);
    EXPECT_EQ(Pow(-2, 3), -8.0);
    EXPECT_EQ(Pow(0, 3), 0.0);
    EXPECT_EQ(Div(1, 4), 0.25);
}

// Significant digits (no leading or trailing zeros) and the power of ten of the first one, from
// either printf's "%.Ne" or a general number text.
std::pair<std::string, int> Significant(const std::string& text) {
    std::string digits;
    int point = -1;
    std::size_t i = text[0] == '-' ? 1 : 0;
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
        if (text[i] == '.') {
            point = static_cast<int>(digits.size());
        } else {
            digits.push_back(text[i]);
        }
    }
    if (point < 0)
        point = static_cast<int>(digits.size());
    const int exponent = i < text.size() ? std::atoi(text.c_str() + i + 1) : 0;
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return {"", 0};
    const int power = point - 1 - static_cast<int>(first) + exponent;
    digits = digits.substr(first);
    digits.erase(digits.find_last_not_of('0') + 1);
    return {digits, power};
}

// The number texts take fast paths; their digits must be printf's correctly rounded ones.
TEST(NumberTexts, DigitsAgreeWithPrintfOnManyValues) {
    std::mt19937_64 random(20261206);
    std::uniform_int_distribution<int> exponent(-12, 12);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> decimals(0, 5);
    char printed[64];
    for (int i = 0; i < 200000; ++i) {
        double x = mantissa(random) * std::pow(10.0, exponent(random));
        if (i % 3 == 0)
            x = RoundN(x, decimals(random));  // typical report values
        if (i % 5 == 0)
            x = std::nextafter(x, 0.0);
        if (i % 7 == 0)
            x = -x;
        std::snprintf(printed, sizeof printed, "%.14e", x);
        ASSERT_EQ(Significant(GeneralText(x)), Significant(printed)) << printed;
        const float f = static_cast<float>(x);
        std::snprintf(printed, sizeof printed, "%.6e", static_cast<double>(f));
        ASSERT_EQ(Significant(GeneralText(f)), Significant(printed)) << printed;
    }
}

}  // namespace
}  // namespace quoinry
