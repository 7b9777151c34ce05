#pragma once

// What the C++ library of the WebAssembly build (libc++ 14) lacks: floating-point from_chars
// and to_chars, and bit_cast. Where the standard library has them they are used as they are, so
// the native build does not change.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <version>

#if defined(__cpp_lib_bit_cast)
#include <bit>
#endif
#if !defined(__cpp_lib_to_chars)
#include <fast_float/fast_float.h>
#endif

namespace quoinry::compat {

#if defined(__cpp_lib_to_chars)

inline std::from_chars_result FromChars(const char* first, const char* last, double& value) {
    return std::from_chars(first, last, value);
}

// The value in scientific notation with `precision` digits after the point ("1.25e+02").
inline std::to_chars_result ToCharsScientific(char* first, char* last, double value,
                                              int precision) {
    return std::to_chars(first, last, value, std::chars_format::scientific, precision);
}

#else

// fast_float gives ±inf and ±0 without an error where the standard reports
// result_out_of_range and leaves `value` alone; this wrapper does as the standard says.
inline std::from_chars_result FromChars(const char* first, const char* last, double& value) {
    double parsed = 0.0;
    const fast_float::from_chars_result r = fast_float::from_chars(first, last, parsed);
    if (r.ec != std::errc())
        return {r.ptr, r.ec};
    bool nonzero_digit = false;
    bool spelled_infinity = false;
    for (const char* p = first; p != r.ptr && *p != 'e' && *p != 'E'; ++p) {
        nonzero_digit = nonzero_digit || (*p >= '1' && *p <= '9');
        spelled_infinity = spelled_infinity || *p == 'i' || *p == 'I' || *p == 'n' || *p == 'N';
    }
    if ((std::isinf(parsed) && !spelled_infinity) || (parsed == 0.0 && nonzero_digit))
        return {r.ptr, std::errc::result_out_of_range};
    value = parsed;
    return {r.ptr, std::errc()};
}

// printf's %.*e rounds correctly in glibc and in musl alike, as to_chars does.
inline std::to_chars_result ToCharsScientific(char* first, char* last, double value,
                                              int precision) {
    const int n = std::snprintf(first, static_cast<size_t>(last - first), "%.*e", precision, value);
    if (n < 0 || n >= last - first)
        return {last, std::errc::value_too_large};
    return {first + n, std::errc()};
}

#endif

inline std::uint64_t Bits(double x) {
#if defined(__cpp_lib_bit_cast)
    return std::bit_cast<std::uint64_t>(x);
#else
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
#endif
}

}  // namespace quoinry::compat
