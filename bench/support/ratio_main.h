#pragma once
// The main of a benchmark executable that measures against a baseline in the same run: runs the
// benchmarks as usual, then prints each of our times beside its baseline's with their ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace bench_support {

// Benchmark names without their arguments ("BM_Thing", not "BM_Thing/1000000").
struct Ratio {
  const char* label;
  const char* ours;
  const char* baseline;
};

// Collects the real times to print the ratios after the run.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      std::string name = run.benchmark_name();
      times_[name.substr(0, name.find('/'))] = run.GetAdjustedRealTime();
    }
  }

  // A ratio whose two sides did not both run (filtered out, or a zero baseline) is left out.
  void PrintRatios(const char* title, std::span<const Ratio> ratios) const {
    int labelWidth = 0;
    for (const Ratio& r : ratios) labelWidth = std::max(labelWidth, int(std::strlen(r.label)));
    labelWidth += 6;
    std::printf("\n%s\n", title);
    for (const Ratio& r : ratios) {
      auto ours = times_.find(r.ours);
      auto base = times_.find(r.baseline);
      if (ours == times_.end() || base == times_.end() || base->second <= 0) continue;
      std::printf("%-*s %9.1f ms vs %9.1f ms  ratio %6.2f\n", labelWidth, r.label, ours->second,
                  base->second, ours->second / base->second);
    }
  }

 private:
  std::map<std::string, double> times_;
};

inline int RunWithRatios(int argc, char** argv, const char* title, std::span<const Ratio> ratios) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios(title, ratios);
  benchmark::Shutdown();
  return 0;
}

}  // namespace bench_support
