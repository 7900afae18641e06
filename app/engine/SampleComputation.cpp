#include "engine/SampleComputation.h"

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <new>
#include <stdexcept>

#include "zqvp4.h"
#include "engine/EngineArith.h"
#include "engine/Effects.h"
#include "engine/VoiceRender.h"

namespace kalvora::engine {

namespace {

double SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string TwoDigits(std::int64_t v) {
  char b[24];
  std::snprintf(b, sizeof b, "%02lld", static_cast<long long>(v));
  return b;
}

// The largest work array the computation sets up: 2^29 + 2 floats.
constexpr int kMaxOrder = 29;

// trunc(log2 n) + 1: the work array holds more than n samples.
int WorkOrder(std::int64_t n) { return static_cast<int>(std::bit_width(static_cast<std::uint64_t>(n))); }

struct TMix {
  std::vector<float> work;
  std::int64_t n = 0;
  int order = 0;
  std::int64_t length = 0;
};

// `effects`: the effect order that will run over the mix, whose transforms
// may need a shorter sample; the length is checked before anything is mixed.
TMix Mix(const TSampleSnapshot& s, std::string_view effects, TNoiseGenerator& noise, const TComputeHooks& hooks,
         double start, const std::function<double()>& now) {
  auto status = [&](const std::string& t) { if (hooks.ShowStatusText) hooks.ShowStatusText(t); };
  TMix m;
  std::vector<TVoiceState> voices = PrepareVoices(s, m.n);
  int active = 0;
  for (const TVoiceState& v : voices) active += v.V.Active ? 1 : 0;
  if (m.n <= 0) {
    m.n = 0;
    return m;
  }
  if (!SampleLengthFits(m.n, effects)) throw std::range_error(kSampleTooLong);
  m.order = WorkOrder(m.n);
  m.length = std::int64_t{1} << m.order;
  for (TVoiceState& v : voices)
    if (v.V.Active) PrepareRamps(v, m.n, s.Quality);
  m.work.assign(static_cast<std::size_t>(m.length + 2), 0.0f);
  std::vector<TVoiceState*> sounding;
  for (TVoiceState& v : voices)
    if (v.V.Active && v.Total > 0) sounding.push_back(&v);

  status("calculating ...");
  const long double divisor = active;
  // Blocks of samples end where the progress is reported. Within a block each
  // voice renders its span (the values before the lowpass, then its lowpass),
  // then the voices are summed sample by sample in their order.
  constexpr std::int64_t kBlock = 1024;
  const std::size_t voiceCount = sounding.size();
  std::vector<float> dry(voiceCount * kBlock);
  std::vector<int> widths(voiceCount * kBlock);
  std::vector<float> sums(kBlock);
  std::vector<std::vector<std::int32_t>> draws(voiceCount);
  bool anyNoise = false;
  for (const TVoiceState* v : sounding) anyNoise |= v->V.Morph.NoiseSource || v->V.Morph.NoiseDest;
  for (std::int64_t first = 1, last = 0; first <= m.n; first = last + 1) {
    last = std::min(m.n, (first / kBlock + 1) * kBlock);
    // The noise is drawn first, sample by sample and voice by voice, so that
    // each voice can then run alone over its span (its tables stay cached).
    for (std::size_t k = 0; k < voiceCount; ++k) draws[k].clear();
    if (anyNoise)
      for (std::int64_t smp = first; smp <= last; ++smp)
        for (std::size_t k = 0; k < voiceCount; ++k) {
          const TVoiceState* v = sounding[k];
          if (!(v->Delay < smp && smp < v->End)) continue;
          if (v->V.Morph.NoiseSource) draws[k].push_back(noise.Next());
          if (v->V.Morph.NoiseDest) draws[k].push_back(noise.Next());
        }
    for (std::size_t k = 0; k < voiceCount; ++k) {
      TVoiceState* v = sounding[k];
      const std::int64_t from = std::max(first, v->Delay + 1), to = std::min(last, v->End - 1);
      if (from > to) continue;
      const std::size_t at = k * kBlock + static_cast<std::size_t>(from - first);
      RenderVoiceSpan(*v, from, to, m.n, draws[k].data(), &dry[at], &widths[at]);
      if (v->V.Lowpass.FilterActive) LowpassSpan(*v, &dry[at], &widths[at], static_cast<int>(to - from + 1));
    }
    // Each sample's sum takes the sounding voices in their order; the voices
    // are added a whole span at a time. A sum of two floats rounded to 64 bits
    // and then to float is the sum rounded once to float (64 >= 2 x 24 + 2
    // bits), as the unit's float add gives it.
    std::fill(sums.begin(), sums.end(), 0.0f);
    for (std::size_t k = 0; k < voiceCount; ++k) {
      const TVoiceState* v = sounding[k];
      const std::int64_t from = std::max(first, v->Delay + 1), to = std::min(last, v->End - 1);
      const float* values = &dry[k * kBlock];
      for (std::int64_t smp = from; smp <= to; ++smp)
        sums[static_cast<std::size_t>(smp - first)] += values[smp - first];
    }
    for (std::int64_t smp = first; smp <= last; ++smp)
      m.work[static_cast<std::size_t>(smp - 1)] =
          static_cast<float>(RoundEven(sums[static_cast<std::size_t>(smp - first)] / divisor));
    if (last % 1024 == 0) {
      const std::int64_t smp = last;
      const double elapsed = now() - start;
      const float f = F(static_cast<long double>(smp - 1) / m.n);
      std::string text = std::to_string(RoundEven(f * 100.0L)) + " %";
      if (f > 0) text += "   " + Clock3(elapsed / f - elapsed);
      status(text);
      if (hooks.ProcessMessages) hooks.ProcessMessages();
    }
  }
  return m;
}

}  // namespace

bool SampleLengthFits(std::int64_t samples, std::string_view effectOrder) {
  const int largest = RunsTransform(effectOrder) ? std::min(kMaxOrder, LargestTransformOrder()) : kMaxOrder;
  return WorkOrder(samples) <= largest;
}

std::string Clock3(double seconds) {
  if (!(seconds >= 0) || seconds > 1e12) seconds = 0;
  const auto total = static_cast<std::int64_t>(seconds);
  return TwoDigits(total / 3600) + ":" + TwoDigits(total / 60 % 60) + ":" + TwoDigits(total % 60);
}

std::int16_t ToSample16(float x) {
  if (x > 32767.0f) x = 32767.0f;
  if (!(x >= -32768.0f)) x = -32768.0f;
  return static_cast<std::int16_t>(std::nearbyint(x));
}

std::vector<float> MixVoices(const TSampleSnapshot& s, TNoiseGenerator& noise, const TComputeHooks& hooks,
                             std::int64_t* samples) {
  auto now = hooks.Seconds ? hooks.Seconds : std::function<double()>(SteadySeconds);
  TMix m = Mix(s, "", noise, hooks, now(), now);
  if (samples) *samples = m.n;
  return std::move(m.work);
}

namespace {

TSampleResult Calculate(const TSampleSnapshot& s, TNoiseGenerator& noise, const TComputeHooks& hooks) {
  auto now = hooks.Seconds ? hooks.Seconds : std::function<double()>(SteadySeconds);
  const double start = now();
  auto status = [&](const std::string& t) { if (hooks.ShowStatusText) hooks.ShowStatusText(t); };
  status("pre-calculations ...");
  TSampleResult r;
  r.Rate = RateOfQuality(s.Quality);
  TMix m = Mix(s, s.EffectOrder, noise, hooks, start, now);
  r.Samples = m.n;
  if (m.n > 0) {
    TWorkArray w{m.work, m.n, m.order, m.length};
    RunEffectChain(w, s.EffectOrder, s.Effects, s.Quality, status);
    r.Bytes.resize(static_cast<std::size_t>(2 * m.n));
    for (std::int64_t i = 0; i < m.n; ++i) {
      const auto v = static_cast<std::uint16_t>(ToSample16(m.work[static_cast<std::size_t>(i)]));
      r.Bytes[static_cast<std::size_t>(2 * i)] = static_cast<std::uint8_t>(v & 0xFF);
      r.Bytes[static_cast<std::size_t>(2 * i + 1)] = static_cast<std::uint8_t>(v >> 8);
    }
  }
  r.Seconds = now() - start;
  const auto ms = static_cast<std::int64_t>(std::max(r.Seconds, 0.0) * 1000);
  status("used time: " + Clock3(r.Seconds) + "." + TwoDigits(ms % 1000 / 10));
  return r;
}

}  // namespace

TSampleResult CalculateSample(const TSampleSnapshot& s, TNoiseGenerator& noise, const TComputeHooks& hooks) {
  // A long sample needs its work array, the result and the tables at once;
  // when they cannot all be had, the computation ends with words a user reads.
  try {
    return Calculate(s, noise, hooks);
  } catch (const std::bad_alloc&) {
    throw std::runtime_error(kNotEnoughMemory);
  }
}

}  // namespace kalvora::engine
