#include "functions/ExpressionParser.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <string>
#include <vector>

#include "core/Random.h"
#include "functions/FloatToInt.h"

namespace qv {
namespace {

struct Case {
  const char* text;
  float value;
};

float Eval(const std::string& text) {
  TExpressionParser parser;
  const int index = parser.CompileOrThrow(text);
  return parser.Evaluate(index);
}

std::string CompileError(const std::string& text) {
  TExpressionParser parser;
  EXPECT_EQ(parser.Compile(text), -1) << text;
  return parser.LastError();
}

TEST(ExpressionParser, PrioritiesAndGrouping) {
  const std::vector<Case> cases = {
      {"2+3*4", 14},
      {"(2+3)*4", 20},
      {"2^3^2", 64},
      {"-2^2", 4},
      {"2*3+4", 10},
      {"1-2-3", -4},
      {"12/2/3", 2},
      {"2*3^2", 18},
      {"((((7))))", 7},
      {"2^-1", 0.5f},
      {"-2*3", -6},
      {"2*-3", -6},
      {"10 div 3", 3},
      {"-7 mod 3", -1},
      {"7 mod -3", 1},
      {"1 + 2 = 3", 1},
      {"1 < 2 and 3 > 2", 1},
      {"not 1 = 1", 0},
      {"2 + 3 > 4", 1},
      {"3! * 2 + 1", 13},
      {"2 * 3!", 12},
      {"200 * 10%", 20},
      {"sin(0) + cos(0) * 2", 2},
  };
  for (const auto& c : cases) EXPECT_FLOAT_EQ(Eval(c.text), c.value) << c.text;
}

TEST(ExpressionParser, UnarySignsNotAndIntegerPower) {
  const std::vector<Case> cases = {
      {"- - -2", -2},         {"+-+2", -2},         {"- -2", 2},    {"1 - -2", 3},
      {"1 + +2", 3},          {"5 - -2", 7},        {"not 0", 1},   {"not 1", 0},
      {"not not 5", 5},       {"not not not 0", 1}, {"(-2)^3", -8}, {"-2^3", -8},
      {"2^0.5", 1.41421354f}, {"x++", 1},           {"4--", 3},     {"2 * 3++", 8},
      {"(-8)^2", 64},         {"2^10", 1024},       {"9^0.5", 3},
  };
  for (const auto& c : cases) EXPECT_FLOAT_EQ(Eval(c.text), c.value) << c.text;
  // A real power of a negative base fails where the integer power does not.
  EXPECT_THROW(Eval("(-8)^(1/3)"), EMathError);
  EXPECT_FLOAT_EQ(Eval("(-8)^3"), -512);
}

TEST(ExpressionParser, DoubledSignsAndSignsAfterOperators) {
  // "++" and "--" are the postfix increment and decrement, never two signs.
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"--2", "Error in math expression: Syntax error: function or operand has too few arguments"},
      {"++2", "Error in math expression: Syntax error: function or operand has too few arguments"},
      {"1--2", "Error in math expression: Can not find operand/function"},
      {"1++2", "Error in math expression: Can not find operand/function"},
      // A sign after any operator, postfix ones included, is unary.
      {"3! + 1", "Error in math expression: Can not find operand/function"},
      {"50% - 1", "Error in math expression: Can not find operand/function"},
      {"4-- -1", "Error in math expression: Can not find operand/function"},
      // A right operand ends at the next operator of equal or greater
      // priority, prefix ones too: "not" (60) binds looser than "+" (40).
      {"1 + not 0", "Error in math expression: Syntax error: function or operand has too few arguments"},
      {"1 = not 0", "Error in math expression: Syntax error: function or operand has too few arguments"},
      {"-not 1", "Error in math expression: Syntax error: function or operand has too few arguments"},
  };
  for (const auto& [text, message] : cases) EXPECT_EQ(CompileError(text), message) << text;
  EXPECT_EQ(Eval("1 and not 0"), 1.0f);
  EXPECT_EQ(Eval("x := not 0"), 1.0f);
  EXPECT_EQ(Eval("not -1"), -2.0f);
  // (-3)!, as "!" has the priority of "-@": no factorial.
  EXPECT_EQ(CompileError("-3!"), "Error in math expression: Invalid floating point operation");
}

