// Text helpers of the controls: the upper case of a typed character, and
// numbers grouped by thousands (UTF-8 is core/StringUtils.h).
#pragma once

#include <string>
#include <string_view>

namespace qv {

// The upper case of a letter of the 8-bit code pages the content is written
// for (ASCII, Latin-1, Cyrillic); other characters unchanged.
char32_t UpperCaseChar(char32_t c);
// The digits of |value| in groups of three from the right, joined by
// `separator`, with "-" before a negative number.
std::string GroupThousands(long long value, const std::string& separator);
// The language's "%thousand_separator%" (through the text hook; "," when
// no language is installed).
std::string ThousandSeparator();

}  // namespace qv
