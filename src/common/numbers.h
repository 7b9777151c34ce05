#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quoinry {

// Round half to even at n decimals: x × 10^n in double, nearest integer, divided back.
// Raises "溢出" when x × 10^n is not finite.
double RoundN(double x, int n);

// Narrowing to single precision; raises "溢出" when the result would be infinite (or x is not
// finite).
float ToSingle(double x);
float ToSingle(long double x);

// Round half to even to a whole number, then to a 16-bit integer ("溢出" outside its range).
std::int16_t ToInteger16(double x);

// Fixed pattern with `decimals` decimals ("0.000" is 3), rounding half away from zero from the
// value's 15 (double) or 7 (single) significant decimal digits.
std::string FormatFixed(double x, int decimals);
std::string FormatFixed(float x, int decimals);

// General number text: 15 (double) or 7 (single) significant digits, no trailing zeros,
// scientific notation ("1.715E+07", "1E-05") outside -5 < exponent < digits.
std::string GeneralText(double x);
std::string GeneralText(float x);
// A factor in a written product: its general text, a negative one in parentheses.
std::string FactorText(double x);

// Strict conversion: the whole text (blanks around it aside) must be a decimal number.
// Raises "类型不匹配" otherwise and "溢出" beyond the double range.
double ParseStrict(std::string_view text);

// A number as a Chinese input method types it, in ASCII: full-width digits, signs, point and
// exponent letter, the ideographic full stop as a point; blanks (the ideographic space too)
// around it dropped. Other characters stay as they are, for the refusal to show.
std::string AsciiNumberText(std::string_view text);

// Leading-number rule: the number at the start of the text, blanks skipped; 0 when there is
// none. Raises "溢出" beyond the double range.
double ParseLeading(std::string_view text);

}  // namespace quoinry
