// The arithmetic the expression parser's words share: results checked for
// the float range, and the conversions to integers.
#pragma once

#include <cfloat>
#include <cmath>

#include "functions/ExpressionErrors.h"

namespace qv {

// Rounds to the nearest integer with halves to even; throws EMathError when
// the value is outside the 64-bit range.
long long RoundToInt64(double v);

namespace expr {

// The value as a 32-bit float; NaN is an invalid operation and a value
// beyond the float range an overflow (EMathError). Inline: every evaluated
// record passes through it.
inline float CheckResult(double v) {
  if (std::isnan(v)) throw EMathError(kInvalidOperation);
  if (std::isinf(v) || std::fabs(v) > FLT_MAX) throw EMathError(kOverflow);
  return static_cast<float>(v);
}
// The value itself when it is above 0, else an invalid operation.
double Positive(double v);
// x to the power y; zero to a negative power is a division by zero.
float Power(double x, double y);
// x! for a whole x >= 0 (0! = 1); other values are an invalid operation,
// a result beyond the float range an overflow.
double Factorial(double x);
// A normally distributed draw from the program's generator.
double RandomGauss(double mean, double sd);

}  // namespace expr
}  // namespace qv
