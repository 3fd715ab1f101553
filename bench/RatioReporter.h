// What every benchmark program shares: the default run settings and the
// table of goals printed after the benchmark table, one line a goal:
// "A / B = ratio (target <= T)" over the median real times, or, for a time
// budget, the median CPU time over a fixed time.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace qv::bench {

// Keeps the median time of every benchmark for the ratio table.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        medians[run.run_name.function_name] = run.GetAdjustedRealTime();
        cpuSeconds[run.run_name.function_name] =
            run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> medians;
  std::map<std::string, double> cpuSeconds;  // the median CPU time, in seconds
};

// One goal line; nothing when either benchmark did not run.
inline void PrintRatio(const TRatioReporter& r, const std::string& ours, const std::string& theirs,
                       const char* target) {
  const auto a = r.medians.find(ours), b = r.medians.find(theirs);
  if (a == r.medians.end() || b == r.medians.end() || b->second <= 0) return;
  std::printf("  %-26s / %-24s = %8.4f   (target %s)\n", ours.c_str(), theirs.c_str(), a->second / b->second,
              target);
}

// One budget line: the benchmark's median CPU time over a fixed time
// (`seconds`, printed as `label`); nothing when the benchmark did not run.
inline void PrintBudget(const TRatioReporter& r, const std::string& ours, const std::string& label,
                        double seconds, const char* target) {
  const auto a = r.cpuSeconds.find(ours);
  if (a == r.cpuSeconds.end() || seconds <= 0) return;
  std::printf("  %-26s / %-24s = %8.4f   (target %s)\n", ours.c_str(), label.c_str(), a->second / seconds,
              target);
}

// Interleaved repetitions and their aggregates only, unless the command
// line says otherwise.
inline void InitializeWithDefaults(int argc, char** argv) {
  std::vector<char*> args{argv[0]};
  static std::string defaults[] = {"--benchmark_enable_random_interleaving=true",
                                   "--benchmark_repetitions=12", "--benchmark_min_time=0.05",
                                   "--benchmark_report_aggregates_only=true"};
  for (auto& d : defaults) args.push_back(d.data());
  for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
}

}  // namespace qv::bench
