// Number parsing of data text: "." is always the decimal point.
#pragma once

#include <string_view>

namespace qv {

// An empty text or a failed conversion gives `def`, never an error.
double ParseFloat(std::string_view text, double def);
// Decimal conversion (a leading "$" is hexadecimal); blanks around the
// number are ignored; `def` on failure or outside the 32-bit range. A
// hexadecimal value is a bit pattern: "$80000000".."$FFFFFFFF" give the
// negative numbers with those bits (colours with alpha 128 or more).
int ParseIntDefault(std::string_view text, int def);

}  // namespace qv
