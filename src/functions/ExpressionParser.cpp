#include "functions/ExpressionParser.h"

#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <numbers>
#include <utility>

#include "core/Random.h"
#include "core/StringUtils.h"

namespace qv {

using expr::EFixity;
using expr::EWordKind;
using expr::TExprWord;

namespace {

constexpr char kErrPrefix[] = "Error in math expression: ";
constexpr char kDivisionByZero[] = "Division by zero";
constexpr char kInvalidOperation[] = "Invalid floating point operation";
constexpr char kOverflow[] = "Floating point overflow";
constexpr int kMaxArgs = 6;
// Nesting of brackets and function calls the compiler follows; deeper text
// is refused instead of exhausting the stack.
constexpr int kMaxDepth = 256;

[[noreturn]] void Fail(const std::string& message) {
  throw EParserException(kErrPrefix + message);
}

float CheckResult(double v) {
  if (std::isnan(v)) throw EMathError(kInvalidOperation);
  if (std::isinf(v) || std::fabs(v) > FLT_MAX) throw EMathError(kOverflow);
  return static_cast<float>(v);
}

double Positive(double v) {
  if (!(v > 0)) throw EMathError(kInvalidOperation);
  return v;
}

// x to the power y; zero to a negative power is a division by zero.
float Power(double x, double y) {
  if (x == 0.0 && y < 0.0) throw EMathError(kDivisionByZero);
  return CheckResult(std::pow(x, y));
}

double Factorial(double x) {
  // x * (x - 1)! down to 1.1; iterative, and bounded because the product
  // leaves the float range after a few dozen factors.
  double r = 1.0;
  while (x > 1.1) {
    r *= x;
    if (r > FLT_MAX) throw EMathError(kOverflow);
    x -= 1.0;
  }
  return r;
}

int32_t TruncToInt32(double v) {
  if (v >= 2147483647.0) return 2147483647;
  if (v <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int32_t>(v);
}

double RandomGauss(double mean, double sd) {
  // Polar form of the Box-Muller transform: two uniform draws per attempt.
  double u, s;
  do {
    u = 2.0 * RandomFloat() - 1.0;
    const double v = 2.0 * RandomFloat() - 1.0;
    s = u * u + v * v;
  } while (s >= 1.0 || s == 0.0);
  return std::sqrt(-2.0 * std::log(s) / s) * u * sd + mean;
}

}  // namespace

long long RoundToInt64(double v) {
  if (std::isnan(v) || !(std::fabs(v) < 9223372036854775808.0)) throw EMathError(kInvalidOperation);
  return static_cast<long long>(std::nearbyint(v));
}

namespace expr {

TExprWord* TExpressList::Find(const std::string& name) const {
  auto it = words_.find(LowerCase(name));
  return it == words_.end() ? nullptr : it->second.get();
}

TExprWord& TExpressList::Add(std::unique_ptr<TExprWord> word) {
  word->name = LowerCase(word->name);
  auto& slot = words_[word->name];
  if (slot) retired_.push_back(std::move(slot));
  slot = std::move(word);
  return *slot;
}

void TExpressList::Remove(const std::string& name) {
  auto it = words_.find(LowerCase(name));
  if (it == words_.end()) return;
  retired_.push_back(std::move(it->second));
  words_.erase(it);
}

}  // namespace expr

// ---------------------------------------------------------------------------
// Compiled expressions

namespace {

struct TOperand {
  enum Kind { kNone, kConst, kVar, kRecord } kind = kNone;
  float value = 0.0f;
  float* var = nullptr;
  int record = -1;
};

struct TRecord {
  const TExprWord* word = nullptr;
  const expr::TStringFunction* stringFunction = nullptr;  // string calls
  std::string stringArgs[2];
  int argCount = 0;
  std::array<TOperand, kMaxArgs> operands{};
  std::array<float*, kMaxArgs> args{};
  std::array<float, kMaxArgs> constants{};
  float result = 0.0f;
};

float Apply(const TExprWord& word, const float* values) {
  if (!word.function) throw EMathError(kInvalidOperation);
  return CheckResult(word.function(values));
}

}  // namespace

struct TExpressionParser::TCompiled {
  std::string text;
  std::vector<TRecord> records;
  float leafConstant = 0.0f;
  float* result = nullptr;

