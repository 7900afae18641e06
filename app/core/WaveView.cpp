#include "core/WaveView.h"

#include <algorithm>
#include <bit>
#include <cfenv>
#include <cmath>
#include <numbers>

#include "zqvp4.h"

namespace {

// Pascal's Round: to nearest, ties to even (the default rounding mode).
long long RoundEven(long double v) { return std::llrint(v); }

bool IsPowerOfTwo(std::int64_t v) { return v > 0 && (v & (v - 1)) == 0; }

// Transforms of more than 2^30 points do not fit the library's 32-bit counts.
constexpr int kMaxOrder = 30;

}  // namespace

std::int64_t FitAllZoom(std::size_t sampleCount, int width) {
  return static_cast<std::int64_t>(sampleCount / static_cast<std::size_t>(std::max(width, 1))) + 1;
}

std::int64_t ZoomInStep(std::int64_t zoom) {
  if (zoom <= 1) return 1;
  if (IsPowerOfTwo(zoom)) return zoom / 2;
  return std::int64_t{1} << (std::bit_width(static_cast<std::uint64_t>(zoom)) - 1);
}

std::int64_t ZoomOutStep(std::int64_t zoom, std::size_t sampleCount, int width) {
  zoom = std::max<std::int64_t>(zoom, 1);
  const long long exponent = RoundEven(std::log2(2.0L * static_cast<long double>(zoom)));
  const std::int64_t next = exponent >= 62 ? INT64_MAX : std::int64_t{1} << exponent;
  return std::max<std::int64_t>(1, std::min(next, FitAllZoom(sampleCount, width)));
}

TWaveScroll ClampWaveStart(std::int64_t startBytes, std::size_t sampleCount, std::int64_t zoom, int width) {
  const std::int64_t bytes = static_cast<std::int64_t>(sampleCount) * 2;
  const std::int64_t shown = 2 * zoom * std::max(width, 0);
  TWaveScroll s;
  s.Max = std::max<std::int64_t>(bytes - shown, 1);
  s.LargeChange = std::min<std::int64_t>(bytes / 10, 32767);
  s.Start = std::max<std::int64_t>(std::min(startBytes, bytes - shown), 0);
  s.Start &= ~std::int64_t{1};
  return s;
}

int WaveRow(std::int16_t sample, int height) {
  const long double level = 65535.0L - (static_cast<long double>(sample) + 32768.0L);
  return static_cast<int>(std::trunc(level / (65536.0L / height)));
}

std::vector<int> WaveRows(const std::int16_t* samples, std::size_t count, std::int64_t startBytes,
                          std::int64_t zoom, int width, int height) {
  std::vector<int> rows;
  if (height < 1) return rows;
  const std::size_t first = static_cast<std::size_t>(std::max<std::int64_t>(startBytes, 0) / 2);
  for (int x = 0; x < width; ++x) {
    const std::size_t i = first + static_cast<std::size_t>(x) * static_cast<std::size_t>(zoom);
    if (i >= count) break;
    rows.push_back(WaveRow(samples[i], height));
  }
  return rows;
}

void ApplyViewWindow(float* v, int n, int window) {
  if (n < 3) return;  // the library's windows need three points
  switch (window) {
    case 1: zqvsWinBartlett(v, n); break;
    case 2: zqvsWinHann(v, n); break;
    case 3: zqvsWinHamming(v, n); break;
    case 4: zqvsWinBlackmanStd(v, n); break;
    default: break;
  }
}

int SpectrumOrder(std::size_t sampleCount) { return static_cast<int>(std::bit_width(sampleCount)); }

std::vector<double> SpectrumColumns(const std::int16_t* samples, std::size_t count, int window, int width) {
  const int order = SpectrumOrder(count);
  if (count == 0 || width < 1 || order > kMaxOrder) return {};
  const std::int32_t n = static_cast<std::int32_t>(count);
  const std::int32_t points = std::int32_t{1} << order;
  std::vector<float> buffer(static_cast<std::size_t>(points) + 2, 0.0f);
  zqvsbSet(0.0f, buffer.data(), points);
  zqvsbIntToFloat(samples, buffer.data(), n, 16, 0);
  ApplyViewWindow(buffer.data(), points, window);
  zqvsRealFft(buffer.data(), order, ZQV_Forw);

  const long double perColumn = width < 2 ? 1.0L : static_cast<long double>(points / 2) / (width - 1);
  std::vector<double> sum(static_cast<std::size_t>(width), 0.0);
  std::vector<std::int64_t> bins(static_cast<std::size_t>(width), 0);
  for (std::int32_t i = 0; i < points / 2; ++i) {
    const float re = buffer[2 * static_cast<std::size_t>(i)], im = buffer[2 * static_cast<std::size_t>(i) + 1];
    const float mag = std::sqrt(re * re + im * im);
    const long long c = RoundEven(i / perColumn);
    if (c < 0 || c >= width) continue;  // the columns end at the box's edge
    sum[static_cast<std::size_t>(c)] += mag;
    ++bins[static_cast<std::size_t>(c)];
  }
  for (std::size_t c = 0; c < sum.size(); ++c)
    if (bins[c] > 0) sum[c] /= static_cast<double>(bins[c]);
  return sum;
}

