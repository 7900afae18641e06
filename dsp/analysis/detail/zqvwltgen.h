// Generic bodies of the wavelet transform: records, checks, and the periodic
// decomposition and reconstruction over float or double samples (the 16-bit
// forms run the float ones on converted copies).
#ifndef ZQV_WLTGEN_H
#define ZQV_WLTGEN_H

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "analysis/detail/zqvwltfilt.h"
#include "core/zqvframe.h"

namespace zqvwlts {

enum DataType : int32_t { kNone = 0, kFloat = 1, kDouble = 2, kShort = 4 };

template <class T>
inline constexpr int32_t kDataTypeOf = std::is_same_v<T, float> ? kFloat : kDouble;

// A library block of count values, or null when no int32 count describes it.
template <class T>
T* allocValues(int64_t count) noexcept {
  if (count < 0 || count > INT32_MAX) return nullptr;
  if constexpr (std::is_same_v<T, float>) return zqvsMalloc(static_cast<int32_t>(count));
  else return zqvdMalloc(static_cast<int32_t>(count));
}

inline int64_t padCount(int32_t dataOrder, int32_t len0, int32_t len1) noexcept {
  return (int64_t{1} << dataOrder) + 2 * int64_t{std::max(len0, len1)};
}

// Each failed condition is reported; true when the thread's status is then
// negative. The conditions also stop the caller by themselves, so a report
// routine that clears the status cannot let a bad size through.
inline bool sizesRefused(ZqvSite site, int32_t dataOrder, int32_t level) noexcept {
  const bool bad = dataOrder < 1 || dataOrder > 31 || level < 0 || level > dataOrder - 1;
  return zqvCheckAll(site, {ZQV_CHECK(dataOrder < 1, "dataOrder<1"), ZQV_CHECK(dataOrder > 31, "dataOrder>31"),
                            ZQV_CHECK(level < 0, "level<0"),
                            ZQV_CHECK(level > dataOrder - 1, "level>(dataOrder-1)")}) ||
         bad;
}

inline void recordFree(wtState* st) noexcept {
  for (void*& t : st->tap_filt) zqvFree(t);
  zqvFree(st->src_pad);
  std::memset(static_cast<void*>(st), 0, sizeof *st);
}

// ---- Init and SetState

template <class T>
void init(ZqvSite site, int32_t par1, int32_t par2, int32_t dataOrder, int32_t level, wtState* st,
          int32_t wtType) noexcept {
  if (!st) {
    zqvError(ZQV_BAD_ARGUMENT, site.func, "wtState==0", site.module, __LINE__);
    return;
  }
  std::memset(static_cast<void*>(st), 0, sizeof *st);
  if (sizesRefused(site, dataOrder, level)) return;
  Filters f;
  if (!buildFilters(site, wtType, par1, par2, f)) return;
  T* pad = allocValues<T>(padCount(dataOrder, f.len[0], f.len[1]));
  if (!pad) {
    zqvError(ZQV_OUT_OF_MEMORY, site.func, kNoMemory, site.module, __LINE__);
    f.release();
    return;
  }
  void* taps[4];
  if constexpr (std::is_same_v<T, float>) {
    for (int i = 0; i < 4; ++i) {
      float* t = zqvsMalloc(f.len[i]);
      taps[i] = t;
      if (!t) {
        zqvError(ZQV_OUT_OF_MEMORY, site.func, kNoMemory, site.module, __LINE__);
        for (int k = 0; k < i; ++k) zqvFree(taps[k]);
        zqvFree(pad);
        f.release();
        return;
      }
      for (int32_t k = 0; k < f.len[i]; ++k) t[k] = static_cast<float>(f.taps[i][k]);
    }
    for (auto*& t : f.taps) {
      zqvFree(t);
      t = nullptr;
    }
  } else {
    for (int i = 0; i < 4; ++i) taps[i] = f.taps[i];
  }
  st->dataType = kDataTypeOf<T>;
  st->wtType = wtType;
  st->kind = f.kind;
  st->par1 = par1;
  st->par2 = par2;
  st->dataOrder = dataOrder;
  st->level = level;
  for (int i = 0; i < 4; ++i) {
    st->Flen[i] = f.len[i];
    st->Fofs[i] = f.ofs[i];
    st->tap_filt[i] = taps[i];
  }
  st->src_pad = pad;
}

// The caller's four filters (wtType 10), copied into the record.
template <class T>
void setCallerFilters(ZqvSite site, wtState* st, int32_t dataOrder, int32_t level, const T* const* Ftaps,
                      const int32_t* Flen, const int32_t* Fofs) noexcept {
  if (!st) {
    zqvError(ZQV_BAD_ARGUMENT, site.func, "wtState==0", site.module, __LINE__);
    return;
  }
  std::memset(static_cast<void*>(st), 0, sizeof *st);
  if (sizesRefused(site, dataOrder, level)) return;
  if (zqvCheckAll(site, {ZQV_CHECK(!Ftaps, "Ftaps eq. NULL"), ZQV_CHECK(!Flen, "Flen eq. NULL"),
                         ZQV_CHECK(!Fofs, "Fofs eq. NULL")}) ||
      !Ftaps || !Flen || !Fofs)
    return;
  const bool badPointers = !Ftaps[0] || !Ftaps[1] || !Ftaps[2] || !Ftaps[3];
  const bool badLengths = Flen[0] < 2 || Flen[1] < 2 || Flen[2] < 2 || Flen[3] < 2 || Flen[0] != Flen[3] ||
                          Flen[1] != Flen[2];
  bool badOffsets = false;
  for (int i = 0; i < 4; ++i) badOffsets |= Fofs[i] < 0 || Fofs[i] > Flen[i] - 1;
  if (zqvCheckFirst(site, {ZQV_CHECK(badPointers, "Bad pointers in Ftaps"),
                           ZQV_CHECK(badLengths, "Bad filter lengths"),
                           ZQV_CHECK(badOffsets, "Bad filter offsets")}))
    return;
  T* taps[4] = {};
  for (int i = 0; i < 4; ++i) {
    taps[i] = allocValues<T>(Flen[i]);
    if (!taps[i]) {
      zqvError(ZQV_OUT_OF_MEMORY, site.func, kNoMemory, site.module, __LINE__);
      for (int k = 0; k < i; ++k) zqvFree(taps[k]);
      return;
    }
  }
  T* pad = allocValues<T>(padCount(dataOrder, Flen[0], Flen[1]));
  if (!pad) {
    zqvError(ZQV_OUT_OF_MEMORY, site.func, kNoMemory, site.module, __LINE__);
    for (T* t : taps) zqvFree(t);
    return;
  }
  for (int i = 0; i < 4; ++i) {
    std::memcpy(taps[i], Ftaps[i], static_cast<size_t>(Flen[i]) * sizeof(T));
    st->Flen[i] = Flen[i];
    st->Fofs[i] = Fofs[i];
    st->tap_filt[i] = taps[i];
  }
  st->src_pad = pad;
  st->dataOrder = dataOrder;
  st->level = level;
  st->dataType = kDataTypeOf<T>;
  st->wtType = 10;
  st->kind = kCallerFilters;
}

template <class T>
void setState(ZqvSite site, const char* initName, wtState* st, int32_t wtType, int32_t par1, int32_t par2,
              int32_t dataOrder, int32_t level, const T* const* Ftaps, const int32_t* Flen,
              const int32_t* Fofs) noexcept {
  if (wtType == 10) {
    setCallerFilters(site, st, dataOrder, level, Ftaps, Flen, Fofs);
    return;
  }
  init<T>({initName, site.module}, par1, par2, dataOrder, level, st, wtType);
  if (zqvStatusNegative()) {
    const char* message = std::is_same_v<T, float> ? "out zqvsWtInit" : "out zqvdWtInit";
    zqvError(ZQV_BACKTRACE, site.func, message, site.module, __LINE__);
  }
}

template <class T>
void getState(ZqvSite site, const wtState* st, int32_t* wtType, int32_t* par1, int32_t* par2,
              int32_t* dataOrder, int32_t* level, T** Ftaps, int32_t* Flen, int32_t* Fofs) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(!st, "wtState==0"), ZQV_CHECK(!wtType, "wtType==0"),
                         ZQV_CHECK(!par1, "par1==0"), ZQV_CHECK(!par2, "par2==0"),
                         ZQV_CHECK(!dataOrder, "dataOrder==0"), ZQV_CHECK(!level, "level==0"),
                         ZQV_CHECK(!Ftaps, "Ftaps==0"), ZQV_CHECK(!Flen, "Flen==0"),
                         ZQV_CHECK(!Fofs, "Fofs==0")}) ||
      !st || !wtType || !par1 || !par2 || !dataOrder || !level || !Ftaps || !Flen || !Fofs)
    return;
  *wtType = st->wtType;
  *par1 = st->par1;
  *par2 = st->par2;
  *dataOrder = st->dataOrder;
  *level = st->level;
  for (int i = 0; i < 4; ++i) {
    Flen[i] = st->Flen[i];
    Fofs[i] = st->Fofs[i];
    Ftaps[i] = static_cast<T*>(st->tap_filt[i]);
  }
}