  // Resolves operand references into pointers; the object must not move
  // afterwards.
  void Finalize(const TOperand& top) {
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
        result = top.var;
        break;
      case TOperand::kRecord:
        result = &records[static_cast<size_t>(top.record)].result;
        break;
      default:
        leafConstant = top.value;
        result = &leafConstant;
        break;
    }
  }

  float Run() {
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
    return *result;
  }
};

// ---------------------------------------------------------------------------
// The compiler: tokenising, rewriting, checks, compilation by priority.

class TExpressionParser::TCompiler {
public:
  TCompiler(TExpressionParser& parser, std::string text)
      : parser_(parser), original_(std::move(text)), text_(LowerCase(Trim(original_))) {}

  std::unique_ptr<TCompiled> Run() {
    if (text_.empty()) SyntaxError();
    Tokenise();
    RewriteSigns();
    RewriteNots();
    RewritePowers();
    RewriteStrings();
    Check();
    RejectStrings();
    MatchBrackets();
    auto compiled = std::make_unique<TCompiled>();
    compiled->text = original_;
    const TOperand top = CompileRange(0, static_cast<int>(tokens_.size()), 0);
    compiled->records = std::move(records_);
    compiled->Finalize(top);
    // The new variables are kept only when the whole text compiled.
    for (auto& w : pending_) parser_.words_.Add(std::move(w.second));
    return compiled;
  }

private:
  enum class TK { kNumber, kString, kWord, kNewVar, kLeft, kRight, kComma, kStringCall };

  struct TToken {
    TToken(TK k, std::string t) : kind(k), text(std::move(t)) {}
    TK kind;
    std::string text;
    const TExprWord* word = nullptr;
    float value = 0.0f;
    bool hasDecimal = false;
    std::string str;      // string literal
    std::string args[2];  // string call
    int match = -1;       // bracket partner
  };

  [[noreturn]] void SyntaxError() const { Fail("Syntax error in expression " + text_); }
  [[noreturn]] static void TooFew() { Fail("Syntax error: function or operand has too few arguments"); }

  const TExprWord* Word(const char* name) const { return parser_.words_.Find(name); }

  // --- tokenising -----------------------------------------------------------

  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  static bool IsHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f'); }
  static bool IsIdentStart(char c) { return (c >= 'a' && c <= 'z') || c == '_'; }
  static bool IsIdent(char c) { return IsIdentStart(c) || IsDigit(c); }

  void AddWordToken(const std::string& name) {
    if (name == "(") {
      tokens_.emplace_back(TK::kLeft, name);
      return;
    }
    if (name == ")") {
      tokens_.emplace_back(TK::kRight, name);
      return;
    }
    if (const TExprWord* w = parser_.words_.Find(name)) {
      TToken t{TK::kWord, name};
      t.word = w;
      tokens_.push_back(std::move(t));
      return;
    }
    // An unknown word becomes a new variable, one per name within the text.
    auto& slot = pending_[name];
    if (!slot) {
      slot = std::make_unique<TExprWord>();
      slot->name = name;
      slot->kind = EWordKind::kGeneratedVariable;
      slot->owned = std::make_unique<float>(0.0f);
      slot->variable = slot->owned.get();
    }
    TToken t{TK::kNewVar, name};
    t.word = slot.get();
    tokens_.push_back(std::move(t));
  }

  float ConvertNumber(const std::string& digits) const {
    float v = 0.0f;
    const char* b = digits.data();
    const char* e = b + digits.size();
    auto [p, ec] = std::from_chars(b, e, v);
    if (ec == std::errc::result_out_of_range) {
      double d = 0.0;
      std::from_chars(b, e, d);
      if (!(std::fabs(d) <= FLT_MAX)) throw EParserException(kOverflow);
      return static_cast<float>(d);
    }
    if (ec != std::errc() || p != e) SyntaxError();
    return v;
  }

