// The expression parser: formulas of the data ("sin(t*pi)*0.5+x") are
// compiled once into a chain of operation records and evaluated on demand.
// Values are 32-bit floats; strings only appear as operands of string
// comparisons and string functions.
//
// Errors: every compile error throws EParserException inside the parser;
// Compile reports -1 and keeps the message in LastError(). Evaluation errors
// (division by zero, logarithm of a non-positive number, overflow) throw
// EMathError, which callers catch; constant folding turns them into compile
// errors.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv {

class EParserException : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A math error while evaluating (or folding) an expression.
class EMathError : public EParserException {
public:
  using EParserException::EParserException;
};

namespace expr {

// The kinds of words the parser knows.
enum class EWordKind {
  kConstant,           // a fixed value ("pi")
  kVariable,           // bound to storage the owner provides
  kGeneratedVariable,  // made by the parser for an unknown name (value 0)
  kFunction,           // a named function with bracketed arguments
  kVaryingFunction,    // a function never folded to a constant ("random")
  kStringFunction,     // a function of two strings ("pos")
  kOperator,           // prefix, postfix or infix operator
  kStringOperator,     // an operator only valid between strings ("in")
  kLeftBracket,
  kRightBracket,
  kComma,
};

enum class EFixity { kNone, kPrefix, kPostfix, kInfix };

// Implementation of a function or operator: its argument values in order.
using TMathFunction = std::function<float(const float* args)>;
using TStringFunction = std::function<float(const std::string& a, const std::string& b)>;

struct TExprWord {
  std::string name;
  EWordKind kind = EWordKind::kConstant;
  EFixity fixity = EFixity::kNone;
  int priority = 0;  // operators: a smaller number binds tighter
  int argCount = 0;
  std::string description;
  float constant = 0.0f;      // constants
  float* variable = nullptr;  // variables (generated ones point at `owned`)
  std::unique_ptr<float> owned;
  TMathFunction function;
  TStringFunction stringFunction;
  bool assignment = false;  // ":="

  bool IsLeaf() const {
    return kind == EWordKind::kConstant || kind == EWordKind::kVariable ||
           kind == EWordKind::kGeneratedVariable ||
           ((kind == EWordKind::kFunction || kind == EWordKind::kVaryingFunction) && argCount == 0);
  }
  bool IsVarying() const { return kind == EWordKind::kVaryingFunction; }
};

// Every known word, sorted by name for lookup. Names are lower case.
class TExpressList {
public:
  TExprWord* Find(const std::string& name) const;
  // Adds a word; a word of that name is replaced. Replaced and removed
  // words stay alive until PurgeRetired, since compiled expressions may
  // still point at them.
  TExprWord& Add(std::unique_ptr<TExprWord> word);
  void Remove(const std::string& name);
  void PurgeRetired() { retired_.clear(); }
  int Count() const { return static_cast<int>(words_.size()); }

private:
  std::map<std::string, std::unique_ptr<TExprWord>> words_;
  std::vector<std::unique_ptr<TExprWord>> retired_;
};

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

  struct TCompiled;  // a compiled expression (defined in the source)

private:
  class TCompiler;
  friend class TCompiler;

  void DefineStandardWords();

  expr::TExpressList words_;
  std::vector<std::unique_ptr<TCompiled>> expressions_;
  int current_ = -1;
  std::string lastError_;
  char decimalSeparator_ = '.';
  char argSeparator_ = ',';
  bool optimize_ = true;
};

// Rounds to the nearest integer with halves to even; throws EMathError when
// the value is outside the 64-bit range.
long long RoundToInt64(double v);

}  // namespace qv