// ---- Transforms

// The record checks of both directions; every failed one is reported.
inline bool recordRefused(ZqvSite site, const wtState* st, const void* src, const void* dst,
                          int32_t dataType) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(!st, "wtState==0"), ZQV_CHECK(!src, "src==0"), ZQV_CHECK(!dst, "dst==0")}) ||
      !st || !src || !dst)
    return true;
  const int32_t* len = st->Flen;
  const int32_t order = st->dataOrder, level = st->level, kind = st->kind;
  const bool badType = st->dataType != dataType;
  const bool badOrder = order < 1 || order > 31;
  const bool badLevel = level < 0 || level > order - 1;
  const bool badKind = kind < 1 || kind > 3;
  const bool badLengths = len[0] < 2 || len[1] < 2 || len[2] < 2 || len[3] < 2 || len[0] != len[3] ||
                          len[1] != len[2];
  const bool badOrtho = kind == kOrthogonal && (len[0] != len[1] || len[0] % 2 != 0);
  bool badOffsets = false;
  for (int i = 0; i < 4; ++i) badOffsets |= st->Fofs[i] < 0 || st->Fofs[i] > len[i] - 1;
  const bool badPad = !st->src_pad;
  bool badTaps = false;
  for (const void* t : st->tap_filt) badTaps |= !t;
  return zqvCheckAll(
             site,
             {ZQV_CHECK(badType, "error in the (float, double or short) core"),
              ZQV_CHECK(order < 1, "wtState->dataOrder<1"), ZQV_CHECK(order > 31, "wtState->dataOrder>31"),
              ZQV_CHECK(level < 0, "wtState->level<0"),
              ZQV_CHECK(level > order - 1, "wtState->level>(wtState->dataOrder-1)"),
              ZQV_CHECK(badKind, "error in the type of wavelet"),
              ZQV_CHECK(!st->tap_filt[0], "wtState->tap_filt[ 0 ]==0"),
              ZQV_CHECK(!st->tap_filt[1], "wtState->tap_filt[ 1 ]==0"),
              ZQV_CHECK(!st->tap_filt[2], "wtState->tap_filt[ 2 ]==0"),
              ZQV_CHECK(!st->tap_filt[3], "wtState->tap_filt[ 3 ]==0"),
              ZQV_CHECK(badPad, "wtState->src_pad==0"), ZQV_CHECK(badLengths, "error in the filter lengths"),
              ZQV_CHECK(badOrtho, "error in the filter lengths ortho. wavelet"),
              ZQV_CHECK(badOffsets, "error in the filter offsets")}) ||
         badType || badOrder || badLevel || badKind || badLengths || badOrtho || badOffsets || badPad || badTaps;
}