TEST(ExpressionParser, RoundingHalvesToEvenAndFloatResults) {
  EXPECT_EQ(Eval("round(2.5)"), 2.0f);
  EXPECT_EQ(Eval("round(3.5)"), 4.0f);
  EXPECT_EQ(Eval("round(-2.5)"), -2.0f);
  EXPECT_EQ(Eval("7 div 2.5"), 3.0f);  // round(2.5) = 2
  EXPECT_EQ(Eval("trunc(-2.7)"), -2.0f);
  EXPECT_EQ(Eval("1/3 = 1/3"), 1.0f);
  EXPECT_EQ(Eval("0.1+0.2"), 0.1f + 0.2f);
  EXPECT_EQ(Eval("pi"), 3.14159274f);
  EXPECT_EQ(Eval("$ff + 1"), 256.0f);
  EXPECT_EQ(Eval("1.5e3"), 1500.0f);
  EXPECT_EQ(Eval("if(2 > 1, 10, 20)"), 10.0f);
  EXPECT_EQ(Eval("if(256, 10, 20)"), 20.0f);  // 256 mod 256 = 0 is false
  EXPECT_EQ(Eval("5 xor 3"), 6.0f);
  EXPECT_EQ(Eval("logn(2, 8)"), 3.0f);
  EXPECT_EQ(Eval("max(2, min(7, 5))"), 5.0f);
}

TEST(ExpressionParser, StringOperands) {
  EXPECT_EQ(Eval("'b' in 'a,b,c'"), 1.0f);
  EXPECT_EQ(Eval("'d' in 'a,b,c'"), 0.0f);
  EXPECT_EQ(Eval("'abc' < 'abd'"), 1.0f);
  EXPECT_EQ(Eval("'abc' = 'abc'"), 1.0f);
  EXPECT_EQ(Eval("'abc' <> 'abc'"), 0.0f);
  EXPECT_EQ(Eval("pos('c', 'abcd') + 1"), 4.0f);
  EXPECT_EQ(Eval("pos('x', 'abcd')"), 0.0f);
  EXPECT_EQ(CompileError("'a' + 'b'"), "Error in math expression: + is not a valid string operand");
  EXPECT_EQ(CompileError("'a' * 2"), "Error in math expression: * is not a valid string operand");
  // A string that is not an operand of a string operation still meets the
  // neighbour checks first.
  EXPECT_EQ(CompileError("x 'a'"), "Error in math expression: x two space limited variables/constants");
  EXPECT_EQ(CompileError("(1) 'a'"),
            "Error in math expression: Missing operand between ) and constant/variable");
  EXPECT_EQ(CompileError("max('a', 1)"), "Error in math expression: Syntax error in expression max('a', 1)");
}

