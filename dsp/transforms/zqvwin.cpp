// Window functions for float, double and complex float and double buffers.
#include "transforms/detail/zqvwin.h"

using namespace zqvwin;

namespace {
constexpr const char* kModule = "zqvwin";
}

ZQVAPI void zqvsWinBartlett(float* vec, int32_t n) noexcept { bartlett({"zqvsWinBartlett", kModule}, kLinesS.bartlett, vec, n); }
ZQVAPI void zqvsWinHann(float* vec, int32_t n) noexcept { hann({"zqvsWinHann", kModule}, kLinesS.hann, vec, n); }
ZQVAPI void zqvsWinHamming(float* vec, int32_t n) noexcept { hamming({"zqvsWinHamming", kModule}, kLinesS.hamming, vec, n); }
ZQVAPI void zqvsWinBlackman(float* vec, int32_t n, float alpha) noexcept {
  blackman({"zqvsWinBlackman", kModule}, kLinesS.blackman, vec, n, alpha);
}
ZQVAPI void zqvsWinBlackmanStd(float* vec, int32_t n) noexcept { zqvsWinBlackman(vec, n, -0.16f); }
ZQVAPI void zqvsWinBlackmanOpt(float* vec, int32_t n) noexcept {
  zqvsWinBlackman(vec, n, static_cast<float>(blackmanOptAlpha(n)));
}
ZQVAPI void zqvsWinKaiser(float* vec, int32_t n, float beta) noexcept {
  kaiser({"zqvsWinKaiser", kModule}, kLinesS.kaiser, vec, n, beta);
}

ZQVAPI void zqvcWinBartlett(ZqvCplxS* vec, int32_t n) noexcept { bartlett({"zqvcWinBartlett", kModule}, kLinesC.bartlett, vec, n); }
ZQVAPI void zqvcWinHann(ZqvCplxS* vec, int32_t n) noexcept { hann({"zqvcWinHann", kModule}, kLinesC.hann, vec, n); }
ZQVAPI void zqvcWinHamming(ZqvCplxS* vec, int32_t n) noexcept { hamming({"zqvcWinHamming", kModule}, kLinesC.hamming, vec, n); }
ZQVAPI void zqvcWinBlackman(ZqvCplxS* vec, int32_t n, float alpha) noexcept {
  blackman({"zqvcWinBlackman", kModule}, kLinesC.blackman, vec, n, alpha);
}
ZQVAPI void zqvcWinBlackmanStd(ZqvCplxS* vec, int32_t n) noexcept { zqvcWinBlackman(vec, n, -0.16f); }
ZQVAPI void zqvcWinBlackmanOpt(ZqvCplxS* vec, int32_t n) noexcept {
  zqvcWinBlackman(vec, n, static_cast<float>(blackmanOptAlpha(n)));
}
ZQVAPI void zqvcWinKaiser(ZqvCplxS* vec, int32_t n, float beta) noexcept {
  kaiser({"zqvcWinKaiser", kModule}, kLinesC.kaiser, vec, n, beta);
}

ZQVAPI void zqvdWinBartlett(double* vec, int32_t n) noexcept { bartlett({"zqvdWinBartlett", kModule}, kLinesD.bartlett, vec, n); }
ZQVAPI void zqvdWinHann(double* vec, int32_t n) noexcept { hann({"zqvdWinHann", kModule}, kLinesD.hann, vec, n); }
ZQVAPI void zqvdWinHamming(double* vec, int32_t n) noexcept { hamming({"zqvdWinHamming", kModule}, kLinesD.hamming, vec, n); }
ZQVAPI void zqvdWinBlackman(double* vec, int32_t n, double alpha) noexcept {
  blackman({"zqvdWinBlackman", kModule}, kLinesD.blackman, vec, n, alpha);
}
ZQVAPI void zqvdWinBlackmanStd(double* vec, int32_t n) noexcept { zqvdWinBlackman(vec, n, -0.16); }
ZQVAPI void zqvdWinBlackmanOpt(double* vec, int32_t n) noexcept {
  zqvdWinBlackman(vec, n, static_cast<double>(blackmanOptAlpha(n)));
}
ZQVAPI void zqvdWinKaiser(double* vec, int32_t n, double beta) noexcept {
  kaiser({"zqvdWinKaiser", kModule}, kLinesD.kaiser, vec, n, beta);
}

ZQVAPI void zqvzWinBartlett(ZqvCplxD* vec, int32_t n) noexcept { bartlett({"zqvzWinBartlett", kModule}, kLinesZ.bartlett, vec, n); }
ZQVAPI void zqvzWinHann(ZqvCplxD* vec, int32_t n) noexcept { hann({"zqvzWinHann", kModule}, kLinesZ.hann, vec, n); }
ZQVAPI void zqvzWinHamming(ZqvCplxD* vec, int32_t n) noexcept { hamming({"zqvzWinHamming", kModule}, kLinesZ.hamming, vec, n); }
ZQVAPI void zqvzWinBlackman(ZqvCplxD* vec, int32_t n, double alpha) noexcept {
  blackman({"zqvzWinBlackman", kModule}, kLinesZ.blackman, vec, n, alpha);
}
ZQVAPI void zqvzWinBlackmanStd(ZqvCplxD* vec, int32_t n) noexcept { zqvzWinBlackman(vec, n, -0.16); }
ZQVAPI void zqvzWinBlackmanOpt(ZqvCplxD* vec, int32_t n) noexcept {
  zqvzWinBlackman(vec, n, static_cast<double>(blackmanOptAlpha(n)));
}
ZQVAPI void zqvzWinKaiser(ZqvCplxD* vec, int32_t n, double beta) noexcept {
  kaiser({"zqvzWinKaiser", kModule}, kLinesZ.kaiser, vec, n, beta);
}
