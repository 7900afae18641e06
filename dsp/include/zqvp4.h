/* zqvp4: signal-processing library, the one public C interface.
 *
 * Every routine is exported with C linkage, throws nothing and works on the
 * calling thread's context (error status, error mode, report routine, cached
 * transform tables). Vectors and states belong to the caller. */
#ifndef ZQVP4_H
#define ZQVP4_H

#include <stdint.h>

#ifdef __cplusplus
#define ZQV_EXTERN_C extern "C"
/* noexcept exists from C++11 on; older dialects get the empty exception
 * specification of their day. */
#if __cplusplus >= 201103L
#define ZQV_NOTHROW noexcept
#else
#define ZQV_NOTHROW throw()
#endif
#else
#define ZQV_EXTERN_C
#define ZQV_NOTHROW
#endif

#define ZQVAPI ZQV_EXTERN_C __attribute__((visibility("default")))

/* ---- Types -------------------------------------------------------------- */

typedef struct { float re, im; } ZqvCplxS;
typedef struct { double re, im; } ZqvCplxD;
typedef struct { int16_t re, im; } ZqvCplxW;
typedef struct { int32_t re, im; } ZqvCplxI;

typedef int32_t ZqvStatus;
enum {
  ZQV_NO_ERROR = 0,
  ZQV_BACKTRACE = -1,
  ZQV_UNKNOWN_ERROR = -2,
  ZQV_INTERNAL_ERROR = -3,
  ZQV_OUT_OF_MEMORY = -4,
  ZQV_BAD_ARGUMENT = -5,
  ZQV_UNSUPPORTED = -6,
  ZQV_NO_CONVERGENCE = -7,
  ZQV_AUTOTRACE = -8
};

typedef int32_t ZqvErrMode;
enum {
  ZQV_ErrorModeLeaf = 0,
  ZQV_ErrorModeParent = 1,
  ZQV_ErrorModeSilent = 2
};

typedef int32_t (*ZqvReportFn)(int32_t status, const char* funcName, const char* message,
                               const char* file, int32_t line);

typedef struct ZqvContext ZqvContext;

typedef struct {
  int32_t major;
  int32_t minor;
  int32_t build;
  const char* name;
  const char* version;
  const char* internalVersion;
  const char* buildDate;
  const char* targetKind;
} ZqvLibVersion;

/* 16-bit result scale modes. */
enum {
  ZQV_WRAP = 0,
  ZQV_SATURATE = 1,
  ZQV_FIXED_SCALE = 2,
  ZQV_AUTO_SCALE = 4
};

/* ---- Platform hook ------------------------------------------------------ */

/* Message box flags and answers the library uses. */
enum {
  ZQV_MB_OK = 0x0,
  ZQV_MB_OKCANCEL = 0x1,
  ZQV_MB_YESNO = 0x4,
  ZQV_MB_SYSTEMMODAL = 0x1000,
  ZQV_IDOK = 1,
  ZQV_IDCANCEL = 2,
  ZQV_IDYES = 6,
  ZQV_IDNO = 7
};

/* Shows a message box and returns the button pressed (ZQV_IDOK, ...). The
 * library calls it for its error boxes; with no hook installed the text goes
 * to standard error and the answer is the button that lets the process go on. */
typedef int32_t (*ZqvMessageBoxFn)(const char* text, const char* caption, uint32_t flags);
/* Installs fn (null restores the default); returns the previous hook. */
ZQVAPI ZqvMessageBoxFn zqvSetMessageBoxHook(ZqvMessageBoxFn fn) ZQV_NOTHROW;

/* ---- Frame -------------------------------------------------------------- */

ZQVAPI ZqvContext* zqvUndContext(void) ZQV_NOTHROW;
ZQVAPI int32_t zqvGetErrStatus(void) ZQV_NOTHROW;
ZQVAPI void zqvSetErrStatus(int32_t status) ZQV_NOTHROW;
ZQVAPI int32_t zqvGetErrMode(void) ZQV_NOTHROW;
ZQVAPI void zqvSetErrMode(int32_t mode) ZQV_NOTHROW;
ZQVAPI ZqvReportFn zqvRedirectError(ZqvReportFn fn) ZQV_NOTHROW;
ZQVAPI int32_t zqvError(int32_t status, const char* funcName, const char* message,
                        const char* file, int32_t line) ZQV_NOTHROW;
ZQVAPI int32_t zqvGuiBoxReport(int32_t status, const char* funcName, const char* message,
                               const char* file, int32_t line) ZQV_NOTHROW;
ZQVAPI int32_t zqvStdErrReport(int32_t status, const char* funcName, const char* message,
                               const char* file, int32_t line) ZQV_NOTHROW;
