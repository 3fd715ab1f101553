// Expression evaluation and macro expansion, the per-frame costs of
// animated values and texts.
#include <benchmark/benchmark.h>

#include "functions/ExpressionParser.h"
#include "localisation/MultiLanguages.h"

namespace {

void BM_EvaluateFormula(benchmark::State& state) {
  qv::TExpressionParser parser;
  float t = 0.25f, x = 1.0f;
  parser.DefineVariable("t", &t);
  parser.DefineVariable("x", &x);
  const int index = parser.CompileOrThrow("sin(t*pi)*0.5+x");
  for (auto _ : state) {
    t += 0.001f;
    benchmark::DoNotOptimize(parser.Evaluate(index));
  }
}
BENCHMARK(BM_EvaluateFormula);

void BM_EvaluateProgram(benchmark::State& state) {
  qv::TExpressionParser parser;
  float t = 0.0f, y = 0.0f, a = 3.0f;
  parser.DefineVariable("t", &t);
  parser.DefineVariable("y", &y);
  parser.DefineVariable("a", &a);
  parser.CompileProgram("k := if(t > 0.5, 1 - t, t) * 2\ny := a * k ^ 2 + max(0, cos(t * 2 * pi))");
  for (auto _ : state) {
    t = t > 1.0f ? 0.0f : t + 0.001f;
    benchmark::DoNotOptimize(parser.EvaluateProgram());
  }
}
BENCHMARK(BM_EvaluateProgram);

void BM_CompileFormula(benchmark::State& state) {
  qv::TExpressionParser parser;
  for (auto _ : state) {
    parser.ClearExpressions();
    benchmark::DoNotOptimize(parser.Compile("sin(t*pi)*0.5+x*(2+3)^2 - max(t, 0.5)"));
  }
}
BENCHMARK(BM_CompileFormula);

void BM_ExpandText(benchmark::State& state) {
  qv::TMultiLanguages languages;
  languages.SetString("score", "Score: %points% (%bonus%)");
  languages.SetString("bonus", "bonus x%factor%");
  languages.SetTextVariable("points", "12,500");
  languages.SetTextVariable("factor", "3");
  for (auto _ : state) benchmark::DoNotOptimize(languages.ExpandText("%score% - 100%% done", true));
}
BENCHMARK(BM_ExpandText);

}  // namespace

BENCHMARK_MAIN();
