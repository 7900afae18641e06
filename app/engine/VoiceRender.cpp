#include "engine/VoiceRender.h"

#include <algorithm>
#include <cmath>
#include <cstring>

// GCC 12's vector conversion intrinsics start from an undefined register and
// warn about it.
#pragma GCC diagnostic push
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#pragma GCC diagnostic pop

#include "engine/EngineArith.h"

namespace kalvora::engine {

std::array<std::uint16_t, kMorphSteps> MorphTable(const std::array<std::uint8_t, TWavePreset::kSamples>& preset) {
  std::array<std::uint16_t, kMorphSteps> t{};
  for (int i = 0; i < kMorphSteps; ++i) {
    const int k = i / 100, k1 = (k + 1) % TWavePreset::kSamples;
    const long double f = F((i % 100) * 0.01L);
    const long double a = preset[k] * 256.0L, b = preset[k1] * 256.0L;
    t[i] = static_cast<std::uint16_t>(RoundEven((b - a) * f + a));
  }
  return t;
}

std::array<std::uint8_t, kEnvelopeLevels> EnvelopeLevels(const TVolumeEnvelope& e) {
  std::array<std::uint8_t, kEnvelopeLevels> t{};
  const int count = std::min<int>(e.Count, TVolumeEnvelope::kMaxPoints);
  for (int p = 0; p + 1 < count; ++p) {
    const int x0 = e.X[p] * 4, x1 = e.X[p + 1] * 4;
    const int y0 = e.Y[p], y1 = e.Y[p + 1];
    if (x1 < x0) continue;
    for (int i = x0; i <= x1; ++i) {
      const long double q = F(static_cast<long double>(i - x0) / std::max(x1 - x0, 1));
      const long double prod = F((y1 - y0) * q);
      t[i] = static_cast<std::uint8_t>(Trunc(y0 + prod));
    }
  }
  return t;
}

std::int64_t StartDelaySamples(std::int32_t ms, int quality) {
  // A delay below 0 cannot be entered; one read from a file starts at once.
  const long double factor = quality == 0 ? 11.025L : quality == 1 ? 22.05L : quality == 2 ? 44.1L : 11.025L;
  return RoundEven(std::max<std::int32_t>(ms, 0) * factor);
}

std::int64_t RepeatLength(std::int32_t timeMs, int quality) {
  const float c = quality == 1 ? 0.147f : quality == 2 ? 0.294f : 0.0735f;
  const std::int64_t cycles = RoundEven(F(static_cast<long double>(timeMs) * c));
  return std::max<std::int64_t>(cycles, 0) * TWavePreset::kSamples;
}

float PitchStep(const TVoice& v, const std::array<float, 73>& ratio, int octave, int note, int quality) {
  const int n = 12 * octave + note;
  const float d = F(std::exp(n * std::log(static_cast<long double>(1.0594631f))));
  const int noteIndex = std::min<int>(v.Pitch.Note, 72);
  const float tuned = F((1 + (static_cast<long double>(v.Pitch.Finetune) - 50) / 1682) * ratio[noteIndex]);
  float step = F(static_cast<long double>(tuned) * d);
  if (quality == 0) step = F(step * 4.0L);
  if (quality == 1) step = F(step * 2.0L);
  return step;
}

namespace {
template <class Entry>
const Entry* Clamped(const std::vector<Entry>& table, int index) {
  if (table.empty()) return nullptr;
  return &table[static_cast<std::size_t>(std::clamp(index, 1, static_cast<int>(table.size())) - 1)];
}
}  // namespace

std::vector<TVoiceState> PrepareVoices(const TSampleSnapshot& s, std::int64_t& n) {
  std::vector<TVoiceState> voices(TInstrument::kVoices);
  static const std::array<std::uint8_t, TWavePreset::kSamples> kSilent = [] {
    std::array<std::uint8_t, TWavePreset::kSamples> a;
    a.fill(75);
    return a;
  }();
  n = 0;
  for (int i = 0; i < TInstrument::kVoices; ++i) {
    TVoiceState& v = voices[static_cast<std::size_t>(i)];
    v.V = s.Voices[static_cast<std::size_t>(i)];
    v.V.Morph.Phase = std::min<std::uint8_t>(v.V.Morph.Phase, 149);
    v.V.Pitch.Note = std::min<std::uint8_t>(v.V.Pitch.Note, 72);
    v.Delay = StartDelaySamples(v.V.Timing.StartDelay, s.Quality);
    v.Step = PitchStep(v.V, s.NoteRatio, s.DetuneOctave, s.DetuneNote, s.Quality);
    if (!v.V.Active) continue;
    const auto* src = Clamped(s.Presets, v.V.Morph.SourcePreset);
    const auto* dst = Clamped(s.Presets, v.V.Morph.DestPreset);
    v.Source = MorphTable(src ? *src : kSilent);
    v.Dest = MorphTable(dst ? *dst : kSilent);
    v.L = RepeatLength(v.V.Timing.Time, s.Quality);
    v.Total = v.L * std::max<std::int32_t>(v.V.Timing.Repeats, 0);
    v.End = v.Delay + v.Total;
    n = std::max(n, v.End);
    if (const TVolumeEnvelope* e = Clamped(s.Envelopes, v.V.Volume.Envelope)) v.Envelope = EnvelopeLevels(*e);
  }
  return voices;
}

void PrepareRamps(TVoiceState& v, std::int64_t n, int quality) {
  const long double v4 = 4.0L * RateOfQuality(quality);
  const long double span = static_cast<long double>(n - 1);
  auto value = [](std::uint8_t b, bool x100) { return F(x100 ? b * 100.0L : b); };
  const TVoiceVibrato& vib = v.V.Vibrato;
  const long double speedFrom = value(vib.VibSpeedFrom, vib.VibSpeedFromX100);
  const long double speedTo = value(vib.VibSpeedTo, vib.VibSpeedToX100);
  const long double depthFrom = value(vib.VibDepthFrom, vib.VibDepthFromX100);
  const long double depthTo = value(vib.VibDepthTo, vib.VibDepthToX100);
  v.SpeedSlope = F((speedTo - speedFrom) / span / v4);
  v.SpeedBase = F(speedFrom / v4);
  v.DepthSlope = F((depthTo - depthFrom) / span);
  v.DepthBase = F(depthFrom);
  v.Ring.fill(0.0f);
  v.RingPos = 0;
  if (v.V.Lowpass.FilterActive) {
    v.WidthSlope = F((static_cast<long double>(v.V.Lowpass.FilterTo) - v.V.Lowpass.FilterFrom) / span);
    v.WidthBase = v.V.Lowpass.FilterFrom;
  }
}

namespace {
// The ring weights float(0.5 + j / (2n)) of every width n, computed once.
struct TRingWeights {
  std::vector<float> w;  // row n holds entries 0..n
  TRingWeights() : w(static_cast<std::size_t>(kRingSize) * kRingSize, 0.0f) {
    for (int n = 1; n < kRingSize; ++n)
      for (int j = 0; j <= n; ++j)
        w[static_cast<std::size_t>(n * kRingSize + j)] = F(0.5L + static_cast<long double>(j) / (2 * n));
  }
  const float* Row(int n) const { return &w[static_cast<std::size_t>(n * kRingSize)]; }
};
const TRingWeights& RingWeights() {
  static const TRingWeights weights;
  return weights;
}
}  // namespace

namespace {

// The vibrato offset float((1 +- cos theta) x depth) from double values;
// exactDepth gives the extended depth for the fallback.
template <class ExactDepth>
[[gnu::always_inline]] inline float OffsetNear(float theta, double depth, bool up, double c, double cosError,
                                              ExactDepth exactDepth) {
  // c is within cosError of the cosine (so of the extended one within 2^-62
  // more); the depth within 2^-53 of the extended one relatively. With the
  // roundings of 1 +- c and of the product the value moves by less than
  // |depth| x (cosError + 2^-50). When every value within twice that of it
  // rounds to one float, that is the result.
  const double y = (up ? 1 + c : 1 - c) * depth;
  const double margin = std::fabs(depth) * (2 * cosError + 0x1p-48);
  const float below = static_cast<float>(y - margin), above = static_cast<float>(y + margin);
  if (__builtin_expect(below == above, 1)) return below;
  // Mostly the factor 1 +- c is small here (c near -+1), and the bound above
  // large against it. 1 - c = 2 sin^2(theta / 2) and 1 + c = 2 cos^2(theta / 2)
  // give it within 2^-50 relatively; the extended value lies within
  // |depth| x 2^-61.5 of the true one (its cosine within 2^-62).
  const double half = static_cast<double>(theta) * 0.5;
  const double f = up ? std::cos(half) : std::sin(half);
  const double y2 = 2 * f * f * depth;
  const double margin2 = std::fabs(y2) * 0x1p-47 + std::fabs(depth) * 0x1p-60;
  const float below2 = static_cast<float>(y2 - margin2), above2 = static_cast<float>(y2 + margin2);
  if (below2 == above2) return below2;
  const long double exact = std::cos(static_cast<long double>(theta));
  return F((up ? 1 + exact : 1 - exact) * exactDepth());
}

}  // namespace

double TCosineSteps::Next(float theta) {
  const double t = theta;
  if (steps_ >= 0 && steps_ < kSteps) {
    // Floats this close differ exactly in double (or within 2^-54 when tiny).
    const double delta = t - last_;
    if (std::fabs(delta) <= 0.5) {
      const double d2 = delta * delta;
      double sd, cd;
      if (std::fabs(delta) <= 0x1p-10) {
        // Taylor series to the 5th and 6th power: the rest is below 2^-70.
        sd = delta * (1 + d2 * (-1.0 / 6 + d2 * (1.0 / 120)));
        cd = 1 + d2 * (-0.5 + d2 * (1.0 / 24 + d2 * (-1.0 / 720)));
      } else {
        // To the 15th and 16th power: the rest is below 2^-60.
        sd = delta * (1 + d2 * (-1.0 / 6 + d2 * (1.0 / 120 + d2 * (-1.0 / 5040 + d2 * (1.0 / 362880 +
             d2 * (-1.0 / 39916800 + d2 * (1.0 / 6227020800 + d2 * (-1.0 / 1307674368000))))))));
        cd = 1 + d2 * (-0.5 + d2 * (1.0 / 24 + d2 * (-1.0 / 720 + d2 * (1.0 / 40320 + d2 * (-1.0 / 3628800 +
             d2 * (1.0 / 479001600 + d2 * (-1.0 / 87178291200 + d2 * (1.0 / 20922789888000))))))));
      }
      const double c = c_ * cd - s_ * sd, s = s_ * cd + c_ * sd;
      c_ = c;
      s_ = s;
      last_ = t;
      ++steps_;
      // A rotation keeps the error it is given and adds its own: the series
      // within 2^-51, the rounding of delta 2^-54, three roundings 2^-53 each.
      error_ += 0x1p-49;
      return c_;
    }
  }
  ::sincos(t, &s_, &c_);
  last_ = t;
  steps_ = 0;
  error_ = 0x1p-52;
  return c_;
}

float VibratoOffset(float theta, long double depth, bool up) {
  // No depth, no offset (its sign cannot matter: it is added to the sample).
  if (depth == 0) return 0.0f;
  return OffsetNear(theta, static_cast<double>(depth), up, std::cos(static_cast<double>(theta)), 0x1p-52,
                    [&] { return depth; });
}

float RenderVoiceDry(TVoiceState& v, std::int64_t s, std::int64_t n, TNoiseGenerator& noise) {
  const std::int64_t d = s - v.Delay;
  const long double dd = static_cast<long double>(d);
  const float theta = F(dd * (dd * v.SpeedSlope + v.SpeedBase));
  const long double depth = dd * v.DepthSlope + v.DepthBase;
  const float offset = VibratoOffset(theta, depth, v.V.Vibrato.VibDirection);
  std::int64_t pos = RoundEven((dd + offset) * 100);
  pos = std::clamp<std::int64_t>(pos, 0, n * 100);
  const std::int64_t idx = (RoundEven(pos * static_cast<long double>(v.Step)) + 100 * v.V.Morph.Phase) % kMorphSteps;
  const std::int64_t cycle = pos / 100;
  const std::int64_t k = cycle % v.L, rep = cycle / v.L;
  // Morph weight: k / (L - 1), from the source at the first sample of a repeat
  // to the destination at its last.
  const long double w = static_cast<long double>(k) / (v.L - 1);
  const long double src = (v.V.Morph.NoiseSource ? noise.Next() : v.Source[static_cast<std::size_t>(idx)]) - 19200.0L;
  const long double dst = (v.V.Morph.NoiseDest ? noise.Next() : v.Dest[static_cast<std::size_t>(idx)]) - 19200.0L;
  float x = (v.V.Timing.RepeatMode && rep % 2 == 1) ? F(src * w + dst * (1 - w)) : F(src * (1 - w) + dst * w);
  const long double e =
      v.Envelope[static_cast<std::size_t>(Trunc(static_cast<long double>(d - 1) / (v.Total - 1) * 1020))];
  return F(e * x * v.V.Volume.Volume * (1.0L / 14942));
}

namespace {

// Double stand-ins for extended-precision steps. `approx` is within `margin`
// of the extended value (each caller bounds its own error); when every value
// that close rounds the same way, that is the result, otherwise the extended
// step runs.
template <class Exact>
[[gnu::always_inline]] inline float FloatNear(double approx, double margin, Exact exact) {
  const float below = static_cast<float>(approx - margin), above = static_cast<float>(approx + margin);
  if (__builtin_expect(below == above, 1)) return below;
  return exact();
}

template <class Exact>
[[gnu::always_inline]] inline std::int64_t NearestNear(double approx, double margin, Exact exact) {
  if (__builtin_expect(std::fabs(approx) < 0x1p52, 1)) {
    // The conversion rounds halves to even in the default mode, as the unit's
    // own store does.
    const std::int64_t r = _mm_cvtsd_si64(_mm_set_sd(approx));
    if (__builtin_expect(std::fabs(approx - static_cast<double>(r)) < 0.5 - margin, 1)) return r;
  }
  return exact();
}

// A float step as an integer times a power of two, so that the nearest
// integer to pos x step comes from integer arithmetic (pos x step is exact in
// extended precision).
struct TExactStep {
  std::int64_t mantissa = 0;
  int shift = 0;  // step = mantissa / 2^shift
  bool usable = false;
  explicit TExactStep(float step) {
    if (!(step >= 0) || std::isinf(step)) return;
    int ex = 0;
    const double f = std::frexp(static_cast<double>(step), &ex);
    mantissa = static_cast<std::int64_t>(std::ldexp(f, 24));
    shift = 24 - ex;
    usable = shift >= 1 && shift <= 62;
  }
  // Halves to even; pos below 2^36 keeps the product below 2^60.
  std::int64_t Nearest(std::int64_t pos) const {
    const std::int64_t p = pos * mantissa;
    std::int64_t q = p >> shift;
    const std::int64_t rest = p & ((std::int64_t{1} << shift) - 1), half = std::int64_t{1} << (shift - 1);
    if (rest > half || (rest == half && (q & 1) != 0)) ++q;
    return q;
  }
};

}  // namespace

// GCC 12's intrinsics again (their undefined start registers).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
namespace {

bool HasSpanVectors() {
  static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
                          __builtin_cpu_supports("avx512vl");
  return has;
}

struct TRestParams {
  std::int64_t mantissa = 0, phase = 0, length = 1;
  int shift = 1, volume = 0;
  double perLength = 0, perLengthLess1 = 0, scale = 0, widthSlope = 0, widthBase = 0;
  bool lowpass = false, swapOnOdd = false, noiseSource = false, noiseDest = false;
  const std::uint16_t *source = nullptr, *dest = nullptr;
};

// q = x / divisor for 0 <= x < 2^52: the double quotient is off by at most one.
[[gnu::target("avx512f,avx512dq,avx512vl"), gnu::always_inline]] inline __m512i Divide512(__m512i x, std::int64_t divisor,
                                                                                       __m512i& remainder) {
  const __m512i dv = _mm512_set1_epi64(divisor);
  __m512i q = _mm512_cvttpd_epi64(_mm512_mul_pd(_mm512_cvtepi64_pd(x), _mm512_set1_pd(1.0 / static_cast<double>(divisor))));
  __m512i r = _mm512_sub_epi64(x, _mm512_mullo_epi64(q, dv));
  const __mmask8 low = _mm512_cmplt_epi64_mask(r, _mm512_setzero_si512());
  q = _mm512_mask_sub_epi64(q, low, q, _mm512_set1_epi64(1));
  r = _mm512_mask_add_epi64(r, low, r, dv);
  const __mmask8 high = _mm512_cmpge_epi64_mask(r, dv);
  q = _mm512_mask_add_epi64(q, high, q, _mm512_set1_epi64(1));
  remainder = _mm512_mask_sub_epi64(r, high, r, dv);
  return q;
}

// Both ends of [y - margin, y + margin] round to one float: returns the
// lanes where they do, the float in `result`.
[[gnu::target("avx512f,avx512dq,avx512vl"), gnu::always_inline]] inline __mmask8 FloatNear512(__m512d y, __m512d margin,
                                                                                           __m256& result) {
  const __m256 below = _mm512_cvtpd_ps(_mm512_sub_pd(y, margin)), above = _mm512_cvtpd_ps(_mm512_add_pd(y, margin));
  result = below;
  return _mm256_cmp_ps_mask(below, above, _CMP_EQ_OQ);
}

// The second pass of RenderVoiceSpan for eight samples of a voice (d0 = the
// first sample's distance from the start delay, e the envelope levels, draws
// the noise draws of the eight samples in order): the same operations lane by lane, so the same doubles and
// the same checks. Returns the lanes to redo one by one.
// The noise draws of eight samples, one or two per sample (source first).
[[gnu::target("avx512f,avx512dq,avx512vl"), gnu::always_inline]] inline __m512i Draws512(const std::int32_t* draws,
                                                                                       int stride, int which) {
  if (stride == 1) return _mm512_cvtepi32_epi64(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(draws)));
  const __m512i both = _mm512_loadu_si512(draws);
  // Each 64-bit lane holds a sample's source draw low and its destination draw high.
  return which == 0 ? _mm512_srai_epi64(_mm512_slli_epi64(both, 32), 32) : _mm512_srai_epi64(both, 32);
}

[[gnu::target("avx512f,avx512dq,avx512vl")]] unsigned RestOf8(const TRestParams& p, const std::int64_t* positions,
                                                              std::int64_t d0, const std::int32_t* e, float* out,
                                                              int* widths, const std::int32_t* draws) {
  const __m512i one = _mm512_set1_epi64(1);
  const __m512i pos = _mm512_loadu_si512(positions);
  __mmask8 ok = _mm512_cmplt_epi64_mask(pos, _mm512_set1_epi64(std::int64_t{1} << 36));
  // The table step in integers, halves to even (see TExactStep).
  const __m512i prod = _mm512_mullo_epi64(pos, _mm512_set1_epi64(p.mantissa));
  __m512i q = _mm512_srl_epi64(prod, _mm_cvtsi64_si128(p.shift));
  const __m512i rest = _mm512_and_si512(prod, _mm512_set1_epi64((std::int64_t{1} << p.shift) - 1));
  const __m512i half = _mm512_set1_epi64(std::int64_t{1} << (p.shift - 1));
  const __mmask8 up = _mm512_cmpgt_epi64_mask(rest, half) |
                      (_mm512_cmpeq_epi64_mask(rest, half) & _mm512_test_epi64_mask(q, one));
  q = _mm512_mask_add_epi64(q, up, q, one);
  const __m512i stepped = _mm512_add_epi64(q, _mm512_set1_epi64(p.phase));
  ok &= _mm512_cmplt_epi64_mask(stepped, _mm512_set1_epi64(std::int64_t{1} << 52));
  __m512i idx;
  Divide512(_mm512_and_si512(stepped, _mm512_set1_epi64((std::int64_t{1} << 52) - 1)), kMorphSteps, idx);
  __m512i unused;
  const __m512i cycle = Divide512(pos, 100, unused);
  // Repeat and position within it as the one-sample code has them.
  const __m512i length = _mm512_set1_epi64(p.length);
  __m512i rep = _mm512_cvttpd_epi64(_mm512_mul_pd(_mm512_cvtepi64_pd(cycle), _mm512_set1_pd(p.perLength)));
  __m512i k = _mm512_sub_epi64(cycle, _mm512_mullo_epi64(rep, length));
  const __mmask8 below = _mm512_cmplt_epi64_mask(k, _mm512_setzero_si512());
  k = _mm512_mask_add_epi64(k, below, k, length);
  rep = _mm512_mask_sub_epi64(rep, below, rep, one);
  const __mmask8 above = _mm512_cmpge_epi64_mask(k, length);
  k = _mm512_mask_sub_epi64(k, above, k, length);
  rep = _mm512_mask_add_epi64(rep, above, rep, one);
  // Table values (two bytes from each 32-bit read; the reads stay inside the
  // voice's tables and envelope, which follow in the state).
  const __m512i bias = _mm512_set1_epi64(19200), low16 = _mm512_set1_epi64(0xFFFF);
  const int stride = int{p.noiseSource} + int{p.noiseDest};
  const __m512i src = _mm512_sub_epi64(
      p.noiseSource ? Draws512(draws, stride, 0)
                    : _mm512_and_si512(_mm512_cvtepi32_epi64(_mm512_i64gather_epi32(idx, p.source, 2)), low16),
      bias);
  const __m512i dst = _mm512_sub_epi64(
      p.noiseDest ? Draws512(draws, stride, stride - 1)
                  : _mm512_and_si512(_mm512_cvtepi32_epi64(_mm512_i64gather_epi32(idx, p.dest, 2)), low16),
      bias);
  const __mmask8 swapped = p.swapOnOdd ? _mm512_test_epi64_mask(rep, one) : __mmask8{0};
  const __m512i from0 = _mm512_mask_blend_epi64(swapped, src, dst), to1 = _mm512_mask_blend_epi64(swapped, dst, src);
  const __m512i numerator =
      _mm512_add_epi64(_mm512_mullo_epi64(from0, _mm512_sub_epi64(_mm512_sub_epi64(length, one), k)),
                       _mm512_mullo_epi64(to1, k));
  const __m512d mixed = _mm512_mul_pd(_mm512_cvtepi64_pd(numerator), _mm512_set1_pd(p.perLengthLess1));
  const __m512d absMixed = _mm512_abs_pd(mixed);
  const __m512d mixMargin = _mm512_mul_pd(
      _mm512_add_pd(_mm512_cvtepi64_pd(_mm512_add_epi64(_mm512_abs_epi64(src), _mm512_abs_epi64(dst))), absMixed),
      _mm512_set1_pd(0x1p-50));
  __m256 x;
  ok &= FloatNear512(mixed, mixMargin, x);
  const __m512d level = _mm512_mul_pd(
      _mm512_mul_pd(_mm512_mul_pd(_mm512_cvtepi32_pd(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(e))),
                                  _mm512_cvtps_pd(x)),
                    _mm512_set1_pd(static_cast<double>(p.volume))),
      _mm512_set1_pd(p.scale));
  __m256 result;
  ok &= FloatNear512(level, _mm512_mul_pd(_mm512_abs_pd(level), _mm512_set1_pd(0x1p-50)), result);
  _mm256_storeu_ps(out, result);
  if (p.lowpass) {
    const __m512d dv = _mm512_cvtepi64_pd(_mm512_add_epi64(_mm512_set1_epi64(d0), _mm512_set_epi64(7, 6, 5, 4, 3, 2, 1, 0)));
    const __m512d wv = _mm512_add_pd(_mm512_mul_pd(dv, _mm512_set1_pd(p.widthSlope)), _mm512_set1_pd(p.widthBase));
    const __m512d absWv = _mm512_abs_pd(wv);
    ok &= _mm512_cmp_pd_mask(absWv, _mm512_set1_pd(0x1p52), _CMP_LT_OQ);
    const __m512i r = _mm512_cvtpd_epi64(_mm512_mask_mov_pd(_mm512_setzero_pd(), ok, wv));
    const __m512d distance = _mm512_abs_pd(_mm512_sub_pd(wv, _mm512_cvtepi64_pd(r)));
    ok &= _mm512_cmp_pd_mask(distance, _mm512_sub_pd(_mm512_set1_pd(0.5), _mm512_mul_pd(absWv, _mm512_set1_pd(0x1p-50))),
                             _CMP_LT_OQ);
    const __m512i clamped = _mm512_min_epi64(_mm512_max_epi64(r, _mm512_setzero_si512()), _mm512_set1_epi64(255));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(widths), _mm512_cvtepi64_epi32(clamped));
  } else {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(widths), _mm256_setzero_si256());
  }
  return static_cast<unsigned>(static_cast<std::uint8_t>(~ok));
}

