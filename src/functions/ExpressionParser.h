// The expression parser: formulas of the data ("sin(t*pi)*0.5+x") are
// compiled once into a chain of operation records and evaluated on demand.
// Values are 32-bit floats; strings only appear as operands of string
// comparisons and string functions.
//
// Errors: every compile error throws EParserException inside the parser;
// Compile reports -1 and keeps the message in LastError(). Evaluation errors
// (division by zero, logarithm of a non-positive number, overflow) throw
// EMathError, which callers catch; constant folding turns them into compile
// errors. Every message starts with "Error in math expression: ".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "functions/ExpressList.h"
#include "functions/ExpressionErrors.h"
#include "functions/ExpressionMath.h"

namespace qv {

namespace expr {
class TCompiledExpression;
}  // namespace expr

class TExpressionParser {
public:
  TExpressionParser();
  ~TExpressionParser();
  TExpressionParser(const TExpressionParser&) = delete;
  TExpressionParser& operator=(const TExpressionParser&) = delete;

  // Compiles text; the index of the new expression (which becomes the
  // current one), or -1 when the text is empty or does not compile.
  int Compile(const std::string& text);
  // Like Compile, but a compile error throws EParserException.
  int CompileOrThrow(const std::string& text);
  // The message of the last failed compilation (empty after a success).
  const std::string& LastError() const { return lastError_; }
  // The text (the line, in a program) whose compilation failed last.
  const std::string& LastErrorText() const { return lastErrorText_; }

  // Evaluates a compiled expression; 0 for an unknown index. Throws EMathError.
  float Evaluate(int index);
  // Evaluates the current expression.
  float Evaluate() { return Evaluate(current_); }

  // Compiles text line by line (trimmed; empty lines and "//" lines are
  // skipped), replacing every compiled expression. When a line fails,
  // everything is discarded and the result is false (LastError tells why).
  bool CompileProgram(const std::string& text);
  // Evaluates every expression in order: the value of the last one, or 0.
  float EvaluateProgram();
  void ClearExpressions();
  int ExpressionCount() const { return static_cast<int>(expressions_.size()); }
  const std::string& ExpressionText(int index) const;

  // Binds a name to a float the owner keeps alive while expressions that
  // use it exist (nullptr: the parser keeps the value itself).
  void DefineVariable(const std::string& name, float* storage);
  void DefineConstant(const std::string& name, float value);
  // At most 6 arguments ("Too many arguments"). Non-varying functions whose
  // arguments are constants are folded at compile time.
  void DefineFunction(const std::string& name, const std::string& description, int argCount,
                      expr::TMathFunction function, bool varying = false);
  void DefineStringFunction(const std::string& name, const std::string& description,
                            expr::TStringFunction function);
  // The word `oldName` takes over the behaviour of `newName`; both must take
  // the same number of arguments. False when either word is unknown.
  bool ReplaceWord(const std::string& oldName, const std::string& newName);
  // The word of that name (case-insensitive), or nullptr.
  const expr::TExprWord* FindWord(const std::string& name) const;
  // The value of a variable (generated ones included); 0 when unknown.
  float GetVariable(const std::string& name) const;

  void SetDecimalSeparator(char c) { decimalSeparator_ = c; }
  void SetArgSeparator(char c) { argSeparator_ = c; }
  void SetOptimize(bool on) { optimize_ = on; }
  char GetDecimalSeparator() const { return decimalSeparator_; }
  char GetArgSeparator() const { return argSeparator_; }

private:
  expr::TExpressList words_;
  std::vector<std::unique_ptr<expr::TCompiledExpression>> expressions_;
  int current_ = -1;
  std::string lastError_;
  std::string lastErrorText_;
  char decimalSeparator_ = '.';
  char argSeparator_ = ',';
  bool optimize_ = true;
};

}  // namespace qv
