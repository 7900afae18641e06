// Sample rates of the filter benchmarks and their ratios: each benchmark
// counts samples per nanosecond, and a benchmark named "ref/name" is the
// reference `ref` of the benchmark "name". At the end the reporter prints,
// for every benchmark and each of its references, both rates, ours/reference
// as a rate ratio and reference/ours as a time ratio (the median where there
// are repetitions).
#ifndef ZQV_BENCH_RATES_H
#define ZQV_BENCH_RATES_H

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

inline void setSampleRate(benchmark::State& state, int64_t samplesPerIteration) {
  state.counters["samp/ns"] = benchmark::Counter(double(samplesPerIteration) * double(state.iterations()) * 1e-9,
                                                 benchmark::Counter::kIsRate);
}

class RateRatioReporter : public benchmark::ConsoleReporter {
 public:
  explicit RateRatioReporter(std::vector<std::string> references) : refs_(std::move(references)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& r : runs) {
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name != "median") continue;
      if (auto it = r.counters.find("samp/ns"); it != r.counters.end()) rates_[r.run_name.str()] = it->second;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-24s %-10s %10s %10s %10s %10s\n", "routine", "reference", "ours", "reference", "ours/ref",
                "time ratio");
    for (const auto& [name, rate] : rates_)
      for (const std::string& ref : refs_) {
        const auto other = rates_.find(ref + "/" + name);
        if (other == rates_.end()) continue;
        std::printf("%-24s %-10s %10.4f %10.4f %10.2f %10.2f\n", name.c_str(), ref.c_str(), rate, other->second,
                    rate / other->second, other->second / rate);
      }
  }

 private:
  std::vector<std::string> refs_;
  std::map<std::string, double> rates_;
};

#endif
