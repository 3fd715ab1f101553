// Parameter strings: splitting must stay linear in the text's length
// however hostile the text, since creation strings come from data files.
#include <benchmark/benchmark.h>

#include <string>

#include "RatioReporter.h"
#include "storage/Params.h"

namespace {

// About 64 KB of text made of `item` repeated.
std::string Repeated(const std::string& item) {
  std::string text;
  while (text.size() < 65536) text += item;
  return text;
}

void Split(benchmark::State& state, const std::string& text) {
  for (auto _ : state) benchmark::DoNotOptimize(qv::SplitParams(text));
}

}  // namespace

int main(int argc, char** argv) {
  qv::bench::InitializeWithDefaults(argc, argv);
  const std::string pairs = Repeated("a=1\\");
  const std::string nested = Repeated("n={a=1\\b={c\\d}}\\");
  const std::string unclosed = Repeated("a={\\");
  benchmark::RegisterBenchmark("split/pairs", [&](benchmark::State& s) { Split(s, pairs); });
  benchmark::RegisterBenchmark("split/nested-braces", [&](benchmark::State& s) { Split(s, nested); });
  benchmark::RegisterBenchmark("split/unclosed-braces", [&](benchmark::State& s) { Split(s, unclosed); });
  qv::bench::TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nRatios of median times, 64 KB of text each (splitting stays linear):\n");
  qv::bench::PrintRatio(reporter, "split/nested-braces", "split/pairs", "<= 3.0");
  qv::bench::PrintRatio(reporter, "split/unclosed-braces", "split/pairs", "<= 3.0");
  benchmark::Shutdown();
  return 0;
}