std::vector<int> SpectrumRows(const std::vector<double>& columns, int height) {
  double peak = 0.0;
  for (std::size_t c = 3; c < columns.size(); ++c) peak = std::max(peak, columns[c]);
  double scale = height < 2 ? 1.0 : peak / (height - 1);
  if (!(scale > 0.0)) scale = 1.0;
  std::vector<int> rows;
  for (std::size_t c = 3; c < columns.size(); ++c)
    rows.push_back(height - static_cast<int>(RoundEven(columns[c] / scale)) - 1);
  return rows;
}

std::string MiddleFrequencyLabel(int quality) {
  switch (quality) {
    case 0: return "2.8 kHz";
    case 1: return "5.5 kHz";
    default: return "11 kHz";
  }
}

std::string NyquistLabel(int quality) {
  switch (quality) {
    case 0: return "5.5 kHz";
    case 1: return "11 kHz";
    default: return "22 kHz";
  }
}

std::array<TPalette, 10> BuildPalettes() {
  std::array<TPalette, 10> p{};
  auto rgb = [](long long r, long long g, long long b) {
    return static_cast<std::uint32_t>(r + 256 * g + 65536 * b);
  };
  for (int i = 0; i < 256; ++i) {
    p[0][i] = rgb(i, i, i);
    p[1][i] = i <= 200 ? rgb(i, i, i) : rgb(i, 0, 0);
    p[2][i] = i <= 150 ? rgb(i, i, i) : rgb(i, 0, 0);
    p[3][i] = i <= 100 ? rgb(i, i, i) : rgb(i, 0, 0);
  }
  const long double pi = std::numbers::pi_v<long double>;
  const long double mult[3][3] = {{2, 4, 8}, {1, 2, 4}, {0.5L, 1, 2}};
  for (int k = 0; k < 3; ++k) {
    for (int j = 0; j < 256; ++j) {
      auto level = [&](long double m) { return RoundEven(127.5L * std::sin(m * pi * j / 255.0L) + 127.5L); };
      p[4 + k][255 - j] = rgb(level(mult[k][0]), level(mult[k][1]), level(mult[k][2]));
    }
    for (int i = 0; i < 256; ++i) p[7 + k][i] = (i / 11) % 2 == 1 ? p[4 + k][i] : 0;
  }
  return p;
}

void DrawSonogram(const std::int16_t* samples, std::size_t count, int window, int sizeIndex, int width,
                  int height, const TPalette& palette, std::uint32_t background,
                  std::vector<std::uint32_t>& pixels, const std::function<void(int)>& progress) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), background);
  sizeIndex = std::clamp(sizeIndex, 0, kSonogramSizes - 1);
  const int order = 4 + sizeIndex;
  const std::int32_t points = std::int32_t{1} << order;
  const std::int64_t n = static_cast<std::int64_t>(count);
  const std::int64_t span = n - points;  // D: the last frame starts here
  if (span < 0 || width < 1 || height < 1) return;

  std::vector<float> win(static_cast<std::size_t>(points));
  zqvsbSet(1.0f, win.data(), points);
  ApplyViewWindow(win.data(), points, window);

  // A hop of 0 (fewer frame starts than columns) would never advance.
  const std::int64_t hop = std::max<std::int64_t>(span / width, 1);
  const long double columnScale = width < 2 ? 1.0L : static_cast<long double>(span) / width;
  const long double rowScale = static_cast<long double>(points / 2 - 1) / height;
  std::vector<float> frame(static_cast<std::size_t>(points) + 2);
  std::vector<float> mag(static_cast<std::size_t>(points / 2));
  for (std::int64_t m = 0; m <= span; m += hop) {
    zqvsbIntToFloat(samples + m, frame.data(), points, 16, 0);
    zqvsbMpy2(win.data(), frame.data(), points);
    zqvsRealFft(frame.data(), order, ZQV_Forw);
    zqvcbMag(reinterpret_cast<const ZqvCplxS*>(frame.data()), mag.data(), points / 2);
    zqvsbAdd1(3.0f, mag.data(), points / 2);
    zqvsbLn1(mag.data(), points / 2);
    zqvsbSub1(2.0f, mag.data(), points / 2);
    zqvsbMpy1(18.0f, mag.data(), points / 2);

    // An exact-length sample (D = 0) has one frame, in column 0; the frame at
    // m = D would land one column beyond the right edge.
    long long x = span == 0 ? 0 : static_cast<long long>(std::trunc(m / columnScale));
    x = std::clamp<long long>(x, 0, width - 1);
    for (int i = 1; i < height; ++i) {
      const long long bin = std::clamp<long long>(RoundEven(i * rowScale), 0, points / 2 - 1);
      const float v = mag[static_cast<std::size_t>(bin)];
      const long long value = std::isnan(v) ? 0 : std::clamp<long long>(RoundEven(std::clamp(v, -1.0f, 256.0f)), 0, 255);
      pixels[static_cast<std::size_t>(height - i) * width + static_cast<std::size_t>(x)] = palette[value];
    }
    if (progress && x % 10 == 0) progress(span == 0 ? 100 : static_cast<int>(RoundEven(m * 100.0L / span)));
  }
}
