#include "profile/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quoinry::profile {

double RoundN(double x, int n) {
    const double scale = std::pow(10.0, n);
    return std::nearbyint(x * scale) / scale;
}

std::string GeneralText(double x) {
    if (x == 0 || !std::isfinite(x))
        return "0";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", x);
    const std::string text = buffer;
    const bool negative = text[0] == '-';
    const size_t e_at = text.find('e');
    std::string digits;
    for (size_t i = negative ? 1 : 0; i < e_at; ++i) {
        if (text[i] != '.')
            digits += text[i];
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int exponent = std::atoi(text.c_str() + e_at + 1);
    std::string out = negative ? "-" : "";
    if (exponent > -5 && exponent < 15) {
        if (exponent < 0) {
            out += "0." + std::string(-exponent - 1, '0') + digits;
        } else if (static_cast<int>(digits.size()) <= exponent + 1) {
            out += digits + std::string(exponent + 1 - digits.size(), '0');
        } else {
            out += digits.substr(0, exponent + 1) + "." + digits.substr(exponent + 1);
        }
        return out;
    }
    out += digits.substr(0, 1);
    if (digits.size() > 1)
        out += "." + digits.substr(1);
    char tail[16];
    std::snprintf(tail, sizeof tail, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return out + tail;
}

}  // namespace quoinry::profile
