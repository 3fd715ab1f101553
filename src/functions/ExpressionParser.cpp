#include "functions/ExpressionParser.h"

#include <utility>

#include "core/StringUtils.h"
#include "functions/CompiledExpression.h"
#include "functions/ExpressionCompiler.h"
#include "functions/StandardWords.h"

namespace qv {

using expr::EWordKind;
using expr::TExprWord;

TExpressionParser::TExpressionParser() {
  expr::AddStandardWords(words_);
}
TExpressionParser::~TExpressionParser() = default;

int TExpressionParser::CompileOrThrow(const std::string& text) {
  lastError_.clear();
  expr::TExpressionCompiler compiler(words_, {decimalSeparator_, argSeparator_, optimize_});
  expressions_.push_back(compiler.Compile(text));
  current_ = static_cast<int>(expressions_.size()) - 1;
  return current_;
}

int TExpressionParser::Compile(const std::string& text) {
  try {
    return CompileOrThrow(text);
  } catch (const EParserException& e) {
    lastError_ = e.what();
    lastErrorText_ = text;
    return -1;
  }
}

float TExpressionParser::Evaluate(int index) {
  if (index < 0 || index >= ExpressionCount()) return 0.0f;
  return expressions_[static_cast<size_t>(index)]->Run();
}

bool TExpressionParser::CompileProgram(const std::string& text) {
  ClearExpressions();
  lastError_.clear();
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = Trim(std::string_view(text).substr(start, end - start));
    start = end + 1;
    if (line.empty() || line.rfind("//", 0) == 0) continue;
    if (Compile(line) < 0) {
      const std::string message = lastError_;
      ClearExpressions();
      lastError_ = message;
      return false;
    }
  }
  return true;
}

float TExpressionParser::EvaluateProgram() {
  float last = 0.0f;
  for (auto& e : expressions_) last = e->Run();
  return last;
}

void TExpressionParser::ClearExpressions() {
  expressions_.clear();
  words_.PurgeRetired();
  current_ = -1;
}

const std::string& TExpressionParser::ExpressionText(int index) const {
  static const std::string empty;
  if (index < 0 || index >= ExpressionCount()) return empty;
  return expressions_[static_cast<size_t>(index)]->text;
}

void TExpressionParser::DefineVariable(const std::string& name, float* storage) {
  auto w = std::make_unique<TExprWord>();
  w->name = name;
  w->kind = EWordKind::kVariable;
  if (!storage) {  // no storage given: the word keeps its own
    w->owned = std::make_unique<float>(0.0f);
    storage = w->owned.get();
  }
  w->variable = storage;
  words_.Add(std::move(w));
}

void TExpressionParser::DefineConstant(const std::string& name, float value) {
  auto w = std::make_unique<TExprWord>();
  w->name = name;
  w->kind = EWordKind::kConstant;
  w->constant = value;
  words_.Add(std::move(w));
}

void TExpressionParser::DefineFunction(const std::string& name, const std::string& description, int argCount,
                                       expr::TMathFunction function, bool varying) {
  if (argCount > expr::kMaxArgs) expr::Fail("Too many arguments");
  auto w = std::make_unique<TExprWord>();
  w->name = name;
  w->kind = varying ? EWordKind::kVaryingFunction : EWordKind::kFunction;
  w->argCount = argCount < 0 ? 0 : argCount;
  w->description = description;
  w->function = std::move(function);
  words_.Add(std::move(w));
}

void TExpressionParser::DefineStringFunction(const std::string& name, const std::string& description,
                                             expr::TStringFunction function) {
  auto w = std::make_unique<TExprWord>();
  w->name = name;
  w->kind = EWordKind::kStringFunction;
  w->argCount = 2;
  w->description = description;
  w->stringFunction = std::move(function);
  words_.Add(std::move(w));
}

bool TExpressionParser::ReplaceWord(const std::string& oldName, const std::string& newName) {
  TExprWord* oldWord = words_.Find(oldName);
  const TExprWord* newWord = words_.Find(newName);
  if (!oldWord || !newWord) return false;
  if (oldWord->argCount != newWord->argCount)
    expr::Fail("Cannot replace variable/function: the numbers of arguments differ");
  if (oldWord == newWord) return true;
  oldWord->kind = newWord->kind == EWordKind::kGeneratedVariable ? EWordKind::kVariable : newWord->kind;
  oldWord->fixity = newWord->fixity;
  oldWord->priority = newWord->priority;
  oldWord->description = newWord->description;
  oldWord->constant = newWord->constant;
  oldWord->variable = newWord->variable;
  oldWord->function = newWord->function;
  oldWord->stringFunction = newWord->stringFunction;
  oldWord->assignment = newWord->assignment;
  return true;
}

const TExprWord* TExpressionParser::FindWord(const std::string& name) const {
  return words_.Find(name);
}

float TExpressionParser::GetVariable(const std::string& name) const {
  const TExprWord* w = words_.Find(name);
  return w && w->variable ? *w->variable : 0.0f;
}

}  // namespace qv
