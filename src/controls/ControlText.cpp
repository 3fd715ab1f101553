#include "controls/ControlText.h"

#include "core/ProcessContext.h"

namespace qv {

char32_t UpperCaseChar(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  // Latin-1 letters, except the division sign; ÿ has its capital elsewhere.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  // Cyrillic а..я and ѐ..џ.
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

std::string GroupThousands(long long value, const std::string& separator) {
  const unsigned long long magnitude =
      value < 0 ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  const std::string digits = std::to_string(magnitude);
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return value < 0 ? "-" + out : out;
}

std::string ThousandSeparator() {
  const auto& hook = ProcessContext().textHook;
  return hook ? hook("%thousand_separator%") : std::string(",");
}

}  // namespace qv
