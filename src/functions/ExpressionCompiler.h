// Compiling an expression: after tokenising, the tokens are rewritten
// (runs of unary signs into "-@"/"+@", runs of "not", "^" before a whole
// number into "^@", string operands into string calls), checked (two
// operands in a row, unknown functions, empty brackets, missing operands,
// unequal brackets) and compiled by priority into a chain of records, a
// smaller priority binding tighter and equal ones grouping from the left.
// Records whose arguments are all constants are folded at compile time.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "functions/CompiledExpression.h"
#include "functions/ExpressList.h"
#include "functions/ExpressionTokeniser.h"

namespace qv::expr {

struct TCompileSettings {
  char decimalSeparator = '.';
  char argSeparator = ',';
  bool fold = true;  // constant folding
};

class TExpressionCompiler {
public:
  TExpressionCompiler(TExpressList& words, const TCompileSettings& settings)
      : words_(words), settings_(settings) {}

  // Compiles `text`; throws EParserException (EMathError when folding
  // meets a math error). The new variables the text names join the word
  // list only when the whole text compiled.
  std::unique_ptr<TCompiledExpression> Compile(const std::string& text);

private:
  [[noreturn]] void SyntaxError() const;

  // Rewriting and checks.
  TToken WordToken(const char* name) const;
  static bool SignIsUnary(const std::vector<TToken>& before);
  void RewriteSigns();
  void RewriteNots();
  void RewritePowers();
  void RewriteStrings();
  void Check() const;
  void RejectStrings() const;
  void MatchBrackets();

  // Compilation by priority.
  int FirstOperation(int lo, int hi) const;
  int Terminator(int from, int hi, int priority) const;
  TOperand MakeRecord(const TExprWord* word, const TOperand* args, int count);
  TOperand Leaf(const TToken& t);
  TOperand CompileRange(int lo, int hi, int depth);
  const TToken& At(int i) const { return tokens_[static_cast<size_t>(i)]; }

  TExpressList& words_;
  TCompileSettings settings_;
  std::string text_;  // lower case and trimmed
  std::vector<TToken> tokens_;
  TNewVariables newVariables_;
  std::vector<TRecord> records_;
};

}  // namespace qv::expr
