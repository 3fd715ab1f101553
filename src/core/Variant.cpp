#include "core/Variant.h"

#include <cmath>

#include "core/Parsing.h"
#include "core/StringUtils.h"

namespace qv {

std::string VarToString(const TVariant& v) {
  struct V {
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(bool b) const { return b ? "yes" : "no"; }
    std::string operator()(long long i) const { return std::to_string(i); }
    std::string operator()(double d) const { return FormatFloat(d); }
    std::string operator()(const std::string& s) const { return s; }
  };
  return std::visit(V{}, v);
}

double VarToFloat(const TVariant& v, double def) {
  if (auto* b = std::get_if<bool>(&v)) return *b ? 1.0 : 0.0;
  if (auto* i = std::get_if<long long>(&v)) return static_cast<double>(*i);
  if (auto* d = std::get_if<double>(&v)) return *d;
  if (auto* s = std::get_if<std::string>(&v)) return ParseFloat(*s, def);
  return def;
}

namespace {
// A real rounded to the nearest integer (halves away from zero); the
// default when it is not finite or does not fit.
long long RoundOr(double d, long long def) {
  if (!std::isfinite(d) || d >= 9.2e18 || d <= -9.2e18) return def;
  return std::llround(d);
}
}  // namespace

long long VarToInt(const TVariant& v, long long def) {
  if (auto* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
  if (auto* i = std::get_if<long long>(&v)) return *i;
  if (auto* d = std::get_if<double>(&v)) return RoundOr(*d, def);
  if (auto* s = std::get_if<std::string>(&v)) {
    // Text as data holds it: blanks around the number are ignored, and a
    // real number ("50.0") rounds like a real value does.
    const std::string t = Trim(*s);
    long long r;
    if (TryParseInt(t, r)) return r;
    const double d = ParseFloat(t, NAN);
    return std::isnan(d) ? def : RoundOr(d, def);
  }
  return def;
}

bool VarToBool(const TVariant& v, bool def) {
  if (auto* b = std::get_if<bool>(&v)) return *b;
  if (auto* i = std::get_if<long long>(&v)) return *i != 0;
  if (auto* d = std::get_if<double>(&v)) return *d != 0.0;
  if (auto* s = std::get_if<std::string>(&v)) {
    if (*s == "yes") return true;
    if (*s == "no") return false;
  }
  return def;
}

}  // namespace qv
