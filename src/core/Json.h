// The little JSON the program writes: quoted strings and numbers for the
// data tool's outputs and the trace stream.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// The text as a JSON string literal, quotes included (control characters
// escaped; bytes above 127 pass through, so UTF-8 stays UTF-8).
std::string JsonString(std::string_view text);
// A whole number without a fraction, else the shortest text that reads back
// to the same double.
std::string JsonNumber(double value);

}  // namespace qv