  void Tokenise() {
    const std::string& s = text_;
    const size_t n = s.size();
    const char dec = parser_.decimalSeparator_;
    const char sep = parser_.argSeparator_;
    size_t i = 0;
    while (i < n) {
      const char c = s[i];
      if (static_cast<unsigned char>(c) <= 32) {
        ++i;
        continue;
      }
      if (IsDigit(c)) {
        size_t j = i;
        while (j < n && IsDigit(s[j])) ++j;
        bool hasDecimal = false;
        if (j < n && s[j] == dec) {
          hasDecimal = true;
          ++j;
          while (j < n && IsDigit(s[j])) ++j;
        }
        if (j < n && s[j] == 'e') {
          size_t k = j + 1;
          if (k < n && (s[k] == '+' || s[k] == '-')) ++k;
          if (k < n && IsDigit(s[k])) {
            while (k < n && IsDigit(s[k])) ++k;
            j = k;
          }
        }
        TToken t{TK::kNumber, s.substr(i, j - i)};
        std::string digits = t.text;
        if (hasDecimal) digits[digits.find(dec)] = '.';
        t.value = ConvertNumber(digits);
        t.hasDecimal = hasDecimal;
        tokens_.push_back(std::move(t));
        i = j;
        continue;
      }
      if (c == '$' && i + 1 < n && IsHex(s[i + 1])) {
        size_t j = i + 1;
        double v = 0.0;
        while (j < n && IsHex(s[j])) {
          v = v * 16.0 + (IsDigit(s[j]) ? s[j] - '0' : s[j] - 'a' + 10);
          ++j;
        }
        if (v > FLT_MAX) throw EParserException(kOverflow);
        TToken t{TK::kNumber, s.substr(i, j - i)};
        t.value = static_cast<float>(v);
        tokens_.push_back(std::move(t));
        i = j;
        continue;
      }
      if (IsIdentStart(c)) {
        size_t j = i;
        while (j < n && IsIdent(s[j])) ++j;
        AddWordToken(s.substr(i, j - i));
        i = j;
        continue;
      }
      if (c == '\'') {
        const size_t close = s.find('\'', i + 1);
        if (close == std::string::npos) SyntaxError();
        TToken t{TK::kString, s.substr(i, close - i + 1)};
        t.str = s.substr(i + 1, close - i - 1);
        tokens_.push_back(std::move(t));
        i = close + 1;
        continue;
      }
      if (c == sep) {
        tokens_.emplace_back(TK::kComma, std::string(1, c));
        ++i;
        continue;
      }
      size_t len = 1;
      const char next = i + 1 < n ? s[i + 1] : '\0';
      switch (c) {
        case '!':
          len = next == '=' ? 2 : 1;
          break;
        case '&':
          len = next == '&' ? 2 : 1;
          break;
        case '|':
          len = next == '|' ? 2 : 1;
          break;
        case ':':
          len = next == '=' ? 2 : 1;
          break;
        case '<':
        case '>':
        case '=':
          len = (next == '<' || next == '=' || next == '>') ? 2 : 1;
          break;
        case '+':
        case '-':
          len = (next == c && parser_.words_.Find(std::string(2, c))) ? 2 : 1;
          break;
        default:
          break;
      }
      AddWordToken(s.substr(i, len));
      i += len;
    }
  }

  // --- classification ---------------------------------------------------------

  static bool IsOperand(const TToken& t) {
    switch (t.kind) {
      case TK::kNumber:
      case TK::kNewVar:
      case TK::kStringCall:
      case TK::kString:
        return true;
      case TK::kWord:
        return t.word->IsLeaf();
      default:
        return false;
    }
  }
  static bool IsOperator(const TToken& t) {
    return t.kind == TK::kWord &&
           (t.word->kind == EWordKind::kOperator || t.word->kind == EWordKind::kStringOperator);
  }
  static bool IsFunction(const TToken& t) {
    return t.kind == TK::kWord && !t.word->IsLeaf() &&
           (t.word->kind == EWordKind::kFunction || t.word->kind == EWordKind::kVaryingFunction ||
            t.word->kind == EWordKind::kStringFunction);
  }
  static bool Is(const TToken& t, EFixity f) { return IsOperator(t) && t.word->fixity == f; }
  static bool IsNamed(const TToken& t, const char* name) {
    return t.kind == TK::kWord && t.word->name == name;
  }
  // A "+" or "-" starts a run of signs at the start of the text, after "(",
  // after the argument separator and after any operator (postfix ones
  // included); elsewhere it is the binary operator.
  static bool SignIsUnary(const std::vector<TToken>& before) {
    if (before.empty()) return true;
    const TToken& t = before.back();
    return t.kind == TK::kLeft || t.kind == TK::kComma || IsOperator(t);
  }

