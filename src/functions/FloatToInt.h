// The one conversion from floating point values to integers in functions
// and expressions. A plain cast of NaN, of an infinity or of a value beyond
// the integer's range is undefined behaviour, and function cells can hold
// any of them (a division by zero in "function_arithmetic", a cell read
// from data), so every conversion goes through here.
#pragma once

#include <cmath>
#include <limits>
#include <type_traits>

namespace qv {

// Truncates toward zero, saturating at T's range; NaN gives 0.
template <class T>
constexpr T TruncSaturated(double v) {
  static_assert(std::is_integral_v<T> && std::is_signed_v<T>);
  if (std::isnan(v)) return 0;
  // Both bounds are exact doubles (-2^(n-1), and 2^(n-1) - 1 or 2^(n-1)),
  // so every value strictly between them truncates into range.
  constexpr double lo = static_cast<double>(std::numeric_limits<T>::min());
  constexpr double hi = static_cast<double>(std::numeric_limits<T>::max());
  if (v <= lo) return std::numeric_limits<T>::min();
  if (v >= hi) return std::numeric_limits<T>::max();
  return static_cast<T>(v);
}

}  // namespace qv
