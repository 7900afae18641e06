// Module zqvgrtzl: the Goertzel recurrence for float, complex float, double
// and complex double samples, one at a time or over a block.
#include "transforms/detail/zqvgrtz.h"

using zqvgrtz::Form;

namespace {
constexpr const char* kModule = "zqvgrtzl";
}  // namespace

ZQVAPI void zqvsGoertzInit(float freq, GoertzelState* state) noexcept {
  zqvgrtz::init<Form::Real>({"zqvsGoertzInit", kModule}, freq, state);
}
ZQVAPI void zqvcGoertzInit(float freq, GoertzelState* state) noexcept {
  zqvgrtz::init<Form::Complex>({"zqvcGoertzInit", kModule}, freq, state);
}
ZQVAPI void zqvdGoertzInit(double freq, GoertzelStateD* state) noexcept {
  zqvgrtz::init<Form::Real>({"zqvdGoertzInit", kModule}, freq, state);
}
ZQVAPI void zqvzGoertzInit(double freq, GoertzelStateD* state) noexcept {
  zqvgrtz::init<Form::Complex>({"zqvzGoertzInit", kModule}, freq, state);
}

ZQVAPI void zqvsGoertzReset(GoertzelState* state) noexcept {
  zqvgrtz::reset<Form::Real>({"zqvsGoertzReset", kModule}, state);
}
ZQVAPI void zqvcGoertzReset(GoertzelState* state) noexcept {
  zqvgrtz::reset<Form::Complex>({"zqvcGoertzReset", kModule}, state);
}
ZQVAPI void zqvdGoertzReset(GoertzelStateD* state) noexcept {
  zqvgrtz::reset<Form::Real>({"zqvdGoertzReset", kModule}, state);
}
ZQVAPI void zqvzGoertzReset(GoertzelStateD* state) noexcept {
  zqvgrtz::reset<Form::Complex>({"zqvzGoertzReset", kModule}, state);
}

ZQVAPI ZqvCplxS zqvsGoertz(GoertzelState* state, float sample) noexcept {
  return zqvgrtz::sample<Form::Real>({"zqvsGoertz", kModule}, state, sample);
}
ZQVAPI ZqvCplxS zqvcGoertz(GoertzelState* state, ZqvCplxS sample) noexcept {
  return zqvgrtz::sample<Form::Complex>({"zqvcGoertz", kModule}, state, sample);
}
ZQVAPI ZqvCplxD zqvdGoertz(GoertzelStateD* state, double sample) noexcept {
  return zqvgrtz::sample<Form::Real>({"zqvdGoertz", kModule}, state, sample);
}
ZQVAPI ZqvCplxD zqvzGoertz(GoertzelStateD* state, ZqvCplxD sample) noexcept {
  return zqvgrtz::sample<Form::Complex>({"zqvzGoertz", kModule}, state, sample);
}

ZQVAPI ZqvCplxS zqvsbGoertz(GoertzelState* state, const float* samps, int32_t len) noexcept {
  return zqvgrtz::block<Form::Real>({"zqvsbGoertz", kModule}, state, samps, len);
}
ZQVAPI ZqvCplxS zqvcbGoertz(GoertzelState* state, const ZqvCplxS* samps, int32_t len) noexcept {
  return zqvgrtz::block<Form::Complex>({"zqvcbGoertz", kModule}, state, samps, len);
}
ZQVAPI ZqvCplxD zqvdbGoertz(GoertzelStateD* state, const double* samps, int32_t len) noexcept {
  return zqvgrtz::block<Form::Real>({"zqvdbGoertz", kModule}, state, samps, len);
}
ZQVAPI ZqvCplxD zqvzbGoertz(GoertzelStateD* state, const ZqvCplxD* samps, int32_t len) noexcept {
  return zqvgrtz::block<Form::Complex>({"zqvzbGoertz", kModule}, state, samps, len);
}