[[gnu::target("avx512f,avx512dq,avx512vl"), gnu::always_inline]] inline __m512d Distances512(std::int64_t d0) {
  return _mm512_cvtepi64_pd(_mm512_add_epi64(_mm512_set1_epi64(d0), _mm512_set_epi64(7, 6, 5, 4, 3, 2, 1, 0)));
}

// The vibrato angles and depths of eight samples, as the one-sample code has
// them; returns the lanes whose angle is to be taken one by one.
[[gnu::target("avx512f,avx512dq,avx512vl")]] unsigned AnglesOf8(double speedSlope, double speedBase, double depthSlope,
                                                                double depthBase, std::int64_t d0, float* thetas,
                                                                double* depths) {
  const __m512d dv = Distances512(d0);
  const __m512d t = _mm512_mul_pd(dv, _mm512_add_pd(_mm512_mul_pd(dv, _mm512_set1_pd(speedSlope)), _mm512_set1_pd(speedBase)));
  __m256 theta;
  const __mmask8 ok = FloatNear512(t, _mm512_mul_pd(_mm512_abs_pd(t), _mm512_set1_pd(0x1p-49)), theta);
  _mm256_storeu_ps(thetas, theta);
  _mm512_storeu_pd(depths, _mm512_add_pd(_mm512_mul_pd(dv, _mm512_set1_pd(depthSlope)), _mm512_set1_pd(depthBase)));
  return static_cast<unsigned>(static_cast<std::uint8_t>(~ok));
}