TEST(ExpressionParser, CompileErrorMessages) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"x y", "Error in math expression: x two space limited variables/constants"},
      {"2 3", "Error in math expression: 2 two space limited variables/constants"},
      {"foo(1)", "Error in math expression: foo is an unknown function"},
      {"()", "Error in math expression: Empty brackets ()"},
      {"(1)(2)", "Error in math expression: Missing operand between )("},
      {"(1) 2", "Error in math expression: Missing operand between ) and constant/variable"},
      {"2 (1)", "Error in math expression: Missing operand between constant/variable and ("},
      {"pi(1)", "Error in math expression: Missing operand between constant/variable and ("},
      {"(1+2", "Error in math expression: Unequal brackets"},
      {"1)+(2", "Error in math expression: Unequal brackets"},
      {"1,2", "Error in math expression: Syntax error in expression 1,2"},
      {"sin(1,2)", "Error in math expression: Syntax error in expression sin(1,2)"},
      {"max(1)", "Error in math expression: Syntax error: function or operand has too few arguments"},
      {"1+", "Error in math expression: Syntax error: function or operand has too few arguments"},
      {"*2", "Error in math expression: Syntax error: function or operand has too few arguments"},
      {"sin", "Error in math expression: Syntax error: function or operand has too few arguments"},
      {"sin(1) 2", "Error in math expression: Missing operand between ) and constant/variable"},
      {"3! 2", "Error in math expression: Can not find operand/function"},
      {"1/0", "Error in math expression: Division by zero"},
      {"ln(-1)", "Error in math expression: Invalid floating point operation"},
      {"0^-1", "Error in math expression: Division by zero"},
      {"1e39", "Error in math expression: Floating point overflow"},
  };
  for (const auto& [text, message] : cases) EXPECT_EQ(CompileError(text), message) << text;
  TExpressionParser parser;
  EXPECT_EQ(parser.Compile(""), -1);
  EXPECT_EQ(parser.Compile("   "), -1);
}

TEST(ExpressionParser, NumbersBeyondTheDoubleRange) {
  // Such numbers used to read as 0.
  const std::string overflow = "Error in math expression: Floating point overflow";
  EXPECT_EQ(CompileError("1e400"), overflow);
  EXPECT_EQ(CompileError(std::string(400, '9')), overflow);
  EXPECT_EQ(CompileError("0.00001e400"), overflow);
  EXPECT_EQ(CompileError("1e99999999999999999999"), overflow);
  EXPECT_EQ(CompileError("1e39"), overflow);
  EXPECT_EQ(Eval("1e-400"), 0.0f);
  EXPECT_EQ(Eval("0." + std::string(400, '0') + "1"), 0.0f);
  EXPECT_EQ(Eval("100000e-405"), 0.0f);
  EXPECT_EQ(Eval("1e-99999999999999999999"), 0.0f);
  EXPECT_EQ(Eval("1e-50"), 0.0f);
  EXPECT_EQ(Eval("3.4e38"), 3.4e38f);
}

TEST(ExpressionParser, BadTextFailsCleanly) {
  TExpressionParser parser;
  EXPECT_EQ(parser.Compile(std::string(1000, '(')), -1);
  EXPECT_EQ(parser.LastError(), "Error in math expression: Unequal brackets");
  // Balanced but deep: brackets around the whole text are stripped.
  EXPECT_EQ(Eval(std::string(1000, '(') + "1" + std::string(1000, ')')), 1.0f);
  std::string nested;
  for (int i = 0; i < 1000; ++i) nested += "sin(";
  nested += "1" + std::string(1000, ')');
  EXPECT_EQ(parser.Compile(nested), -1);
  EXPECT_EQ(parser.LastError(), "Error in math expression: Expression is nested too deeply");
  for (const char* garbage : {"@#~&|", "'unterminated", ":= 1", "1 := 2", "((,))", "sin(,)", "..5"})
    EXPECT_EQ(parser.Compile(garbage), -1) << garbage;
  std::string bytes;
  for (int i = 1; i < 256; ++i) bytes += static_cast<char>(i);
  EXPECT_EQ(parser.Compile(bytes), -1);
  EXPECT_EQ(parser.ExpressionCount(), 0);
}

