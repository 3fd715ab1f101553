#include "functions/ExpressionMath.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

#include "core/Random.h"
#include "functions/ExpressionErrors.h"
#include "functions/FloatToInt.h"

namespace qv {

long long RoundToInt64(double v) {
  if (std::isnan(v) || !(std::fabs(v) < 9223372036854775808.0)) throw EMathError(expr::kInvalidOperation);
  return TruncSaturated<long long>(std::nearbyint(v));
}

namespace expr {

void Fail(const std::string& message) {
  throw EParserException(kErrPrefix + message);
}

double Positive(double v) {
  if (!(v > 0)) throw EMathError(kInvalidOperation);
  return v;
}

float Power(double x, double y) {
  if (x == 0.0 && y < 0.0) throw EMathError(kDivisionByZero);
  return CheckResult(std::pow(x, y));
}

double Factorial(double x) {
  // Only whole numbers from 0 have a factorial; anything else (a negative
  // number, a fraction, NaN) is an invalid operation rather than 1.
  if (!(x >= 0.0) || x != std::floor(x)) throw EMathError(kInvalidOperation);
  // x * (x - 1)! down to 1; iterative, and bounded because the product
  // leaves the float range after a few dozen factors.
  double r = 1.0;
  while (x > 1.1) {
    r *= x;
    if (r > FLT_MAX) throw EMathError(kOverflow);
    x -= 1.0;
  }
  return r;
}

double RandomGauss(double mean, double sd) {
  // Polar form of the Box-Muller transform: two uniform draws per attempt.
  double u, s;
  do {
    u = 2.0 * RandomFloat() - 1.0;
    const double v = 2.0 * RandomFloat() - 1.0;
    s = u * u + v * v;
  } while (s >= 1.0 || s == 0.0);
  return std::sqrt(-2.0 * std::log(s) / s) * u * sd + mean;
}

}  // namespace expr
}  // namespace qv
