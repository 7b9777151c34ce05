#include "common/numbers.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "common/calc_error.h"

namespace quoinry {
namespace {

// A value written as its correctly rounded significant decimal digits: value = 0.D × 10^(E+1),
// that is digits[0] stands at 10^exponent.
struct DecimalDigits {
    bool negative = false;
    std::string digits;
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
            d.digits.push_back(*p);
    }
    ++p;
    const bool minus = *p == '-';
    int exponent = 0;
    for (++p; p < end; ++p) exponent = exponent * 10 + (*p - '0');
    d.exponent = minus ? -exponent : exponent;
    return d;
}

// The value's correctly rounded significant digits, as printf's %.*e gives them.
DecimalDigits ToDecimal(double x, int significant) {
    char buffer[64];
    if (significant >= 15) {
        // The shortest round-trip digits are within half a double ulp of x, far less than half a
        // unit of the 15th digit: when there are at most `significant` of them they are the
        // correctly rounded digits. This saves the slow fixed-precision conversion.
        const auto shortest =
            std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific);
        DecimalDigits d = ParseScientific(buffer, shortest.ptr);
        if (static_cast<int>(d.digits.size()) <= significant) {
            d.digits.resize(significant, '0');
            return d;
        }
    }
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, x,
                                      std::chars_format::scientific, significant - 1);
    return ParseScientific(buffer, result.ptr);
}

// Adds one unit in the last place of a string of decimal digits; may grow it by one digit.
void IncrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

std::string FixedFromDecimal(const DecimalDigits& d, int decimals) {
    // `scaled` holds the result × 10^decimals as an integer in decimal digits.
    const int keep = d.exponent + decimals + 1;
    const int count = static_cast<int>(d.digits.size());
    std::string scaled;
    if (keep <= 0) {
        scaled = (keep == 0 && d.digits[0] >= '5') ? "1" : "0";
    } else if (keep >= count) {
        scaled = d.digits + std::string(keep - count, '0');
    } else {
        scaled = d.digits.substr(0, keep);
        if (d.digits[keep] >= '5')
            IncrementDigits(scaled);
    }
    if (static_cast<int>(scaled.size()) <= decimals) {
        scaled.insert(0, decimals + 1 - scaled.size(), '0');
    }
    std::string integer = scaled.substr(0, scaled.size() - decimals);
    const std::size_t first = integer.find_first_not_of('0');
    integer = first == std::string::npos ? "0" : integer.substr(first);
    const bool all_zero = scaled.find_first_not_of('0') == std::string::npos;
    std::string text = (d.negative && !all_zero) ? "-" : "";
    text += integer;
    if (decimals > 0)
        text += "." + scaled.substr(scaled.size() - decimals);
    return text;
}

std::string GeneralFromValue(double x, int significant) {
    if (x == 0.0)
        return "0";
    DecimalDigits d = ToDecimal(x, significant);
    const std::size_t last = d.digits.find_last_not_of('0');
    d.digits.erase(last + 1);
    const int count = static_cast<int>(d.digits.size());
    std::string text = d.negative ? "-" : "";
    if (d.exponent > -5 && d.exponent < significant) {
        if (d.exponent >= 0) {
            const int integer_digits = d.exponent + 1;
            if (count <= integer_digits) {
                text += d.digits + std::string(integer_digits - count, '0');
            } else {
                text += d.digits.substr(0, integer_digits) + "." + d.digits.substr(integer_digits);
            }
        } else {
            text += "0." + std::string(-d.exponent - 1, '0') + d.digits;
        }
        return text;
    }
    text += d.digits.substr(0, 1);
    if (count > 1)
        text += "." + d.digits.substr(1);
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "E%c%02d", d.exponent < 0 ? '-' : '+',
                  std::abs(d.exponent));
    return text + exponent;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
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
    auto result = std::from_chars(number.data(), number.data() + number.size(), value);
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

double ParseStrict(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
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

}  // namespace quoinry
