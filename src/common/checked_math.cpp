#include "common/checked_math.h"

#include <cmath>

#include "common/calc_error.h"

namespace quoinry {
namespace {

double Finite(double r) {
    if (!std::isfinite(r))
        throw CalcError(ErrorKind::Overflow);
    return r;
}

}  // namespace

double Add(double a, double b) {
    return Finite(a + b);
}

double Sub(double a, double b) {
    return Finite(a - b);
}

double Mul(double a, double b) {
    return Finite(a * b);
}

double Div(double a, double b) {
    if (b == 0.0)
        throw CalcError(ErrorKind::DivisionByZero);
    return Finite(a / b);
}

double Pow(double base, double exponent) {
    if (base < 0.0 && std::trunc(exponent) != exponent)
        throw CalcError(ErrorKind::InvalidCall);
    if (base == 0.0 && exponent < 0.0)
        throw CalcError(ErrorKind::InvalidCall);
    return Finite(std::pow(base, exponent));
}

}  // namespace quoinry
