// Wave-preset import of a small WAV file against a 3 GB one with the same
// header: the import reads the header and 150 samples, so the two should
// take the same time. The large file is sparse (no disk is spent).
// Run: import_bench --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench_summary.h"
#include "formats/PresetImport.h"

namespace fs = std::filesystem;

namespace {

// A mono 16-bit file: header, 150 samples, then `size` bytes in all.
fs::path MakeWave(const std::string& name, std::uintmax_t size) {
  const fs::path p = fs::temp_directory_path() / ("kalvora_import_bench_" + std::to_string(::getpid()) + name);
  std::vector<std::uint8_t> b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                                 16,  0,   0,   0,   1, 0, 1, 0, 0x44, 0xAC, 0, 0, 0x88, 0x58, 1, 0,
                                 2,   0,   16,  0,   'd', 'a', 't', 'a', 0, 0, 0, 0};
  b.resize(b.size() + 300, 0);
  std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
  fs::resize_file(p, size);
  return p;
}

const fs::path kSmall = MakeWave("small.wav", 344);
const fs::path kHuge = MakeWave("huge.wav", 3ull << 30);

void BM_ImportWave(benchmark::State& state) {
  const fs::path& file = state.range(0) == 0 ? kSmall : kHuge;
  for (auto _ : state) benchmark::DoNotOptimize(ImportPresetFile(file.string()));
}
BENCHMARK(BM_ImportWave)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double small = reporter.least("BM_ImportWave", 0), huge = reporter.least("BM_ImportWave", 1);
  if (small > 0) std::printf("3 GB file / 344-byte file: %.2f\n", huge / small);
  fs::remove(kSmall);
  fs::remove(kHuge);
  benchmark::Shutdown();
}
