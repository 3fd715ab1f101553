// "function_eval": a program of expressions over the function's cells.
// Every definition's name is a variable bound to its cell, so statements
// assign cells with ":=" ("out := sin(t*pi)*amp"). Any error while
// compiling or evaluating switches the function off until the next Bind.
#pragma once

#include <memory>
#include <string>

#include "functions/ExpressionParser.h"
#include "functions/Function.h"

namespace qv {

class TEvalFunction : public TFunction {
protected:
  ~TEvalFunction() override = default;

public:
  const std::string& GetExpression() const { return expression_; }
  void SetExpression(const std::string& text) { expression_ = text; }
  // False after an error (or before Bind).
  bool IsActive() const { return active_; }
  // The message of the error that switched the function off.
  const std::string& GetLastError() const { return lastError_; }

  void Bind(IFunctionOwner* owner) override;
  void Unbind() override;
  void Calculate() override;

  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

private:
  void SwitchOff(const std::string& message);
  // Names the function in data error reports.
  std::string Where() const;

  std::string expression_;
  std::unique_ptr<TExpressionParser> parser_;
  bool active_ = false;
  std::string lastError_;
};

}  // namespace qv
