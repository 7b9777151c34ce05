#pragma once

namespace quoinry {

// Arithmetic that raises the user's run-time errors instead of producing inf or nan:
// "除数为零" for any division by zero (0/0 included), "无效的过程调用或参数" for a power
// without a real result, "溢出" for any result beyond the double range.
// Compute operands that can fail in separate statements: C++ leaves the order of function
// arguments open, and the first failing operation decides the message.
double Add(double a, double b);
double Sub(double a, double b);
double Mul(double a, double b);
double Div(double a, double b);
double Pow(double base, double exponent);

}  // namespace quoinry
