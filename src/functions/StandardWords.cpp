#include "functions/StandardWords.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>

#include "core/Random.h"
#include "functions/ExpressionErrors.h"
#include "functions/ExpressionMath.h"
#include "functions/FloatToInt.h"

namespace qv::expr {

void AddStandardWords(TExpressList& words) {
  auto op = [&words](const char* name, EFixity fixity, int priority, TMathFunction f) -> TExprWord& {
    auto w = std::make_unique<TExprWord>();
    w->name = name;
    w->kind = EWordKind::kOperator;
    w->fixity = fixity;
    w->priority = priority;
    w->argCount = fixity == EFixity::kInfix ? 2 : 1;
    w->function = std::move(f);
    return words.Add(std::move(w));
  };
  auto fn = [&words](const char* name, int argCount, const char* description, TMathFunction f,
                     bool varying = false) {
    auto w = std::make_unique<TExprWord>();
    w->name = name;
    w->kind = varying ? EWordKind::kVaryingFunction : EWordKind::kFunction;
    w->argCount = argCount;
    w->description = description;
    w->function = std::move(f);
    words.Add(std::move(w));
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
  op("^@", In, 20, [](F a) { return Power(a[0], static_cast<double>(RoundToInt64(a[1]))); });
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
  auto cmp = [&](const char* name, TMathFunction f, TStringFunction s) {
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

  {
    auto pi = std::make_unique<TExprWord>();
    pi->name = "pi";
    pi->kind = EWordKind::kConstant;
    pi->constant = std::numbers::pi_v<float>;
    pi->description = "pi = 3.1415926535897932385";
    words.Add(std::move(pi));
  }
  fn(
      "random", 0, "random number between 0 and 1", [](F) { return static_cast<float>(RandomFloat()); },
      true);
  fn(
      "random_int", 1, "random integer from 0 to trunc(x) - 1",
      [](F a) {
        // A cell may hold NaN or an infinity: no count to draw below.
        if (!std::isfinite(a[0])) throw EMathError(kInvalidOperation);
        return static_cast<float>(RandomInt(TruncSaturated<int32_t>(a[0])));
      },
      true);
  fn("exp", 1, "the value of e raised to the power of x",
     [](F a) { return CheckResult(std::exp(double(a[0]))); });
  fn("if", 3, "if x is true (round(x) mod 256 <> 0) then y else z",
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
  fn("round", 1, "round to the nearest integer, halves to even", [](F a) { return std::nearbyint(a[0]); });
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
  fn("intpower", 2, "integer power: x^round(y)",
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
  unary("arctan", "inverse tangent in rad", [](double x) { return std::atan(x); });
  fn("arctan2", 2, "inverse tangent (x/y) in rad",
     [](F a) { return CheckResult(std::atan2(double(a[0]), double(a[1]))); });
  unary("sinh", "hyperbolic sine of an angle in rad", [](double x) { return std::sinh(x); });
  unary("cosh", "hyperbolic cosine of an angle in rad", [](double x) { return std::cosh(x); });
  unary("tanh", "hyperbolic tangent of an angle in rad", [](double x) { return std::tanh(x); });
  unary("arcsinh", "inverse hyperbolic sine in rad", [](double x) { return std::asinh(x); });
  unary("arccosh", "inverse hyperbolic cosine in rad", [](double x) { return std::acosh(x); });
  unary("arctanh", "inverse hyperbolic tangent in rad", [](double x) { return std::atanh(x); });
  unary("degtorad", "conversion of degrees to radians",
        [](double x) { return x * (std::numbers::pi / 180.0); });
  unary("radtodeg", "conversion of rad to degrees", [](double x) { return x * (180.0 / std::numbers::pi); });
  {
    auto pos = std::make_unique<TExprWord>();
    pos->name = "pos";
    pos->kind = EWordKind::kStringFunction;
    pos->argCount = 2;
    pos->description = "position of substring x in string y (from 1; 0 when absent)";
    pos->stringFunction = [](const std::string& sub, const std::string& s) {
      if (sub.empty()) return 0.0f;
      const size_t p = s.find(sub);
      return p == std::string::npos ? 0.0f : static_cast<float>(p + 1);
    };
    words.Add(std::move(pos));
  }
}

}  // namespace qv::expr
