#pragma once

#include <string>

// Stand-ins for the shared number module until it reaches this branch; same names and rules.
namespace quoinry::profile {

// Rounds to n decimals, a tie going to the even digit.
double RoundN(double x, int n);

// The general number text of a double: 15 significant digits, no trailing zeros, plain notation
// for decimal exponents -5 < E < 15, otherwise "1.5E+20".
std::string GeneralText(double x);

}  // namespace quoinry::profile
