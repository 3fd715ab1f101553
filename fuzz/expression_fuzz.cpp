// Expressions as functions and the data tool compile them: the first line
// as one expression (evaluated twice, as a function cell is), the whole
// text as a program, with the two decimal/argument separator pairs data
// use and variables bound to the owner's cells.
#include "FuzzSupport.h"
#include "functions/ExpressionErrors.h"
#include "functions/ExpressionParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qv;
  if (size > 4096) return 0;  // far above any authored formula; keeps runs fast
  const std::string text(fuzz::Bytes(data, size));
  const bool comma = !text.empty() && (static_cast<unsigned char>(text.back()) & 1);
  float cells[3] = {1.5f, -2.0f, 1e30f};

  TExpressionParser parser;
  parser.SetDecimalSeparator(comma ? ',' : '.');
  parser.SetArgSeparator(comma ? ';' : ',');
  parser.DefineVariable("x", &cells[0]);
  parser.DefineVariable("y", &cells[1]);
  parser.DefineVariable("big", &cells[2]);
  parser.DefineVariable("own", nullptr);
  try {
    const size_t eol = text.find('\n');
    const int index = parser.Compile(text.substr(0, eol));
    if (index >= 0) {
      (void)parser.Evaluate(index);
      cells[0] = -cells[0];
      (void)parser.Evaluate(index);
    }
  } catch (const EParserException&) {
    // math errors are the callers' to catch
  }
  try {
    if (parser.CompileProgram(text)) (void)parser.EvaluateProgram();
  } catch (const EParserException&) {
  }
  return 0;
}