ZQVAPI int32_t zqvNulDevReport(int32_t status, const char* funcName, const char* message,
                               const char* file, int32_t line) ZQV_NOTHROW;
ZQVAPI const char* zqvErrorStr(int32_t status) ZQV_NOTHROW;
ZQVAPI const ZqvLibVersion* zqvGetLibVersion(void) ZQV_NOTHROW;

/* ---- Memory ------------------------------------------------------------- */

ZQVAPI void* zqvMalloc(int32_t length) ZQV_NOTHROW;
ZQVAPI float* zqvsMalloc(int32_t length) ZQV_NOTHROW;
ZQVAPI double* zqvdMalloc(int32_t length) ZQV_NOTHROW;
ZQVAPI ZqvCplxS* zqvcMalloc(int32_t length) ZQV_NOTHROW;
ZQVAPI ZqvCplxD* zqvzMalloc(int32_t length) ZQV_NOTHROW;
ZQVAPI int16_t* zqvwMalloc(int32_t length) ZQV_NOTHROW;
ZQVAPI ZqvCplxW* zqvvMalloc(int32_t length) ZQV_NOTHROW;
ZQVAPI int32_t* zqviMalloc(int32_t length) ZQV_NOTHROW;
ZQVAPI int64_t* zqvjMalloc(int32_t length) ZQV_NOTHROW;
ZQVAPI void zqvFree(void* block) ZQV_NOTHROW;

/* ---- Vector arithmetic: float, double, complex -------------------------- */
/* (section: arithmetic) */

/* Single complex values; no argument checks, the status is not read.
 * Div reports a zero divisor and yields (0, 0). */
ZQVAPI ZqvCplxS zqvcAdd(ZqvCplxS a, ZqvCplxS b) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzAdd(ZqvCplxD a, ZqvCplxD b) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcSub(ZqvCplxS a, ZqvCplxS b) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzSub(ZqvCplxD a, ZqvCplxD b) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcMpy(ZqvCplxS a, ZqvCplxS b) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzMpy(ZqvCplxD a, ZqvCplxD b) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcDiv(ZqvCplxS a, ZqvCplxS b) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzDiv(ZqvCplxD a, ZqvCplxD b) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcConj(ZqvCplxS a) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzConj(ZqvCplxD a) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcSet(float re, float im) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzSet(double re, double im) ZQV_NOTHROW;

/* Element-wise vector arithmetic over n elements; 1: vec op= val,
 * 2: dst op= src, 3: dst = srcA op srcB. Nothing is done while the
 * thread's status is negative. */
