// Several threads at once through the library's per-thread state: FFT tables
// and work buffers, filter states, convolution work memory and the sticky
// status. Each thread's results must be the same bits as the same work run
// alone. Built also under ThreadSanitizer, which checks the sharing itself.
#include <cstdint>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "zqv_test_support.h"

namespace {

class Threads : public ZqvTest {};

template <class T>
std::vector<T> noise(std::size_t n, uint32_t seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> d(-1.0, 1.0);
  std::vector<T> v(n);
  for (auto& x : v) x = static_cast<T>(d(gen));
  return v;
}

// Everything one thread computed, as raw bytes, and the status it saw after
// each step.
struct Outcome {
  std::vector<unsigned char> bytes;
  std::vector<int32_t> statuses;
  template <class T>
  void keep(const std::vector<T>& v) {
    const auto* p = reinterpret_cast<const unsigned char*>(v.data());
    bytes.insert(bytes.end(), p, p + v.size() * sizeof(T));
  }
  bool operator==(const Outcome&) const = default;
};

// One thread's work; `seed` varies the sizes, so threads running at once need
// different FFT tables and work memory sizes at the same time.
Outcome work(uint32_t seed) {
  zqvSetErrMode(ZQV_ErrorModeParent);
  zqvRedirectError(zqvNulDevReport);
  Outcome out;
  const int32_t base = 4 + static_cast<int32_t>(seed % 5);
  for (int round = 0; round < 6; ++round) {
    const int32_t order = base + 2 * round % 7;
    const std::size_t n = std::size_t{1} << order;
    auto c = noise<float>(2 * n, seed + round);
    zqvcFft(reinterpret_cast<ZqvCplxS*>(c.data()), order, ZQV_Forw);
    out.keep(c);
    auto r = noise<double>(n + 2, seed * 7 + round);  // room for the CCS spectrum
    zqvdRealFft(r.data(), order, ZQV_Forw);
    out.keep(r);
    if (round == 2) zqvcFreeTwdTbls();
  }
  out.statuses.push_back(zqvGetErrStatus());

  // A refused call leaves its status for the thread's later calls to see;
  // until it is cleared the FFT does no work.
  zqvSetErrStatus(0);
  zqvsConv(nullptr, 0, nullptr, 1, nullptr);
  out.statuses.push_back(zqvGetErrStatus());
  auto idle = noise<float>(64, seed);
  zqvcFft(reinterpret_cast<ZqvCplxS*>(idle.data()), 5, ZQV_Forw);
  out.statuses.push_back(zqvGetErrStatus());
  out.keep(idle);
  zqvSetErrStatus(0);

  const auto x = noise<float>(3000 + 97 * seed, seed + 11), h = noise<float>(200 + 61 * seed, seed + 12);
  std::vector<float> y(x.size() + h.size() - 1);
  zqvsConv(x.data(), static_cast<int32_t>(x.size()), h.data(), static_cast<int32_t>(h.size()), y.data());
  out.keep(y);
  const auto xd = noise<double>(700 + 13 * seed, seed + 13), hd = noise<double>(40 + seed, seed + 14);
  std::vector<double> yd(xd.size() + hd.size() - 1);
  zqvdConv(xd.data(), static_cast<int32_t>(xd.size()), hd.data(), static_cast<int32_t>(hd.size()), yd.data());
  out.keep(yd);
  out.statuses.push_back(zqvGetErrStatus());

  // Filter states, run in blocks of uneven length.
  const auto taps = noise<double>(33 + seed, seed + 15);
  const auto in = noise<double>(4096, seed + 16);
  ZqvFirState fir{};
  out.statuses.push_back(zqvdFirInit(taps.data(), static_cast<int32_t>(taps.size()), nullptr, &fir));
  std::vector<double> firOut(in.size());
  for (std::size_t at = 0, len = 1; at < in.size(); at += len, len = len * 3 % 509 + 1) {
    len = std::min(len, in.size() - at);
    out.statuses.push_back(zqvdbFir(&fir, in.data() + at, firOut.data() + at, static_cast<int32_t>(len)));
  }
  zqvFirFree(&fir);
  out.keep(firOut);

  // y[n] = x[n] + 0.5 y[n-1] - 0.25 y[n-2], with a small feed-forward part.
  const double iirTaps[] = {0.25, 0.5 + 0.01 * seed, 0.25, 1.0, -0.5, 0.25};
  ZqvIirState iir{};
  zqvdIirInit(0, iirTaps, 2, &iir);
  std::vector<double> iirOut(in.size());
  for (std::size_t at = 0; at < in.size(); at += 300) {
    const std::size_t len = std::min<std::size_t>(300, in.size() - at);
    out.statuses.push_back(zqvdbIir(&iir, in.data() + at, iirOut.data() + at, static_cast<int32_t>(len)));
  }
  zqvIirFree(&iir);
  out.keep(iirOut);
  out.statuses.push_back(zqvGetErrStatus());
  return out;
}

TEST_F(Threads, EachThreadGetsTheBitsOfARunAlone) {
  constexpr uint32_t kSeeds = 5;
  std::vector<Outcome> alone(kSeeds);
  for (uint32_t s = 0; s < kSeeds; ++s) std::thread([&, s] { alone[s] = work(s); }).join();
  // The refused call's status stays until the thread clears it.
  EXPECT_EQ(alone[0].statuses[1], ZQV_BAD_ARGUMENT);
  EXPECT_EQ(alone[0].statuses[2], ZQV_BAD_ARGUMENT);

  // Every seed twice at once, so equal sizes meet as well as different ones.
  std::vector<Outcome> together(2 * kSeeds);
  std::vector<std::thread> threads;
  for (uint32_t t = 0; t < 2 * kSeeds; ++t) threads.emplace_back([&, t] { together[t] = work(t % kSeeds); });
  for (auto& th : threads) th.join();
  for (uint32_t t = 0; t < 2 * kSeeds; ++t) EXPECT_TRUE(together[t] == alone[t % kSeeds]) << "thread " << t;
  // The main thread's status is its own.
  EXPECT_EQ(zqvGetErrStatus(), 0);
}

}  // namespace
