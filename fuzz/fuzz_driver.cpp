// Stand-alone driver for the fuzz targets when no coverage-guided fuzzer is
// at hand: runs the files named on the command line, or else a bounded,
// repeatable series of mutations of the target's seeds (KALVORA_FUZZ_RUNS,
// default 20000), so the targets also run as ordinary tests.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
std::vector<std::vector<uint8_t>> KalvoraFuzzSeeds();

namespace {

uint64_t state = 0x9E3779B97F4A7C15ull;
uint64_t next() {
  state ^= state << 13, state ^= state >> 7, state ^= state << 17;
  return state;
}

void mutate(std::vector<uint8_t>& d) {
  const int steps = 1 + static_cast<int>(next() % 4);
  for (int s = 0; s < steps; ++s) {
    const size_t at = d.empty() ? 0 : next() % d.size();
    switch (next() % 6) {
      case 0: if (!d.empty()) d[at] ^= static_cast<uint8_t>(1u << (next() % 8)); break;
      case 1: if (!d.empty()) d[at] = static_cast<uint8_t>(next()); break;
      case 2: d.resize(d.empty() ? 0 : next() % d.size()); break;  // truncate
      case 3: d.insert(d.begin() + static_cast<long>(at), static_cast<uint8_t>(next())); break;
      case 4: if (!d.empty()) d.erase(d.begin() + static_cast<long>(at)); break;
      case 5: if (!d.empty()) d[at] = (next() & 1) ? 0xFF : 0x00; break;
    }
  }
}

void runFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::vector<uint8_t> d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(d.data(), d.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    for (int i = 1; i < argc; ++i) {
      const std::filesystem::path p = argv[i];
      if (std::filesystem::is_directory(p)) {
        for (const auto& e : std::filesystem::directory_iterator(p)) runFile(e.path());
      } else {
        runFile(p);
      }
    }
    return 0;
  }
  const char* env = std::getenv("KALVORA_FUZZ_RUNS");
  const long runs = env ? std::atol(env) : 20000;
  const auto seeds = KalvoraFuzzSeeds();
  for (const auto& s : seeds) LLVMFuzzerTestOneInput(s.data(), s.size());
  for (long r = 0; r < runs; ++r) {
    std::vector<uint8_t> d = seeds[next() % seeds.size()];
    mutate(d);
    LLVMFuzzerTestOneInput(d.data(), d.size());
  }
  std::printf("%ld mutated inputs run\n", runs);
  return 0;
}