  TToken WordToken(const char* name) const {
    TToken t{TK::kWord, name};
    t.word = Word(name);
    return t;
  }

  // --- rewriting --------------------------------------------------------------

  // A run of unary signs becomes one "-@" (odd number of "-") or "+@". The
  // doubled "++" and "--" are operators of their own, never part of a run.
  void RewriteSigns() {
    std::vector<TToken> out;
    for (size_t i = 0; i < tokens_.size();) {
      if ((IsNamed(tokens_[i], "+") || IsNamed(tokens_[i], "-")) && SignIsUnary(out)) {
        int minus = 0;
        while (i < tokens_.size() && (IsNamed(tokens_[i], "+") || IsNamed(tokens_[i], "-"))) {
          if (IsNamed(tokens_[i], "-")) ++minus;
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

  void RewriteNots() {
    std::vector<TToken> out;
    for (size_t i = 0; i < tokens_.size();) {
      if (IsNamed(tokens_[i], "not")) {
        int count = 0;
        while (i < tokens_.size() && IsNamed(tokens_[i], "not")) {
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
  void RewritePowers() {
    for (size_t i = 0; i + 1 < tokens_.size(); ++i) {
      if (IsNamed(tokens_[i], "^") && tokens_[i + 1].kind == TK::kNumber && !tokens_[i + 1].hasDecimal)
        tokens_[i] = WordToken("^@");
    }
  }

  TToken StringCall(const TExprWord* word, std::string text, const std::string& a, const std::string& b) {
    TToken t{TK::kStringCall, std::move(text)};
    t.word = word;
    t.args[0] = a;
    t.args[1] = b;
    return t;
  }

  void RewriteStrings() {
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
      if (tokens_[i].kind == TK::kString && i + 2 < tokens_.size() && IsOperator(tokens_[i + 1]) &&
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
      if (i > 0 && IsOperator(tokens_[i - 1]))
        throw EParserException(tokens_[i - 1].word->name + " is not a valid string operand");
      if (i + 1 < tokens_.size() && IsOperator(tokens_[i + 1]))
        throw EParserException(tokens_[i + 1].word->name + " is not a valid string operand");
    }
  }

  // A string left over after the checks (alone, or as a function argument)
  // has nothing to compile into.
  void RejectStrings() const {
    for (const TToken& t : tokens_)
      if (t.kind == TK::kString) SyntaxError();
  }

  void Check() const {
    int balance = 0;
    for (size_t i = 0; i < tokens_.size(); ++i) {
      const TToken& a = tokens_[i];
      if (a.kind == TK::kLeft) ++balance;
      if (a.kind == TK::kRight) --balance;
      if (i + 1 >= tokens_.size()) break;
      const TToken& b = tokens_[i + 1];
      if (IsOperand(a) && IsOperand(b)) Fail(a.text + " two space limited variables/constants");
      if (a.kind == TK::kNewVar && b.kind == TK::kLeft) Fail(a.text + " is an unknown function");
      if (a.kind == TK::kLeft && b.kind == TK::kRight) Fail("Empty brackets ()");
      if (a.kind == TK::kRight && b.kind == TK::kLeft) Fail("Missing operand between )(");
      if (a.kind == TK::kRight && IsOperand(b)) Fail("Missing operand between ) and constant/variable");
      if (IsOperand(a) && b.kind == TK::kLeft) Fail("Missing operand between constant/variable and (");
    }
    if (balance != 0) throw EParserException("Unequal brackets");
  }

  void MatchBrackets() {
    std::vector<int> open;
    for (size_t i = 0; i < tokens_.size(); ++i) {
      if (tokens_[i].kind == TK::kLeft) {
        open.push_back(static_cast<int>(i));
      } else if (tokens_[i].kind == TK::kRight) {
        // Equal counts in the wrong order, such as ")1+2(".
        if (open.empty()) throw EParserException("Unequal brackets");
        tokens_[i].match = open.back();
        tokens_[static_cast<size_t>(open.back())].match = static_cast<int>(i);
        open.pop_back();
      }
    }
  }

  // --- compilation --------------------------------------------------------------

  // Index of the first operator or function outside brackets in [lo, hi).
  int FirstOperation(int lo, int hi) const {
    for (int i = lo; i < hi; ++i) {
      const TToken& t = tokens_[static_cast<size_t>(i)];
      if (t.kind == TK::kLeft) {
        i = t.match;
        continue;
      }
      if (IsOperator(t) || IsFunction(t)) return i;
    }
    return -1;
  }

  // End of a right operand: the next operator outside brackets (of any
  // kind, prefix ones included) whose priority is equal or greater. So
  // "1 + not 0" leaves "+" without a right operand, as "not" binds looser.
  int Terminator(int from, int hi, int priority) const {
    for (int i = from; i < hi; ++i) {
      const TToken& t = tokens_[static_cast<size_t>(i)];
      if (t.kind == TK::kLeft) {
        i = t.match;
        continue;
      }
      if (IsOperator(t) && t.word->priority >= priority) return i;
    }
    return hi;
  }

  TOperand Const(float v) const {
    TOperand o;
    o.kind = TOperand::kConst;
    o.value = v;
    return o;
  }

  TOperand MakeRecord(const TExprWord* word, const TOperand* args, int count) {
    bool foldable = parser_.optimize_ && !word->IsVarying() && !word->assignment;
    for (int i = 0; i < count && foldable; ++i) foldable = args[i].kind == TOperand::kConst;
    if (foldable) {
      float values[kMaxArgs];
      for (int i = 0; i < count; ++i) values[i] = args[i].value;
      return Const(Apply(*word, values));
    }
    TRecord r;
    r.word = word;
    r.argCount = count;
    for (int i = 0; i < count; ++i) r.operands[static_cast<size_t>(i)] = args[i];
    records_.push_back(std::move(r));
    TOperand o;
    o.kind = TOperand::kRecord;
    o.record = static_cast<int>(records_.size()) - 1;
    return o;
  }

  TOperand Leaf(const TToken& t) {
    switch (t.kind) {
      case TK::kNumber:
        return Const(t.value);
      case TK::kNewVar: {
        TOperand o;
        o.kind = TOperand::kVar;
        o.var = t.word->variable;
        return o;
      }
      case TK::kStringCall: {
        const expr::TStringFunction& f = t.word->stringFunction;
        if (parser_.optimize_) return Const(CheckResult(f(t.args[0], t.args[1])));
        TRecord r;
        r.word = t.word;
        r.stringFunction = &f;
        r.stringArgs[0] = t.args[0];
        r.stringArgs[1] = t.args[1];
        records_.push_back(std::move(r));
        TOperand o;
        o.kind = TOperand::kRecord;
        o.record = static_cast<int>(records_.size()) - 1;
        return o;
      }
      case TK::kWord:
        if (t.word->kind == EWordKind::kConstant) return Const(t.word->constant);
        if (t.word->kind == EWordKind::kVariable || t.word->kind == EWordKind::kGeneratedVariable) {
          TOperand o;
          o.kind = TOperand::kVar;
          o.var = t.word->variable;
          return o;
        }
        return MakeRecord(t.word, nullptr, 0);  // a function without arguments
      default:
        SyntaxError();
    }
  }

  TOperand CompileRange(int lo, int hi, int depth) {
    if (depth > kMaxDepth) Fail("Expression is nested too deeply");
    while (hi - lo >= 2 && tokens_[static_cast<size_t>(lo)].kind == TK::kLeft &&
           tokens_[static_cast<size_t>(lo)].match == hi - 1) {
      ++lo;
      --hi;
    }
    if (lo >= hi) TooFew();
    if (hi - lo == 1) {
      const TToken& t = tokens_[static_cast<size_t>(lo)];
      if (IsOperand(t)) return Leaf(t);
      if (IsOperator(t) || IsFunction(t)) TooFew();
      SyntaxError();
    }
    int i = FirstOperation(lo, hi);
    if (i < 0) SyntaxError();
    int leftLo = lo;
    TOperand result;
    for (;;) {
      const TToken& t = tokens_[static_cast<size_t>(i)];
      const TExprWord* w = t.word;
      int next;
      TOperand args[kMaxArgs];
      if (IsFunction(t)) {
        if (i > leftLo || result.kind != TOperand::kNone || w->kind == EWordKind::kStringFunction)
          SyntaxError();
        if (i + 1 >= hi || tokens_[static_cast<size_t>(i + 1)].kind != TK::kLeft) TooFew();
        const int close = tokens_[static_cast<size_t>(i + 1)].match;
        int a = i + 2;
        for (int k = 0; k < w->argCount; ++k) {
          int end = close;
          if (k < w->argCount - 1) {
            end = -1;
            for (int j = a; j < close; ++j) {
              const TToken& u = tokens_[static_cast<size_t>(j)];
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
      if (next >= hi) return result;
      i = leftLo = next;
      const TToken& n = tokens_[static_cast<size_t>(i)];
      if (!Is(n, EFixity::kInfix) && !Is(n, EFixity::kPostfix)) Fail("Can not find operand/function");
    }
  }

  TExpressionParser& parser_;
  std::string original_;
  std::string text_;
  std::vector<TToken> tokens_;
  std::map<std::string, std::unique_ptr<TExprWord>> pending_;
  std::vector<TRecord> records_;
};

// ---------------------------------------------------------------------------
// The parser

TExpressionParser::TExpressionParser() {
  DefineStandardWords();
}
TExpressionParser::~TExpressionParser() = default;

int TExpressionParser::CompileOrThrow(const std::string& text) {
  lastError_.clear();
  TCompiler compiler(*this, text);
  expressions_.push_back(compiler.Run());
  current_ = static_cast<int>(expressions_.size()) - 1;
  return current_;
}

int TExpressionParser::Compile(const std::string& text) {
  try {
    return CompileOrThrow(text);
  } catch (const EParserException& e) {
    lastError_ = e.what();
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
  if (argCount > kMaxArgs) throw EParserException("Too many arguments");
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
    Fail("Cannot replace variable/function NFuntionArg doesn't match");
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

// ---------------------------------------------------------------------------
// Standard words

void TExpressionParser::DefineStandardWords() {
  auto op = [this](const char* name, EFixity fixity, int priority, expr::TMathFunction f) -> TExprWord& {
    auto w = std::make_unique<TExprWord>();
    w->name = name;
    w->kind = EWordKind::kOperator;
    w->fixity = fixity;
    w->priority = priority;
    w->argCount = fixity == EFixity::kInfix ? 2 : 1;
    w->function = std::move(f);
    return words_.Add(std::move(w));
  };
  auto fn = [this](const char* name, int argCount, const char* description, expr::TMathFunction f,
                   bool varying = false) {
    DefineFunction(name, description, argCount, std::move(f), varying);
  };
  using F = const float*;
  const auto Pre = EFixity::kPrefix;
  const auto Post = EFixity::kPostfix;
  const auto In = EFixity::kInfix;

  op("!", Post, 10, [](F a) { return static_cast<float>(Factorial(a[0])); });
  op("++", Post, 5, [](F a) { return a[0] + 1.0f; });
  op("--", Post, 5, [](F a) { return a[0] - 1.0f; });
  op("%", Post, 10, [](F a) { return static_cast<float>(a[0] * 0.01); });
  op("-@", Pre, 10, [](F a) { return -a[0]; });
  op("+@", Pre, 10, [](F a) { return a[0]; });
  op("^", In, 20, [](F a) { return Power(a[0], a[1]); });
  op("^@", In, 20,
     [](F a) { return Power(a[0], static_cast<double>(RoundToInt64(a[1]))); });
  op("*", In, 30, [](F a) { return a[0] * a[1]; });
  op("/", In, 30, [](F a) {
    if (a[1] == 0.0f) throw EMathError(kDivisionByZero);
    return a[0] / a[1];
  });
  op("div", In, 30, [](F a) {
    const long long x = RoundToInt64(a[0]), y = RoundToInt64(a[1]);
    if (y == 0) throw EMathError(kDivisionByZero);
    return static_cast<float>(x / y);
  });
  op("mod", In, 30, [](F a) {
    const long long x = RoundToInt64(a[0]), y = RoundToInt64(a[1]);
    if (y == 0) throw EMathError(kDivisionByZero);
    return static_cast<float>(x % y);
  });
  op("+", In, 40, [](F a) { return a[0] + a[1]; });
  op("-", In, 40, [](F a) { return a[0] - a[1]; });

  const float eps = 1e-30f;
  auto cmp = [&](const char* name, expr::TMathFunction f, expr::TStringFunction s) {
    op(name, In, 50, std::move(f)).stringFunction = std::move(s);
  };
  auto b = [](bool v) { return v ? 1.0f : 0.0f; };
  cmp(
      ">", [=](F a) { return b(a[0] > a[1]); },
      [=](const std::string& x, const std::string& y) { return b(x > y); });
  cmp(
      ">=", [=](F a) { return b(a[0] + eps >= a[1]); },
      [=](const std::string& x, const std::string& y) { return b(x >= y); });
  cmp(
      "<=", [=](F a) { return b(a[1] + eps >= a[0]); },
      [=](const std::string& x, const std::string& y) { return b(x <= y); });
  cmp(
      "<", [=](F a) { return b(!(a[0] >= a[1])); },
      [=](const std::string& x, const std::string& y) { return b(x < y); });
  cmp(
      "<>", [=](F a) { return b(std::fabs(double(a[0]) - double(a[1])) > double(eps)); },
      [=](const std::string& x, const std::string& y) { return b(x != y); });
  cmp(
      "=", [=](F a) { return b(std::fabs(double(a[0]) - double(a[1])) < double(eps)); },
      [=](const std::string& x, const std::string& y) { return b(x == y); });
  {
    TExprWord& in = op("in", In, 10, nullptr);
    in.kind = EWordKind::kStringOperator;
    in.stringFunction = [](const std::string& x, const std::string& list) {
      size_t start = 0;
      for (;;) {
        const size_t comma = list.find(',', start);
        const std::string item =
            list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (item == x) return 1.0f;
        if (comma == std::string::npos) return 0.0f;
        start = comma + 1;
      }
    };
  }
  op("not", Pre, 60, [](F a) { return static_cast<float>((RoundToInt64(a[0]) % 256) ^ 1); });
  op("or", In, 70, [](F a) { return static_cast<float>(RoundToInt64(a[0]) | RoundToInt64(a[1])); });
  op("and", In, 70, [](F a) { return static_cast<float>(RoundToInt64(a[0]) & RoundToInt64(a[1])); });
  op("xor", In, 70, [](F a) { return static_cast<float>(RoundToInt64(a[0]) ^ RoundToInt64(a[1])); });
  op(":=", In, 200, nullptr).assignment = true;

  DefineConstant("pi", std::numbers::pi_v<float>);
  words_.Find("pi")->description = "pi = 3.1415926535897932385";
  fn(
      "random", 0, "random number between 0 and 1", [](F) { return static_cast<float>(RandomFloat()); },
      true);
  fn(
      "random_int", 1, "random number between 0 and Argument1",
      [](F a) { return static_cast<float>(RandomInt(TruncToInt32(std::trunc(a[0])))); }, true);
  fn("exp", 1, "the value of e raised to the power of x",
     [](F a) { return CheckResult(std::exp(double(a[0]))); });
  fn("if", 3, "if x=True(or 1) then y else z",
     [](F a) { return RoundToInt64(a[0]) % 256 != 0 ? a[1] : a[2]; });
  fn(
      "randg", 2, "draw from normal distrib. (mean=x, sd =y)",
      [](F a) { return CheckResult(RandomGauss(a[0], a[1])); }, true);
  fn("sqr", 1, "the square of a number (x*x)", [](F a) { return a[0] * a[0]; });
  fn("sqrt", 1, "the square root of a number", [](F a) {
    if (a[0] < 0) throw EMathError(kInvalidOperation);
    return std::sqrt(a[0]);
  });
  fn("abs", 1, "absolute value", [](F a) { return std::fabs(a[0]); });
  fn("round", 1, "round to the nearest integer", [](F a) { return std::nearbyint(a[0]); });
  fn("trunc", 1, "truncates a real number to an integer", [](F a) { return std::trunc(a[0]); });
  fn("ln", 1, "natural logarithm of x", [](F a) { return CheckResult(std::log(Positive(a[0]))); });
  fn("log10", 1, "logarithm base 10 of x", [](F a) { return CheckResult(std::log10(Positive(a[0]))); });
  fn("logN", 2, "logarithm base x of y", [](F a) {
    const double base = std::log(Positive(a[0]));
    if (base == 0.0) throw EMathError(kDivisionByZero);
    return CheckResult(std::log(Positive(a[1])) / base);
  });
  auto power = [](F a) { return Power(a[0], a[1]); };
  fn("power", 2, "power: x^y", power);
  fn("pow", 2, "power: x^y", power);
  fn("intpower", 2, "integer power: x^y",
     [](F a) { return Power(a[0], static_cast<double>(RoundToInt64(a[1]))); });
  fn("max", 2, "the maximum of both arguments", [](F a) { return a[0] > a[1] ? a[0] : a[1]; });
  fn("min", 2, "the minimum of both arguments", [](F a) { return a[0] < a[1] ? a[0] : a[1]; });
  auto unary = [&](const char* name, const char* description, double (*f)(double)) {
    fn(name, 1, description, [f](F a) { return CheckResult(f(a[0])); });
  };
  unary("sin", "sine of an angle in rad", [](double x) { return std::sin(x); });
  unary("cos", "cosine of an angle in rad", [](double x) { return std::cos(x); });
  unary("tan", "tangent of an angle in rad", [](double x) { return std::tan(x); });
  unary("arcsin", "inverse sine in rad", [](double x) { return std::asin(x); });
  unary("arccos", "inverse cosine in rad", [](double x) { return std::acos(x); });
  unary("arctan", "inverse tangent (x/y) in rad", [](double x) { return std::atan(x); });
  fn("arctan2", 2, "inverse tangent (x/y) in rad",
     [](F a) { return CheckResult(std::atan2(double(a[0]), double(a[1]))); });
  unary("sinh", "hyperbolic sine of an angle in rad", [](double x) { return std::sinh(x); });
  unary("cosh", "hyperbolic sine of an angle in rad", [](double x) { return std::cosh(x); });
  unary("tanh", "hyperbolic tangent of an angle in rad", [](double x) { return std::tanh(x); });
  unary("arcsinh", "inverse sine in rad", [](double x) { return std::asinh(x); });
  unary("arccosh", "inverse hyperbolic cosine in rad", [](double x) { return std::acosh(x); });
  unary("arctanh", "inverse hyperbolic tangent in rad", [](double x) { return std::atanh(x); });
  unary("degtorad", "conversion of degrees to radians",
        [](double x) { return x * (std::numbers::pi / 180.0); });
  unary("radtodeg", "conversion of rad to degrees", [](double x) { return x * (180.0 / std::numbers::pi); });
  DefineStringFunction("pos", "Position in of substring in string",
                       [](const std::string& sub, const std::string& s) {
                         if (sub.empty()) return 0.0f;
                         const size_t p = s.find(sub);
                         return p == std::string::npos ? 0.0f : static_cast<float>(p + 1);
                       });
}

}  // namespace qv
