// The FIR kernels side by side: the fused multiply-add kernel of float
// members, the generic batched kernel and the one-output sum give the same
// bits for every length, window direction and batch remainder.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "filters/detail/zqvfirkern.h"

namespace {

using namespace zqvfir;

TEST(FirKernels, FusedGenericAndSingleSumsAgreeBitForBit) {
  if (!hasFma()) GTEST_SKIP() << "no fused multiply-add on this processor";
  std::mt19937 gen(5);
  std::uniform_real_distribution<float> u(-1e3f, 1e3f);
  for (int64_t len : {1, 3, 32, 129, 300}) {
    for (int64_t step : {1, -1}) {
      const int64_t count = 101;  // three batches and a remainder
      std::vector<float> h(len), x(count + 2 * len);
      for (auto& v : h) v = u(gen);
      for (auto& v : x) v = u(gen);
      const float* base = x.data() + len;  // room behind for step -1
      std::vector<float> fused(count), generic(count);
      dotRunFloatFma(h.data(), len, base, step, fused.data(), count);
      dotRunGeneric<float, float>(h.data(), len, base, step, generic.data(), count);
      for (int64_t o = 0; o < count; ++o) {
        const float one = dot(h.data(), len, base + o, step);
        ASSERT_EQ(std::memcmp(&fused[o], &one, sizeof one), 0) << len << " " << step << " " << o;
        ASSERT_EQ(std::memcmp(&generic[o], &one, sizeof one), 0) << len << " " << step << " " << o;
      }
    }
  }
}

}  // namespace