// Cosines of eight angles with a bound of each one's distance from the true
// cosine. t = k pi/2 + r with |r| <= pi/4 + 2^-40: k pi/2 is taken in two
// parts, the first of 33 bits (k < 2^19, so k x first is exact and so is
// t - k x first, the two lying within a factor 2 of each other); r is
// then within 2^-52.9 of the true remainder (the second part's rounding
// and product 2^-68, the subtraction 2^-53, the part left out 2^-69).
// The Taylor series to r^16 and r^17 leave less than 2^-58; their
// evaluation rounds to within 2^-51. The bound given, 2^-49, holds with
// room to spare. Larger or not finite angles take the library cosine.
[[gnu::target("avx512f,avx512dq,avx512vl")]] void Cosines8(const float* thetas, double* cosines, double* errors) {
  constexpr double kPio2Hi = 0x1.921fb544p0;  // pi/2 to 33 bits
  // The rest of pi/2, rounded to double (off by less than 2^-88; taken from
  // a long double pi it would be off by 2^-65, which times k is too much).
  constexpr double kPio2Lo = 0x1.0b4611a626331p-34;
  const __m512d t = _mm512_cvtps_pd(_mm256_loadu_ps(thetas));
  const __mmask8 small = _mm512_cmp_pd_mask(_mm512_abs_pd(t), _mm512_set1_pd(0x1p19), _CMP_LT_OQ);
  const __m512d tt = _mm512_maskz_mov_pd(small, t);
  const __m512d k = _mm512_roundscale_pd(_mm512_mul_pd(tt, _mm512_set1_pd(0.63661977236758134308)),
                                         _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
  const __m512d r = _mm512_sub_pd(_mm512_sub_pd(tt, _mm512_mul_pd(k, _mm512_set1_pd(kPio2Hi))),
                                  _mm512_mul_pd(k, _mm512_set1_pd(kPio2Lo)));
  const __m512d z = _mm512_mul_pd(r, r);
  // cos r = 1 + z (-1/2 + z (1/24 - ...)), sin r = r + r z (-1/6 + ...); no fused operations.
  __m512d pc = _mm512_set1_pd(1.0 / 20922789888000);
  pc = _mm512_add_pd(_mm512_mul_pd(pc, z), _mm512_set1_pd(-1.0 / 87178291200));
  pc = _mm512_add_pd(_mm512_mul_pd(pc, z), _mm512_set1_pd(1.0 / 479001600));
  pc = _mm512_add_pd(_mm512_mul_pd(pc, z), _mm512_set1_pd(-1.0 / 3628800));
  pc = _mm512_add_pd(_mm512_mul_pd(pc, z), _mm512_set1_pd(1.0 / 40320));
  pc = _mm512_add_pd(_mm512_mul_pd(pc, z), _mm512_set1_pd(-1.0 / 720));
  pc = _mm512_add_pd(_mm512_mul_pd(pc, z), _mm512_set1_pd(1.0 / 24));
  pc = _mm512_add_pd(_mm512_mul_pd(pc, z), _mm512_set1_pd(-0.5));
  const __m512d cr = _mm512_add_pd(_mm512_set1_pd(1), _mm512_mul_pd(pc, z));
  __m512d ps = _mm512_set1_pd(1.0 / 355687428096000);
  ps = _mm512_add_pd(_mm512_mul_pd(ps, z), _mm512_set1_pd(-1.0 / 1307674368000));
  ps = _mm512_add_pd(_mm512_mul_pd(ps, z), _mm512_set1_pd(1.0 / 6227020800));
  ps = _mm512_add_pd(_mm512_mul_pd(ps, z), _mm512_set1_pd(-1.0 / 39916800));
  ps = _mm512_add_pd(_mm512_mul_pd(ps, z), _mm512_set1_pd(1.0 / 362880));
  ps = _mm512_add_pd(_mm512_mul_pd(ps, z), _mm512_set1_pd(-1.0 / 5040));
  ps = _mm512_add_pd(_mm512_mul_pd(ps, z), _mm512_set1_pd(1.0 / 120));
  ps = _mm512_add_pd(_mm512_mul_pd(ps, z), _mm512_set1_pd(-1.0 / 6));
  const __m512d sr = _mm512_add_pd(r, _mm512_mul_pd(_mm512_mul_pd(r, z), ps));
  // cos(k pi/2 + r): cos r, -sin r, -cos r, sin r by k mod 4.
  const __m512i q = _mm512_cvtpd_epi64(k);
  const __mmask8 odd = _mm512_test_epi64_mask(q, _mm512_set1_epi64(1));
  const __mmask8 negate = _mm512_test_epi64_mask(_mm512_add_epi64(q, _mm512_set1_epi64(1)), _mm512_set1_epi64(2));
  __m512d result = _mm512_mask_blend_pd(odd, cr, sr);
  result = _mm512_mask_sub_pd(result, negate, _mm512_setzero_pd(), result);
  _mm512_storeu_pd(cosines, result);
  _mm512_storeu_pd(errors, _mm512_set1_pd(0x1p-49));
  for (int l = 0; l < 8; ++l)
    if (!((small >> l) & 1u)) {
      cosines[l] = std::cos(static_cast<double>(thetas[l]));
      errors[l] = 0x1p-52;
    }
}

// The vibrato offsets of eight samples from their depths and cosines (with
// error bounds) where the first check of the one-sample code decides them
// (0 without depth); returns the lanes it decides.
[[gnu::target("avx512f,avx512dq,avx512vl"), gnu::always_inline]] inline __mmask8 Offsets512(bool up, const double* depths,
                                                                                          const double* cosines,
                                                                                          const double* errors,
                                                                                          __m512d& offsetD) {
  const __m512d depth = _mm512_loadu_pd(depths), c = _mm512_loadu_pd(cosines), err = _mm512_loadu_pd(errors);
  const __m512d one = _mm512_set1_pd(1);
  const __m512d y = _mm512_mul_pd(up ? _mm512_add_pd(one, c) : _mm512_sub_pd(one, c), depth);
  const __m512d margin = _mm512_mul_pd(_mm512_abs_pd(depth),
                                       _mm512_add_pd(_mm512_add_pd(err, err), _mm512_set1_pd(0x1p-48)));
  __m256 offset;
  const __mmask8 none = _mm512_cmp_pd_mask(depth, _mm512_setzero_pd(), _CMP_EQ_OQ);
  const __mmask8 ok = FloatNear512(y, margin, offset) | none;
  offsetD = _mm512_mask_mov_pd(_mm512_cvtps_pd(offset), none, _mm512_setzero_pd());
  return ok;
}

[[gnu::target("avx512f,avx512dq,avx512vl")]] unsigned OffsetsOf8(bool up, const double* depths, const double* cosines,
                                                                 const double* errors, float* offsets) {
  __m512d offsetD;
  const __mmask8 ok = Offsets512(up, depths, cosines, errors, offsetD);
  _mm256_storeu_ps(offsets, _mm512_cvtpd_ps(offsetD));
  return static_cast<unsigned>(static_cast<std::uint8_t>(~ok));
}

// The positions x 100 of eight samples from their depths and cosines (with
// error bounds), as the one-sample code has them where the first check
// decides; returns the lanes to redo one by one.
[[gnu::target("avx512f,avx512dq,avx512vl")]] unsigned PositionsOf8(bool up, std::int64_t d0, std::int64_t last100,
                                                                   const double* depths, const double* cosines,
                                                                   const double* errors, std::int64_t* positions) {
  __m512d offsetD;
  __mmask8 ok = Offsets512(up, depths, cosines, errors, offsetD);
  const __m512d at100 = _mm512_mul_pd(_mm512_add_pd(Distances512(d0), offsetD), _mm512_set1_pd(100));
  const __m512d absAt = _mm512_abs_pd(at100);
  ok &= _mm512_cmp_pd_mask(absAt, _mm512_set1_pd(0x1p52), _CMP_LT_OQ);
  const __m512i r = _mm512_cvtpd_epi64(_mm512_mask_mov_pd(_mm512_setzero_pd(), ok, at100));
  const __m512d distance = _mm512_abs_pd(_mm512_sub_pd(at100, _mm512_cvtepi64_pd(r)));
  ok &= _mm512_cmp_pd_mask(distance, _mm512_sub_pd(_mm512_set1_pd(0.5), _mm512_mul_pd(absAt, _mm512_set1_pd(0x1p-50))),
                           _CMP_LT_OQ);
  _mm512_storeu_si512(positions,
                      _mm512_min_epi64(_mm512_max_epi64(r, _mm512_setzero_si512()), _mm512_set1_epi64(last100)));
  return static_cast<unsigned>(static_cast<std::uint8_t>(~ok));
}

}  // namespace
#pragma GCC diagnostic pop

