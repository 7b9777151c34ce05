#include "common/numbers.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "common/calc_error.h"
#include "common/std_compat.h"
#include "common/text.h"

namespace quoinry {
namespace {

// A value written as its correctly rounded significant decimal digits: value = 0.D × 10^(E+1),
// that is digits[0] stands at 10^exponent.
struct DecimalDigits {
    bool negative = false;
    char digits[24] = {};
    int count = 0;
    int exponent = 0;
};

DecimalDigits ParseScientific(const char* p, const char* end) {
    DecimalDigits d;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    for (; *p != 'e'; ++p) {
        if (*p != '.')
            d.digits[d.count++] = *p;
    }
    ++p;
    const bool minus = *p == '-';
    int exponent = 0;
    for (++p; p < end; ++p) exponent = exponent * 10 + (*p - '0');
    d.exponent = minus ? -exponent : exponent;
    return d;
}

constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The digits of r × 10^-shift (r a whole number, 0 < r < 10^17), padded to `significant`.
DecimalDigits FromScaledInteger(bool negative, double r, int shift, int significant) {
    DecimalDigits d;
    d.negative = negative;
    const auto end =
        std::to_chars(d.digits, d.digits + sizeof d.digits, static_cast<std::uint64_t>(r)).ptr;
    const int length = static_cast<int>(end - d.digits);
    d.exponent = length - 1 - shift;
    std::fill(d.digits + length, d.digits + significant, '0');
    d.count = significant;
    return d;
}

// Fast path for a double: when some r × 10^-n with r below 10^15 rounds to x, that decimal is
// within half an ulp of x, far less than half a unit of the 15th digit, so its digits are the
// correctly rounded ones. Rounded report values always take this path.
bool ShortDoubleDigits(double x, DecimalDigits& d) {
    const double a = std::fabs(x);
    for (int n = 0; n <= 15; ++n) {
        const double y = a * kPow10[n];
        if (!(y < 1e15))
            return false;
        const double r = std::nearbyint(y);
        if (r != 0.0 && r / kPow10[n] == a) {
            d = FromScaledInteger(std::signbit(x), r, n, 15);
            return true;
        }
    }
    return false;
}

// Fast path for a single (widened exactly): scale it to seven integer digits with one correctly
// rounded operation (error below 2e-9) and round, unless the fraction is too near one half to
// tell.
bool SingleDigits(double x, DecimalDigits& d) {
    const double a = std::fabs(x);
    // log10(2) × the binary exponent estimates the decimal one to within one; the loop mends it.
    int binary_exponent = 0;
    std::frexp(a, &binary_exponent);
    int exponent = static_cast<int>(std::floor((binary_exponent - 1) * 0.30102999566398119));
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int k = 6 - exponent;
        if (k > 22 || k < -22)
            return false;
        const double y = k >= 0 ? a * kPow10[k] : a / kPow10[-k];
        if (y < 1e6) {
            --exponent;
            continue;
        }
        if (y >= 1e7) {
            ++exponent;
            continue;
        }
        const double whole = std::floor(y);
        const double fraction = y - whole;
        if (std::fabs(fraction - 0.5) < 1e-6)
            return false;
        double r = fraction > 0.5 ? whole + 1.0 : whole;
        int shift = k;
        if (r >= 1e7) {
            r = 1e6;
            --shift;
        }
        d = FromScaledInteger(std::signbit(x), r, shift, 7);
        return true;
    }
    return false;
}

// The value's correctly rounded significant digits, as printf's %.*e gives them.
DecimalDigits ToDecimal(double x, int significant) {
    DecimalDigits d;
    if (x != 0.0 && std::isfinite(x)) {
        if (significant == 15 && ShortDoubleDigits(x, d))
            return d;
        if (significant == 7 && SingleDigits(x, d))
            return d;
    }
    char buffer[64];
    const auto result =
        compat::ToCharsScientific(buffer, buffer + sizeof buffer, x, significant - 1);
    return ParseScientific(buffer, result.ptr);
}

std::string FixedFromDecimal(const DecimalDigits& d, int decimals) {
    // The result × 10^decimals as decimal digits, with room in front for a carry and for the
    // zeros of a value below one.
    constexpr int kFront = 8;
    char scaled[kFront + 360];
    std::fill(scaled, scaled + kFront, '0');
    char* const first = scaled + kFront;
    const int keep = d.exponent + decimals + 1;
    int length;
    if (keep <= 0) {
        first[0] = (keep == 0 && d.digits[0] >= '5') ? '1' : '0';
        length = 1;
    } else if (keep >= d.count) {
        std::copy(d.digits, d.digits + d.count, first);
        std::fill(first + d.count, first + keep, '0');
        length = keep;
    } else {
        std::copy(d.digits, d.digits + keep, first);
        length = keep;
        if (d.digits[keep] >= '5') {
            int i = keep - 1;
            while (i >= -1 && first[i] == '9') first[i--] = '0';
            ++first[i];  // first[-1] is a front zero when the carry runs off the digits
        }
    }
    // Digits from the first nonzero one, but at least one before the point.
    char* begin = scaled;
    char* const end = first + length;
    char* const last_integer = end - decimals - 1;
    while (begin < last_integer && *begin == '0') ++begin;
    const bool all_zero = std::all_of(begin, end, [](char c) { return c == '0'; });

    std::string text;
    text.reserve(static_cast<std::size_t>(end - begin) + 2);
    if (d.negative && !all_zero)
        text.push_back('-');
    text.append(begin, last_integer + 1);
    if (decimals > 0) {
        text.push_back('.');
        text.append(last_integer + 1, end);
    }
    return text;
}

std::string GeneralFromValue(double x, int significant) {
    if (x == 0.0)
        return "0";
    const DecimalDigits d = ToDecimal(x, significant);
    int count = d.count;
    while (count > 1 && d.digits[count - 1] == '0') --count;
    const char* digits = d.digits;

    char text[48];
    char* p = text;
    if (d.negative)
        *p++ = '-';
    if (d.exponent > -5 && d.exponent < significant) {
        if (d.exponent >= 0) {
            const int integer_digits = d.exponent + 1;
            if (count <= integer_digits) {
                p = std::copy(digits, digits + count, p);
                p = std::fill_n(p, integer_digits - count, '0');
            } else {
                p = std::copy(digits, digits + integer_digits, p);
                *p++ = '.';
                p = std::copy(digits + integer_digits, digits + count, p);
            }
        } else {
            *p++ = '0';
            *p++ = '.';
            p = std::fill_n(p, -d.exponent - 1, '0');
            p = std::copy(digits, digits + count, p);
        }
        return std::string(text, p);
    }
    *p++ = digits[0];
    if (count > 1) {
        *p++ = '.';
        p = std::copy(digits + 1, digits + count, p);
    }
    *p++ = 'E';
    *p++ = d.exponent < 0 ? '-' : '+';
    const int magnitude = std::abs(d.exponent);
    if (magnitude < 10)
        *p++ = '0';
    p = std::to_chars(p, text + sizeof text, magnitude).ptr;
    return std::string(text, p);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Power of ten of the first nonzero digit of a clean unsigned number text, its exponent
// included; tells an overflow from an underflow when the text lies outside the double range.
long long LeadingPower(std::string_view number) {
    const std::size_t e = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, e);
    const std::size_t point = mantissa.find('.');
    long long power =
        static_cast<long long>(point == std::string_view::npos ? mantissa.size() : point) - 1;
    for (char c : mantissa) {
        if (c == '.')
            continue;
        if (c != '0')
            break;
        --power;
    }
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::size_t j = e + 1;
        const bool minus = j < number.size() && number[j] == '-';
        if (j < number.size() && (number[j] == '+' || number[j] == '-'))
            ++j;
        for (; j < number.size(); ++j) {
            if (exponent < 1000000000LL)
                exponent = exponent * 10 + (number[j] - '0');
        }
        if (minus)
            exponent = -exponent;
    }
    return power + exponent;
}

