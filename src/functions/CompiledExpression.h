// A compiled expression: a flat chain of operation records in evaluation
// order. Each record holds its word, its result and pointers to the values
// of its arguments (constants of its own, variables, or the results of
// earlier records); running the chain returns the last result.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "functions/ExpressList.h"

namespace qv::expr {

// Where an argument comes from while compiling; resolved into a pointer by
// TCompiledExpression::Finalize.
struct TOperand {
  enum Kind { kNone, kConst, kVar, kRecord } kind = kNone;
  float value = 0.0f;
  float* var = nullptr;
  int record = -1;

  static TOperand Const(float v) {
    TOperand o;
    o.kind = kConst;
    o.value = v;
    return o;
  }
  static TOperand Var(float* v) {
    TOperand o;
    o.kind = kVar;
    o.var = v;
    return o;
  }
  static TOperand Record(int index) {
    TOperand o;
    o.kind = kRecord;
    o.record = index;
    return o;
  }
};

struct TRecord {
  const TExprWord* word = nullptr;
  const TStringFunction* stringFunction = nullptr;  // string calls
  std::string stringArgs[2];
  int argCount = 0;
  std::array<TOperand, kMaxArgs> operands{};
  std::array<float*, kMaxArgs> args{};
  std::array<float, kMaxArgs> constants{};
  float result = 0.0f;
};

// The word's function applied to argument values, checked for the float
// range (EMathError).
float Apply(const TExprWord& word, const float* values);

class TCompiledExpression {
public:
  std::string text;
  std::vector<TRecord> records;

  // Resolves operand references into pointers, `top` being the value of
  // the whole expression; the object must not move afterwards.
  void Finalize(const TOperand& top);
  // Runs the chain; throws EMathError.
  float Run();

private:
  float leafConstant_ = 0.0f;
  float* result_ = nullptr;
};

}  // namespace qv::expr
