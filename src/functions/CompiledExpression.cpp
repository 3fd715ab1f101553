#include "functions/CompiledExpression.h"

#include "functions/ExpressionErrors.h"
#include "functions/ExpressionMath.h"

namespace qv::expr {

float Apply(const TExprWord& word, const float* values) {
  if (!word.function) throw EMathError(kInvalidOperation);
  return CheckResult(word.function(values));
}

void TCompiledExpression::Finalize(const TOperand& top) {
  for (auto& r : records) {
    for (int i = 0; i < r.argCount; ++i) {
      const TOperand& o = r.operands[static_cast<size_t>(i)];
      float*& p = r.args[static_cast<size_t>(i)];
      switch (o.kind) {
        case TOperand::kConst:
          r.constants[static_cast<size_t>(i)] = o.value;
          p = &r.constants[static_cast<size_t>(i)];
          break;
        case TOperand::kVar:
          p = o.var;
          break;
        case TOperand::kRecord:
          p = &records[static_cast<size_t>(o.record)].result;
          break;
        case TOperand::kNone:
          p = &r.constants[static_cast<size_t>(i)];
          break;
      }
    }
  }
  switch (top.kind) {
    case TOperand::kVar:
      result_ = top.var;
      break;
    case TOperand::kRecord:
      result_ = &records[static_cast<size_t>(top.record)].result;
      break;
    default:
      leafConstant_ = top.value;
      result_ = &leafConstant_;
      break;
  }
}

float TCompiledExpression::Run() {
  float values[kMaxArgs];
  for (auto& r : records) {
    if (r.stringFunction) {
      r.result = CheckResult((*r.stringFunction)(r.stringArgs[0], r.stringArgs[1]));
      continue;
    }
    for (int i = 0; i < r.argCount; ++i) values[i] = *r.args[static_cast<size_t>(i)];
    if (r.word->assignment) {
      *r.args[0] = values[1];
      r.result = values[1];
    } else {
      r.result = Apply(*r.word, values);
    }
  }
  return *result_;
}

}  // namespace qv::expr