// Converts a clean number text: optional sign, digits with at most one point, optional
// exponent with digits.
double ConvertCleanNumber(std::string_view number) {
    bool negative = false;
    if (!number.empty() && (number[0] == '+' || number[0] == '-')) {
        negative = number[0] == '-';
        number.remove_prefix(1);
    }
    double value = 0.0;
    auto result = compat::FromChars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (LeadingPower(number) > 0)
            throw CalcError(ErrorKind::Overflow);
        value = 0.0;
    }
    return negative ? -value : value;
}

}  // namespace

double RoundN(double x, int n) {
    const double p = std::pow(10.0, n);
    const double y = x * p;
    if (!std::isfinite(y))
        throw CalcError(ErrorKind::Overflow);
    return std::nearbyint(y) / p;
}

float ToSingle(double x) {
    if (!std::isfinite(x))
        throw CalcError(ErrorKind::Overflow);
    // Values just above FLT_MAX that round down to it are fine; beyond half an ulp they round to
    // infinity.
    constexpr double kLimit = static_cast<double>(FLT_MAX) + 0x1p103;
    if (std::fabs(x) >= kLimit)
        throw CalcError(ErrorKind::Overflow);
    return static_cast<float>(x);
}

float ToSingle(long double x) {
    if (!std::isfinite(x))
        throw CalcError(ErrorKind::Overflow);
    constexpr long double kLimit = static_cast<long double>(FLT_MAX) + 0x1p103L;
    if (std::fabs(x) >= kLimit)
        throw CalcError(ErrorKind::Overflow);
    return static_cast<float>(x);
}