TEST(ExpressionParser, RandomTokenSoupNeverEscapesTheParser) {
  // Compiling and evaluating any sequence of tokens either works or raises
  // the parser's own exceptions.
  const char* pieces[] = {"1",  "2.5", "x",  "y",  "pi",  "random", "(",     ")",   ",",     "+",
                          "-",  "*",   "/",  "^",  "!",   "%",      "not",   "and", "mod",   "div",
                          ":=", "=",   "<",  ">=", "<>",  "'a'",    "'a,b'", "in",  "sin",   "max",
                          "if", "pos", "++", "--", "$1f", "e",      "1e3",   "@",   "round", "random_int"};
  const int count = sizeof(pieces) / sizeof(pieces[0]);
  TExpressionParser parser;
  uint32_t state = 12345;
  auto next = [&state](int n) {
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state >> 8) % static_cast<uint32_t>(n));
  };
  int compiled = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string text;
    const int length = 1 + next(10);
    for (int k = 0; k < length; ++k) text += std::string(pieces[next(count)]) + (next(3) ? "" : " ");
    try {
      const int index = parser.Compile(text);
      if (index < 0) continue;
      ++compiled;
      parser.Evaluate(index);
    } catch (const EParserException&) {
    }
    if (parser.ExpressionCount() > 100) parser.ClearExpressions();
  }
  EXPECT_GT(compiled, 100);
}

TEST(ExpressionParser, EvaluationErrorsThrowAndFoldingMakesThemCompileErrors) {
  TExpressionParser parser;
  float x = 0.0f;
  parser.DefineVariable("x", &x);
  const int div = parser.Compile("1/x");
  ASSERT_GE(div, 0);
  EXPECT_THROW(parser.Evaluate(div), EMathError);
  x = 4.0f;
  EXPECT_EQ(parser.Evaluate(div), 0.25f);
  // Both branches of "if" are evaluated.
  x = 0.0f;
  const int guarded = parser.Compile("if(x <> 0, 1/x, 0)");
  EXPECT_THROW(parser.Evaluate(guarded), EMathError);
  EXPECT_THROW(parser.Evaluate(parser.Compile("x mod 0")), EMathError);
  EXPECT_THROW(parser.Evaluate(parser.Compile("sqrt(x - 1)")), EMathError);
  EXPECT_THROW(parser.Evaluate(parser.Compile("(x + 1e30) * 1e30")), EMathError);
  EXPECT_THROW(parser.Evaluate(parser.Compile("(x + 1e30) div 1")), EMathError);  // beyond 64 bits
  EXPECT_EQ(parser.Compile("70!"), -1);
  EXPECT_EQ(parser.LastError(), "Error in math expression: Floating point overflow");
}

TEST(ExpressionParser, FactorialOnlyOfWholeNumbersFromZero) {
  const std::vector<Case> cases = {
      {"0!", 1},        {"1!", 1},          {"2!", 2},     {"5!", 120},
      {"10!", 3628800}, {"3! * 2 + 1", 13}, {"(1+2)!", 6}, {"34!", 2.95232791e38f}};
  for (const auto& c : cases) EXPECT_FLOAT_EQ(Eval(c.text), c.value) << c.text;
  // A negative number or a fraction used to give 1 without a word.
  for (const char* text : {"(0-3)!", "(-1)!", "(-0.5)!", "0.5!", "2.5!", "(1/3)!"})
    EXPECT_EQ(CompileError(text), "Error in math expression: Invalid floating point operation") << text;
  EXPECT_EQ(CompileError("35!"), "Error in math expression: Floating point overflow");
  TExpressionParser parser;
  float x = -3.0f;
  parser.DefineVariable("x", &x);
  const int index = parser.Compile("x!");
  ASSERT_GE(index, 0);
  EXPECT_THROW(parser.Evaluate(index), EMathError);
  x = std::numeric_limits<float>::quiet_NaN();
  EXPECT_THROW(parser.Evaluate(index), EMathError);
  x = std::numeric_limits<float>::infinity();
  EXPECT_THROW(parser.Evaluate(index), EMathError);
  x = 4.0f;
  EXPECT_EQ(parser.Evaluate(index), 24.0f);
}

