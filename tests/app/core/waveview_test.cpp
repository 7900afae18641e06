// The waveform view's arithmetic: zoom steps, the scroll range, the wave's
// rows, the spectrum's columns, the palettes and the sonogram on samples of
// every awkward length.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "core/WaveView.h"

namespace {

std::vector<std::int16_t> Sine(std::size_t n, double cyclesPerSample, double amplitude = 20000) {
  std::vector<std::int16_t> s(n);
  for (std::size_t i = 0; i < n; ++i)
    s[i] = static_cast<std::int16_t>(std::lround(amplitude * std::sin(2 * std::numbers::pi * cyclesPerSample * i)));
  return s;
}

TEST(WaveViewZoom, FitAllIsCountDivWidthPlusOne) {
  struct Case {
    std::size_t samples;
    int width;
    std::int64_t zoom;
  } cases[] = {{10000, 200, 51}, {20000, 200, 101}, {0, 200, 1}, {199, 200, 1}, {200, 200, 2}, {5, 0, 6}};
  for (const Case& c : cases) EXPECT_EQ(FitAllZoom(c.samples, c.width), c.zoom) << c.samples << " in " << c.width;
}

TEST(WaveViewZoom, StepsInAndOut) {
  struct Case {
    std::int64_t from, in;
  } ins[] = {{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 4}, {51, 32}, {32768, 16384}, {65536, 32768}, {100000, 65536}};
  for (const Case& c : ins) EXPECT_EQ(ZoomInStep(c.from), c.in) << c.from;
  // 2^Round(log2(2 zoom)), capped at the fit-all zoom of 100000 samples in 200 pixels (501).
  struct Out {
    std::int64_t from, out;
  } outs[] = {{1, 2}, {2, 4}, {3, 8}, {5, 8}, {6, 16}, {256, 501}, {501, 501}};
  for (const Out& c : outs) EXPECT_EQ(ZoomOutStep(c.from, 100000, 200), c.out) << c.from;
}

TEST(WaveViewZoom, StartStaysEvenAndInsideTheSample) {
  // 1000 samples = 2000 bytes; zoom 2 over 100 pixels shows 400 bytes.
  struct Case {
    std::int64_t start, clamped;
  } cases[] = {{0, 0}, {3, 2}, {1599, 1598}, {1600, 1600}, {5000, 1600}, {-8, 0}};
  for (const Case& c : cases) {
    const TWaveScroll s = ClampWaveStart(c.start, 1000, 2, 100);
    EXPECT_EQ(s.Start, c.clamped) << c.start;
    EXPECT_EQ(s.Max, 1600);
    EXPECT_EQ(s.LargeChange, 200);
  }
  const TWaveScroll whole = ClampWaveStart(40, 1000, 11, 100);  // the whole sample fits
  EXPECT_EQ(whole.Start, 0);
  EXPECT_EQ(whole.Max, 1);
  EXPECT_EQ(ClampWaveStart(0, 1000000, 1, 10).LargeChange, 32767);
}

TEST(WaveViewWave, RowsPutTheLoudestAtTheEdges) {
  struct Case {
    std::int16_t s;
    int height, row;
  } cases[] = {{32767, 100, 0},   {-32768, 100, 99}, {0, 100, 49},     {0, 101, 50},
               {-1, 100, 50},     {16384, 4, 0},     {-16384, 4, 2},   {32767, 1, 0}, {-32768, 1, 0}};
  for (const Case& c : cases) EXPECT_EQ(WaveRow(c.s, c.height), c.row) << c.s << " in " << c.height;
}

TEST(WaveViewWave, RowsFollowZoomAndStartAndEndWithTheSample) {
  std::vector<std::int16_t> s(10);
  for (int i = 0; i < 10; ++i) s[i] = static_cast<std::int16_t>(i * 1000);
  const auto rows = WaveRows(s.data(), s.size(), 4, 3, 100, 65536);  // start at sample 2, every third
  ASSERT_EQ(rows.size(), 3u);  // samples 2, 5, 8
  EXPECT_EQ(rows[0], 65535 - 32768 - 2000);
  EXPECT_EQ(rows[2], 65535 - 32768 - 8000);
  EXPECT_EQ(WaveRows(s.data(), s.size(), 0, 1, 4, 100).size(), 4u);
}

TEST(WaveViewSpectrum, OrderIsTheBitLength) {
  struct Case {
    std::size_t n;
    int order;
  } cases[] = {{1, 1}, {2, 2}, {3, 2}, {1023, 10}, {1024, 11}, {1025, 11}, {44100, 16}};
  for (const Case& c : cases) EXPECT_EQ(SpectrumOrder(c.n), c.order) << c.n;
}

TEST(WaveViewSpectrum, SinePeaksInItsColumn) {
  // 1024 samples: N = 2048, 1024 bins over a box of 257 columns, 4 bins a column.
  // A sine of 64/2048 cycles a sample lies in bin 64: column 16.
  for (int window = 0; window <= 4; ++window) {
    const auto s = Sine(1024, 64.0 / 2048);
    const auto columns = SpectrumColumns(s.data(), s.size(), window, 257);
    ASSERT_EQ(columns.size(), 257u);
    std::size_t peak = 3;
    for (std::size_t c = 3; c < columns.size(); ++c)
      if (columns[c] > columns[peak]) peak = c;
    EXPECT_EQ(peak, 16u) << "window " << window;
    const auto rows = SpectrumRows(columns, 100);
    ASSERT_EQ(rows.size(), 254u);
    EXPECT_EQ(rows[peak - 3], 0) << "the peak reaches the top";
  }
}

TEST(WaveViewSpectrum, WideBoxesAndTinySamplesStayInBounds) {
  const auto s = Sine(50000, 0.01);
  const auto wide = SpectrumColumns(s.data(), s.size(), 2, 3000);  // wider than 2001 columns
  ASSERT_EQ(wide.size(), 3000u);
  std::size_t peak = 3;
  for (std::size_t c = 3; c < wide.size(); ++c)
    if (wide[c] > wide[peak]) peak = c;
  // bin 0.01 * 65536 = 655.36 of 32768, over 2999 column steps.
  EXPECT_NEAR(static_cast<double>(peak), 655.36 * 2999 / 32768, 1.0);
  const std::int16_t one = 1000;
  EXPECT_EQ(SpectrumColumns(&one, 1, 3, 10).size(), 10u);
  EXPECT_EQ(SpectrumColumns(&one, 1, 0, 1).size(), 1u);
  EXPECT_TRUE(SpectrumColumns(&one, 0, 0, 10).empty());
  // Silence: no peak, scale 1, a flat line at the bottom.
  std::vector<std::int16_t> quiet(100, 0);
  for (int row : SpectrumRows(SpectrumColumns(quiet.data(), quiet.size(), 0, 20), 50)) EXPECT_EQ(row, 49);
}

TEST(WaveViewSpectrum, FrequencyLabels) {
  EXPECT_EQ(NyquistLabel(0), "5.5 kHz");
  EXPECT_EQ(NyquistLabel(1), "11 kHz");
  EXPECT_EQ(NyquistLabel(2), "22 kHz");
  EXPECT_EQ(MiddleFrequencyLabel(1), "5.5 kHz");
  EXPECT_EQ(MiddleFrequencyLabel(2), "11 kHz");
  EXPECT_EQ(MiddleFrequencyLabel(0), "2.8 kHz");
}

TEST(WaveViewPalettes, Entries) {
  const auto p = BuildPalettes();
  auto rgb = [](int r, int g, int b) { return static_cast<std::uint32_t>(r | g << 8 | b << 16); };
  EXPECT_EQ(p[0][0], 0u);
  EXPECT_EQ(p[0][255], rgb(255, 255, 255));
  EXPECT_EQ(p[1][200], rgb(200, 200, 200));
  EXPECT_EQ(p[1][201], rgb(201, 0, 0));
  EXPECT_EQ(p[2][151], rgb(151, 0, 0));
  EXPECT_EQ(p[3][100], rgb(100, 100, 100));
  // Rainbow 1: entry 255 - j; j = 0 gives the middle level 128 (127.5 rounds to even).
  EXPECT_EQ(p[4][255], rgb(128, 128, 128));
  const long double pi = std::numbers::pi_v<long double>;
  const int j = 40;
  auto level = [&](long double m) { return static_cast<int>(std::llrint(127.5L * std::sin(m * pi * j / 255) + 127.5L)); };
  EXPECT_EQ(p[4][255 - j], rgb(level(2), level(4), level(8)));
  EXPECT_EQ(p[5][255 - j], rgb(level(1), level(2), level(4)));
  EXPECT_EQ(p[6][255 - j], rgb(level(0.5L), level(1), level(2)));
  EXPECT_EQ(p[7][10], 0u);  // 10 div 11 = 0: black
  EXPECT_EQ(p[7][11], p[4][11]);
  EXPECT_EQ(p[8][22], 0u);
  EXPECT_EQ(p[9][33], p[6][33]);
}

TEST(WaveViewSonogram, SineLightsItsRowAndLeavesRowZero) {
  const auto palette = BuildPalettes()[0];
  const int w = 40, h = 64;
  // 256-point frames (index 4); a sine in bin 32 of 128: row i with Round(i * 127/64) = 32.
  const auto s = Sine(256 * 40, 32.0 / 256);
  std::vector<std::uint32_t> px;
  std::vector<int> progress;
  DrawSonogram(s.data(), s.size(), 0, 4, w, h, palette, 0xC0C0C0, px, [&](int p) { progress.push_back(p); });
  ASSERT_EQ(px.size(), static_cast<std::size_t>(w * h));
  const int row = h - 16;  // i = 16: bin Round(16 * 127 / 64) = 32
  for (int x = 0; x < w; ++x) {
    // 18 (ln(20000 * 256 / 2 + 3) - 2) = 229.6: grey 230.
    EXPECT_EQ(px[static_cast<std::size_t>(row) * w + x], palette[230]) << x;
    EXPECT_EQ(px[x], 0xC0C0C0u) << "row 0 keeps the background";
    EXPECT_LT(px[static_cast<std::size_t>(h - 50) * w + x] & 0xFF, 120u) << "far from the tone it is dark";
  }
  EXPECT_FALSE(progress.empty());
  EXPECT_EQ(progress.front(), 0);
}

TEST(WaveViewSonogram, ShortExactAndBarelyLongerSamples) {
  const auto palette = BuildPalettes()[4];
  struct Case {
    std::size_t n;
    int width;
    bool drawn;
  } cases[] = {{100, 30, false}, {255, 30, false}, {256, 30, true}, {257, 30, true}, {270, 30, true},
               {256 + 29, 30, true}, {100000, 2500, true}, {300, 1, true}};
  for (const Case& c : cases) {
    const auto s = Sine(c.n, 0.1);
    std::vector<std::uint32_t> px;
    int calls = 0;
    DrawSonogram(s.data(), s.size(), 1, 4, c.width, 20, palette, 1, px, [&](int p) {
      ++calls;
      EXPECT_GE(p, 0);
      EXPECT_LE(p, 100);
    });
    ASSERT_EQ(px.size(), static_cast<std::size_t>(c.width) * 20);
    int painted = 0;
    for (auto v : px) painted += v != 1;
    EXPECT_EQ(painted > 0, c.drawn) << c.n;
    if (c.drawn) {
      EXPECT_GE(calls, 1) << c.n;
    }
  }
}

}  // namespace
