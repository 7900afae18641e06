// Noise for the voices: a generator of integers 0..38143 (a preset value
// times 256), taken as a parameter so a render can be reproduced.
#pragma once

#include <cstdint>

namespace kalvora::engine {

class TNoiseGenerator {
 public:
  virtual ~TNoiseGenerator() = default;
  virtual std::int32_t Next() = 0;  // 0..38143
};

// Linear congruential: state = state * 1664525 + 1013904223 (mod 2^32), and
// the draw (state * 38144) >> 32. The program seeds it from the clock, the
// renderer from its --seed.
class TLcgNoise : public TNoiseGenerator {
 public:
  explicit TLcgNoise(std::uint32_t seed = 1) : state_(seed) {}
  std::int32_t Next() override {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<std::int32_t>((static_cast<std::uint64_t>(state_) * 38144u) >> 32);
  }
  std::uint32_t State() const { return state_; }

 private:
  std::uint32_t state_;
};

}  // namespace kalvora::engine
