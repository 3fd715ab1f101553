#include "core/Json.h"

#include <cstdio>

#include "core/StringUtils.h"

namespace qv {

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const unsigned char ch : text) {
    switch (ch) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (ch < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", ch);
          out += buf;
        } else {
          out += static_cast<char>(ch);
        }
    }
  }
  return out + "\"";
}

std::string JsonNumber(double value) {
  if (value == static_cast<double>(static_cast<long long>(value)))
    return std::to_string(static_cast<long long>(value));
  return FormatFloat(value);
}

}  // namespace qv
