// Window functions for 16-bit and complex 16-bit buffers: each product is
// truncated toward zero and its low 16 bits are stored.
#include "transforms/detail/zqvwin.h"

using namespace zqvwin;

namespace {
constexpr const char* kModule = "zqvwinw";
}

ZQVAPI void zqvwWinBartlett(int16_t* vec, int32_t n) noexcept { bartlett({"zqvwWinBartlett", kModule}, kLinesW.bartlett, vec, n); }
ZQVAPI void zqvwWinHann(int16_t* vec, int32_t n) noexcept { hann({"zqvwWinHann", kModule}, kLinesW.hann, vec, n); }
ZQVAPI void zqvwWinHamming(int16_t* vec, int32_t n) noexcept { hamming({"zqvwWinHamming", kModule}, kLinesW.hamming, vec, n); }
ZQVAPI void zqvwWinBlackman(int16_t* vec, int32_t n, float alpha) noexcept {
  blackman({"zqvwWinBlackman", kModule}, kLinesW.blackman, vec, n, alpha);
}
ZQVAPI void zqvwWinBlackmanStd(int16_t* vec, int32_t n) noexcept { zqvwWinBlackman(vec, n, -0.16f); }
ZQVAPI void zqvwWinBlackmanOpt(int16_t* vec, int32_t n) noexcept {
  zqvwWinBlackman(vec, n, static_cast<float>(blackmanOptAlpha(n)));
}
ZQVAPI void zqvwWinKaiser(int16_t* vec, int32_t n, float beta) noexcept {
  kaiser({"zqvwWinKaiser", kModule}, kLinesW.kaiser, vec, n, beta);
}

ZQVAPI void zqvvWinBartlett(ZqvCplxW* vec, int32_t n) noexcept { bartlett({"zqvvWinBartlett", kModule}, kLinesV.bartlett, vec, n); }
ZQVAPI void zqvvWinHann(ZqvCplxW* vec, int32_t n) noexcept { hann({"zqvvWinHann", kModule}, kLinesV.hann, vec, n); }
ZQVAPI void zqvvWinHamming(ZqvCplxW* vec, int32_t n) noexcept { hamming({"zqvvWinHamming", kModule}, kLinesV.hamming, vec, n); }
ZQVAPI void zqvvWinBlackman(ZqvCplxW* vec, int32_t n, float alpha) noexcept {
  blackman({"zqvvWinBlackman", kModule}, kLinesV.blackman, vec, n, alpha);
}
ZQVAPI void zqvvWinBlackmanStd(ZqvCplxW* vec, int32_t n) noexcept { zqvvWinBlackman(vec, n, -0.16f); }
ZQVAPI void zqvvWinBlackmanOpt(ZqvCplxW* vec, int32_t n) noexcept {
  zqvvWinBlackman(vec, n, static_cast<float>(blackmanOptAlpha(n)));
}
ZQVAPI void zqvvWinKaiser(ZqvCplxW* vec, int32_t n, float beta) noexcept {
  kaiser({"zqvvWinKaiser", kModule}, kLinesV.kaiser, vec, n, beta);
}