TEST(ExpressionParser, ProgramsWithAssignments) {
  TExpressionParser parser;
  ASSERT_TRUE(parser.CompileProgram("a := 2\r\n// a := 100\n\n   a*3  \n"));
  EXPECT_EQ(parser.ExpressionCount(), 2);
  EXPECT_EQ(parser.EvaluateProgram(), 6.0f);
  EXPECT_EQ(parser.GetVariable("a"), 2.0f);

  ASSERT_TRUE(parser.CompileProgram("// nothing"));
  EXPECT_EQ(parser.EvaluateProgram(), 0.0f);

  EXPECT_FALSE(parser.CompileProgram("b := 1\nb b"));
  EXPECT_EQ(parser.ExpressionCount(), 0);
  EXPECT_EQ(parser.LastError(), "Error in math expression: b two space limited variables/constants");
}

TEST(ExpressionParser, VariablesFunctionsAndReplacement) {
  TExpressionParser parser;
  float t = 0.5f, out = 0.0f;
  parser.DefineVariable("T", &t);
  parser.DefineVariable("out", &out);
  const int index = parser.Compile("out := t * 2");
  ASSERT_GE(index, 0);
  EXPECT_EQ(parser.Evaluate(index), 1.0f);
  EXPECT_EQ(out, 1.0f);
  t = 3.0f;
  parser.Evaluate(index);
  EXPECT_EQ(out, 6.0f);

  int calls = 0;
  parser.DefineFunction("twice", "doubles", 1, [&calls](const float* a) {
    ++calls;
    return a[0] * 2;
  });
  const int folded = parser.Compile("twice(4)");
  EXPECT_EQ(calls, 1);  // folded once at compile time
  EXPECT_EQ(parser.Evaluate(folded), 8.0f);
  EXPECT_EQ(calls, 1);
  parser.DefineFunction(
      "tick", "counts", 0, [&calls](const float*) { return float(++calls); }, true);
  const int varying = parser.Compile("tick");
  EXPECT_EQ(parser.Evaluate(varying), 2.0f);
  EXPECT_EQ(parser.Evaluate(varying), 3.0f);
  EXPECT_THROW(parser.DefineFunction("seven", "", 7, [](const float*) { return 0.0f; }), EParserException);

  parser.DefineFunction("half", "halves", 1, [](const float* a) { return a[0] / 2; });
  EXPECT_TRUE(parser.ReplaceWord("twice", "half"));
  EXPECT_EQ(parser.Evaluate(parser.Compile("twice(4)")), 2.0f);
  try {
    parser.ReplaceWord("twice", "max");
    FAIL();
  } catch (const EParserException& e) {
    EXPECT_STREQ(e.what(),
                 "Error in math expression: Cannot replace variable/function: "
                 "the numbers of arguments differ");
  }
  parser.DefineVariable("own", nullptr);
  EXPECT_EQ(parser.Evaluate(parser.Compile("own := 4")), 4.0f);
  EXPECT_EQ(parser.GetVariable("own"), 4.0f);
  ASSERT_NE(parser.FindWord("sinh"), nullptr);
  EXPECT_EQ(parser.FindWord("sinh")->description, "hyperbolic sine of an angle in rad");
  EXPECT_EQ(parser.FindWord("LOGN")->argCount, 2);
}

TEST(ExpressionParser, RandomDrawsFromTheProgramGenerator) {
  SetRandomSeed(42);
  const float expected = static_cast<float>(RandomFloat());
  const int32_t expectedInt = RandomInt(10);
  SetRandomSeed(42);
  TExpressionParser parser;
  const int r = parser.Compile("random");
  const int ri = parser.Compile("random_int(10.9)");
  EXPECT_EQ(parser.Evaluate(r), expected);
  EXPECT_EQ(parser.Evaluate(ri), static_cast<float>(expectedInt));
  for (int i = 0; i < 100; ++i) {
    const float v = parser.Evaluate(r);
    EXPECT_GE(v, 0.0f);
    EXPECT_LT(v, 1.0f);
  }
}

