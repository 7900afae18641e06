// Additive synthesis against its closed form, the ties of the unmaximized
// result, the slider memories' round trip through the settings file and the
// preview buffer.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "core/IniFile.h"
#include "core/WaveSynthesis.h"

namespace {

TWaveCycle Filled(int v) {
  TWaveCycle w{};
  w.fill(static_cast<std::uint8_t>(v));
  return w;
}

TEST(WaveSynthesis, HarmonicRowsReadTheSourceKTimesFaster) {
  TWaveCycle src{};
  for (int n = 0; n < 150; ++n) src[n] = static_cast<std::uint8_t>(n);
  const THarmonicTables h = BuildHarmonicTables(src);
  EXPECT_EQ(h[0], src);
  EXPECT_EQ(h[1][74], 148);
  EXPECT_EQ(h[1][75], 0);
  EXPECT_EQ(h[15][10], 160 % 150);
  EXPECT_EQ(h[2][149], (3 * 149) % 150);
}

TEST(WaveSynthesis, FirstHarmonicAloneAndTheTies) {
  struct Case {
    int src;        // a flat source level
    bool maximize;
    int expected;
  };
  // With only harmonic 1 at 100 % the unmaximized result is src / 16,
  // rounded half to even: 8 / 16 = 0.5 -> 0, 40 / 16 = 2.5 -> 2, 24 / 16 = 1.5 -> 2.
  const Case cases[] = {{8, false, 0}, {40, false, 2}, {24, false, 2}, {149, false, 9}, {0, false, 0},
                        {9, false, 1}, {120, false, 8}};
  for (const Case& c : cases) {
    TWaveCycle src = Filled(c.src);
    EXPECT_EQ(ComputeAdditiveWave(BuildHarmonicTables(src), InitialSliderPositions(), c.maximize), Filled(c.expected))
        << c.src;
  }
  // Maximized, the source is stretched to 0..149: 20, 60, 100 give 0,
  // 74.5 -> 74 (half to even), 149.
  TWaveCycle src{};
  for (int n = 0; n < 150; ++n) src[n] = static_cast<std::uint8_t>(20 + 40 * (n % 3));
  const TWaveCycle r = ComputeAdditiveWave(BuildHarmonicTables(src), InitialSliderPositions(), true);
  EXPECT_EQ(r[0], 0);
  EXPECT_EQ(r[1], 74);
  EXPECT_EQ(r[2], 149);
  // A flat sum has hi = lo: all 0.
  EXPECT_EQ(ComputeAdditiveWave(BuildHarmonicTables(Filled(50)), InitialSliderPositions(), true), Filled(0));
}

TEST(WaveSynthesis, AllSlidersDownGiveSilenceAtZero) {
  TSliderPositions off{};
  off.fill(100);
  TWaveCycle src{};
  for (int n = 0; n < 150; ++n) src[n] = static_cast<std::uint8_t>((n * 7) % 150);
  for (bool maximize : {false, true})
    EXPECT_EQ(ComputeAdditiveWave(BuildHarmonicTables(src), off, maximize), Filled(0));
}

// Exact rational closed form: N[n] = sum (100 - p_k) src[(k n) mod 150],
// the sum is N / 100; unmaximized r = N / 1600, maximized
// r = (N - Nlo) x 149 / (Nhi - Nlo). Compared wherever the exact value is
// not within 1e-3 of a tie (float sums may land either side of one).
TEST(WaveSynthesis, RandomMixesMatchTheClosedForm) {
  std::mt19937 rng(119);
  for (int trial = 0; trial < 300; ++trial) {
    TWaveCycle src{};
    for (auto& s : src) s = static_cast<std::uint8_t>(rng() % 150);
    TSliderPositions p{};
    for (auto& v : p) v = static_cast<std::uint8_t>(rng() % 2 ? rng() % 101 : 100);
    const THarmonicTables h = BuildHarmonicTables(src);
    long long N[150];
    long long lo = 25600, hi = 0;
    for (int n = 0; n < 150; ++n) {
      N[n] = 0;
      for (int k = 1; k <= 16; ++k) N[n] += (100LL - p[k - 1]) * src[(k * n) % 150];
      lo = std::min(lo, N[n]);
      hi = std::max(hi, N[n]);
    }
    for (bool maximize : {false, true}) {
      const TWaveCycle r = ComputeAdditiveWave(h, p, maximize);
      for (int n = 0; n < 150; ++n) {
        double exact;
        if (!maximize) exact = N[n] / 1600.0;
        else exact = hi == lo ? 0.0 : static_cast<double>(N[n] - lo) * 149.0 / static_cast<double>(hi - lo);
        const double frac = exact - std::floor(exact);
        if (std::abs(frac - 0.5) < 1e-3) continue;
        ASSERT_EQ(r[n], static_cast<int>(std::lround(exact))) << "trial " << trial << " n " << n;
      }
    }
  }
}

TEST(WaveSynthesis, SourceDefaultsToTheLastSine) {
  EXPECT_EQ(DefaultSourceIndex({"Saw", "Sine", "Square", "Sine"}), 3);
  EXPECT_EQ(DefaultSourceIndex({"Saw", "sine"}), 0);
  EXPECT_EQ(DefaultSourceIndex({}), 0);
}

TEST(WaveSynthesis, PreviewBufferRepeatsTheScaledCycle) {
  TWaveCycle r{};
  for (int n = 0; n < 150; ++n) r[n] = static_cast<std::uint8_t>(n);
  const auto once = SynthesisPlayBuffer(r, false), looped = SynthesisPlayBuffer(r, true);
  ASSERT_EQ(once.size(), 200u * 150);
  ASSERT_EQ(looped.size(), 60u * 150);
  EXPECT_EQ(once[149], 253);   // 149 x 1.7 = 253.3
  EXPECT_EQ(once[10], 17);
  EXPECT_EQ(once[5], 8);       // 8.5 -> 8
  EXPECT_EQ(once[150 * 199 + 149], 253);
  EXPECT_TRUE(std::equal(looped.begin(), looped.begin() + 150, looped.end() - 150));
}

TEST(WaveSynthesis, MemoriesRoundTripThroughTheSettingsFile) {
  EXPECT_EQ(TSliderMemories::MemoryForButton(1), 6);
  EXPECT_EQ(TSliderMemories::MemoryForButton(6), 1);
  EXPECT_EQ(TSliderMemories::Key(6, 1), "Nr 6/1");

  const auto path = std::filesystem::temp_directory_path() / ("synth_mem_" + std::to_string(::getpid()) + ".dai");
  std::filesystem::remove(path);
  TSliderMemories empty;
  empty.Load(TIniFile(path.string()));  // no file: all zero (every harmonic at 100 %)
  for (int m = 1; m <= 6; ++m) EXPECT_EQ(empty.Memory(m), TSliderPositions{});

  TSliderMemories mem;
  TSliderPositions a{};
  for (int k = 0; k < 16; ++k) a[k] = static_cast<std::uint8_t>(k * 6);
  mem.Store(TSliderMemories::MemoryForButton(1), a);  // "Save 1"
  mem.Store(2, InitialSliderPositions());
  {
    TIniFile ini(path.string());
    mem.Save(ini);
    ini.UpdateFile();
    EXPECT_EQ(ini.ReadInteger("AddSynthMem", "Nr 6/16", -1), 90);
    EXPECT_EQ(ini.ReadInteger("AddSynthMem", "Nr 2/1", -1), 0);
    EXPECT_EQ(ini.ReadInteger("AddSynthMem", "Nr 2/2", -1), 100);
  }
  TIniFile back(path.string());
  back.WriteInteger("AddSynthMem", "Nr 1/3", 500);  // a hand-edited value beyond the slider
  back.WriteInteger("AddSynthMem", "Nr 1/4", -5);
  TSliderMemories loaded;
  loaded.Load(back);
  EXPECT_EQ(loaded.Memory(6), a);
  EXPECT_EQ(loaded.Memory(2), InitialSliderPositions());
  EXPECT_EQ(loaded.Memory(1)[2], 100);
  EXPECT_EQ(loaded.Memory(1)[3], 0);
  std::filesystem::remove(path);
}

}  // namespace