ZQVAPI void zqvsbZero(float* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsbSet(float val, float* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsbCopy(const float* src, float* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsbAdd1(float val, float* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsbSub1(float val, float* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsbMpy1(float val, float* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsbAdd2(const float* src, float* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsbSub2(const float* src, float* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsbMpy2(const float* src, float* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsbAdd3(const float* srcA, const float* srcB, float* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsbSub3(const float* srcA, const float* srcB, float* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsbMpy3(const float* srcA, const float* srcB, float* dst, int32_t n) ZQV_NOTHROW;

ZQVAPI void zqvdbZero(double* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdbSet(double val, double* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdbCopy(const double* src, double* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdbAdd1(double val, double* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdbSub1(double val, double* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdbMpy1(double val, double* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdbAdd2(const double* src, double* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdbSub2(const double* src, double* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdbMpy2(const double* src, double* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdbAdd3(const double* srcA, const double* srcB, double* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdbSub3(const double* srcA, const double* srcB, double* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdbMpy3(const double* srcA, const double* srcB, double* dst, int32_t n) ZQV_NOTHROW;

ZQVAPI void zqvcbZero(ZqvCplxS* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcbSet(ZqvCplxS val, ZqvCplxS* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcbCopy(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcbAdd1(ZqvCplxS val, ZqvCplxS* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcbSub1(ZqvCplxS val, ZqvCplxS* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcbMpy1(ZqvCplxS val, ZqvCplxS* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcbAdd2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcbSub2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcbMpy2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcbAdd3(const ZqvCplxS* srcA, const ZqvCplxS* srcB, ZqvCplxS* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcbSub3(const ZqvCplxS* srcA, const ZqvCplxS* srcB, ZqvCplxS* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcbMpy3(const ZqvCplxS* srcA, const ZqvCplxS* srcB, ZqvCplxS* dst, int32_t n) ZQV_NOTHROW;

ZQVAPI void zqvzbZero(ZqvCplxD* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbSet(ZqvCplxD val, ZqvCplxD* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbCopy(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbAdd1(ZqvCplxD val, ZqvCplxD* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbSub1(ZqvCplxD val, ZqvCplxD* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbMpy1(ZqvCplxD val, ZqvCplxD* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbAdd2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbSub2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbMpy2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbAdd3(const ZqvCplxD* srcA, const ZqvCplxD* srcB, ZqvCplxD* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbSub3(const ZqvCplxD* srcA, const ZqvCplxD* srcB, ZqvCplxD* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbMpy3(const ZqvCplxD* srcA, const ZqvCplxD* srcB, ZqvCplxD* dst, int32_t n) ZQV_NOTHROW;

/* Conjugates. ConjExtend appends the conjugate mirror of the first k
 * elements (k = n rounded down to even): room for n + k elements. */
ZQVAPI void zqvcbConj1(ZqvCplxS* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcbConj2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcbConjFlip2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcbConjExtend1(ZqvCplxS* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcbConjExtend2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbConj1(ZqvCplxD* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbConj2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbConjFlip2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbConjExtend1(ZqvCplxD* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbConjExtend2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n) ZQV_NOTHROW;

/* ---- Number conversions, magnitude and power spectrum ------------------ */
/* (section: conversions) */

/* Conversion flags. Conversions to integers need exactly one rounding flag;
 * conversions from integers admit only 0 and ZQV_CVT_UNSIGNED. */
enum {
  ZQV_CVT_ROUND_NEAR = 0x80,  /* to nearest, ties to even */
  ZQV_CVT_ROUND_ZERO = 0x100, /* toward zero */
  ZQV_CVT_ROUND_DOWN = 0x200, /* toward minus infinity */
  ZQV_CVT_ROUND_UP = 0x400,   /* toward plus infinity */
  ZQV_CVT_UNSIGNED = 0x800,   /* the integer side is unsigned */
  ZQV_CVT_SATURATE = 0x1000,  /* clamp to the destination's range */
  ZQV_CVT_CHECK = 0x2000      /* report a value that does not fit */
};

/* src: len floats or doubles; dst: len integers of bitSize 8, 16 or 32 bits,
 * signed or (ZQV_CVT_UNSIGNED) unsigned. Clear the status first. The caller's
 * floating-point environment is the same after the call. */
ZQVAPI void zqvsbFloatToInt(const float* src, void* dst, int32_t len, int32_t bitSize,
                            int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdbFloatToInt(const double* src, void* dst, int32_t len, int32_t bitSize,
                            int32_t flags) ZQV_NOTHROW;
/* src: len integers of bitSize bits (flags 0 or ZQV_CVT_UNSIGNED); dst: len
 * floats or doubles, not overlapping src. Clear the status first. */
ZQVAPI void zqvsbIntToFloat(const void* src, float* dst, int32_t len, int32_t bitSize,
                            int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdbIntToFloat(const void* src, double* dst, int32_t len, int32_t bitSize,
                            int32_t flags) ZQV_NOTHROW;

/* Magnitude |z| of n complex elements (pairs, or separate real and imaginary
 * vectors: br forms). Vectors longer than 128 go in blocks of 128 whose
 * magnitudes are roots of the power already rounded to the result type. */
ZQVAPI void zqvcbMag(const ZqvCplxS* src, float* mag, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsbrMag(const float* srcReal, const float* srcImag, float* mag, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbMag(const ZqvCplxD* src, double* mag, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdbrMag(const double* srcReal, const double* srcImag, double* mag, int32_t n) ZQV_NOTHROW;
/* Power re*re + im*im of n complex elements, rounded once to the result type. */
ZQVAPI void zqvcbPowerSpectr(const ZqvCplxS* src, float* spectr, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsbrPowerSpectr(const float* srcReal, const float* srcImag, float* spectr,
                              int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbPowerSpectr(const ZqvCplxD* src, double* spectr, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdbrPowerSpectr(const double* srcReal, const double* srcImag, double* spectr,
                              int32_t n) ZQV_NOTHROW;

/* ---- Statistics, square, square root, absolute value -------------------- */
/* (section: vector) */

/* Statistics over a whole vector: mean, mean square ("StdDev": the sum of the
 * squares divided by n), largest and smallest element. The float and double
 * largest/smallest follow the total order of the bit patterns (+0 above -0,
 * NaNs at the ends by sign and payload). */
ZQVAPI float zqvsMean(const float* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI float zqvsStdDev(const float* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI float zqvsMax(const float* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI float zqvsMin(const float* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI double zqvdMean(const double* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI double zqvdStdDev(const double* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI double zqvdMax(const double* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI double zqvdMin(const double* vec, int32_t n) ZQV_NOTHROW;
/* 16-bit mean truncated toward zero; mean square narrowed by scaleMode. */
ZQVAPI int16_t zqvwMean(const int16_t* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI int16_t zqvwStdDev(const int16_t* vec, int32_t n, int32_t scaleMode,
                          int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI int16_t zqvwMax(const int16_t* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI int16_t zqvwMin(const int16_t* vec, int32_t n) ZQV_NOTHROW;

/* Element-wise square: 1 in place (vec), 2 from src to dst. */
ZQVAPI void zqvsbSqr1(float* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdbSqr1(double* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcbSqr1(ZqvCplxS* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbSqr1(ZqvCplxD* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsbSqr2(const float* src, float* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdbSqr2(const double* src, double* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcbSqr2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbSqr2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n) ZQV_NOTHROW;
/* 16-bit squares narrowed by scaleMode (ZQV_SATURATE, ZQV_FIXED_SCALE, ZQV_AUTO_SCALE bits). */
ZQVAPI void zqvwbSqr1(int16_t* vec, int32_t n, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvvbSqr1(ZqvCplxW* vec, int32_t n, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwbSqr2(const int16_t* src, int16_t* dst, int32_t n, int32_t scaleMode,
                      int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvvbSqr2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n, int32_t scaleMode,
                      int32_t* scaleFactor) ZQV_NOTHROW;

/* Element-wise square root. Negative real and 16-bit elements are left
 * alone and reported once after the loop; complex forms give the principal
 * root; 16-bit forms give integer square roots. */
ZQVAPI void zqvsbSqrt1(float* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdbSqrt1(double* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcbSqrt1(ZqvCplxS* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbSqrt1(ZqvCplxD* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvwbSqrt1(int16_t* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvvbSqrt1(ZqvCplxW* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsbSqrt2(const float* src, float* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdbSqrt2(const double* src, double* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcbSqrt2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzbSqrt2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvwbSqrt2(const int16_t* src, int16_t* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvvbSqrt2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n) ZQV_NOTHROW;

/* Element-wise absolute value (16-bit: -32768 gives 32767). */
ZQVAPI void zqvsbAbs1(float* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdbAbs1(double* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvwbAbs1(int16_t* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsbAbs2(const float* src, float* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdbAbs2(const double* src, double* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvwbAbs2(const int16_t* src, int16_t* dst, int32_t n) ZQV_NOTHROW;

/* ---- Norms, normalization, logarithm and exponential -------------------- */
/* (section: norm) */

/* Norm flag: exactly one measure, optionally relative to the norm of srcA. */
enum {
  ZQV_NormMax = 1,
  ZQV_NormL1 = 2,
  ZQV_NormL2 = 4,
  ZQV_NormRelative = 8
};

/* Norm of srcA, or of srcA - srcB when srcB is not null. */
ZQVAPI float zqvsNorm(const float* srcA, const float* srcB, int32_t n, int32_t flag) ZQV_NOTHROW;
ZQVAPI float zqvcNorm(const ZqvCplxS* srcA, const ZqvCplxS* srcB, int32_t n,
                      int32_t flag) ZQV_NOTHROW;
ZQVAPI double zqvdNorm(const double* srcA, const double* srcB, int32_t n,
                       int32_t flag) ZQV_NOTHROW;
ZQVAPI double zqvzNorm(const ZqvCplxD* srcA, const ZqvCplxD* srcB, int32_t n,
                       int32_t flag) ZQV_NOTHROW;
ZQVAPI float zqvwNorm(const int16_t* srcA, const int16_t* srcB, int32_t n,
                      int32_t flag) ZQV_NOTHROW;
ZQVAPI float zqvvNorm(const ZqvCplxW* srcA, const ZqvCplxW* srcB, int32_t n,
                      int32_t flag) ZQV_NOTHROW;

/* dst[i] = (src[i] - offset) / factor (src and dst may be the same vector). */
ZQVAPI void zqvsbNormalize(const float* src, float* dst, int32_t n, float offset,
                           float factor) ZQV_NOTHROW;
ZQVAPI void zqvcbNormalize(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n, ZqvCplxS offset,
                           float factor) ZQV_NOTHROW;
ZQVAPI void zqvdbNormalize(const double* src, double* dst, int32_t n, double offset,
                           double factor) ZQV_NOTHROW;
ZQVAPI void zqvzbNormalize(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n, ZqvCplxD offset,
                           double factor) ZQV_NOTHROW;
/* offset: the low 16 bits are used. Results are truncated and wrap to 16 bits. */
ZQVAPI void zqvwbNormalize(const int16_t* src, int16_t* dst, int32_t n, int32_t offset,
                           float factor) ZQV_NOTHROW;
ZQVAPI void zqvvbNormalize(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n, ZqvCplxW offset,
                           float factor) ZQV_NOTHROW;

/* Natural logarithm and exponential, in place (1) or src -> dst (2). */
ZQVAPI void zqvsbLn1(float* vec, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvdbLn1(double* vec, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvsbLn2(const float* src, float* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvdbLn2(const double* src, double* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvsbExp1(float* vec, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvdbExp1(double* vec, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvsbExp2(const float* src, float* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvdbExp2(const double* src, double* dst, int32_t len) ZQV_NOTHROW;
/* 16-bit: floor(ln x) (0 for x <= 2); floor(e^x) (0 for x < 0) under a scale mode
 * whose bits are tested (ZQV_AUTO_SCALE, then ZQV_FIXED_SCALE, ZQV_SATURATE). */
ZQVAPI void zqvwbLn1(int16_t* vec, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvwbLn2(const int16_t* src, int16_t* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvwbExp1(int16_t* vec, int32_t len, int32_t scaleMode,
                      int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwbExp2(const int16_t* src, int16_t* dst, int32_t len, int32_t scaleMode,
                      int32_t* scaleFactor) ZQV_NOTHROW;

/* ---- Transform flags, bit reversal, tables, FFTs ------------------------ */
/* (section: fft) */

/* Transform flags: one word, bits combined by OR. */
enum {
  ZQV_Forw = 1,          /* forward: exponent -2 pi i nk/N */
  ZQV_Inv = 2,           /* inverse: exponent +2 pi i nk/N, result times 1/N */
  ZQV_Init = 4,          /* build and cache this order's tables only */
  ZQV_FreeTbls = 8,      /* release this order's cached tables only */
  ZQV_NoScale = 16,      /* no 1/N after an inverse transform */
  ZQV_NoBitRev = 32,     /* natural order in and out */
  ZQV_InBitRev = 64,     /* input in bit-reversed order */
  ZQV_OutBitRev = 128,   /* output left in bit-reversed order */
  ZQV_OutRCPack = 0x100, /* real output packed as RCPack */
  ZQV_OutRCPerm = 0x200, /* real output packed as RCPerm */
  ZQV_InRCPack = 0x400,  /* packed input in RCPack */
  ZQV_InRCPerm = 0x1000  /* packed input in RCPerm */
};

/* Bit reversal: values, index tables and reordering (order = log2 of length). */
ZQVAPI int32_t zqvBitRev(int32_t index, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvCalcBitRevTbl(int32_t* tbl, int32_t order) ZQV_NOTHROW;
ZQVAPI int32_t* zqvGetBitRevTbl(int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvFreeBitRevTbls(void) ZQV_NOTHROW;
ZQVAPI void zqvwbBitRev1(int16_t* vec, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvsbBitRev1(float* vec, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvvbBitRev1(ZqvCplxW* vec, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvibBitRev1(int32_t* vec, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvcbBitRev1(ZqvCplxS* vec, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvdbBitRev1(double* vec, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvjbBitRev1(ZqvCplxI* vec, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvzbBitRev1(ZqvCplxD* vec, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvwbBitRev2(const int16_t* src, int16_t* dst, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvsbBitRev2(const float* src, float* dst, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvvbBitRev2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvcbBitRev2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvdbBitRev2(const double* src, double* dst, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvzbBitRev2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t order) ZQV_NOTHROW;

/* Twiddle tables cached per thread: DFT tables by length, FFT tables by order. */
ZQVAPI ZqvCplxS* zqvcGetDftTwdTbl(int32_t length) ZQV_NOTHROW;
ZQVAPI ZqvCplxD* zqvzGetDftTwdTbl(int32_t length) ZQV_NOTHROW;
ZQVAPI ZqvCplxW* zqvvGetDftTwdTbl(int32_t length) ZQV_NOTHROW;
ZQVAPI void zqvcCalcDftTwdTbl(ZqvCplxS* tbl, int32_t length) ZQV_NOTHROW;
ZQVAPI void zqvzCalcDftTwdTbl(ZqvCplxD* tbl, int32_t length) ZQV_NOTHROW;
ZQVAPI void zqvvCalcDftTwdTbl(ZqvCplxW* tbl, int32_t length) ZQV_NOTHROW;
ZQVAPI ZqvCplxS* zqvcGetFftTwdTbl(int32_t order) ZQV_NOTHROW;
ZQVAPI ZqvCplxD* zqvzGetFftTwdTbl(int32_t order) ZQV_NOTHROW;
ZQVAPI ZqvCplxW* zqvvGetFftTwdTbl(int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvcCalcFftTwdTbl(ZqvCplxS* tbl, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvzCalcFftTwdTbl(ZqvCplxD* tbl, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvvCalcFftTwdTbl(ZqvCplxW* tbl, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvcFreeTwdTbls(void) ZQV_NOTHROW;
ZQVAPI void zqvzFreeTwdTbls(void) ZQV_NOTHROW;
ZQVAPI void zqvvFreeTwdTbls(void) ZQV_NOTHROW;

/* Complex FFTs: interleaved (c, z) and separate arrays (cr, zr), N = 2^order. */
ZQVAPI void zqvcFft(ZqvCplxS* samps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvcFftNip(const ZqvCplxS* inSamps, ZqvCplxS* outSamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvcrFft(float* reSamps, float* imSamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvcrFftNip(const float* reInSamps, const float* imInSamps, float* reOutSamps,
                        float* imOutSamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvzFft(ZqvCplxD* samps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvzFftNip(const ZqvCplxD* inSamps, ZqvCplxD* outSamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvzrFft(double* reSamps, double* imSamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvzrFftNip(const double* reInSamps, const double* imInSamps, double* reOutSamps,
                        double* imOutSamps, int32_t order, int32_t flags) ZQV_NOTHROW;

/* Real FFTs and packed spectra. CCS buffers hold N + 2 values, RCPack and
 * RCPerm buffers N. */
ZQVAPI void zqvsRealFft(float* samps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvsRealFftNip(const float* inSamps, float* outSamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvsCcsFft(float* samps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvsCcsFftNip(const float* inSamps, float* outSamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvsRealFftl(float* samps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvsRealFftlNip(const float* inSamps, float* outSamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvsCcsFftl(float* samps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvsCcsFftlNip(const float* inSamps, float* outSamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvsReal2Fft(float* xSamps, float* ySamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvsReal2FftNip(const float* xInSamps, float* xOutSamps, const float* yInSamps,
                            float* yOutSamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvsCcs2Fft(float* xSamps, float* ySamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvsCcs2FftNip(const float* xInSamps, float* xOutSamps, const float* yInSamps,
                           float* yOutSamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvsMpyRCPack2(const float* src, float* dst, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvsMpyRCPack3(const float* srcA, const float* srcB, float* dst, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvsMpyRCPerm2(const float* src, float* dst, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvsMpyRCPerm3(const float* srcA, const float* srcB, float* dst, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvdRealFft(double* samps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdRealFftNip(const double* inSamps, double* outSamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdCcsFft(double* samps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdCcsFftNip(const double* inSamps, double* outSamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdRealFftl(double* samps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdRealFftlNip(const double* inSamps, double* outSamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdCcsFftl(double* samps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdCcsFftlNip(const double* inSamps, double* outSamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdReal2Fft(double* xSamps, double* ySamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdReal2FftNip(const double* xInSamps, double* xOutSamps, const double* yInSamps,
                            double* yOutSamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdCcs2Fft(double* xSamps, double* ySamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdCcs2FftNip(const double* xInSamps, double* xOutSamps, const double* yInSamps,
                           double* yOutSamps, int32_t order, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdMpyRCPack2(const double* src, double* dst, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvdMpyRCPack3(const double* srcA, const double* srcB, double* dst, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvdMpyRCPerm2(const double* src, double* dst, int32_t order) ZQV_NOTHROW;
ZQVAPI void zqvdMpyRCPerm3(const double* srcA, const double* srcB, double* dst, int32_t order) ZQV_NOTHROW;

/* ---- Window functions --------------------------------------------------- */
/* (section: windows) */

/* Multiply a buffer of n >= 3 elements in place by a symmetric window.
 * Complex elements get the same weight on both parts. These routines
 * neither read nor clear the status; they stop at their first failed check. */
ZQVAPI void zqvsWinBartlett(float* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcWinBartlett(ZqvCplxS* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdWinBartlett(double* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzWinBartlett(ZqvCplxD* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvwWinBartlett(int16_t* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvvWinBartlett(ZqvCplxW* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsWinHann(float* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcWinHann(ZqvCplxS* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdWinHann(double* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzWinHann(ZqvCplxD* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvwWinHann(int16_t* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvvWinHann(ZqvCplxW* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsWinHamming(float* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcWinHamming(ZqvCplxS* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdWinHamming(double* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzWinHamming(ZqvCplxD* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvwWinHamming(int16_t* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvvWinHamming(ZqvCplxW* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsWinBlackman(float* vec, int32_t n, float alpha) ZQV_NOTHROW;
ZQVAPI void zqvcWinBlackman(ZqvCplxS* vec, int32_t n, float alpha) ZQV_NOTHROW;
ZQVAPI void zqvdWinBlackman(double* vec, int32_t n, double alpha) ZQV_NOTHROW;
ZQVAPI void zqvzWinBlackman(ZqvCplxD* vec, int32_t n, double alpha) ZQV_NOTHROW;
ZQVAPI void zqvwWinBlackman(int16_t* vec, int32_t n, float alpha) ZQV_NOTHROW;
ZQVAPI void zqvvWinBlackman(ZqvCplxW* vec, int32_t n, float alpha) ZQV_NOTHROW;
/* Blackman with alpha = -0.16, and with the alpha optimised for n. */
ZQVAPI void zqvsWinBlackmanStd(float* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcWinBlackmanStd(ZqvCplxS* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdWinBlackmanStd(double* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzWinBlackmanStd(ZqvCplxD* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvwWinBlackmanStd(int16_t* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvvWinBlackmanStd(ZqvCplxW* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvsWinBlackmanOpt(float* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvcWinBlackmanOpt(ZqvCplxS* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvdWinBlackmanOpt(double* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvzWinBlackmanOpt(ZqvCplxD* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvwWinBlackmanOpt(int16_t* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvvWinBlackmanOpt(ZqvCplxW* vec, int32_t n) ZQV_NOTHROW;
/* Kaiser: weight I0(beta*sqrt(k*(n-1-k))) / I0(beta*(n-1)/2). */
ZQVAPI void zqvsWinKaiser(float* vec, int32_t n, float beta) ZQV_NOTHROW;
ZQVAPI void zqvcWinKaiser(ZqvCplxS* vec, int32_t n, float beta) ZQV_NOTHROW;
ZQVAPI void zqvdWinKaiser(double* vec, int32_t n, double beta) ZQV_NOTHROW;
ZQVAPI void zqvzWinKaiser(ZqvCplxD* vec, int32_t n, double beta) ZQV_NOTHROW;
ZQVAPI void zqvwWinKaiser(int16_t* vec, int32_t n, float beta) ZQV_NOTHROW;
ZQVAPI void zqvvWinKaiser(ZqvCplxW* vec, int32_t n, float beta) ZQV_NOTHROW;

/* ---- DFT, 16-bit FFTs, convolution support, Goertzel, DCT ------------- */
/* (section: transforms-more) */

/* DFT of any length len >= 1, direct sums over the cached twiddle list of the
 * length (at most 32 lengths per thread; zqvcFreeTwdTbls/zqvzFreeTwdTbls
 * release them). Flags: ZQV_Forw or ZQV_Inv (1/len unless ZQV_NoScale),
 * ZQV_Init builds the table only. x may be y. */
ZQVAPI void zqvcDft(const ZqvCplxS* x, ZqvCplxS* y, int32_t len, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvzDft(const ZqvCplxD* x, ZqvCplxD* y, int32_t len, int32_t flags) ZQV_NOTHROW;
/* The same for complex 16-bit vectors through the float DFT, narrowed by
 * scaleMode (ZQV_SATURATE, ZQV_FIXED_SCALE, ZQV_AUTO_SCALE bits); ZQV_FreeTbls
 * releases the FFT kernel tables and work buffers (not the DFT lists). */
ZQVAPI void zqvvDft(const ZqvCplxW* inSamps, ZqvCplxW* outSamps, int32_t length, int32_t flags,
                    int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;

/* Goertzel: the Fourier component at one normalised frequency 0 < freq < 0.5
 * (cycles per sample), sample by sample or over a block, in a caller-owned
 * state. Each call returns e^(iw) s_n - s_(n-1), whose magnitude is that of
 * the Fourier sum of the samples fed since Init or Reset. Real forms (s, d, w)
 * use only the real parts of s2 and s1; the 16-bit forms keep a float state
 * and narrow the result by scaleMode (|*scaleFactor| < 15, scaleMode <= 4). */
typedef struct {
  float freq, cosW, sinW, twoCosW;
  ZqvCplxS s2, s1;
} GoertzelState;
typedef struct {
  double freq, cosW, sinW, twoCosW;
  ZqvCplxD s2, s1;
} GoertzelStateD;
ZQVAPI void zqvsGoertzInit(float freq, GoertzelState* state) ZQV_NOTHROW;
ZQVAPI void zqvcGoertzInit(float freq, GoertzelState* state) ZQV_NOTHROW;
ZQVAPI void zqvwGoertzInit(float freq, GoertzelState* state) ZQV_NOTHROW;
ZQVAPI void zqvvGoertzInit(float freq, GoertzelState* state) ZQV_NOTHROW;
ZQVAPI void zqvdGoertzInit(double freq, GoertzelStateD* state) ZQV_NOTHROW;
ZQVAPI void zqvzGoertzInit(double freq, GoertzelStateD* state) ZQV_NOTHROW;
ZQVAPI void zqvsGoertzReset(GoertzelState* state) ZQV_NOTHROW;
ZQVAPI void zqvcGoertzReset(GoertzelState* state) ZQV_NOTHROW;
ZQVAPI void zqvwGoertzReset(GoertzelState* state) ZQV_NOTHROW;
ZQVAPI void zqvvGoertzReset(GoertzelState* state) ZQV_NOTHROW;
ZQVAPI void zqvdGoertzReset(GoertzelStateD* state) ZQV_NOTHROW;
ZQVAPI void zqvzGoertzReset(GoertzelStateD* state) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvsGoertz(GoertzelState* state, float sample) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcGoertz(GoertzelState* state, ZqvCplxS sample) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvdGoertz(GoertzelStateD* state, double sample) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzGoertz(GoertzelStateD* state, ZqvCplxD sample) ZQV_NOTHROW;
ZQVAPI ZqvCplxW zqvwGoertz(GoertzelState* state, int16_t sample, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI ZqvCplxW zqvvGoertz(GoertzelState* state, ZqvCplxW sample, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvsbGoertz(GoertzelState* state, const float* samps, int32_t len) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcbGoertz(GoertzelState* state, const ZqvCplxS* samps, int32_t len) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvdbGoertz(GoertzelStateD* state, const double* samps, int32_t len) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzbGoertz(GoertzelStateD* state, const ZqvCplxD* samps, int32_t len) ZQV_NOTHROW;
ZQVAPI ZqvCplxW zqvwbGoertz(GoertzelState* state, const int16_t* samps, int32_t len, int32_t scaleMode,
                            int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI ZqvCplxW zqvvbGoertz(GoertzelState* state, const ZqvCplxW* samps, int32_t len, int32_t scaleMode,
                            int32_t* scaleFactor) ZQV_NOTHROW;

/* Orthonormal DCT-II (flags 1) of n >= 1 real values and its inverse, the
 * DCT-III (flags 2); other bits are ignored, except that flags equal to 8
 * releases the calling thread's DCT tables. src may be dst. The 16-bit form
 * goes through the float one and rounds to nearest with saturation. */
ZQVAPI void zqvsDct(const float* src, float* dst, int32_t n, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdDct(const double* src, double* dst, int32_t n, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvwDct(const int16_t* src, int16_t* dst, int32_t n, int32_t flags) ZQV_NOTHROW;

/* FFTs of 16-bit data: the input is converted to float in the thread's work
 * buffers, the float transform of the same name runs there (its flags, bit
 * orders, layouts and 1/N scaling), and the result comes back by scaleMode:
 * 0 and 1 round to nearest with saturation, the others narrow by the scale
 * rules (one shift common to both arrays of the two-array forms). A CCS
 * output in place needs N + 2 values. */
ZQVAPI void zqvvFft(ZqvCplxW* samps, int32_t order, int32_t flags, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvvFftNip(const ZqvCplxW* inSamps, ZqvCplxW* outSamps, int32_t order, int32_t flags, int32_t scaleMode,
                       int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvvrFft(int16_t* reSamps, int16_t* imSamps, int32_t order, int32_t flags, int32_t scaleMode,
                     int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvvrFftNip(const int16_t* reInSamps, const int16_t* imInSamps, int16_t* reOutSamps, int16_t* imOutSamps,
                        int32_t order, int32_t flags, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwRealFftl(int16_t* samps, int32_t order, int32_t flags, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwRealFftlNip(const int16_t* inSamps, int16_t* outSamps, int32_t order, int32_t flags, int32_t scaleMode,
                            int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwCcsFftl(int16_t* samps, int32_t order, int32_t flags, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwCcsFftlNip(const int16_t* inSamps, int16_t* outSamps, int32_t order, int32_t flags, int32_t scaleMode,
                           int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwRealFft(int16_t* samps, int32_t order, int32_t flags, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwRealFftNip(const int16_t* inSamps, int16_t* outSamps, int32_t order, int32_t flags, int32_t scaleMode,
                           int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwCcsFft(int16_t* samps, int32_t order, int32_t flags, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwCcsFftNip(const int16_t* inSamps, int16_t* outSamps, int32_t order, int32_t flags, int32_t scaleMode,
                          int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwReal2Fft(int16_t* xSamps, int16_t* ySamps, int32_t order, int32_t flags, int32_t scaleMode,
                         int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwReal2FftNip(const int16_t* xInSamps, const int16_t* yInSamps, int16_t* xOutSamps, int16_t* yOutSamps,
                            int32_t order, int32_t flags, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwCcs2Fft(int16_t* xSamps, int16_t* ySamps, int32_t order, int32_t flags, int32_t scaleMode,
                        int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwCcs2FftNip(const int16_t* xInSamps, const int16_t* yInSamps, int16_t* xOutSamps, int16_t* yOutSamps,
                           int32_t order, int32_t flags, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;

/* ---- FIR filters ---------------------------------------------------------- */
/* (section: fir) */

/* ---- IIR filters ---------------------------------------------------------- */
/* (section: iir) */

/* ---- LMS adaptive filters ------------------------------------------------- */
/* (section: lms) */

/* ---- Convolution, correlation, two-dimensional filtering ------------------ */
/* (section: convolution) */

/* ---- Sampling, wavelets, generators --------------------------------------- */
/* (section: generation) */

/* ---- 16-bit arithmetic, dot products, fixed point, complex parts, laws ---- */
/* (section: core-more) */

#endif /* ZQVP4_H */