inline int64_t wrap(int64_t t, int64_t n) noexcept {
  const int64_t r = t % n;
  return r < 0 ? r + n : r;
}

// x: N values, transformed in place level by level. Each level extends the
// current approximation periodically into src_pad and keeps the even
// outputs of the two analysis filters.
template <class T>
void decomposeInPlace(const wtState* st, T* x) noexcept {
  const int64_t n0 = int64_t{1} << st->dataOrder;
  const int64_t pad = std::max(st->Flen[0], st->Flen[1]);
  const T* h0 = static_cast<const T*>(st->tap_filt[0]);
  const T* h1 = static_cast<const T*>(st->tap_filt[1]);
  const int64_t len0 = st->Flen[0], len1 = st->Flen[1], o0 = st->Fofs[0], o1 = st->Fofs[1];
  T* e = static_cast<T*>(st->src_pad);
  for (int32_t l = 1; l <= st->level; ++l) {
    const int64_t n = n0 >> (l - 1), half = n / 2;
    // e[k + pad] = x[k mod n] for k = -pad .. n + pad - 1
    std::memcpy(e + pad, x, static_cast<size_t>(n) * sizeof(T));
    for (int64_t k = -pad; k < 0; ++k) e[k + pad] = x[wrap(k, n)];
    for (int64_t k = n; k < n + pad; ++k) e[k + pad] = x[wrap(k, n)];
    for (int64_t i = 0; i < half; ++i) {
      const T* at = e + pad + 2 * i + o0;
      double s = 0;
      for (int64_t j = 0; j < len0; ++j) s += static_cast<double>(h0[j]) * at[-j];
      x[i] = static_cast<T>(s);
    }
    for (int64_t i = 0; i < half; ++i) {
      const T* at = e + pad + 2 * i + o1;
      double s = 0;
      for (int64_t j = 0; j < len1; ++j) s += static_cast<double>(h1[j]) * at[-j];
      x[half + i] = static_cast<T>(s);
    }
  }
}

