#include "functions/EvalFunction.h"

#include "core/Diagnostics.h"
#include "storage/StorageAccess.h"

namespace qv {

void TEvalFunction::Bind(IFunctionOwner* owner) {
  TFunction::Bind(owner);
  parser_ = std::make_unique<TExpressionParser>();
  parser_->SetDecimalSeparator('.');
  parser_->SetArgSeparator(',');
  lastError_.clear();
  const TParamSpace& space = GetParamSpace();
  const TParamDefCollection& defs = space.GetDefs();
  for (int r = 0; r < space.GetRowCount(); ++r) {
    for (int c = 0; c < space.GetColCount(r); ++c) {
      const TParamDef* def = defs.DefAt(r, c);
      if (def && !def->GetName().empty()) parser_->DefineVariable(def->GetName(), space.Slot(r, c));
    }
  }
  active_ = parser_->CompileProgram(expression_);
  if (!active_) {
    ReportDataError(Where(), "expression \"" + parser_->LastErrorText() + "\" does not compile (" +
                                 parser_->LastError() + "); the function stays off");
    SwitchOff(parser_->LastError());
  }
}

void TEvalFunction::Unbind() {
  // The variables point into the cells that unbinding frees.
  parser_.reset();
  active_ = false;
  TFunction::Unbind();
}

void TEvalFunction::Calculate() {
  if (!active_) return;
  try {
    parser_->EvaluateProgram();
  } catch (const EParserException& e) {
    ReportDataError(Where(), std::string("evaluation failed (") + e.what() +
                                 "); the function is off until it is bound again");
    SwitchOff(e.what());
  }
}

std::string TEvalFunction::Where() const {
  return GetName().empty() ? "function_eval" : "function_eval \"" + GetName() + "\"";
}

void TEvalFunction::SwitchOff(const std::string& message) {
  active_ = false;
  lastError_ = message;
  if (parser_) parser_->ClearExpressions();
}

void TEvalFunction::LoadFromStorage(const StorageRef& storage) {
  TFunction::LoadFromStorage(storage);
  if (storage) expression_ = storage->ReadChildText("expression").value_or(std::string());
}

void TEvalFunction::SaveToStorage(const StorageRef& storage) {
  TFunction::SaveToStorage(storage);
  if (storage) storage->WriteChildText("expression", expression_);
}

}  // namespace qv
