#include "core/Parsing.h"

#include <charconv>
#include <climits>
#include <cmath>
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
  long long v;
  if (!TryParseInt(Trim(text), v) || v < INT_MIN || v > INT_MAX) return def;
  return static_cast<int>(v);
}

}  // namespace qv