// Synthesis of one filter over the zero-stuffed, periodic vector of the
// m values v: sum over j of g[j] u[t - j], u[2k] = v[k], u[2k+1] = 0.
template <class T>
double synthesis(const T* g, int64_t len, int64_t t, const T* v, int64_t m) noexcept {
  const int64_t two = 2 * m;
  double s = 0;
  // Only taps that meet an even position contribute.
  int64_t j = t & 1;
  if (t - (len - 1) >= 0 && t < two) {
    for (; j < len; j += 2) s += static_cast<double>(g[j]) * v[(t - j) >> 1];
  } else {
    for (; j < len; j += 2) s += static_cast<double>(g[j]) * v[wrap(t - j, two) >> 1];
  }
  return s;
}

// x: N values in the transformed layout, turned back in place. Each level
// copies its approximation and details into src_pad first, so the output
// may overwrite them.
template <class T>
void reconstructInPlace(const wtState* st, T* x) noexcept {
  const int64_t n0 = int64_t{1} << st->dataOrder;
  const T* g2 = static_cast<const T*>(st->tap_filt[2]);
  const T* g3 = static_cast<const T*>(st->tap_filt[3]);
  const int64_t len2 = st->Flen[2], len3 = st->Flen[3], o2 = st->Fofs[2], o3 = st->Fofs[3];
  T* work = static_cast<T*>(st->src_pad);
  for (int64_t m = n0 >> st->level; m < n0; m *= 2) {
    const T* a = work;
    const T* d = work + m;
    std::memcpy(work, x, static_cast<size_t>(2 * m) * sizeof(T));
    for (int64_t i = 0; i < 2 * m; ++i) {
      const T low = static_cast<T>(synthesis(g2, len2, i + o2, a, m));
      x[i] = static_cast<T>(static_cast<double>(low) + synthesis(g3, len3, i + o3, d, m));
    }
  }
}

template <class T>
void decompose(ZqvSite site, wtState* st, const T* src, T* dst) noexcept {
  if (recordRefused(site, st, src, dst, kDataTypeOf<T>)) return;
  const int64_t n = int64_t{1} << st->dataOrder;
  if (src != dst) std::memmove(static_cast<void*>(dst), src, static_cast<size_t>(n) * sizeof(T));
  decomposeInPlace(st, dst);
}

template <class T>
void reconstruct(ZqvSite site, wtState* st, const T* src, T* dst) noexcept {
  if (recordRefused(site, st, src, dst, kDataTypeOf<T>)) return;
  const int64_t n = int64_t{1} << st->dataOrder;
  if (src != dst) std::memmove(static_cast<void*>(dst), src, static_cast<size_t>(n) * sizeof(T));
  reconstructInPlace(st, dst);
}

}  // namespace zqvwlts

#endif
