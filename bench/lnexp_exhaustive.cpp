// Every float input of zqvsbLn2 and zqvsbExp2 against a long double
// reference, on the AVX-512 kernels and on the portable ones, and against the
// kernels they replaced (kept below): a result must be the float nearest the
// reference; special inputs (and results) must keep the earlier bits. Two
// threads, about five minutes:
//   taskset -c 6,7 build-bench/bin/lnexp_exhaustive
// Prints the counts of wrong results and the inputs whose exact result lies
// closest to a midpoint between two floats (the hardest to round).
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <mutex>
#include <thread>
#include <vector>

#include "core/zqvlnexp.h"
#include "zqvp4.h"

namespace {

// The kernels before this change, element by element.
namespace previous {
template <class T, class U> T pick(bool c, T a, T b) {
  const U m = U(0) - U(c);
  return std::bit_cast<T>((std::bit_cast<U>(a) & m) | (std::bit_cast<U>(b) & ~m));
}
float ln(float x) {
  constexpr double C1 = 2.000000000046727, C2 = 0.666666635059382, C3 = 0.4000059794795,
                   C4 = 0.28525381498, C5 = 0.2376245609;
  const uint32_t hx = std::bit_cast<uint32_t>(x);
  const bool subnormal = (hx & 0x7F800000u) == 0;
  const float xs = x * (subnormal ? 0x1p25f : 1.0f);
  const uint32_t hs = std::bit_cast<uint32_t>(xs);
  const int32_t biased = int32_t((hs >> 23) & 0xFFu);
  const uint32_t frac = hs & 0x7FFFFFu;
  const bool upper = frac >= 0x3504F0u;
  const float f = std::bit_cast<float>(frac | (upper ? 0x3F000000u : 0x3F800000u));
  const int32_t e = biased - (upper ? 126 : 127) - (subnormal ? 25 : 0);
  const double fd = f;
  const double s = (fd - 1.0) / (fd + 1.0);
  const double z = s * s;
  const double l = s * (C1 + z * (C2 + z * (C3 + z * (C4 + z * C5)))) + double(e) * 0x1.62e42fefa39efp-1;
  float r = float(l);
  if ((hx & 0x7FFFFFFFu) == 0) r = -std::numeric_limits<float>::infinity();
  if (hx > 0x80000000u) r = std::bit_cast<float>(0xFFC00000u);
  if (hx >= 0x7F800000u && hx < 0x80000000u) r = x + x;
  return r;
}
float exp(float x) {
  constexpr double P1 = 0.006943600015117929, P2 = 1.6520330026827912e-05;
  constexpr double Q1 = 0.05555386669690012, Q2 = 0.0004958628849054413;
  if (x != x) return x + x;
  double xd = std::clamp(double(x), -120.0, 100.0);
  const double shifted = xd * 0x1.71547652b82fep+0 + 0x1.8p52;
  const int64_t k = int64_t(std::bit_cast<uint64_t>(shifted) << 32) >> 32;
  const double kd = shifted - 0x1.8p52;
  const double r = (xd - kd * 0x1.62e42fee00000p-1) - kd * 0x1.a39ef35793c76p-33;
  const double w = r * r;
  const double P = 0.25 + w * (P1 + w * P2);
  const double Q = 0.5 + w * (Q1 + w * Q2);
  const double rp = r * P;
  const double y = 1.0 + (2.0 * rp) / (Q - rp);
  return float(y * std::bit_cast<double>(uint64_t(k + 1023) << 52));
}
}  // namespace previous

struct Hard {
  double distance;  // of the exact value from the nearest midpoint, in float ulps
  uint32_t bits;
};

struct Tally {
  uint64_t wrong = 0;          // not the float nearest the reference
  uint64_t specialChanged = 0;  // special input or result with other bits than before
  uint64_t previousWrong = 0;  // the replaced kernel's wrong results
  uint64_t changedWhereRight = 0;
  uint64_t ambiguous = 0;  // reference too close to a midpoint to decide
  std::vector<Hard> hardest;
  std::vector<uint32_t> wrongExamples;
};

// Distance of v from the nearest float midpoint in units of the float's last place.
double midpointDistance(long double v) {
  const long double a = std::fabs(v);
  int e;
  std::frexp((double)a, &e);
  const long double ulp = std::ldexp(1.0L, std::max(e - 24, -149));
  const long double units = a / ulp;
  const long double frac = units - std::floor(units);
  return double(std::fabs(frac - 0.5L));
}

template <bool Log>
void check(uint64_t begin, uint64_t end, Tally& t) {
  constexpr int64_t kChunk = 1 << 16;
  std::vector<float> in(kChunk), out(kChunk);
  for (uint64_t base = begin; base < end; base += kChunk) {
    for (int64_t i = 0; i < kChunk; ++i) in[i] = std::bit_cast<float>(uint32_t(base + i));
    if constexpr (Log) zqvsbLn2(in.data(), out.data(), kChunk);
    else zqvsbExp2(in.data(), out.data(), kChunk);
    for (int64_t i = 0; i < kChunk; ++i) {
      const float x = in[i];
      const uint32_t got = std::bit_cast<uint32_t>(out[i]);
      const float old = Log ? previous::ln(x) : previous::exp(x);
      const long double ref = Log ? std::log((long double)x) : std::exp((long double)x);
      const bool special = !std::isfinite(x) || !std::isfinite(ref) || ref == 0 || (Log && x <= 0);
      if (special) {
        if (got != std::bit_cast<uint32_t>(old)) ++t.specialChanged;
        continue;
      }
      const float want = float(ref);
      const double dist = midpointDistance(ref);
      if (dist < 0x1p-36) ++t.ambiguous;  // the reference's own error is below 2^-39 ulp
      if (t.hardest.size() < 12 || dist < t.hardest.back().distance) {
        t.hardest.push_back({dist, uint32_t(base + i)});
        std::sort(t.hardest.begin(), t.hardest.end(), [](auto& a, auto& b) { return a.distance < b.distance; });
        if (t.hardest.size() > 12) t.hardest.pop_back();
      }
      const bool oldRight = std::bit_cast<uint32_t>(old) == std::bit_cast<uint32_t>(want);
      if (!oldRight) ++t.previousWrong;
      if (got != std::bit_cast<uint32_t>(want)) {
        ++t.wrong;
        if (t.wrongExamples.size() < 10) t.wrongExamples.push_back(uint32_t(base + i));
      }
      if (oldRight && got != std::bit_cast<uint32_t>(old)) ++t.changedWhereRight;
    }
  }
}

template <bool Log>
void runAll(const char* name) {
  Tally parts[2];
  std::thread a([&] { check<Log>(0, uint64_t(1) << 31, parts[0]); });
  std::thread b([&] { check<Log>(uint64_t(1) << 31, uint64_t(1) << 32, parts[1]); });
  a.join();
  b.join();
  Tally t;
  for (auto& p : parts) {
    t.wrong += p.wrong;
    t.specialChanged += p.specialChanged;
    t.previousWrong += p.previousWrong;
    t.changedWhereRight += p.changedWhereRight;
    t.ambiguous += p.ambiguous;
    t.hardest.insert(t.hardest.end(), p.hardest.begin(), p.hardest.end());
    t.wrongExamples.insert(t.wrongExamples.end(), p.wrongExamples.begin(), p.wrongExamples.end());
  }
  std::sort(t.hardest.begin(), t.hardest.end(), [](auto& x, auto& y) { return x.distance < y.distance; });
  std::printf("%s: wrong %llu, special changed %llu, previous kernel wrong %llu, changed where it was right %llu, "
              "reference undecided %llu\n",
              name, (unsigned long long)t.wrong, (unsigned long long)t.specialChanged,
              (unsigned long long)t.previousWrong, (unsigned long long)t.changedWhereRight,
              (unsigned long long)t.ambiguous);
  for (uint32_t w : t.wrongExamples) std::printf("  wrong: %a (0x%08x)\n", std::bit_cast<float>(w), w);
  for (size_t i = 0; i < std::min<size_t>(t.hardest.size(), 12); ++i)
    std::printf("  hard: %a (0x%08x), %.3g ulp from a midpoint\n", std::bit_cast<float>(t.hardest[i].bits),
                t.hardest[i].bits, t.hardest[i].distance);
  std::fflush(stdout);
}

}  // namespace

int main() {
  for (bool wide : {true, false}) {
    zqvLnExpAllowWideVectors(wide);
    std::printf("%s kernels\n", wide ? "AVX-512 (where present)" : "portable");
    runAll<true>("zqvsbLn2");
    runAll<false>("zqvsbExp2");
  }
}