void CosinesOfEight(const float* thetas, double* cosines, double* errors) {
  if (HasSpanVectors()) return Cosines8(thetas, cosines, errors);
  for (int l = 0; l < 8; ++l) {
    cosines[l] = std::cos(static_cast<double>(thetas[l]));
    errors[l] = 0x1p-52;
  }
}

unsigned VibratoOffsetsOfEight(bool up, const double* depths, const double* cosines, const double* errors,
                               float* offsets) {
  if (HasSpanVectors()) return OffsetsOf8(up, depths, cosines, errors, offsets);
  return 0xFFu;
}

void RenderVoiceSpan(TVoiceState& v, std::int64_t from, std::int64_t to, std::int64_t n, const std::int32_t* draws,
                     float* out, int* widths, TSpanPath path) {
  const bool up = v.V.Vibrato.VibDirection, noiseSource = v.V.Morph.NoiseSource, noiseDest = v.V.Morph.NoiseDest;
  const bool swapOnOdd = v.V.Timing.RepeatMode, lowpass = v.V.Lowpass.FilterActive;
  const double speedSlope = v.SpeedSlope, speedBase = v.SpeedBase;
  const double depthSlope = v.DepthSlope, depthBase = v.DepthBase;
  const double widthSlope = v.WidthSlope, widthBase = v.WidthBase;
  const int volume = v.V.Volume.Volume;
  const std::int64_t phase = 100 * v.V.Morph.Phase, length = v.L, last100 = n * 100;
  const double perLengthLess1 = 1.0 / static_cast<double>(length - 1);
  const long double totalLess1 = static_cast<long double>(v.Total - 1);
  const double perLength = 1.0 / static_cast<double>(length);
  const double scale = static_cast<double>(1.0L / 14942);
  const TExactStep exactStep(v.Step);
  TCosineSteps cosines;
  // The products d x slope below are exact in double (d < 2^29 and a float
  // slope), so each double value is the extended one's real value rounded
  // once or twice to 53 bits; the margins bound that with room to spare.
  // The envelope position (d - 1) x 1020 / (total - 1) runs as a whole part
  // and a remainder. Where the remainder is not 0 the quotient lies at least
  // 1 / (total - 1) from a whole number, far more than the error of the
  // extended division, so its whole part is the table index; at 0 the
  // extended quotient itself is cut.
  const std::int64_t envDen = v.Total - 1;
  std::int64_t envWhole = (from - v.Delay - 1) * 1020 / envDen, envRest = (from - v.Delay - 1) * 1020 % envDen;
  const bool shortSpan = n < (std::int64_t{1} << 29);
  // Two passes over chunks of samples: the vibrato positions, then the rest;
  // shorter loop bodies let the processor overlap more samples.
  // Eight samples per vector where the unit has them (a noise voice's draws
  // are known before the span); a lane whose checks fail is redone by the
  // one-sample code with its own draws.
  const bool vectors = path != TSpanPath::Plain && HasSpanVectors() && exactStep.usable && shortSpan;
  const int drawsPerSample = int{noiseSource} + int{noiseDest};
  TRestParams rest;
  if (vectors) {
    rest.mantissa = exactStep.mantissa, rest.shift = exactStep.shift, rest.phase = phase, rest.length = length;
    rest.perLength = perLength, rest.perLengthLess1 = perLengthLess1, rest.volume = volume, rest.scale = scale;
    rest.widthSlope = widthSlope, rest.widthBase = widthBase, rest.lowpass = lowpass, rest.swapOnOdd = swapOnOdd;
    rest.source = v.Source.data(), rest.dest = v.Dest.data();
    rest.noiseSource = noiseSource, rest.noiseDest = noiseDest;
  }
  constexpr std::int64_t kChunk = 256;
  std::array<std::int64_t, kChunk> positions;
  const bool vibratoVectors = path != TSpanPath::Plain && HasSpanVectors() && shortSpan;
  std::array<float, kChunk> thetas;
  std::array<double, kChunk> depths, cosValues, cosErrors;
  for (std::int64_t first = from; first <= to; first += kChunk) {
    const std::int64_t last = std::min(to, first + kChunk - 1);
    if (vibratoVectors) {
      // The angles and depths eight at a time, the cosines in order (each
      // from the one before), then the positions eight at a time.
      const auto thetaOf = [&](std::int64_t s) {
        const std::int64_t d = s - v.Delay;
        const double dv = static_cast<double>(d);
        const double t = dv * (dv * speedSlope + speedBase);
        return FloatNear(t, std::fabs(t) * 0x1p-49, [&] {
          const long double dd = static_cast<long double>(d);
          return F(dd * (dd * v.SpeedSlope + v.SpeedBase));
        });
      };
      const auto positionOf = [&](std::int64_t s, float theta, double depth, double c, double err) {
        const std::int64_t d = s - v.Delay;
        const double dv = static_cast<double>(d);
        float offset = 0;
        if (depth != 0)
          offset = OffsetNear(theta, depth, up, c, err,
                              [&] { return static_cast<long double>(d) * v.DepthSlope + v.DepthBase; });
        const double at100 = (dv + offset) * 100;
        return std::clamp<std::int64_t>(
            NearestNear(at100, std::fabs(at100) * 0x1p-50,
                        [&] { return RoundEven((static_cast<long double>(d) + offset) * 100); }),
            0, last100);
      };
      const int count = static_cast<int>(last - first + 1);
      const unsigned redoAll = path == TSpanPath::VectorRedone ? 0xFFu : 0u;
      int i = 0;
      for (; i + 8 <= count; i += 8) {
        const unsigned redo = redoAll | AnglesOf8(speedSlope, speedBase, depthSlope, depthBase, first + i - v.Delay,
                                                  &thetas[static_cast<std::size_t>(i)], &depths[static_cast<std::size_t>(i)]);
        for (int l = 0; l < 8; ++l)
          if ((redo >> l) & 1u) thetas[static_cast<std::size_t>(i + l)] = thetaOf(first + i + l);
      }
      for (; i < count; ++i) {
        thetas[static_cast<std::size_t>(i)] = thetaOf(first + i);
        depths[static_cast<std::size_t>(i)] = static_cast<double>(first + i - v.Delay) * depthSlope + depthBase;
      }
      // The cosines eight at a time (a lane without depth has no offset,
      // whatever its cosine), the rest in order.
      for (i = 0; i + 8 <= count; i += 8) {
        const auto k = static_cast<std::size_t>(i);
        Cosines8(&thetas[k], &cosValues[k], &cosErrors[k]);
      }
      for (; i < count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        // No depth, no offset (its sign cannot matter: it is added to the
        // sample), and no cosine taken.
        if (depths[k] != 0) {
          cosValues[k] = cosines.Next(thetas[k]);
          cosErrors[k] = cosines.Error();
        } else {
          cosValues[k] = cosErrors[k] = 0;
        }
      }
      i = 0;
      for (; i + 8 <= count; i += 8) {
        const auto k = static_cast<std::size_t>(i);
        const unsigned redo = redoAll | PositionsOf8(up, first + i - v.Delay, last100, &depths[k], &cosValues[k],
                                                     &cosErrors[k], &positions[k]);
        for (int l = 0; l < 8; ++l)
          if ((redo >> l) & 1u)
            positions[k + l] = positionOf(first + i + l, thetas[k + l], depths[k + l], cosValues[k + l], cosErrors[k + l]);
      }
      for (; i < count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        positions[k] = positionOf(first + i, thetas[k], depths[k], cosValues[k], cosErrors[k]);
      }
    } else
    for (std::int64_t s = first; s <= last; ++s) {
      const std::int64_t d = s - v.Delay;
      // The extended d only where a fallback needs it: kept live, it costs
      // a store to memory every sample.
      const auto dd = [d] { return static_cast<long double>(d); };
      const double dv = static_cast<double>(d);
      float offset = 0;
      if (shortSpan) {
        const double t = dv * (dv * speedSlope + speedBase);
        const float theta = FloatNear(t, std::fabs(t) * 0x1p-49, [&] { return F(dd() * (dd() * v.SpeedSlope + v.SpeedBase)); });
        // d x slope is exact in double: one rounding from the extended depth.
        const double depth = dv * depthSlope + depthBase;
        // No depth, no offset (its sign cannot matter: it is added to the sample).
        if (depth != 0)
          offset = OffsetNear(theta, depth, up, cosines.Next(theta), cosines.Error(),
                              [&] { return dd() * v.DepthSlope + v.DepthBase; });
      } else {
        const float theta = F(dd() * (dd() * v.SpeedSlope + v.SpeedBase));
        offset = VibratoOffset(theta, dd() * v.DepthSlope + v.DepthBase, up);
      }
      const double at100 = (dv + offset) * 100;
      positions[static_cast<std::size_t>(s - first)] = std::clamp<std::int64_t>(
          NearestNear(at100, std::fabs(at100) * 0x1p-50, [&] { return RoundEven((dd() + offset) * 100); }), 0, last100);
    }
    // The rest of one sample, its envelope index given.
    const auto one = [&](std::int64_t s, std::int64_t envAt) {
      const std::int64_t d = s - v.Delay;
      const double dv = static_cast<double>(d);
      const std::int64_t pos = positions[static_cast<std::size_t>(s - first)];
      const std::int64_t stepped =
          exactStep.usable && pos < (std::int64_t{1} << 36) ? exactStep.Nearest(pos) : RoundEven(pos * static_cast<long double>(v.Step));
      const std::int64_t idx = (stepped + phase) % kMorphSteps;
      // Repeat and position within it by a double reciprocal, off by at most one.
      const std::int64_t cycle = pos / 100;
      std::int64_t rep = static_cast<std::int64_t>(static_cast<double>(cycle) * perLength);
      std::int64_t k = cycle - rep * length;
      if (k < 0) {
        k += length;
        --rep;
      } else if (k >= length) {
        k -= length;
        ++rep;
      }
      const std::int32_t src = (noiseSource ? *draws++ : v.Source[static_cast<std::size_t>(idx)]) - 19200;
      const std::int32_t dst = (noiseDest ? *draws++ : v.Dest[static_cast<std::size_t>(idx)]) - 19200;
      const bool swapped = swapOnOdd && (rep & 1) != 0;
      const std::int32_t from0 = swapped ? dst : src, to1 = swapped ? src : dst;
      // from0 x (1 - w) + to1 x w with w = k / (L - 1): the exact numerator
      // times a rounded reciprocal is within |x| x 2^-51.9 of the exact value;
      // the extended form lies within (|src| + |dst|) x 2^-62 of it.
      const double mixed = static_cast<double>(from0 * (length - 1 - k) + to1 * k) * perLengthLess1;
      const float x = FloatNear(mixed, (std::abs(src) + std::abs(dst) + std::fabs(mixed)) * 0x1p-50, [&] {
        const long double w = static_cast<long double>(k) / (length - 1);
        const long double a = src, b = dst;
        return swapped ? F(a * w + b * (1 - w)) : F(a * (1 - w) + b * w);
      });
      const int e = v.Envelope[static_cast<std::size_t>(envAt)];
      // e x x x volume is exact in double; only the scaling rounds.
      const double level = static_cast<double>(e) * x * volume * scale;
      out[s - from] = FloatNear(level, std::fabs(level) * 0x1p-50,
                                [&] { return F(static_cast<long double>(e) * x * volume * (1.0L / 14942)); });
      if (lowpass) {
        const double wv = dv * widthSlope + widthBase;
        const std::int64_t width =
            NearestNear(wv, std::fabs(wv) * 0x1p-50, [&] { return RoundEven(d * static_cast<long double>(v.WidthSlope) + v.WidthBase); });
        widths[s - from] = static_cast<int>(std::clamp<std::int64_t>(width, 0, 255));
      } else {
        widths[s - from] = 0;
      }
    };
    const auto envelopeAt = [&](std::int64_t s) {
      const std::int64_t at =
          envRest != 0 ? envWhole : Trunc(static_cast<long double>(s - v.Delay - 1) / totalLess1 * 1020);
      envRest += 1020;
      while (envRest >= envDen) {
        envRest -= envDen;
        ++envWhole;
      }
      return at;
    };
    std::int64_t s = first;
    if (vectors)
      for (; s + 7 <= last; s += 8) {
        std::array<std::int64_t, 8> envAts;
        std::array<std::int32_t, 8> levels;
        for (int l = 0; l < 8; ++l) {
          envAts[static_cast<std::size_t>(l)] = envelopeAt(s + l);
          levels[static_cast<std::size_t>(l)] = v.Envelope[static_cast<std::size_t>(envAts[static_cast<std::size_t>(l)])];
        }
        unsigned redo = path == TSpanPath::VectorRedone ? 0xFFu : 0u;
        const std::int32_t* const drawn = draws;
        redo |= RestOf8(rest, &positions[static_cast<std::size_t>(s - first)], s - v.Delay, levels.data(), out + (s - from),
                        widths + (s - from), drawn);
        for (int l = 0; l < 8; ++l)
          if ((redo >> l) & 1u) {
            draws = drawn + l * drawsPerSample;  // the lane's own draws
            one(s + l, envAts[static_cast<std::size_t>(l)]);
          }
        draws = drawn + 8 * drawsPerSample;
      }
    for (; s <= last; ++s) one(s, envelopeAt(s));
  }
}