TEST(ExpressionParser, EveryErrorCarriesThePrefix) {
  const std::string prefix = "Error in math expression: ";
  auto hasPrefix = [&prefix](const std::string& message) { return message.rfind(prefix, 0) == 0; };
  // Compile errors, math errors met while folding, and damaged texts.
  for (const char* text : {"(1+2", ")1+2(", "'a' + 'b'", "1e39", "$ffffffffffffffffffffffffffffffffff", "1/0",
                           "ln(0)", "x y", "()", "1,2", "sin", "3! 2", "'open", "(0-3)!"}) {
    TExpressionParser parser;
    EXPECT_EQ(parser.Compile(text), -1) << text;
    EXPECT_TRUE(hasPrefix(parser.LastError())) << text << ": " << parser.LastError();
  }
  const char* pieces[] = {"1", "x", "(",   ")",  ",",   "+", "-",  "/",
                          "^", "!", "'a'", "in", "max", "0", ":=", "ln"};
  uint32_t state = 7;
  TExpressionParser parser;
  float x = 0.0f;
  parser.DefineVariable("x", &x);
  for (int i = 0; i < 5000; ++i) {
    std::string text;
    for (int k = 0; k < 1 + static_cast<int>(i % 7); ++k) {
      state = state * 1103515245u + 12345u;
      text += pieces[(state >> 8) % (sizeof(pieces) / sizeof(pieces[0]))];
    }
    const int index = parser.Compile(text);
    if (index < 0) {
      EXPECT_TRUE(hasPrefix(parser.LastError())) << text << ": " << parser.LastError();
      continue;
    }
    try {
      parser.Evaluate(index);
    } catch (const EMathError& e) {
      EXPECT_TRUE(hasPrefix(e.what())) << text << ": " << e.what();
    }
    if (parser.ExpressionCount() > 100) parser.ClearExpressions();
  }
  // Definitions and replacements.
  try {
    parser.DefineFunction("seven", "", 7, [](const float*) { return 0.0f; });
    ADD_FAILURE() << "seven arguments accepted";
  } catch (const EParserException& e) {
    EXPECT_STREQ(e.what(), "Error in math expression: Too many arguments");
  }
  EXPECT_THROW(parser.ReplaceWord("sin", "max"), EParserException);
}

TEST(ExpressionParser, DescriptionsSayWhatTheWordsDo) {
  TExpressionParser parser;
  const std::vector<std::pair<const char*, const char*>> descriptions = {
      {"pi", "pi = 3.1415926535897932385"},
      {"random", "random number between 0 and 1"},
      {"random_int", "random integer from 0 to trunc(x) - 1"},
      {"if", "if x is true (round(x) mod 256 <> 0) then y else z"},
      {"round", "round to the nearest integer, halves to even"},
      {"intpower", "integer power: x^round(y)"},
      {"arctan", "inverse tangent in rad"},
      {"arctan2", "inverse tangent (x/y) in rad"},
      {"sinh", "hyperbolic sine of an angle in rad"},
      {"cosh", "hyperbolic cosine of an angle in rad"},
      {"arcsinh", "inverse hyperbolic sine in rad"},
      {"arccosh", "inverse hyperbolic cosine in rad"},
      {"pos", "position of substring x in string y (from 1; 0 when absent)"},
  };
  for (const auto& [name, description] : descriptions) {
    ASSERT_NE(parser.FindWord(name), nullptr) << name;
    EXPECT_EQ(parser.FindWord(name)->description, description) << name;
  }
  // Words that do different things never share a description (a copied
  // line once described cosh as the hyperbolic sine); "pow" is "power".
  const char* functions[] = {"random",   "random_int", "exp",      "if",       "randg", "sqr",  "sqrt",
                             "abs",      "round",      "trunc",    "ln",       "log10", "logn", "power",
                             "intpower", "max",        "min",      "sin",      "cos",   "tan",  "arcsin",
                             "arccos",   "arctan",     "arctan2",  "sinh",     "cosh",  "tanh", "arcsinh",
                             "arccosh",  "arctanh",    "degtorad", "radtodeg", "pos"};
  std::map<std::string, std::string> seen;
  for (const char* name : functions) {
    const auto* word = parser.FindWord(name);
    ASSERT_NE(word, nullptr) << name;
    EXPECT_FALSE(word->description.empty()) << name;
    const auto [it, fresh] = seen.emplace(word->description, name);
    EXPECT_TRUE(fresh) << name << " and " << it->second << " share \"" << word->description << "\"";
  }
  EXPECT_EQ(parser.FindWord("pow")->description, parser.FindWord("power")->description);
  // The arguments the descriptions name are the ones the words take.
  EXPECT_EQ(Eval("pos('cd', 'abcd')"), 3.0f);
  EXPECT_EQ(Eval("intpower(2, 2.6)"), 8.0f);
  EXPECT_FLOAT_EQ(Eval("arctan2(1, 0)"), 1.57079637f);
  EXPECT_FLOAT_EQ(Eval("cosh(0)"), 1.0f);
  EXPECT_FLOAT_EQ(Eval("arcsinh(sinh(0.5))"), 0.5f);
}

