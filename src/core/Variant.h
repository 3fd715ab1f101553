// The value type of property reads and writes: empty (also standing for
// Null), a boolean, an integer, a real number or UTF-8 text.
#pragma once

#include <string>
#include <variant>

namespace qv {

using TVariant = std::variant<std::monostate, bool, long long, double, std::string>;

inline bool VarIsEmpty(const TVariant& v) {
  return std::holds_alternative<std::monostate>(v);
}
// Text of a value: booleans as "yes"/"no", reals with "." (empty stays "").
std::string VarToString(const TVariant& v);
double VarToFloat(const TVariant& v, double def = 0.0);
// Reals and real texts round half away from zero; blanks around a text
// number are ignored; what does not convert (or fit) gives `def`.
long long VarToInt(const TVariant& v, long long def = 0);
bool VarToBool(const TVariant& v, bool def = false);

}  // namespace qv
