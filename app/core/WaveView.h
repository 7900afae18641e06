// The waveform view's arithmetic: zoom steps, the scroll range, the wave's
// screen rows, the spectrum columns, the palettes and the sonogram picture.
// Qt-free; the window only paints what these return.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Samples per pixel column that show the whole sample: count div width + 1.
std::int64_t FitAllZoom(std::size_t sampleCount, int width);
// One step in: a power of two halves, any other zoom drops to the power of
// two below it; 1 stays 1.
std::int64_t ZoomInStep(std::int64_t zoom);
// One step out: 2^Round(log2(2 zoom)), at most the fit-all zoom.
std::int64_t ZoomOutStep(std::int64_t zoom, std::size_t sampleCount, int width);

// The scroll bar and the start offset (bytes, even) for a zoom and a width.
struct TWaveScroll {
  std::int64_t Max = 1;
  std::int64_t LargeChange = 0;
  std::int64_t Start = 0;
};
TWaveScroll ClampWaveStart(std::int64_t startBytes, std::size_t sampleCount, std::int64_t zoom, int width);

// Screen row of a sample in a box `height` rows high: +32767 at the top.
int WaveRow(std::int16_t sample, int height);
// Rows of the polyline for x = 0, 1, .. until the width or the sample's end.
std::vector<int> WaveRows(const std::int16_t* samples, std::size_t count, std::int64_t startBytes,
                          std::int64_t zoom, int width, int height);

// Window applied before a transform: 0 none, 1 Bartlett, 2 Hann, 3 Hamming, 4 Blackman.
void ApplyViewWindow(float* v, int n, int window);

// Transform order of the spectrum: the bit length of the count (2^order > n).
int SpectrumOrder(std::size_t sampleCount);
// Average magnitude per pixel column (one entry per column, 0 where no bin
// fell); empty when there is nothing to show or the sample is too long.
std::vector<double> SpectrumColumns(const std::int16_t* samples, std::size_t count, int window, int width);
// Rows of the spectrum polyline for x = 3 .. width - 1.
std::vector<int> SpectrumRows(const std::vector<double>& columns, int height);

// Frequency scale labels for quality 0, 1, 2 (11025, 22050, 44100 per second).
std::string MiddleFrequencyLabel(int quality);
std::string NyquistLabel(int quality);

// Ten palettes of 256 colours (0x00BBGGRR).
using TPalette = std::array<std::uint32_t, 256>;
std::array<TPalette, 10> BuildPalettes();

inline constexpr int kSonogramSizes = 12;  // 16 .. 32768 points
// Sonogram: pixels (row-major, width x height) start as `background`; one
// column per frame. `progress` gets the percentage after each tenth column.
void DrawSonogram(const std::int16_t* samples, std::size_t count, int window, int sizeIndex, int width,
                  int height, const TPalette& palette, std::uint32_t background,
                  std::vector<std::uint32_t>& pixels, const std::function<void(int percent)>& progress = {});
