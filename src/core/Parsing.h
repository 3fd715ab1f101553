// Number parsing of data text: "." is always the decimal point.
#pragma once

#include <string_view>

namespace qv {

// An empty text or a failed conversion gives `def`, never an error.
double ParseFloat(std::string_view text, double def);
// Decimal conversion (a leading "$" is hexadecimal); `def` on failure.
int ParseIntDefault(std::string_view text, int def);

}  // namespace qv