int LowpassWidth(const TVoiceState& v, std::int64_t s) {
  if (!v.V.Lowpass.FilterActive) return 0;
  const long double dd = static_cast<long double>(s - v.Delay);
  return static_cast<int>(std::clamp<std::int64_t>(RoundEven(dd * v.WidthSlope + v.WidthBase), 0, 255));
}

int PushRing(TVoiceState& v, std::int64_t s, float x) {
  const int width = LowpassWidth(v, s);
  if (width == 0) return 0;
  v.Ring[static_cast<std::size_t>(v.RingPos)] = x;
  v.RingPos = (v.RingPos + 1) % (width + 1);
  return width;
}

namespace {

[[gnu::noinline]] float AddProductExtended(float sum, float a, float b) {
  return F(static_cast<long double>(sum) + static_cast<long double>(a) * b);
}

// float(sum + a*b) with the sum taken in extended precision. A product of two
// floats is exact in double, so the double sum is the exact sum rounded once
// to 53 bits; rounding that to float gives the extended result unless it lies
// exactly halfway between two floats (or outside the normal float range):
// only then can the two roundings part, and the extended sum is taken.
[[gnu::always_inline]] inline float AddProductFast(float sum, float a, float b) {
  const double hi = static_cast<double>(sum) + static_cast<double>(a) * static_cast<double>(b);
  std::uint64_t bits;
  std::memcpy(&bits, &hi, sizeof bits);
  const unsigned exponent = static_cast<unsigned>(bits >> 52) & 0x7FFu;
  const bool halfway = (bits & 0x1FFFFFFFu) == 0x10000000u;
  const bool outside = exponent - (1023u - 126u) > 253u && hi != 0;  // below 2^-126 or from 2^128
  if (__builtin_expect(halfway || outside, 0)) return AddProductExtended(sum, a, b);
  return static_cast<float>(hi);
}

}  // namespace

