// Text commands of the data tool: expressions, macro texts and localised
// number formatting.
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <deque>
#include <string>

#include "Commands.h"
#include "core/Parsing.h"
#include "core/Random.h"
#include "functions/ExpressionParser.h"
#include "localisation/MultiLanguages.h"

namespace qv::tool {

namespace {

std::pair<std::string, std::string> SplitVar(const std::string& text) {
  const size_t eq = text.find('=');
  if (eq == std::string::npos || eq == 0) throw EToolError("--var needs NAME=VALUE, not '" + text + "'");
  return {text.substr(0, eq), text.substr(eq + 1)};
}

int RunEval(TArgs& args) {
  const auto seed = args.Option("--seed");
  const auto program = args.Option("--program");
  const auto vars = args.Options("--var");
  const auto rest = args.Remaining();  // an expression may start with "--"
  if (program ? !rest.empty() : rest.size() != 1)
    throw EToolError("expected one expression TEXT or --program FILE");
  if (seed) SetRandomSeed(static_cast<uint32_t>(ParseIntArg(*seed, "--seed")));

  TExpressionParser parser;
  parser.SetDecimalSeparator('.');
  parser.SetArgSeparator(',');
  std::deque<float> storage;
  for (const auto& v : vars) {
    const auto [name, value] = SplitVar(v);
    const double d = ParseFloat(value, NAN);
    // A value beyond the float range would not convert (nor would NaN).
    if (!(std::fabs(d) <= FLT_MAX))
      throw EToolError("--var " + name + " needs a number in the float range, not '" + value + "'");
    storage.push_back(static_cast<float>(d));
    parser.DefineVariable(name, &storage.back());
  }
  try {
    float result;
    if (program) {
      if (!parser.CompileProgram(ReadInput(*program))) {
        std::fprintf(stderr, "%s\n", parser.LastError().c_str());
        return 1;
      }
      result = parser.EvaluateProgram();
    } else {
      const int index = parser.Compile(rest[0]);
      if (index < 0) {
        std::fprintf(stderr, "%s\n", parser.LastError().c_str());
        return 1;
      }
      result = parser.Evaluate(index);
    }
    std::printf("%.9g\n", static_cast<double>(result));
  } catch (const EParserException& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}

void LoadLanguageFile(const std::string& path) {
  if (!LoadLanguageFromFile(path)) throw EToolError("cannot load language file " + path);
}

int RunExpand(TArgs& args) {
  const auto lang = args.Option("--lang");
  const auto vars = args.Options("--var");
  const auto rest = args.Remaining();  // a text may start with "--"
  if (!lang) throw EToolError("--lang FILE is required");
  if (rest.size() != 1) throw EToolError("expected one TEXT");
  LoadLanguageFile(*lang);
  for (const auto& v : vars) {
    const auto [name, value] = SplitVar(v);
    SetTextVariable(name, value);
  }
  std::printf("%s\n", ExpandText(rest[0], true).c_str());
  return 0;
}

int RunFormat(TArgs& args) {
  const auto lang = args.Option("--lang");
  const auto rest = args.Positional();
  if (!lang) throw EToolError("--lang FILE is required");
  if (rest.size() != 2 || (rest[0] != "thousands" && rest[0] != "time"))
    throw EToolError("expected 'thousands N' or 'time SECONDS'");
  const long long n = ParseIntArg(rest[1], rest[0] == "time" ? "SECONDS" : "N");
  if (n < INT32_MIN || n > INT32_MAX) throw EToolError(rest[1] + " is outside the 32-bit range");
  LoadLanguageFile(*lang);
  const int32_t v = static_cast<int32_t>(n);
  std::printf("%s\n", (rest[0] == "time" ? FormatTime(v) : FormatThousands(v)).c_str());
  return 0;
}

}  // namespace

void RegisterTextCommands(TCommandTable& table) {
  table.Add({"eval", "[--seed N] [--var NAME=VALUE]... TEXT | --program FILE",
             "evaluate an expression (or a program file) and print its value", RunEval, ""});
  table.Add({"expand", "--lang FILE [--var NAME=VALUE]... TEXT",
             "expand a macro text against a language file", RunExpand, ""});
  table.Add({"format", "--lang FILE thousands N | time SECONDS",
             "format a number or a time with the language's separators", RunFormat, ""});
}

}  // namespace qv::tool
