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

const char kEvalHelp[] =
    "Compiles TEXT as one expression, or FILE as a program (one statement per\n"
    "line; lines are trimmed, empty lines and lines starting with \"//\" are\n"
    "skipped; \":=\" assigns variables for later lines), with \".\" as the decimal\n"
    "separator and \",\" as the argument separator, evaluates it and prints the\n"
    "value. Names are case-insensitive; an unknown name is a variable holding 0.\n"
    "\n"
    "options:\n"
    "  --seed N          seeds the random generator first (a whole number, taken\n"
    "                    modulo 2^32), so random, random_int and randg repeat\n"
    "  --var NAME=VALUE  a variable NAME holding the number VALUE (within the\n"
    "                    32-bit float range); repeatable\n"
    "  --program FILE    compiles FILE (\"-\": standard input) instead of TEXT\n"
    "  TEXT              the expression, such as 'sin(t*pi)*0.5+x'; it may start\n"
    "                    with \"-\" or \"--\" (a lone \"--\" before it is dropped)\n"
    "\n"
    "output: the value as a 32-bit float with up to 9 significant digits, one\n"
    "line; for a program the value of its last statement (0 when it has none).\n"
    "\n"
    "exit codes:\n"
    "  0  the value was printed\n"
    "  1  the text does not compile or its evaluation failed (division by zero,\n"
    "     invalid operation, overflow): the parser's message, starting with\n"
    "     \"Error in math expression: \", on standard error; or bad arguments\n";

const char kExpandHelp[] =
    "Loads the language file FILE, defines the run-time variables and prints\n"
    "the expansion of the macro text TEXT: a name between two percent signs\n"
    "becomes the value of the variable of that exact name, else the translated\n"
    "string of that name (letter case ignored), itself expanded and trimmed of\n"
    "blanks; a name that is neither becomes nothing, \"%%\" becomes \"%\" and a\n"
    "\"%\" without a partner stays.\n"
    "\n"
    "options:\n"
    "  --lang FILE       the language file (a storage file of <string name=...>\n"
    "                    entries); required\n"
    "  --var NAME=VALUE  a run-time variable; its value is not expanded again;\n"
    "                    repeatable, the last one of a name counts\n"
    "  TEXT              the macro text, such as '%greeting%, 100%%'\n"
    "\n"
    "output: the expanded text, one line. A string that refers to itself is\n"
    "cut after 32 nested strings or 4096 lookups, and a result is cut at 65536\n"
    "bytes; each cut is reported on standard error as\n"
    "\"data error: macro text \"TEXT\": ...\" (the exit code stays 0).\n"
    "\n"
    "exit codes:\n"
    "  0  the text was printed\n"
    "  1  the language file cannot be read or parsed, or bad arguments\n";

const char kFormatHelp[] =
    "Loads the language file FILE and prints a number or a time with the\n"
    "language's separators: the expansions of its strings thousand_separator\n"
    "and time_separator (a missing one joins the parts directly).\n"
    "\n"
    "arguments:\n"
    "  --lang FILE       the language file; required\n"
    "  thousands|time    what to format:\n"
    "    thousands N     the digits of N grouped by three from the right, a\n"
    "                    leading \"-\" for negative N: -1234567 -> -1,234,567\n"
    "    time SECONDS    minutes (not padded), the separator, then seconds as\n"
    "                    two digits: 65 -> 1:05; a negative time gets one\n"
    "                    leading minus: -61 -> -1:01\n"
    "  N, SECONDS        whole numbers in the signed 32-bit range\n"
    "\n"
    "output: the formatted text, one line.\n"
    "\n"
    "exit codes:\n"
    "  0  the text was printed\n"
    "  1  the language file cannot be read or parsed, a kind other than\n"
    "     thousands or time, N or SECONDS malformed or outside the 32-bit range\n";

}  // namespace

void RegisterTextCommands(TCommandTable& table) {
  table.Add({"eval", "[--seed N] [--var NAME=VALUE]... TEXT | --program FILE",
             "evaluate an expression (or a program file) and print its value", RunEval, kEvalHelp});
  table.Add({"expand", "--lang FILE [--var NAME=VALUE]... TEXT",
             "expand a macro text against a language file", RunExpand, kExpandHelp});
  table.Add({"format", "--lang FILE thousands N | time SECONDS",
             "format a number or a time with the language's separators", RunFormat, kFormatHelp});
}

}  // namespace qv::tool
