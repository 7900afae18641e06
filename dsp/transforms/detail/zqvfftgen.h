// The complex and real FFT families, written once over the element type and
// instantiated by the float module (zqvffts) and the double module (zqvfftd).
#ifndef ZQV_FFTGEN_H
#define ZQV_FFTGEN_H

#include <cstring>
#include <initializer_list>

#include "core/zqvframe.h"
#include "transforms/detail/zqvfftint.h"
#include "transforms/detail/zqvfftkern.h"
#include "transforms/detail/zqvfftvec.h"

namespace zqvfft {

template <class T>
struct Traits;

template <>
struct Traits<float> {
  using C = ZqvCplxS;
  static constexpr const char* kModule = "zqvffts";
  static constexpr const char* kOutReal2 = "out zqvsReal2Fft";
  static constexpr const char* kOutCr = "out zqvcrFft";
  static constexpr const char* kReal2 = "zqvsReal2Fft";
  static constexpr const char* kCr = "zqvcrFft";
  static constexpr std::size_t kBlock = kFftBlockS;
  static const float* radix4(int32_t o) { return reinterpret_cast<const float*>(zqvcGetRadix4Twd(o)); }
  static const float* half(int32_t o) { return reinterpret_cast<const float*>(zqvcGetHalfTwd(o)); }
  static const float* split(int32_t o) { return zqvsGetSplitTwd(o); }
  static void freeRadix4(int32_t o) { zqvcFreeRadix4Twd(o); }
  static void freeHalf(int32_t o) { zqvcFreeHalfTwd(o); }
  static void freeSplit(int32_t o) { zqvsFreeSplitTwd(o); }
  static void freeKernels() { zqvcFreeKernelTbls(); }
  static const float* stage(int32_t o) { return zqvsGetStageTwd(o); }
  static void freeStage(int32_t o) { zqvsFreeStageTwd(o); }
  using Sse = zqvfv::SseF;
};

template <>
struct Traits<double> {
  using C = ZqvCplxD;
  static constexpr const char* kModule = "zqvfftd";
  static constexpr const char* kOutReal2 = "out zqvdReal2Fft";
  static constexpr const char* kOutCr = "out zqvzrFft";
  static constexpr const char* kReal2 = "zqvdReal2Fft";
  static constexpr const char* kCr = "zqvzrFft";
  static constexpr std::size_t kBlock = kFftBlockD;
  static const double* radix4(int32_t o) { return reinterpret_cast<const double*>(zqvzGetRadix4Twd(o)); }
  static const double* half(int32_t o) { return reinterpret_cast<const double*>(zqvzGetHalfTwd(o)); }
  static const double* split(int32_t o) { return zqvdGetSplitTwd(o); }
  static void freeRadix4(int32_t o) { zqvzFreeRadix4Twd(o); }
  static void freeHalf(int32_t o) { zqvzFreeHalfTwd(o); }
  static void freeSplit(int32_t o) { zqvdFreeSplitTwd(o); }
  static void freeKernels() { zqvzFreeKernelTbls(); }
  static const double* stage(int32_t o) { return zqvdGetStageTwd(o); }
  static void freeStage(int32_t o) { zqvdFreeStageTwd(o); }
  using Sse = zqvfv::SseD;
};

// The CPU choice, once for both precisions: the widest build of the vector
// kernels the processor has (all give the same results).
// Complex doubles up to 32 points run faster on 256-bit vectors (measured on
// the AMD processor with AVX-512: 9% on the real pair of order 6).
template <class T>
void difVec(T* x, std::size_t n, bool fwd, const T* stage) {
  using S = typename Traits<T>::Sse;
  if ((sizeof(T) == 4 || n > 32) && zqvHasAvx512()) zqvFftDifAvx512(x, n, fwd, stage);
  else if (zqvHasAvx2()) zqvFftDifAvx(x, n, fwd, stage);
  else zqvfv::difAll<S, S>(x, n, fwd, stage);
}

template <class T>
void ditVec(T* x, std::size_t n, bool fwd, const T* stage) {
  using S = typename Traits<T>::Sse;
  constexpr std::size_t block = Traits<T>::kBlock;
  if (zqvHasAvx512()) zqvFftDitAvx512(x, n, fwd, stage, block);
  else if (zqvHasAvx2()) zqvFftDitAvx(x, n, fwd, stage, block);
  else zqvfv::ditAll<S, S>(x, n, fwd, stage, block);
}

// Vector parts of the real unpack and merge passes; they return the first
// pair index left to the scalar pass.
template <class T>
std::size_t unpackVec(T* x, std::size_t m, bool fwd, const T* split) {
  return zqvHasAvx2() ? zqvRealUnpackAvx(x, m, fwd, split) : zqvfv::unpackVec<typename Traits<T>::Sse>(x, m, fwd, split);
}

template <class T>
std::size_t mergeVec(T* x, std::size_t m, bool fwd, const T* half) {
  return zqvHasAvx2() ? zqvRealMergeAvx(x, m, fwd, half) : zqvfv::mergeVec<typename Traits<T>::Sse>(x, m, fwd, half);
}

constexpr int32_t kLastSplitRadixOrder = 11;
// From this order the interleaved reordering goes through tiles, not pairs
// (with AVX2, two orders later for complex floats and one for complex
// doubles: their register tiles win up to there).
constexpr int32_t kTiledRevOrder = 13;

// The tables one transform call needs, fetched before any data is touched.
template <class T>
struct Tables {
  const T* kernel = nullptr;  // radix-4 table up to order 11, half table above
  const int32_t* pairs = nullptr;
  const T* split = nullptr;   // real-unpack table
  const T* half = nullptr;    // half table of the full order (inverse real forms)
  const T* stage = nullptr;   // per-stage table of the vector kernels; may stay null
};

struct Need {
  int32_t kernelOrder = -1;
  int32_t pairsOrder = -1;
  int32_t splitOrder = -1;
  int32_t halfOrder = -1;
};

template <class T>
const T* kernelTbl(int32_t order) {
  return order <= kLastSplitRadixOrder ? Traits<T>::radix4(order) : Traits<T>::half(order);
}

template <class T>
bool tryFetch(const Need& need, Tables<T>& t) {
  t = Tables<T>{};
  if (need.kernelOrder >= 0 && !(t.kernel = kernelTbl<T>(need.kernelOrder))) return false;
  if (need.pairsOrder >= 0 && !(t.pairs = zqvGetBitRevPairTbl(need.pairsOrder))) return false;
  if (need.splitOrder >= 0 && !(t.split = Traits<T>::split(need.splitOrder))) return false;
  if (need.halfOrder >= 0 && !(t.half = Traits<T>::half(need.halfOrder))) return false;
  // Optional: without it the transform runs the table-driven kernels.
  if (need.kernelOrder >= 3 && need.pairsOrder >= 0) t.stage = Traits<T>::stage(need.kernelOrder);
  return true;
}

// Fetches the tables; on a miss releases this precision's kernel tables and
// tries once more. False (reported) when they still cannot be had.
template <class T>
bool fetchTables(const Need& need, Tables<T>& t, ZqvSite site) {
  if (tryFetch(need, t)) return true;
  Traits<T>::freeKernels();
  if (tryFetch(need, t)) return true;
  zqvError(ZQV_OUT_OF_MEMORY, site.func, "No working Twd memory", site.module, __LINE__);
  return false;
}

template <class T>
void releaseKernel(int32_t order) {
  if (order <= kLastSplitRadixOrder) Traits<T>::freeRadix4(order);
  else Traits<T>::freeHalf(order);
  Traits<T>::freeStage(order);
}

// What one form needs before it may touch data: the tables it fetches, the
// tables ZQV_FreeTbls releases (orders outside 0..31 are skipped), whether
// it fetches at all at this order, and the parts of the flag word it checks.
struct Opening {
  Need fetch;
  Need release;
  bool fetches = true;
  bool checksFlags = true;
  int32_t bitOrder = 0, inLayout = 0, outLayout = 0;
};

template <class T>
void releaseTables(const Need& r) {
  auto held = [](int32_t o) { return o >= 0 && o <= 31; };
  if (held(r.kernelOrder)) releaseKernel<T>(r.kernelOrder);
  if (held(r.pairsOrder)) zqvFreeBitRevPairTbl(r.pairsOrder);
  if (held(r.splitOrder)) Traits<T>::freeSplit(r.splitOrder);
  if (held(r.halfOrder)) Traits<T>::freeHalf(r.halfOrder);
}

// The opening every form shares: ZQV_FreeTbls releases and returns; then the
// order check, the tables (fetched before any data is looked at, so ZQV_Init
// needs no data pointer), ZQV_Init returns, the null checks of the data
// pointers and the flag check. True when the form goes on to its data.
template <class T>
inline __attribute__((always_inline)) bool open(ZqvSite site, int32_t order, int32_t flags, const Opening& o, Tables<T>& t,
          std::initializer_list<ZqvCheck> nulls) {
  if (flags & ZQV_FreeTbls) {
    releaseTables<T>(o.release);
    return false;
  }
  if (zqvCheckAll(site, {ZQV_CHECK(order < 0, "order<0"), ZQV_CHECK(order > 31, "order>31")})) return false;
  if (o.fetches && !fetchTables<T>(o.fetch, t, site)) return false;
  if (flags & ZQV_Init) return false;
  if (zqvCheckAll(site, nulls)) return false;
  return !(o.checksFlags &&
           zqvFftCheckFlags(flags, o.bitOrder, o.inLayout, o.outLayout, site.func, site.module, __LINE__));
}

// The null checks of a form with one array in place, or a source and a
// destination (nip).
#define ZQV_FFT_SAMPS(nip, in, out)                                                                  \
  ((nip) ? std::initializer_list<ZqvCheck>{ZQV_CHECK((in) == nullptr, "inSamps==0"),                 \
                                           ZQV_CHECK((out) == nullptr, "outSamps==0")}               \
         : std::initializer_list<ZqvCheck>{ZQV_CHECK((out) == nullptr, "samps==0")})

// Inverse scaling: short vectors in place here (a call into the vector
// multiply and its checks costs more than the products), longer ones
// through the library's vector multiply, in chunks that its 32-bit count
// can describe. The same single product either way.
template <class T>
void scale(T* v, std::size_t count, T factor) {
  if (count <= 256) {
    for (std::size_t i = 0; i < count; ++i) v[i] *= factor;
    return;
  }
  while (count > 0) {
    const int32_t chunk = static_cast<int32_t>(std::min<std::size_t>(count, std::size_t{1} << 30));
    if constexpr (sizeof(T) == 4) zqvsbMpy1(factor, v, chunk);
    else zqvdbMpy1(factor, v, chunk);
    v += chunk;
    count -= static_cast<std::size_t>(chunk);
  }
}

template <class T>
bool scaleDue(int32_t flags) {
  return (flags & ZQV_Inv) && !(flags & ZQV_NoScale);
}

// In-place complex transform of interleaved data with the tables at hand.
template <class T>
void complexCore(T* x, int32_t order, bool fwd, bool inBitRev, bool outBitRev, const T* kernel,
                 const int32_t* pairs, const T* stage) {
  using C = typename Traits<T>::C;
  const std::size_t n = std::size_t{1} << order;
  const IlvScalar<T> ps{x};
  C* xc = reinterpret_cast<C*>(x);
  auto reorder = [&] {
    const bool wide = order >= 4 && zqvHasAvx2();
    // The 512-bit tiles win from these orders (for complex floats up to
    // order 16; the generic tiles take the larger ones).
    const bool wide512 = order >= (sizeof(T) == 4 ? 7 : 9) && (sizeof(T) == 8 || order <= 16) && zqvHasAvx512();
    if constexpr (sizeof(T) == 4) {
      if (wide512) zqvcBitRevAvx512(xc, order);
      else if (order >= kTiledRevOrder + (wide ? 2 : 0)) zqvcBitRevTiled(xc, order);
      else if (wide) zqvcBitRevAvx(xc, order);
      else zqvcBitRevByPairs(xc, order, pairs);
    } else {
      if (wide512) zqvzBitRevAvx512(xc, order);
      else if (order >= kTiledRevOrder + (wide ? 1 : 0)) zqvzBitRevTiled(xc, order);
      else if (wide) zqvzBitRevAvx(xc, order);
      else zqvzBitRevByPairs(xc, order, pairs);
    }
  };
  if (order <= kLastSplitRadixOrder) {
    if (inBitRev) reorder();
    // Up to 4 points the vector kernels need no stage table.
    if (stage || order <= 2) difVec(x, n, fwd, stage);
    else difKernel(ps, n, fwd, kernel);
    if (!outBitRev) reorder();
  } else {
    if (!inBitRev) reorder();
    if (stage) ditVec(x, n, fwd, stage);
    else ditKernel(ps, n, fwd, kernel, Traits<T>::kBlock);
    if (outBitRev) reorder();
  }
}

// Reorders separate arrays with a bit-reverse table (null below order 3).
template <class T>
void reorderSplit(T* re, T* im, int32_t order, const int32_t* tbl) {
  const std::size_t n = std::size_t{1} << order;
  if (order == 2) {
    std::swap(re[1], re[2]);
    std::swap(im[1], im[2]);
  } else if (order >= 3) {
    zqvBitRevWithTbl(re, n, tbl);
    zqvBitRevWithTbl(im, n, tbl);
  }
}

template <class T>
void splitCore(T* re, T* im, int32_t order, bool fwd, bool inBitRev, bool outBitRev, const T* kernel,
               const int32_t* revTbl) {
  const std::size_t n = std::size_t{1} << order;
  SplitScalar<T> ps;
  ps.re = re;
  ps.im = im;
  if (order <= kLastSplitRadixOrder) {
    if (inBitRev) reorderSplit(re, im, order, revTbl);
    difKernel(ps, n, fwd, kernel);
    if (!outBitRev) reorderSplit(re, im, order, revTbl);
  } else {
    if (!inBitRev) reorderSplit(re, im, order, revTbl);
    ditKernel(ps, n, fwd, kernel, Traits<T>::kBlock);
    if (outBitRev) reorderSplit(re, im, order, revTbl);
  }
}

// ---- Complex FFT, interleaved ------------------------------------------

// The usual call of an interleaved complex transform: valid arguments and
// flags, no fault pending and every table already cached. It reads the
// thread's context once instead of once per check and table; anything else
// takes the full opening, whose reports and table fetches are unchanged.
inline bool plainComplexFlags(int32_t flags) {
  const bool forw = flags & ZQV_Forw, inv = flags & ZQV_Inv;
  const int32_t orders = ((flags & ZQV_NoBitRev) != 0) + ((flags & ZQV_InBitRev) != 0) + ((flags & ZQV_OutBitRev) != 0);
  return forw != inv && orders <= 1 && !(flags & (ZQV_FreeTbls | ZQV_Init));
}

// The tables of a need read straight from the calling thread's cache: true
// when no fault is pending and every one of them is there already (the
// stage table too from order 3 on); false sends the call through the full
// opening. The kernel and pair orders must be within 0..31.
template <class T>
inline __attribute__((always_inline)) bool cachedTables(const Need& need, Tables<T>& t) {
  const ZqvContext* ctx = zqvFetchContext();
  if (ctx->errStatus < 0) return false;
  const ZqvCacheGroup2& c = ctx->cache2;
  const int32_t k = need.kernelOrder, split = need.splitOrder, half = need.halfOrder;
  const void* kernel;
  const void* halfTbl = nullptr;
  if constexpr (sizeof(T) == 4) {
    kernel = k <= kLastSplitRadixOrder ? static_cast<const void*>(c.cRadix4Twd[k]) : c.cHalfTwd[k];
    t.stage = k >= 3 ? c.sStageTwd[k] : nullptr;
    t.split = split >= 0 ? c.sSplitTwd[split] : nullptr;
    if (half >= 0) halfTbl = c.cHalfTwd[half];
  } else {
    kernel = k <= kLastSplitRadixOrder ? static_cast<const void*>(c.zRadix4Twd[k]) : c.zHalfTwd[k];
    t.stage = k >= 3 ? c.dStageTwd[k] : nullptr;
    t.split = split >= 0 ? c.dSplitTwd[split] : nullptr;
    if (half >= 0) halfTbl = c.zHalfTwd[half];
  }
  t.kernel = static_cast<const T*>(kernel);
  t.half = static_cast<const T*>(halfTbl);
  t.pairs = ctx->cache1.bitRevPairTbl[need.pairsOrder];
  return t.kernel && t.pairs && (t.stage || k < 3) && (split < 0 || t.split) && (half < 0 || t.half);
}

template <class T>
void complexFft(const T* in, T* out, int32_t order, int32_t flags, ZqvSite site, bool nip) {
  const Need tables{order, order, -1, -1};
  Tables<T> t;
  const bool plain = order >= 0 && order <= 31 && out && (!nip || in) && plainComplexFlags(flags) &&
                     cachedTables(tables, t);
  if (!plain &&
      !open<T>(site, order, flags, {tables, tables, true, true, 1, 0, 0}, t, ZQV_FFT_SAMPS(nip, in, out)))
    return;
  const std::size_t n = std::size_t{1} << order;
  // A plain move serves equal or overlapping buffers too.
  if (nip) std::memmove(out, in, 2 * n * sizeof(T));
  if (order == 0) return;
  complexCore(out, order, flags & ZQV_Forw, flags & ZQV_InBitRev, flags & ZQV_OutBitRev, t.kernel, t.pairs, t.stage);
  if (scaleDue<T>(flags)) scale(out, 2 * n, T(1) / static_cast<T>(n));
}

// ---- Complex FFT, separate arrays --------------------------------------

template <class T>
void splitFft(const T* reIn, const T* imIn, T* re, T* im, int32_t order, int32_t flags, ZqvSite site, bool nip) {
  const Need tables{order, -1, -1, -1};
  Tables<T> t;
  using Checks = std::initializer_list<ZqvCheck>;
  if (!open<T>(site, order, flags, {tables, tables, true, true, 1, 0, 0}, t,
               nip ? Checks{ZQV_CHECK(reIn == nullptr, "reInSamps==0"), ZQV_CHECK(imIn == nullptr, "imInSamps==0"),
                            ZQV_CHECK(re == nullptr, "reOutSamps==0"), ZQV_CHECK(im == nullptr, "imOutSamps==0")}
                   : Checks{ZQV_CHECK(re == nullptr, "reSamps==0"), ZQV_CHECK(im == nullptr, "imSamps==0")}))
    return;
  const bool inBr = flags & ZQV_InBitRev, outBr = flags & ZQV_OutBitRev;
  // The reordering table is fetched before any data moves, so a shortage
  // leaves the arrays as they were.
  const int32_t* revTbl = nullptr;
  const bool reorders = order <= kLastSplitRadixOrder ? (inBr || !outBr) : (!inBr || outBr);
  if (order >= 3 && reorders && !(revTbl = zqvFetchBitRevTbl(order))) return;
  const std::size_t n = std::size_t{1} << order;
  if (nip) {
    std::memmove(re, reIn, n * sizeof(T));
    std::memmove(im, imIn, n * sizeof(T));
  }
  if (order == 0) return;
  splitCore(re, im, order, flags & ZQV_Forw, inBr, outBr, t.kernel, revTbl);
  if (scaleDue<T>(flags)) {
    scale(re, n, T(1) / static_cast<T>(n));
    scale(im, n, T(1) / static_cast<T>(n));
  }
}

// ---- Real FFTs ----------------------------------------------------------

// Unpacks the half-length spectrum Z (M complex values in x) into X[0..M-1]
// of the real signal's spectrum; returns X(N/2), which is real.
template <class T>
T unpackReal(T* x, std::size_t m, bool fwd, const T* split) {
  const T a = x[0], b = x[1];
  x[0] = a + b;
  x[1] = T(0);
  for (std::size_t k = unpackVec(x, m, fwd, split); 2 * k < m; ++k) {
    const std::size_t j = m - k;
    const T zkr = x[2 * k], zki = x[2 * k + 1], zjr = x[2 * j], zji = x[2 * j + 1];
    const T c = split[2 * (k - 1)], s = split[2 * (k - 1) + 1];
    const T p = zkr - zjr, q = zki + zji;
    if (fwd) {
      const T re = s * p + c * q, im = s * q - c * p;
      x[2 * k] = zjr + re;
      x[2 * k + 1] = im - zji;
      x[2 * j] = zkr - re;
      x[2 * j + 1] = im - zki;
    } else {
      const T re = c * q - s * p, im = c * p + s * q;
      x[2 * k] = zkr + re;
      x[2 * k + 1] = zki - im;
      x[2 * j] = zjr - re;
      x[2 * j + 1] = zji - im;
    }
  }
  if (m >= 2 && fwd) x[m + 1] = -x[m + 1];  // middle value: conjugate
  return a - b;
}

// Merges a packed spectrum X[1..M-1] (in x) into twice the half-length
// spectrum Z[1..M-1]; position 0 is left to the caller.
template <class T>
void mergeReal(T* x, std::size_t m, bool fwd, const T* half) {
  for (std::size_t k = mergeVec(x, m, fwd, half); 2 * k < m; ++k) {
    const std::size_t j = m - k;
    const T xkr = x[2 * k], xki = x[2 * k + 1], xjr = x[2 * j], xji = x[2 * j + 1];
    const T cc = half[2 * k], ss = fwd ? -half[2 * k + 1] : half[2 * k + 1];
    const T p = xkr - xjr, q = xki + xji, r = xki - xji, t = xkr + xjr;
    const T re = ss * p - cc * q, im = cc * p + ss * q;
    x[2 * k] = t + re;
    x[2 * j] = t - re;
    x[2 * k + 1] = r + im;
    x[2 * j + 1] = im - r;
  }
  if (m >= 2) {
    x[m] = 2 * x[m];
    x[m + 1] = fwd ? 2 * x[m + 1] : -2 * x[m + 1];
  }
}

enum class RealLayout { Ccs, Packed };

// The usual call of a real transform (see plainComplexFlags): one direction,
// neither ZQV_Init nor ZQV_FreeTbls, and where the form checks a packed
// layout, exactly one of its two.
inline bool plainRealFlags(int32_t flags, bool outLayout, bool inLayout) {
  auto one = [flags](int32_t a, int32_t b) { return ((flags & a) != 0) != ((flags & b) != 0); };
  return one(ZQV_Forw, ZQV_Inv) && !(flags & (ZQV_FreeTbls | ZQV_Init)) &&
         (!outLayout || one(ZQV_OutRCPack, ZQV_OutRCPerm)) && (!inLayout || one(ZQV_InRCPack, ZQV_InRCPerm));
}

// The order of the half-length complex transform; -1 (nothing to fetch or
// release) for order 0 and for the negative orders the opening refuses,
// which must not be decremented.
inline int32_t halfOrder(int32_t order) { return order > 0 ? order - 1 : -1; }

template <class T>
void realForward(const T* in, T* out, int32_t order, int32_t flags, ZqvSite site, bool nip, RealLayout layout) {
  const bool packed = layout == RealLayout::Packed;
  const int32_t m = halfOrder(order);
  // The not-in-place forms leave the shared swap-pair table in the cache.
  const Opening o{{m, m, m, -1}, {m, nip ? -1 : m, m, -1}, order >= 2, true, 0, 0, packed ? 1 : 0};
  Tables<T> t;
  const bool plain = order >= 2 && order <= 31 && out && (!nip || in) && plainRealFlags(flags, packed, false) &&
                     cachedTables(o.fetch, t);
  if (!plain && !open<T>(site, order, flags, o, t, ZQV_FFT_SAMPS(nip, in, out))) return;
  if (order == 0) {
    if (nip) {
      out[0] = in[0];
      if (!packed) out[1] = T(0);
    }
    return;
  }
  const std::size_t n = std::size_t{1} << order;
  const bool fwd = flags & ZQV_Forw;
  if (nip) std::memmove(out, in, n * sizeof(T));
  if (order >= 2) complexCore(out, m, fwd, false, false, t.kernel, t.pairs, t.stage);
  const T xh = unpackReal(out, n / 2, fwd, t.split);
  std::size_t count = n;
  if (!packed) {
    out[n] = xh;
    out[n + 1] = T(0);
    count = n + 2;
  } else if (flags & ZQV_OutRCPack) {
    std::memmove(out + 1, out + 2, (n - 2) * sizeof(T));
    out[n - 1] = xh;
  } else {
    out[1] = xh;
  }
  if (scaleDue<T>(flags)) scale(out, count, T(1) / static_cast<T>(n));
}

template <class T>
void realInverse(const T* in, T* out, int32_t order, int32_t flags, ZqvSite site, bool nip, RealLayout layout) {
  const bool packed = layout == RealLayout::Packed;
  const int32_t m = halfOrder(order);
  const Opening o{{m, m, -1, order}, {m, m, -1, m >= 0 ? order : -1}, order >= 2, true, 0, packed ? 1 : 0, 0};
  Tables<T> t;
  const bool plain = order >= 2 && order <= 31 && out && (!nip || in) && plainRealFlags(flags, false, packed) &&
                     cachedTables(o.fetch, t);
  if (!plain && !open<T>(site, order, flags, o, t, ZQV_FFT_SAMPS(nip, in, out))) return;
  if (nip && order == 0) out[0] = in[0];
  if (order == 0) return;
  const std::size_t n = std::size_t{1} << order;
  const bool fwd = flags & ZQV_Forw;
  const bool rcPack = packed && (flags & ZQV_InRCPack);
  const T x0 = in[0];
  const T xh = !packed ? in[n] : (rcPack ? in[n - 1] : in[1]);
  if (nip) std::memmove(out, in, n * sizeof(T));
  if (rcPack) std::memmove(out + 2, out + 1, (n - 2) * sizeof(T));
  mergeReal(out, n / 2, fwd, t.half);
  out[0] = x0 + xh;
  out[1] = x0 - xh;
  if (order >= 2) complexCore(out, m, fwd, false, false, t.kernel, t.pairs, t.stage);
  if (scaleDue<T>(flags)) scale(out, n, T(1) / static_cast<T>(n));
}

// ---- Two real signals at once ------------------------------------------

template <class T>
void reverseRange(T* v, std::size_t first, std::size_t last) {
  while (first < last) std::swap(v[first++], v[last--]);
}

// Turns [re 0..H-1 | im 0..H-1] into (re, im) pairs; run backwards it undoes it.
template <class T>
void interleaveRounds(T* v, int32_t order, bool undo) {
  const std::size_t h = (std::size_t{1} << order) / 2;
  for (int32_t i = 1; i < order; ++i) {
    const int32_t r = undo ? order - i : i;
    const std::size_t w = std::size_t{1} << (r - 1);
    for (std::size_t t = 0; t < h / (2 * w); ++t)
      std::swap_ranges(v + w + 2 * w * t, v + 2 * w + 2 * w * t, v + h + 2 * w * t);
  }
}

template <class T>
bool fetchRevTbl(int32_t order, const int32_t*& tbl) {
  tbl = nullptr;
  if (order < 3) return true;
  tbl = zqvFetchBitRevTbl(order);
  return tbl != nullptr;
}

template <class T>
void real2Forward(T* x, T* y, int32_t order, int32_t flags, ZqvSite site) {
  const Need tables{order, -1, -1, -1};
  Tables<T> t;
  if (!open<T>(site, order, flags, {tables, tables}, t,
               {ZQV_CHECK(x == nullptr, "xSamps==0"), ZQV_CHECK(y == nullptr, "ySamps==0")}))
    return;
  if (order == 0) return;
  const int32_t* revTbl;
  if (!fetchRevTbl<T>(order, revTbl)) return;
  const std::size_t n = std::size_t{1} << order, h = n / 2;
  splitCore(x, y, order, flags & ZQV_Forw, false, false, t.kernel, revTbl);
  if (scaleDue<T>(flags)) {
    scale(x, n, T(1) / static_cast<T>(n));
    scale(y, n, T(1) / static_cast<T>(n));
  }
  const T xh = x[h], yh = y[h];
  for (std::size_t k = 1; k < h; ++k) {
    const std::size_t j = n - k;
    const T zkr = x[k], zki = y[k], zjr = x[j], zji = y[j];
    x[k] = (zkr + zjr) * T(0.5);
    x[j] = (zki - zji) * T(0.5);
    y[k] = (zki + zji) * T(0.5);
    y[j] = (zjr - zkr) * T(0.5);
  }
  x[h] = T(0);
  y[h] = T(0);
  for (T* v : {x, y}) {
    reverseRange(v, h + 1, n - 1);
    interleaveRounds(v, order, false);
  }
  x[n] = xh;
  x[n + 1] = T(0);
  y[n] = yh;
  y[n + 1] = T(0);
}

template <class T>
void real2ForwardNip(const T* xIn, T* xOut, const T* yIn, T* yOut, int32_t order, int32_t flags, ZqvSite site) {
  const Need tables{order, -1, -1, -1};
  Tables<T> t;
  if (!open<T>(site, order, flags, {tables, tables, true, false}, t,
               {ZQV_CHECK(xIn == nullptr, "xInSamps==0"), ZQV_CHECK(yIn == nullptr, "yInSamps==0"),
                ZQV_CHECK(xOut == nullptr, "xOutSamps==0"), ZQV_CHECK(yOut == nullptr, "yOutSamps==0")}))
    return;
  const std::size_t n = std::size_t{1} << order;
  std::memmove(xOut, xIn, n * sizeof(T));
  std::memmove(yOut, yIn, n * sizeof(T));
  real2Forward(xOut, yOut, order, flags, {Traits<T>::kReal2, site.module});
  if (zqvStatusNegative()) zqvBacktrace(site, Traits<T>::kOutReal2, __LINE__);
}

template <class T>
void ccs2Inverse(T* x, T* y, int32_t order, int32_t flags, ZqvSite site) {
  const Need tables{order, -1, -1, -1};
  Tables<T> t;
  if (!open<T>(site, order, flags, {tables, tables}, t,
               {ZQV_CHECK(x == nullptr, "xSamps==0"), ZQV_CHECK(y == nullptr, "ySamps==0")}))
    return;
  if (order == 0) return;
  const int32_t* revTbl;
  if (!fetchRevTbl<T>(order, revTbl)) return;
  const std::size_t n = std::size_t{1} << order, h = n / 2;
  const T xh = x[n], yh = y[n];
  for (T* v : {x, y}) {
    interleaveRounds(v, order, true);
    reverseRange(v, h + 1, n - 1);
  }
  x[h] = xh;
  y[h] = yh;
  for (std::size_t k = 1; k < h; ++k) {
    const std::size_t j = n - k;
    const T rx = x[k], ix = x[j], ry = y[k], iy = y[j];
    x[k] = rx - iy;
    y[k] = ix + ry;
    x[j] = rx + iy;
    y[j] = ry - ix;
  }
  splitCore(x, y, order, flags & ZQV_Forw, false, false, t.kernel, revTbl);
  if (scaleDue<T>(flags)) {
    scale(x, n, T(1) / static_cast<T>(n));
    scale(y, n, T(1) / static_cast<T>(n));
  }
}

template <class T>
void ccs2InverseNip(const T* xIn, T* xOut, const T* yIn, T* yOut, int32_t order, int32_t flags, ZqvSite site) {
  const Need tables{order, -1, -1, -1};
  Tables<T> t;
  if (!open<T>(site, order, flags, {tables, tables, true, true}, t,
               {ZQV_CHECK(xIn == nullptr, "xInSamps==0"), ZQV_CHECK(yIn == nullptr, "yInSamps==0"),
                ZQV_CHECK(xOut == nullptr, "xOutSamps==0"), ZQV_CHECK(yOut == nullptr, "yOutSamps==0")}))
    return;
  if (order == 0) {
    xOut[0] = xIn[0];
    yOut[0] = yIn[0];
    return;
  }
  const std::size_t n = std::size_t{1} << order, h = n / 2;
  xOut[0] = xIn[0];
  yOut[0] = yIn[0];
  for (std::size_t k = 1; k < h; ++k) {
    const T rx = xIn[2 * k], ix = xIn[2 * k + 1], ry = yIn[2 * k], iy = yIn[2 * k + 1];
    xOut[k] = rx - iy;
    yOut[k] = ix + ry;
    xOut[n - k] = rx + iy;
    yOut[n - k] = ry - ix;
  }
  xOut[h] = xIn[n];
  yOut[h] = yIn[n];
  const int32_t innerFlags = (flags & ~(ZQV_InBitRev | ZQV_OutBitRev)) | ZQV_NoBitRev;
  splitFft<T>(nullptr, nullptr, xOut, yOut, order, innerFlags, {Traits<T>::kCr, site.module}, false);
  if (zqvStatusNegative()) zqvBacktrace(site, Traits<T>::kOutCr, __LINE__);
}

// ---- Products of packed spectra ----------------------------------------

template <class T>
void mpyPacked(const T* a, const T* b, T* dst, int32_t order, bool perm, ZqvSite site, bool three) {
  if (three) {
    if (zqvCheckAll(site, {ZQV_CHECK(order < 0, "order<0"), ZQV_CHECK(order > 31, "order>31"),
                           ZQV_CHECK(a == nullptr, "srcA==0"), ZQV_CHECK(b == nullptr, "srcB==0"),
                           ZQV_CHECK(dst == nullptr, "dst==0")}))
      return;
  } else if (zqvCheckAll(site, {ZQV_CHECK(order < 0, "order<0"), ZQV_CHECK(order > 31, "order>31"),
                                ZQV_CHECK(a == nullptr, "src==0"), ZQV_CHECK(b == nullptr, "dst==0")})) {
    return;
  }
  const std::size_t n = std::size_t{1} << order;
  dst[0] = a[0] * b[0];
  if (order >= 1) {
    const std::size_t last = perm ? 1 : n - 1;
    dst[last] = a[last] * b[last];
  }
  if (order >= 2) {
    const std::size_t first = perm ? 2 : 1;
    for (std::size_t i = 0; i + 1 < n / 2; ++i) {
      const std::size_t e = first + 2 * i;
      const T ar = a[e], ai = a[e + 1], br = b[e], bi = b[e + 1];
      dst[e] = ar * br - ai * bi;
      dst[e + 1] = ar * bi + ai * br;
    }
  }
}

}  // namespace zqvfft

#endif