float AddProduct(float sum, float a, float b) { return AddProductFast(sum, a, b); }

void RingSums(TVoiceState* const* voices, const int* widths, int count, float* sums) {
  // The voices' sums run side by side (each keeps its own order of entries),
  // so their dependent chains overlap.
  std::array<int, TInstrument::kVoices> at{};
  std::array<const float*, TInstrument::kVoices> rings{}, weights{};
  const TRingWeights& table = RingWeights();
  int most = 0;
  for (int k = 0; k < count; ++k) {
    sums[k] = 0;
    at[static_cast<std::size_t>(k)] = voices[k]->RingPos;
    rings[static_cast<std::size_t>(k)] = voices[k]->Ring.data();
    weights[static_cast<std::size_t>(k)] = table.Row(widths[k]);
    most = std::max(most, widths[k]);
  }
  for (int j = 0; j <= most; ++j)
    for (int k = 0; k < count; ++k) {
      const int n = widths[k];
      if (j > n) continue;
      int& p = at[static_cast<std::size_t>(k)];
      sums[k] = AddProductFast(sums[k], rings[static_cast<std::size_t>(k)][p], weights[static_cast<std::size_t>(k)][j]);
      if (++p > n) p = 0;
    }
}

namespace {

// The sums of a span with one width n, side by side: lin holds the ring
// unrolled oldest first (n + 1 entries) followed by the span's new values, so
// the entries of sample t are lin[t + 1 .. t + 1 + n]. Each lane runs the
// same chain as AddProductFast: the double sum (a fused multiply-add gives
// the same bits, the product being exact), rounded to float at every step.
// A lane whose double sum lands halfway between two floats is flagged and
// redone one step at a time. The caller makes sure no sum leaves the normal
// float range (see SpanInRange), so that check is not needed per step.
// Halfway sums are common when the double sum is exact (short products);
// then both roundings see the same value. Only an inexact one is flagged: the
// error of the sum (two-sum) is not 0.
[[gnu::target("avx512f,avx512dq"), gnu::noinline, gnu::cold]] unsigned InexactLanes(__m512d a, __m512d w, __m512d sum,
                                                                                    __m512d before,
                                                                                    __mmask8 halfway) {
  const __m512d p = _mm512_mul_pd(a, w);
  const __m512d z = _mm512_sub_pd(sum, before);
  const __m512d err = _mm512_add_pd(_mm512_sub_pd(before, _mm512_sub_pd(sum, z)), _mm512_sub_pd(p, z));
  return halfway & _mm512_cmp_pd_mask(err, _mm512_setzero_pd(), _CMP_NEQ_UQ);
}

// The step's rounding to float precision is done on the double's bits: add
// half of a float's last place and clear the 29 bits below it. That rounds
// the magnitude to nearest with halves up, and a carry out of the fraction
// moves into the exponent as the rounding does (the sums stay in the normal
// float range, see SpanInRange). The same add shows a halfway sum (the 29
// bits then come out 0); only there halves up and halves to even part, so
// halfway lanes take the round trip through float on the rare path.
template <int K>
[[gnu::target("avx512f,avx512dq"), gnu::always_inline]] inline void SumGroup512(const double* lin, const double* w,
                                                                                 int n, int t, float* sums,
                                                                                 std::uint8_t* flags) {
  const __m512i half = _mm512_set1_epi64(0x10000000), low = _mm512_set1_epi64(0x1FFFFFFF);
  __m512d acc[K];
  unsigned hit[K];
  for (int k = 0; k < K; ++k) acc[k] = _mm512_setzero_pd(), hit[k] = 0;
  const double* base = lin + t + 1;
  for (int j = 0; j <= n; ++j) {
    const __m512d wj = _mm512_set1_pd(w[j]);
    __m512i up[K];
    __mmask8 halfway[K];
    unsigned any = 0;
    for (int k = 0; k < K; ++k) {
      const __m512d hi = _mm512_fmadd_pd(_mm512_loadu_pd(base + j + 8 * k), wj, acc[k]);
      // Halfway: the 29 bits below a float's last place are 1 followed by
      // zeros; adding the half clears them exactly then.
      up[k] = _mm512_add_epi64(_mm512_castpd_si512(hi), half);
      halfway[k] = _mm512_testn_epi64_mask(up[k], low);
      any |= halfway[k];
    }
    // One test for the group (halfway sums are rare); there the halfway
    // lanes are checked and take the round trip through float.
    if (__builtin_expect(any != 0, 0)) {
      for (int k = 0; k < K; ++k) {
        const __m512d hi = _mm512_castsi512_pd(_mm512_sub_epi64(up[k], half));
        __m512d rounded = _mm512_castsi512_pd(_mm512_andnot_si512(low, up[k]));
        if (halfway[k] != 0) {
          hit[k] |= InexactLanes(_mm512_loadu_pd(base + j + 8 * k), wj, hi, acc[k], halfway[k]);
          rounded = _mm512_mask_mov_pd(rounded, halfway[k], _mm512_cvtps_pd(_mm512_cvtpd_ps(hi)));
        }
        acc[k] = rounded;
      }
      continue;
    }
    for (int k = 0; k < K; ++k) acc[k] = _mm512_castsi512_pd(_mm512_andnot_si512(low, up[k]));
  }
  for (int k = 0; k < K; ++k) {
    _mm256_storeu_ps(sums + t + 8 * k, _mm512_cvtpd_ps(acc[k]));
    for (int b = 0; b < 8; ++b) flags[t + 8 * k + b] = static_cast<std::uint8_t>((hit[k] >> b) & 1);
  }
}

[[gnu::target("avx512f,avx512dq")]] void SpanSums512(const double* lin, const double* w, int n, int count,
                                                     float* sums, std::uint8_t* flags) {
  int t = 0;
  for (; t + 64 <= count; t += 64) SumGroup512<8>(lin, w, n, t, sums, flags);
  for (; t + 16 <= count; t += 16) SumGroup512<2>(lin, w, n, t, sums, flags);
  for (; t < count; t += 8) SumGroup512<1>(lin, w, n, t, sums, flags);
}

// The same with four lanes of 256 bits, for processors without the wider unit.
[[gnu::target("avx2,fma"), gnu::noinline, gnu::cold]] unsigned InexactLanes256(__m256d a, __m256d w, __m256d sum,
                                                                               __m256d before, unsigned halfway) {
  const __m256d p = _mm256_mul_pd(a, w);
  const __m256d z = _mm256_sub_pd(sum, before);
  const __m256d err = _mm256_add_pd(_mm256_sub_pd(before, _mm256_sub_pd(sum, z)), _mm256_sub_pd(p, z));
  return halfway & static_cast<unsigned>(_mm256_movemask_pd(_mm256_cmp_pd(err, _mm256_setzero_pd(), _CMP_NEQ_UQ)));
}

template <int K>
[[gnu::target("avx2,fma"), gnu::always_inline]] inline void SumGroup256(const double* lin, const double* w, int n,
                                                                         int t, float* sums, std::uint8_t* flags) {
  const __m256i half = _mm256_set1_epi64x(0x10000000), low = _mm256_set1_epi64x(0x1FFFFFFF);
  __m256d acc[K];
  unsigned hit[K];
  for (int k = 0; k < K; ++k) acc[k] = _mm256_setzero_pd(), hit[k] = 0;
  const double* base = lin + t + 1;
  for (int j = 0; j <= n; ++j) {
    const __m256d wj = _mm256_set1_pd(w[j]);
    for (int k = 0; k < K; ++k) {
      const __m256d hi = _mm256_fmadd_pd(_mm256_loadu_pd(base + j + 4 * k), wj, acc[k]);
      const __m256i up = _mm256_add_epi64(_mm256_castpd_si256(hi), half);
      const __m256i cleared = _mm256_and_si256(up, low);
      const __m256i halfwayLanes = _mm256_cmpeq_epi64(cleared, _mm256_setzero_si256());
      const auto halfway = static_cast<unsigned>(_mm256_movemask_pd(_mm256_castsi256_pd(halfwayLanes)));
      __m256d rounded = _mm256_castsi256_pd(_mm256_andnot_si256(low, up));
      if (__builtin_expect(halfway != 0, 0)) {
        hit[k] |= InexactLanes256(_mm256_loadu_pd(base + j + 4 * k), wj, hi, acc[k], halfway);
        rounded = _mm256_blendv_pd(rounded, _mm256_cvtps_pd(_mm256_cvtpd_ps(hi)), _mm256_castsi256_pd(halfwayLanes));
      }
      acc[k] = rounded;
    }
  }
  for (int k = 0; k < K; ++k) {
    _mm_storeu_ps(sums + t + 4 * k, _mm256_cvtpd_ps(acc[k]));
    for (int b = 0; b < 4; ++b) flags[t + 4 * k + b] = static_cast<std::uint8_t>((hit[k] >> b) & 1);
  }
}

[[gnu::target("avx2,fma")]] void SpanSums256(const double* lin, const double* w, int n, int count, float* sums,
                                              std::uint8_t* flags) {
  int t = 0;
  for (; t + 32 <= count; t += 32) SumGroup256<8>(lin, w, n, t, sums, flags);
  for (; t < count; t += 4) SumGroup256<1>(lin, w, n, t, sums, flags);
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  return has;
}

bool HasAvx512() {
  static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq");
  return has;
}

// Every partial sum of entries within these bounds stays in the normal float
// range: an entry from 2^-79 is a multiple of 2^-102, a weight (0.5..1) of
// 2^-24, so every sum and its rounding is a multiple of 2^-126 and, when not
// 0, at least that; 256 entries below 2^100 stay below 2^108.
bool SpanInRange(const double* lin, int size) {
  bool ok = true;
  for (int i = 0; i < size; ++i) {
    const double a = std::fabs(lin[i]);
    ok &= (a < 0x1p100) & ((a >= 0x1p-79) | (a == 0));
  }
  return ok;
}

}  // namespace