std::int16_t ToInteger16(double x) {
    const double r = std::nearbyint(x);
    if (!(r >= -32768.0 && r <= 32767.0))
        throw CalcError(ErrorKind::Overflow);
    return static_cast<std::int16_t>(r);
}

std::string FormatFixed(double x, int decimals) {
    return FixedFromDecimal(ToDecimal(x, 15), decimals);
}

std::string FormatFixed(float x, int decimals) {
    return FixedFromDecimal(ToDecimal(static_cast<double>(x), 7), decimals);
}

std::string GeneralText(double x) {
    return GeneralFromValue(x, 15);
}

std::string GeneralText(float x) {
    return GeneralFromValue(static_cast<double>(x), 7);
}

std::string AsciiNumberText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
        // U+3000 .. U+FFFF are three bytes: E3 80 80 (space), E3 80 82 (。), EF BC 8B .. EF BD 85.
        if (i + 2 < text.size() && (byte(0) == 0xE3 || byte(0) == 0xEF)) {
            const unsigned code =
                (byte(0) & 0x0Fu) << 12 | (byte(1) & 0x3Fu) << 6 | (byte(2) & 0x3Fu);
            char ascii = 0;
            if (code == 0x3000)
                ascii = ' ';
            else if (code == 0x3002)
                ascii = '.';
            else if (code >= 0xFF0B && code <= 0xFF5E)
                ascii = static_cast<char>(code - 0xFF00 + 0x20);
            if (ascii != 0 &&
                std::string_view("0123456789+-.eE ").find(ascii) != std::string::npos) {
                out.push_back(ascii);
                i += 3;
                continue;
            }
        }
        // U+2212 (minus sign) is E2 88 92.
        if (i + 2 < text.size() && byte(0) == 0xE2 && byte(1) == 0x88 && byte(2) == 0x92) {
            out.push_back('-');
            i += 3;
            continue;
        }
        out.push_back(text[i++]);
    }
    return std::string(TrimBlanks(out));
}

double ParseStrict(std::string_view text) {
    text = TrimBlanks(text);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    int digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            ++digits;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        throw CalcError(ErrorKind::TypeMismatch);
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        int exponent_digits = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i) ++exponent_digits;
        if (exponent_digits == 0)
            throw CalcError(ErrorKind::TypeMismatch);
    }
    if (i != text.size())
        throw CalcError(ErrorKind::TypeMismatch);
    return ConvertCleanNumber(text);
}

double ParseLeading(std::string_view text) {
    // Gather the number's characters, skipping blanks wherever they stand.
    std::size_t i = 0;
    auto skip_blanks = [&] {
        while (i < text.size() &&
               (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) {
            ++i;
        }
    };
    std::string number;
    skip_blanks();
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        number.push_back(text[i++]);
    bool point = false;
    int digits = 0;
    for (skip_blanks(); i < text.size(); skip_blanks()) {
        if (IsDigit(text[i])) {
            number.push_back(text[i++]);
            ++digits;
        } else if (text[i] == '.' && !point) {
            number.push_back(text[i++]);
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::string exponent = "e";
        ++i;
        skip_blanks();
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            exponent.push_back(text[i++]);
        int exponent_digits = 0;
        for (skip_blanks(); i < text.size() && IsDigit(text[i]); skip_blanks()) {
            exponent.push_back(text[i++]);
            ++exponent_digits;
        }
        if (exponent_digits > 0)
            number += exponent;
    }
    return ConvertCleanNumber(number);
}

std::string FactorText(double x) {
    return x < 0.0 ? "(" + GeneralText(x) + ")" : GeneralText(x);
}

}  // namespace quoinry
