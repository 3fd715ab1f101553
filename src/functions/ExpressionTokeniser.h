// The first step of compiling an expression: the lower-cased, trimmed text
// becomes tokens. Blanks separate tokens; numbers (decimal with the
// decimal separator and an exponent, or "$" and hexadecimal digits),
// identifiers, strings between single quotes, the argument separator and
// the operator characters ("!=", "&&", "||", ":=", "<=", "<>", ">=", ...
// as pairs; "++" and "--" only when those operators exist). A name that is
// no known word becomes a new variable.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "functions/ExpressList.h"

namespace qv::expr {

enum class ETokenKind { kNumber, kString, kWord, kNewVar, kLeft, kRight, kComma, kStringCall };

struct TToken {
  TToken(ETokenKind k, std::string t) : kind(k), text(std::move(t)) {}
  ETokenKind kind;
  std::string text;
  const TExprWord* word = nullptr;
  float value = 0.0f;
  bool hasDecimal = false;
  std::string str;      // string literal
  std::string args[2];  // string call
  int match = -1;       // bracket partner

  // A value of its own: a number, a string, a variable, a constant or a
  // function without arguments.
  bool IsOperand() const;
  bool IsOperator() const {
    return kind == ETokenKind::kWord &&
           (word->kind == EWordKind::kOperator || word->kind == EWordKind::kStringOperator);
  }
  // A function that takes bracketed arguments.
  bool IsFunction() const {
    return kind == ETokenKind::kWord && !word->IsLeaf() &&
           (word->kind == EWordKind::kFunction || word->kind == EWordKind::kVaryingFunction ||
            word->kind == EWordKind::kStringFunction);
  }
  bool Is(EFixity f) const { return IsOperator() && word->fixity == f; }
  bool IsNamed(const char* name) const { return kind == ETokenKind::kWord && word->name == name; }
};

// New variables a text names, one per name; they join the word list only
// when the whole text compiled.
using TNewVariables = std::map<std::string, std::unique_ptr<TExprWord>>;

class TExpressionTokeniser {
public:
  TExpressionTokeniser(const TExpressList& words, char decimalSeparator, char argSeparator)
      : words_(words), decimalSeparator_(decimalSeparator), argSeparator_(argSeparator) {}

  // Tokens of `text` (already lower case and trimmed; it also names the
  // expression in syntax errors). Throws EParserException.
  std::vector<TToken> Tokenise(const std::string& text, TNewVariables& newVariables) const;

private:
  void AddWordToken(const std::string& name, std::vector<TToken>& tokens, TNewVariables& newVariables) const;
  float ConvertNumber(const std::string& digits, const std::string& text) const;

  const TExpressList& words_;
  char decimalSeparator_;
  char argSeparator_;
};

}  // namespace qv::expr