bool RingPathAvailable(TRingPath path) {
  return path == TRingPath::Vector8 ? HasAvx512() : path == TRingPath::Vector4 ? HasAvx2() : true;
}

void LowpassSpan(TVoiceState& v, float* xs, const int* widths, int count, TRingPath path) {
  const TRingWeights& table = RingWeights();
  std::vector<double> lin, w;
  std::vector<float> sums;
  std::vector<std::uint8_t> flags;
  int i = 0;
  while (i < count) {
    const int n = widths[i];
    int run = 1;
    while (i + run < count && widths[i + run] == n) ++run;
    if (n == 0) {
      i += run;
      continue;
    }
    const int m = n + 1;
    if (v.RingPos >= m) {
      // The width shrank below the write position: this one sample writes
      // beyond the entries it sums, as the step-by-step ring does.
      TVoiceState* one = &v;
      float sum = 0;
      v.Ring[static_cast<std::size_t>(v.RingPos)] = xs[i];
      v.RingPos = (v.RingPos + 1) % m;
      RingSums(&one, &n, 1, &sum);
      xs[i] = F(static_cast<long double>(sum) / m);
      ++i;
      continue;
    }
    const int padded = (run + 7) / 8 * 8;  // whole vectors of eight (or four) lanes
    lin.assign(static_cast<std::size_t>(m + padded), 0.0);
    for (int k = 0, p = v.RingPos; k < m; ++k, p = p + 1 == m ? 0 : p + 1)
      lin[static_cast<std::size_t>(k)] = v.Ring[static_cast<std::size_t>(p)];
    for (int t = 0; t < run; ++t) lin[static_cast<std::size_t>(m + t)] = xs[i + t];
    const float* row = table.Row(n);
    w.assign(row, row + m);
    sums.assign(static_cast<std::size_t>(padded), 0.0f);
    flags.assign(static_cast<std::size_t>(padded), 1);
    if (path == TRingPath::Best) path = HasAvx512() ? TRingPath::Vector8 : HasAvx2() ? TRingPath::Vector4 : TRingPath::Plain;
    if (path != TRingPath::Plain && RingPathAvailable(path) && SpanInRange(lin.data(), m + run)) {
      if (path == TRingPath::Vector8)
        SpanSums512(lin.data(), w.data(), n, run, sums.data(), flags.data());
      else
        SpanSums256(lin.data(), w.data(), n, run, sums.data(), flags.data());
    }
    for (int t = 0; t < run; ++t) {
      if (!flags[static_cast<std::size_t>(t)]) continue;
      float sum = 0;
      for (int j = 0; j <= n; ++j)
        sum = AddProductFast(sum, static_cast<float>(lin[static_cast<std::size_t>(t + 1 + j)]), row[j]);
      sums[static_cast<std::size_t>(t)] = sum;
    }
    for (int t = 0; t < run; ++t) {
      v.Ring[static_cast<std::size_t>(v.RingPos)] = xs[i + t];
      v.RingPos = v.RingPos + 1 == m ? 0 : v.RingPos + 1;
    }
    // A float over a whole number up to 256 (a float too), rounded to 64
    // bits and then to float, is the quotient rounded once (64 >= 2 x 24 + 2
    // bits): the float division gives it.
    const float divisor = static_cast<float>(m);
    for (int t = 0; t < run; ++t) xs[i + t] = sums[static_cast<std::size_t>(t)] / divisor;
    i += run;
  }
}

float RenderVoice(TVoiceState& v, std::int64_t s, std::int64_t n, TNoiseGenerator& noise) {
  const float x = RenderVoiceDry(v, s, n, noise);
  TVoiceState* one = &v;
  const int width = PushRing(v, s, x);
  if (width == 0) return x;
  float sum = 0;
  RingSums(&one, &width, 1, &sum);
  return F(static_cast<long double>(sum) / (width + 1));
}

}  // namespace kalvora::engine
