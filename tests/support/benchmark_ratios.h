#pragma once

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace vendigo::testing {

// A goal stated as the ratio of two benchmarks measured in the same run: the numerator's time
// over the denominator's, each divided by its counter `per` ("bytes", say) when it is set. The
// time is the CPU time of the benchmark's thread, which other work on a shared machine disturbs
// less, or the wall time for work spread over several threads.
struct BenchmarkRatio {
  std::string label;
  std::string numerator;
  std::string denominator;
  std::string per;
  double goal;  // the ratio should stay at or below this; 0: no goal, the figure is shown
  bool wallTime = false;
};

// The console report, then one line per ratio whose two benchmarks ran.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  explicit RatioReporter(std::vector<BenchmarkRatio> ratios) : ratios_(std::move(ratios)) {}

  void ReportRuns(const std::vector<Run> &runs) override {
    ConsoleReporter::ReportRuns(runs);
    // With --benchmark_repetitions the median of the repetitions is taken, else the one run.
    for (const Run &run : runs) {
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      const std::string name = run.run_name.str();
      if (run.error_occurred || !(median || run.run_type == Run::RT_Iteration)) continue;
      if (!median && medians_.count(name)) continue;
      if (median) medians_.insert(name);
      const double multiplier = benchmark::GetTimeUnitMultiplier(run.time_unit);
      cpuSeconds_[name] = run.GetAdjustedCPUTime() / multiplier;
      wallSeconds_[name] = run.GetAdjustedRealTime() / multiplier;
      counters_[name] = run.counters;
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const BenchmarkRatio &ratio : ratios_) {
      if (!cpuSeconds_.count(ratio.numerator) || !cpuSeconds_.count(ratio.denominator)) continue;
      const double ratioValue = Scaled(ratio, ratio.numerator) / Scaled(ratio, ratio.denominator);
      if (ratio.goal <= 0) {
        std::printf("%-60s %8.3f\n", ratio.label.c_str(), ratioValue);
      } else {
        std::printf("%-60s %8.3f  (goal <= %.2f: %s)\n", ratio.label.c_str(), ratioValue,
                    ratio.goal, ratioValue <= ratio.goal ? "met" : "MISSED");
      }
    }
  }

 private:
  double Scaled(const BenchmarkRatio &ratio, const std::string &name) {
    const double seconds = ratio.wallTime ? wallSeconds_[name] : cpuSeconds_[name];
    return ratio.per.empty() ? seconds : seconds / counters_[name][ratio.per].value;
  }

  std::vector<BenchmarkRatio> ratios_;
  std::set<std::string> medians_;
  std::map<std::string, double> cpuSeconds_;
  std::map<std::string, double> wallSeconds_;
  std::map<std::string, benchmark::UserCounters> counters_;
};

// main() of a benchmark program that states its goals as ratios.
inline int RunBenchmarksWithRatios(int argc, char **argv, std::vector<BenchmarkRatio> ratios) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter(std::move(ratios));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace vendigo::testing
