#include "core/Parsing.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>

#include "core/StringUtils.h"

namespace qv {

double ParseFloat(std::string_view text, double def) {
  // Locale-free conversion: from_chars always reads "." as the decimal point.
  std::string t = Trim(text);
  if (t.empty()) return def;
  const char* b = t.data();
  const char* e = b + t.size();
  if (*b == '+') ++b;
  double v = 0;
  auto [p, ec] = std::from_chars(b, e, v);
  // Data never hold "inf" or "nan"; those read as unparsable.
  if (ec != std::errc() || p != e || !std::isfinite(v)) return def;
  return v;
}

int ParseIntDefault(std::string_view text, int def) {
  const std::string t = Trim(text);
  long long v;
  if (!TryParseInt(t, v)) return def;
  // A hexadecimal value is a 32-bit pattern: "$FF000000" (an opaque colour)
  // is the negative number with those bits.
  const size_t digits = !t.empty() && (t[0] == '+' || t[0] == '-') ? 1 : 0;
  const bool hex =
      t.compare(digits, 1, "$") == 0 || t.compare(digits, 2, "0x") == 0 || t.compare(digits, 2, "0X") == 0;
  if (hex && v > INT_MAX && v <= 0xFFFFFFFFLL) return static_cast<int>(static_cast<uint32_t>(v));
  if (v < INT_MIN || v > INT_MAX) return def;
  return static_cast<int>(v);
}

}  // namespace qv
