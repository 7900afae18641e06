// The float logarithm and exponential give the same bits on the AVX-512
// kernels as on the portable ones (where the processor has AVX-512; elsewhere
// both runs take the portable kernels), for every length's last partial block
// and in place.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

#include "core/zqvlnexp.h"
#include "zqvp4.h"

namespace {

using Kernel = void (*)(const float*, float*, int32_t);

std::vector<uint32_t> run(Kernel fn, const std::vector<float>& in, bool wide, int32_t len) {
  zqvLnExpAllowWideVectors(wide);
  std::vector<float> out(in.size());
  for (size_t i = 0; i < in.size(); i += size_t(len))
    fn(in.data() + i, out.data() + i, int32_t(std::min<size_t>(size_t(len), in.size() - i)));
  zqvLnExpAllowWideVectors(true);
  std::vector<uint32_t> bits(out.size());
  for (size_t i = 0; i < out.size(); ++i) bits[i] = std::bit_cast<uint32_t>(out[i]);
  return bits;
}

// Every 2039th bit pattern (all signs, subnormals, infinities and NaNs among
// them), and inputs whose results lie very near a float midpoint.
std::vector<float> inputs() {
  std::vector<float> v;
  for (uint64_t b = 0; b < (uint64_t(1) << 32); b += 2039) v.push_back(std::bit_cast<float>(uint32_t(b)));
  for (float x : {0x1.55c90ep-123f, 0x1.b121a6p+76f, 0x1.bacb4ap+25f, 0x1.22d57p-65f, 0x1p-149f, -0.0f,
                  87.25f, -87.25f, 88.8f, 88.72283f, -87.33654f, -103.97f, -103.98f})
    v.push_back(x);
  return v;
}

TEST(LnExpKernels, WideAndPortableGiveTheSameBits) {
  const std::vector<float> in = inputs();
  for (Kernel fn : {zqvsbLn2, zqvsbExp2}) {
    const auto portable = run(fn, in, false, 1 << 20);
    for (int32_t len : {1 << 20, 1, 7, 16, 17, 33}) {
      const auto wide = run(fn, in, true, len);
      for (size_t i = 0; i < in.size(); ++i)
        ASSERT_EQ(wide[i], portable[i]) << std::hexfloat << in[i] << " len " << len;
    }
  }
}

TEST(LnExpKernels, InPlaceEqualsSeparateOnBothBuilds) {
  std::vector<float> in;
  for (int i = 0; i < 45; ++i) in.push_back(float(i - 5) * 2.375f);
  for (bool wide : {true, false}) {
    zqvLnExpAllowWideVectors(wide);
    for (auto [fn1, fn2] : {std::pair{&zqvsbLn1, &zqvsbLn2}, std::pair{&zqvsbExp1, &zqvsbExp2}}) {
      std::vector<float> sep(in.size()), v = in;
      fn2(in.data(), sep.data(), int32_t(in.size()));
      fn1(v.data(), int32_t(v.size()));
      for (size_t i = 0; i < in.size(); ++i)
        EXPECT_EQ(std::bit_cast<uint32_t>(v[i]), std::bit_cast<uint32_t>(sep[i])) << in[i] << " " << wide;
    }
  }
  zqvLnExpAllowWideVectors(true);
}

}  // namespace
