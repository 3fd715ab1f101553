// The words the expression parser knows: brackets, the argument separator,
// constants, variables, operators and functions, kept sorted by name.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qv::expr {

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

// At most this many arguments per function or operator.
constexpr int kMaxArgs = 6;

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

}  // namespace qv::expr
