#include "functions/ExpressionTokeniser.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>

#include "functions/ExpressionErrors.h"

namespace qv::expr {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsHex(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f');
}
bool IsIdentStart(char c) {
  return (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdent(char c) {
  return IsIdentStart(c) || IsDigit(c);
}

// For a decimal number ("123.45e-6", digits and "." only) that is out of
// the double range: true when it is huge rather than tiny, that is when
// its first significant digit stands left of the decimal point once the
// exponent is applied.
bool MagnitudeIsLarge(const std::string& number) {
  const size_t ePos = number.find('e');
  const std::string mantissa = number.substr(0, ePos);
  long long exponent = 0;
  if (ePos != std::string::npos) {
    size_t i = ePos + 1;
    const bool negative = i < number.size() && number[i] == '-';
    if (i < number.size() && (number[i] == '-' || number[i] == '+')) ++i;
    for (; i < number.size(); ++i) exponent = std::min(exponent * 10 + (number[i] - '0'), 1000000000LL);
    if (negative) exponent = -exponent;
  }
  const size_t point = std::min(mantissa.find('.'), mantissa.size());
  const size_t first = mantissa.find_first_of("123456789");
  if (first == std::string::npos) return false;  // zero
  // Digits left of the point counted from the first significant one.
  const long long order =
      first < point ? static_cast<long long>(point - first) : -static_cast<long long>(first - point - 1);
  return order + exponent > 0;
}

[[noreturn]] void SyntaxError(const std::string& text) {
  Fail("Syntax error in expression " + text);
}

}  // namespace

bool TToken::IsOperand() const {
  switch (kind) {
    case ETokenKind::kNumber:
    case ETokenKind::kNewVar:
    case ETokenKind::kStringCall:
    case ETokenKind::kString:
      return true;
    case ETokenKind::kWord:
      return word->IsLeaf();
    default:
      return false;
  }
}

void TExpressionTokeniser::AddWordToken(const std::string& name, std::vector<TToken>& tokens,
                                        TNewVariables& newVariables) const {
  if (name == "(") {
    tokens.emplace_back(ETokenKind::kLeft, name);
    return;
  }
  if (name == ")") {
    tokens.emplace_back(ETokenKind::kRight, name);
    return;
  }
  if (const TExprWord* w = words_.Find(name)) {
    TToken t{ETokenKind::kWord, name};
    t.word = w;
    tokens.push_back(std::move(t));
    return;
  }
  // An unknown word becomes a new variable, one per name within the text.
  auto& slot = newVariables[name];
  if (!slot) {
    slot = std::make_unique<TExprWord>();
    slot->name = name;
    slot->kind = EWordKind::kGeneratedVariable;
    slot->owned = std::make_unique<float>(0.0f);
    slot->variable = slot->owned.get();
  }
  TToken t{ETokenKind::kNewVar, name};
  t.word = slot.get();
  tokens.push_back(std::move(t));
}

float TExpressionTokeniser::ConvertNumber(const std::string& digits, const std::string& text) const {
  float v = 0.0f;
  const char* b = digits.data();
  const char* e = b + digits.size();
  auto [p, ec] = std::from_chars(b, e, v);
  if (ec == std::errc::result_out_of_range) {
    // Beyond the float range, or too close to zero for it; the double tells
    // which, unless it is out of its own range too.
    double d = 0.0;
    const auto parsed = std::from_chars(b, e, d);
    if (parsed.ec == std::errc::result_out_of_range) {
      if (MagnitudeIsLarge(digits)) throw EParserException(kOverflow);
      return 0.0f;
    }
    if (!(std::fabs(d) <= FLT_MAX)) throw EParserException(kOverflow);
    return static_cast<float>(d);
  }
  if (ec != std::errc() || p != e) SyntaxError(text);
  return v;
}

std::vector<TToken> TExpressionTokeniser::Tokenise(const std::string& s, TNewVariables& newVariables) const {
  std::vector<TToken> tokens;
  const size_t n = s.size();
  const char dec = decimalSeparator_;
  size_t i = 0;
  while (i < n) {
    const char c = s[i];
    if (static_cast<unsigned char>(c) <= 32) {
      ++i;
      continue;
    }
    if (IsDigit(c)) {
      size_t j = i;
      while (j < n && IsDigit(s[j])) ++j;
      bool hasDecimal = false;
      if (j < n && s[j] == dec) {
        hasDecimal = true;
        ++j;
        while (j < n && IsDigit(s[j])) ++j;
      }
      if (j < n && s[j] == 'e') {
        size_t k = j + 1;
        if (k < n && (s[k] == '+' || s[k] == '-')) ++k;
        if (k < n && IsDigit(s[k])) {
          while (k < n && IsDigit(s[k])) ++k;
          j = k;
        }
      }
      TToken t{ETokenKind::kNumber, s.substr(i, j - i)};
      std::string digits = t.text;
      if (hasDecimal) digits[digits.find(dec)] = '.';
      t.value = ConvertNumber(digits, s);
      t.hasDecimal = hasDecimal;
      tokens.push_back(std::move(t));
      i = j;
      continue;
    }
    if (c == '$' && i + 1 < n && IsHex(s[i + 1])) {
      size_t j = i + 1;
      double v = 0.0;
      while (j < n && IsHex(s[j])) {
        v = v * 16.0 + (IsDigit(s[j]) ? s[j] - '0' : s[j] - 'a' + 10);
        ++j;
      }
      if (v > FLT_MAX) throw EParserException(kOverflow);
      TToken t{ETokenKind::kNumber, s.substr(i, j - i)};
      t.value = static_cast<float>(v);
      tokens.push_back(std::move(t));
      i = j;
      continue;
    }
    if (IsIdentStart(c)) {
      size_t j = i;
      while (j < n && IsIdent(s[j])) ++j;
      AddWordToken(s.substr(i, j - i), tokens, newVariables);
      i = j;
      continue;
    }
    if (c == '\'') {
      const size_t close = s.find('\'', i + 1);
      if (close == std::string::npos) SyntaxError(s);
      TToken t{ETokenKind::kString, s.substr(i, close - i + 1)};
      t.str = s.substr(i + 1, close - i - 1);
      tokens.push_back(std::move(t));
      i = close + 1;
      continue;
    }
    if (c == argSeparator_) {
      tokens.emplace_back(ETokenKind::kComma, std::string(1, c));
      ++i;
      continue;
    }
    size_t len = 1;
    const char next = i + 1 < n ? s[i + 1] : '\0';
    switch (c) {
      case '!':
        len = next == '=' ? 2 : 1;
        break;
      case '&':
        len = next == '&' ? 2 : 1;
        break;
      case '|':
        len = next == '|' ? 2 : 1;
        break;
      case ':':
        len = next == '=' ? 2 : 1;
        break;
      case '<':
      case '>':
      case '=':
        len = (next == '<' || next == '=' || next == '>') ? 2 : 1;
        break;
      case '+':
      case '-':
        len = (next == c && words_.Find(std::string(2, c))) ? 2 : 1;
        break;
      default:
        break;
    }
    AddWordToken(s.substr(i, len), tokens, newVariables);
    i += len;
  }
  return tokens;
}

}  // namespace qv::expr