TEST(ExpressionParser, IntegerConversionsOfNonFiniteValuesFail) {
  TExpressionParser parser;
  float x = 0.0f;
  parser.DefineVariable("x", &x);
  // Each of these converts x to an integer.
  const char* texts[] = {"random_int(x)", "x div 2",     "x mod 2",       "not x",
                         "x and 1",       "if(x, 1, 2)", "intpower(2, x)"};
  for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                    -std::numeric_limits<float>::infinity()}) {
    x = bad;
    for (const char* text : texts) {
      const int index = parser.Compile(text);
      ASSERT_GE(index, 0) << text;
      try {
        parser.Evaluate(index);
        ADD_FAILURE() << text << " with " << bad;
      } catch (const EMathError& e) {
        EXPECT_STREQ(e.what(), "Error in math expression: Invalid floating point operation") << text;
      }
    }
  }
  // Finite values beyond 32 bits saturate: the draw stays below 2^31 - 1.
  x = 1e10f;
  const int draw = parser.Compile("random_int(x)");
  for (int i = 0; i < 20; ++i) {
    const float v = parser.Evaluate(draw);
    EXPECT_GE(v, 0.0f);
    EXPECT_LT(v, 2147483648.0f);
  }
  x = -5.0f;
  EXPECT_EQ(parser.Evaluate(draw), 0.0f);
}

TEST(ExpressionParser, TruncSaturatedCoversTheWholeFloatLine) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(TruncSaturated<int32_t>(nan), 0);
  EXPECT_EQ(TruncSaturated<int32_t>(inf), 2147483647);
  EXPECT_EQ(TruncSaturated<int32_t>(-inf), -2147483647 - 1);
  EXPECT_EQ(TruncSaturated<int32_t>(2147483647.5), 2147483647);
  EXPECT_EQ(TruncSaturated<int32_t>(2147483646.9), 2147483646);
  EXPECT_EQ(TruncSaturated<int32_t>(-2147483648.9), -2147483647 - 1);
  EXPECT_EQ(TruncSaturated<int32_t>(-2.7), -2);
  EXPECT_EQ(TruncSaturated<long long>(9.3e18), 9223372036854775807LL);
  EXPECT_EQ(TruncSaturated<long long>(-9.3e18), -9223372036854775807LL - 1);
  EXPECT_EQ(TruncSaturated<long long>(9223372036854774784.0), 9223372036854774784LL);  // largest below 2^63
  EXPECT_EQ(TruncSaturated<int>(1e30f), 2147483647);
}

TEST(ExpressionParser, SeparatorSettings) {
  TExpressionParser parser;
  parser.SetDecimalSeparator(',');
  parser.SetArgSeparator(';');
  EXPECT_EQ(parser.Evaluate(parser.CompileOrThrow("max(1,5; 2) * 2")), 4.0f);
  EXPECT_EQ(parser.Compile("1.5"), -1);
}

}  // namespace
}  // namespace qv
