#include "functions/ExpressionCompiler.h"

#include "core/StringUtils.h"
#include "functions/ExpressionErrors.h"
#include "functions/ExpressionMath.h"

namespace qv::expr {

namespace {

using TK = ETokenKind;

// Nesting of brackets and function calls the compiler follows; deeper text
// is refused instead of exhausting the stack.
constexpr int kMaxDepth = 256;

[[noreturn]] void TooFew() {
  Fail("Syntax error: function or operand has too few arguments");
}

TToken StringCall(const TExprWord* word, std::string text, const std::string& a, const std::string& b) {
  TToken t{TK::kStringCall, std::move(text)};
  t.word = word;
  t.args[0] = a;
  t.args[1] = b;
  return t;
}

}  // namespace

std::unique_ptr<TCompiledExpression> TExpressionCompiler::Compile(const std::string& text) {
  text_ = LowerCase(Trim(text));
  if (text_.empty()) SyntaxError();
  tokens_ = TExpressionTokeniser(words_, settings_.decimalSeparator, settings_.argSeparator)
                .Tokenise(text_, newVariables_);
  RewriteSigns();
  RewriteNots();
  RewritePowers();
  RewriteStrings();
  Check();
  RejectStrings();
  MatchBrackets();
  auto compiled = std::make_unique<TCompiledExpression>();
  compiled->text = text;
  const TOperand top = CompileRange(0, static_cast<int>(tokens_.size()), 0);
  compiled->records = std::move(records_);
  compiled->Finalize(top);
  // The new variables are kept only when the whole text compiled.
  for (auto& w : newVariables_) words_.Add(std::move(w.second));
  newVariables_.clear();
  return compiled;
}

void TExpressionCompiler::SyntaxError() const {
  Fail("Syntax error in expression " + text_);
}

// --- rewriting and checks -------------------------------------------------------

TToken TExpressionCompiler::WordToken(const char* name) const {
  TToken t{TK::kWord, name};
  t.word = words_.Find(name);
  return t;
}

// A "+" or "-" starts a run of signs at the start of the text, after "(",
// after the argument separator and after any operator (postfix ones
// included); elsewhere it is the binary operator.
bool TExpressionCompiler::SignIsUnary(const std::vector<TToken>& before) {
  if (before.empty()) return true;
  const TToken& t = before.back();
  return t.kind == TK::kLeft || t.kind == TK::kComma || t.IsOperator();
}

// A run of unary signs becomes one "-@" (odd number of "-") or "+@". The
// doubled "++" and "--" are operators of their own, never part of a run.
void TExpressionCompiler::RewriteSigns() {
  std::vector<TToken> out;
  for (size_t i = 0; i < tokens_.size();) {
    if ((tokens_[i].IsNamed("+") || tokens_[i].IsNamed("-")) && SignIsUnary(out)) {
      int minus = 0;
      while (i < tokens_.size() && (tokens_[i].IsNamed("+") || tokens_[i].IsNamed("-"))) {
        if (tokens_[i].IsNamed("-")) ++minus;
        ++i;
      }
      out.push_back(WordToken(minus % 2 ? "-@" : "+@"));
      continue;
    }
    out.push_back(std::move(tokens_[i]));
    ++i;
  }
  tokens_ = std::move(out);
}

void TExpressionCompiler::RewriteNots() {
  std::vector<TToken> out;
  for (size_t i = 0; i < tokens_.size();) {
    if (tokens_[i].IsNamed("not")) {
      int count = 0;
      while (i < tokens_.size() && tokens_[i].IsNamed("not")) {
        ++count;
        ++i;
      }
      if (count % 2) out.push_back(WordToken("not"));
      continue;
    }
    out.push_back(std::move(tokens_[i]));
    ++i;
  }
  tokens_ = std::move(out);
}

// "^" before a number written without decimal separator is the integer power.
void TExpressionCompiler::RewritePowers() {
  for (size_t i = 0; i + 1 < tokens_.size(); ++i) {
    if (tokens_[i].IsNamed("^") && tokens_[i + 1].kind == TK::kNumber && !tokens_[i + 1].hasDecimal)
      tokens_[i] = WordToken("^@");
  }
}

void TExpressionCompiler::RewriteStrings() {
  // String functions with string arguments: name ( 'a' , 'b' ).
  std::vector<TToken> out;
  for (size_t i = 0; i < tokens_.size();) {
    const TToken& t = tokens_[i];
    if (t.kind == TK::kWord && t.word->kind == EWordKind::kStringFunction && i + 5 < tokens_.size() &&
        tokens_[i + 1].kind == TK::kLeft && tokens_[i + 2].kind == TK::kString &&
        tokens_[i + 3].kind == TK::kComma && tokens_[i + 4].kind == TK::kString &&
        tokens_[i + 5].kind == TK::kRight) {
      out.push_back(StringCall(t.word, t.text + "(" + tokens_[i + 2].text + "," + tokens_[i + 4].text + ")",
                               tokens_[i + 2].str, tokens_[i + 4].str));
      i += 6;
      continue;
    }
    out.push_back(std::move(tokens_[i]));
    ++i;
  }
  tokens_ = std::move(out);
  out.clear();
  // Comparisons (and "in") between two strings.
  for (size_t i = 0; i < tokens_.size();) {
    if (tokens_[i].kind == TK::kString && i + 2 < tokens_.size() && tokens_[i + 1].IsOperator() &&
        tokens_[i + 1].word->stringFunction && tokens_[i + 1].word->fixity == EFixity::kInfix &&
        tokens_[i + 2].kind == TK::kString) {
      out.push_back(StringCall(tokens_[i + 1].word,
                               tokens_[i].text + tokens_[i + 1].text + tokens_[i + 2].text, tokens_[i].str,
                               tokens_[i + 2].str));
      i += 3;
      continue;
    }
    out.push_back(std::move(tokens_[i]));
    ++i;
  }
  tokens_ = std::move(out);
  // Any other operator next to a string is an error.
  for (size_t i = 0; i < tokens_.size(); ++i) {
    if (tokens_[i].kind != TK::kString) continue;
    if (i > 0 && tokens_[i - 1].IsOperator())
      Fail(tokens_[i - 1].word->name + " is not a valid string operand");
    if (i + 1 < tokens_.size() && tokens_[i + 1].IsOperator())
      Fail(tokens_[i + 1].word->name + " is not a valid string operand");
  }
}

void TExpressionCompiler::Check() const {
  int balance = 0;
  for (size_t i = 0; i < tokens_.size(); ++i) {
    const TToken& a = tokens_[i];
    if (a.kind == TK::kLeft) ++balance;
    if (a.kind == TK::kRight) --balance;
    if (i + 1 >= tokens_.size()) break;
    const TToken& b = tokens_[i + 1];
    if (a.IsOperand() && b.IsOperand()) Fail(a.text + " two space limited variables/constants");
    if (a.kind == TK::kNewVar && b.kind == TK::kLeft) Fail(a.text + " is an unknown function");
    if (a.kind == TK::kLeft && b.kind == TK::kRight) Fail("Empty brackets ()");
    if (a.kind == TK::kRight && b.kind == TK::kLeft) Fail("Missing operand between )(");
    if (a.kind == TK::kRight && b.IsOperand()) Fail("Missing operand between ) and constant/variable");
    if (a.IsOperand() && b.kind == TK::kLeft) Fail("Missing operand between constant/variable and (");
  }
  if (balance != 0) Fail("Unequal brackets");
}

// A string left over after the checks (alone, or as a function argument)
// has nothing to compile into.
void TExpressionCompiler::RejectStrings() const {
  for (const TToken& t : tokens_)
    if (t.kind == TK::kString) SyntaxError();
}

void TExpressionCompiler::MatchBrackets() {
  std::vector<int> open;
  for (size_t i = 0; i < tokens_.size(); ++i) {
    if (tokens_[i].kind == TK::kLeft) {
      open.push_back(static_cast<int>(i));
    } else if (tokens_[i].kind == TK::kRight) {
      // Equal counts in the wrong order, such as ")1+2(".
      if (open.empty()) Fail("Unequal brackets");
      tokens_[i].match = open.back();
      tokens_[static_cast<size_t>(open.back())].match = static_cast<int>(i);
      open.pop_back();
    }
  }
}

// --- compilation by priority ------------------------------------------------------

// Index of the first operator or function outside brackets in [lo, hi).
int TExpressionCompiler::FirstOperation(int lo, int hi) const {
  for (int i = lo; i < hi; ++i) {
    const TToken& t = At(i);
    if (t.kind == TK::kLeft) {
      i = t.match;
      continue;
    }
    if (t.IsOperator() || t.IsFunction()) return i;
  }
  return -1;
}

// End of a right operand: the next operator outside brackets (of any
// kind, prefix ones included) whose priority is equal or greater. So
// "1 + not 0" leaves "+" without a right operand, as "not" binds looser.
int TExpressionCompiler::Terminator(int from, int hi, int priority) const {
  for (int i = from; i < hi; ++i) {
    const TToken& t = At(i);
    if (t.kind == TK::kLeft) {
      i = t.match;
      continue;
    }
    if (t.IsOperator() && t.word->priority >= priority) return i;
  }
  return hi;
}

// A record for the word, or its value when every argument is a constant
// and the word may be folded.
TOperand TExpressionCompiler::MakeRecord(const TExprWord* word, const TOperand* args, int count) {
  bool foldable = settings_.fold && !word->IsVarying() && !word->assignment;
  for (int i = 0; i < count && foldable; ++i) foldable = args[i].kind == TOperand::kConst;
  if (foldable) {
    float values[kMaxArgs];
    for (int i = 0; i < count; ++i) values[i] = args[i].value;
    return TOperand::Const(Apply(*word, values));
  }
  TRecord r;
  r.word = word;
  r.argCount = count;
  for (int i = 0; i < count; ++i) r.operands[static_cast<size_t>(i)] = args[i];
  records_.push_back(std::move(r));
  return TOperand::Record(static_cast<int>(records_.size()) - 1);
}

TOperand TExpressionCompiler::Leaf(const TToken& t) {
  switch (t.kind) {
    case TK::kNumber:
      return TOperand::Const(t.value);
    case TK::kNewVar:
      return TOperand::Var(t.word->variable);
    case TK::kStringCall: {
      const TStringFunction& f = t.word->stringFunction;
      if (settings_.fold) return TOperand::Const(CheckResult(f(t.args[0], t.args[1])));
      TRecord r;
      r.word = t.word;
      r.stringFunction = &f;
      r.stringArgs[0] = t.args[0];
      r.stringArgs[1] = t.args[1];
      records_.push_back(std::move(r));
      return TOperand::Record(static_cast<int>(records_.size()) - 1);
    }
    case TK::kWord:
      if (t.word->kind == EWordKind::kConstant) return TOperand::Const(t.word->constant);
      if (t.word->kind == EWordKind::kVariable || t.word->kind == EWordKind::kGeneratedVariable)
        return TOperand::Var(t.word->variable);
      return MakeRecord(t.word, nullptr, 0);  // a function without arguments
    default:
      SyntaxError();
  }
}

TOperand TExpressionCompiler::CompileRange(int lo, int hi, int depth) {
  if (depth > kMaxDepth) Fail("Expression is nested too deeply");
  // Brackets around the whole range.
  while (hi - lo >= 2 && At(lo).kind == TK::kLeft && At(lo).match == hi - 1) {
    ++lo;
    --hi;
  }
  if (lo >= hi) TooFew();
  if (hi - lo == 1) {
    const TToken& t = At(lo);
    if (t.IsOperand()) return Leaf(t);
    if (t.IsOperator() || t.IsFunction()) TooFew();
    SyntaxError();
  }
  int i = FirstOperation(lo, hi);
  if (i < 0) SyntaxError();
  int leftLo = lo;
  TOperand result;
  for (;;) {
    const TToken& t = At(i);
    const TExprWord* w = t.word;
    int next;
    TOperand args[kMaxArgs];
    if (t.IsFunction()) {
      // name ( a , b , ... ): the arguments split at separators outside
      // nested brackets.
      if (i > leftLo || result.kind != TOperand::kNone || w->kind == EWordKind::kStringFunction)
        SyntaxError();
      if (i + 1 >= hi || At(i + 1).kind != TK::kLeft) TooFew();
      const int close = At(i + 1).match;
      int a = i + 2;
      for (int k = 0; k < w->argCount; ++k) {
        int end = close;
        if (k < w->argCount - 1) {
          end = -1;
          for (int j = a; j < close; ++j) {
            const TToken& u = At(j);
            if (u.kind == TK::kLeft) {
              j = u.match;
            } else if (u.kind == TK::kComma) {
              end = j;
              break;
            }
          }
          if (end < 0) TooFew();
        }
        args[k] = CompileRange(a, end, depth + 1);
        a = end + 1;
      }
      result = MakeRecord(w, args, w->argCount);
      next = close + 1;
    } else if (w->fixity == EFixity::kPrefix) {
      if (i > leftLo || result.kind != TOperand::kNone) SyntaxError();
      const int j = Terminator(i + 1, hi, w->priority);
      args[0] = CompileRange(i + 1, j, depth + 1);
      result = MakeRecord(w, args, 1);
      next = j;
    } else if (w->fixity == EFixity::kPostfix) {
      args[0] = result.kind != TOperand::kNone ? result : CompileRange(leftLo, i, depth + 1);
      result = MakeRecord(w, args, 1);
      next = i + 1;
    } else {
      if (w->kind == EWordKind::kStringOperator) SyntaxError();
      args[0] = result.kind != TOperand::kNone ? result : CompileRange(leftLo, i, depth + 1);
      const int j = Terminator(i + 1, hi, w->priority);
      args[1] = CompileRange(i + 1, j, depth + 1);
      if (w->assignment && args[0].kind != TOperand::kVar) SyntaxError();
      result = MakeRecord(w, args, 2);
      next = j;
    }
    // The result is the left operand of the operator that ended the range.
    if (next >= hi) return result;
    i = leftLo = next;
    const TToken& n = At(i);
    if (!n.Is(EFixity::kInfix) && !n.Is(EFixity::kPostfix)) Fail("Can not find operand/function");
  }
}

}  // namespace qv::expr
