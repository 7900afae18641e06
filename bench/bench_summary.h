// The benchmarks' summary: each benchmark's least time per iteration (ns)
// over its repetitions (--benchmark_repetitions), the same rule for every
// library, so that other load on the machine weighs less.
#ifndef ZQV_BENCH_SUMMARY_H
#define ZQV_BENCH_SUMMARY_H

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> ns;

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type != Run::RT_Iteration) continue;
      const double t = r.GetAdjustedRealTime() * toNs(r.time_unit);
      auto it = ns.find(r.benchmark_name());
      if (it == ns.end() || t < it->second) ns[r.benchmark_name()] = t;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // The least time of "name/arg", 0 when it did not run.
  double least(const char* name, int arg) const {
    auto it = ns.find(std::string(name) + "/" + std::to_string(arg));
    return it == ns.end() ? 0.0 : it->second;
  }

 private:
  static double toNs(benchmark::TimeUnit u) {
    switch (u) {
      case benchmark::kSecond: return 1e9;
      case benchmark::kMillisecond: return 1e6;
      case benchmark::kMicrosecond: return 1e3;
      default: return 1;
    }
  }
};

#endif
