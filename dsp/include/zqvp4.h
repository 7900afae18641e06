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
/* noexcept exists from C++11 on; older dialects get the empty throw() list
 * that meant the same then. */
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
 * ZQV_Init builds the table only. x may be y. The status is read on entry:
 * while it is negative the table getter refuses, so the routine reports
 * "tw==0" (ZQV_BAD_ARGUMENT) and returns with y untouched. */
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
/* Products of two packed real 16-bit spectra of N = 2^order values (RCPack or
 * RCPerm), computed in integers: dst = srcA * srcB (3 forms) or src * dst (2
 * forms). The two real values are stored by scaleMode (a fixed shift f > 0
 * gives (r + 1) >> f); the complex pairs as by zqvvbMpy3. With ZQV_AUTO_SCALE
 * the whole result ends at one shift, the larger one needed, stored at
 * scaleFactor. */
ZQVAPI void zqvwMpyRCPack2(const int16_t* src, int16_t* dst, int32_t order, int32_t scaleMode,
                           int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwMpyRCPack3(const int16_t* srcA, const int16_t* srcB, int16_t* dst, int32_t order, int32_t scaleMode,
                           int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwMpyRCPerm2(const int16_t* src, int16_t* dst, int32_t order, int32_t scaleMode,
                           int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwMpyRCPerm3(const int16_t* srcA, const int16_t* srcB, int16_t* dst, int32_t order, int32_t scaleMode,
                           int32_t* scaleFactor) ZQV_NOTHROW;

/* ---- FIR filters ---------------------------------------------------------- */
/* (section: fir) */

/* One-state FIR record: the caller owns the record, the library fills it and
 * owns its buffers until zqvFirFree. `self` holds the record's own address
 * while it is initialised, so a copied or moved record reads as
 * uninitialised. cursorIndex, extraShift and givenTapsLen serve the 16-bit
 * members; memberTag tells which member's types the buffers hold. */
typedef struct {
  int32_t subFilter; /* polyphase sub-filter of this output phase */
  int32_t tapsLen;   /* its number of taps */
  int32_t start;     /* window start in the buffer for a block's first iteration */
  int32_t tapPos;    /* its group in the library's taps copy */
} ZqvFirPhase;

typedef struct ZqvFirState {
  int32_t upFactor;
  int32_t upPhase;
  int32_t downFactor;
  int32_t downPhase;
  int32_t isMultiRate;
  const void* self;
  int32_t tapsLen;
  int32_t tapsLenUnrolled;
  void* taps;
  int32_t dlyLen;
  int32_t blockLen;
  int32_t cursorIndex;
  void* buffer;
  void* blockEnd;
  void* cursor;
  ZqvFirPhase* phaseTable;
  int32_t extraShift;
  int32_t givenTapsLen;
  int32_t memberTag;
} ZqvFirState;

/* Low-level FIR: descriptors over the caller's taps and delay-line arrays.
 * filterMode 1 is required by the block forms (see the Set/Get routines). */
typedef struct {
  void* taps;
  int32_t tapsLen;
  int32_t upFactor;
  int32_t upPhase;
  int32_t downFactor;
  int32_t downPhase;
  int32_t isMultiRate;
  int32_t filterMode;
} ZqvFirTapState;

typedef struct {
  void* dlyl;
  int32_t dlyLen;
  int32_t filterMode;
} ZqvFirDlyState;

/* One-state FIR, members s c sc cs d z dz zd (samples, then taps). These
 * routines neither read nor clear the thread's status. */
ZQVAPI int32_t zqvsFirInit(const float* taps, int32_t tapsLen, const float* dlyVals, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI int32_t zqvsFirInitMr(const float* taps, int32_t tapsLen, const float* dlyVals, int32_t upFactor,
                              int32_t upPhase, int32_t downFactor, int32_t downPhase, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI float zqvsFir(ZqvFirState* state, float sample) ZQV_NOTHROW;
ZQVAPI int32_t zqvsbFir(ZqvFirState* state, const float* src, float* dst, int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvcFirInit(const ZqvCplxS* taps, int32_t tapsLen, const ZqvCplxS* dlyVals, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI int32_t zqvcFirInitMr(const ZqvCplxS* taps, int32_t tapsLen, const ZqvCplxS* dlyVals, int32_t upFactor,
                              int32_t upPhase, int32_t downFactor, int32_t downPhase, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcFir(ZqvFirState* state, ZqvCplxS sample) ZQV_NOTHROW;
ZQVAPI int32_t zqvcbFir(ZqvFirState* state, const ZqvCplxS* src, ZqvCplxS* dst, int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvscFirInit(const ZqvCplxS* taps, int32_t tapsLen, const float* dlyVals, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI int32_t zqvscFirInitMr(const ZqvCplxS* taps, int32_t tapsLen, const float* dlyVals, int32_t upFactor,
                              int32_t upPhase, int32_t downFactor, int32_t downPhase, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvscFir(ZqvFirState* state, float sample) ZQV_NOTHROW;
ZQVAPI int32_t zqvscbFir(ZqvFirState* state, const float* src, ZqvCplxS* dst, int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvcsFirInit(const float* taps, int32_t tapsLen, const ZqvCplxS* dlyVals, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI int32_t zqvcsFirInitMr(const float* taps, int32_t tapsLen, const ZqvCplxS* dlyVals, int32_t upFactor,
                              int32_t upPhase, int32_t downFactor, int32_t downPhase, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcsFir(ZqvFirState* state, ZqvCplxS sample) ZQV_NOTHROW;
ZQVAPI int32_t zqvcsbFir(ZqvFirState* state, const ZqvCplxS* src, ZqvCplxS* dst, int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvdFirInit(const double* taps, int32_t tapsLen, const double* dlyVals, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI int32_t zqvdFirInitMr(const double* taps, int32_t tapsLen, const double* dlyVals, int32_t upFactor,
                              int32_t upPhase, int32_t downFactor, int32_t downPhase, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI double zqvdFir(ZqvFirState* state, double sample) ZQV_NOTHROW;
ZQVAPI int32_t zqvdbFir(ZqvFirState* state, const double* src, double* dst, int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvzFirInit(const ZqvCplxD* taps, int32_t tapsLen, const ZqvCplxD* dlyVals, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI int32_t zqvzFirInitMr(const ZqvCplxD* taps, int32_t tapsLen, const ZqvCplxD* dlyVals, int32_t upFactor,
                              int32_t upPhase, int32_t downFactor, int32_t downPhase, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzFir(ZqvFirState* state, ZqvCplxD sample) ZQV_NOTHROW;
ZQVAPI int32_t zqvzbFir(ZqvFirState* state, const ZqvCplxD* src, ZqvCplxD* dst, int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvdzFirInit(const ZqvCplxD* taps, int32_t tapsLen, const double* dlyVals, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI int32_t zqvdzFirInitMr(const ZqvCplxD* taps, int32_t tapsLen, const double* dlyVals, int32_t upFactor,
                              int32_t upPhase, int32_t downFactor, int32_t downPhase, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvdzFir(ZqvFirState* state, double sample) ZQV_NOTHROW;
ZQVAPI int32_t zqvdzbFir(ZqvFirState* state, const double* src, ZqvCplxD* dst, int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvzdFirInit(const double* taps, int32_t tapsLen, const ZqvCplxD* dlyVals, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI int32_t zqvzdFirInitMr(const double* taps, int32_t tapsLen, const ZqvCplxD* dlyVals, int32_t upFactor,
                              int32_t upPhase, int32_t downFactor, int32_t downPhase, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzdFir(ZqvFirState* state, ZqvCplxD sample) ZQV_NOTHROW;
ZQVAPI int32_t zqvzdbFir(ZqvFirState* state, const ZqvCplxD* src, ZqvCplxD* dst, int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvsFirSetTaps(const float* taps, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI int32_t zqvsFirGetTaps(ZqvFirState* state, float* taps) ZQV_NOTHROW;
ZQVAPI void zqvsFirSetDlyl(const float* dlyVals, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI int32_t zqvsFirGetDlyl(ZqvFirState* state, float* dlyVals) ZQV_NOTHROW;
ZQVAPI int32_t zqvcFirSetTaps(const ZqvCplxS* taps, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI int32_t zqvcFirGetTaps(ZqvFirState* state, ZqvCplxS* taps) ZQV_NOTHROW;
ZQVAPI void zqvcFirSetDlyl(const ZqvCplxS* dlyVals, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI int32_t zqvcFirGetDlyl(ZqvFirState* state, ZqvCplxS* dlyVals) ZQV_NOTHROW;
ZQVAPI int32_t zqvdFirSetTaps(const double* taps, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI int32_t zqvdFirGetTaps(ZqvFirState* state, double* taps) ZQV_NOTHROW;
ZQVAPI void zqvdFirSetDlyl(const double* dlyVals, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI int32_t zqvdFirGetDlyl(ZqvFirState* state, double* dlyVals) ZQV_NOTHROW;
ZQVAPI int32_t zqvzFirSetTaps(const ZqvCplxD* taps, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI int32_t zqvzFirGetTaps(ZqvFirState* state, ZqvCplxD* taps) ZQV_NOTHROW;
ZQVAPI void zqvzFirSetDlyl(const ZqvCplxD* dlyVals, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI int32_t zqvzFirGetDlyl(ZqvFirState* state, ZqvCplxD* dlyVals) ZQV_NOTHROW;
ZQVAPI void zqvFirFree(ZqvFirState* state) ZQV_NOTHROW;

/* 16-bit one-state FIR: float taps, 16-bit samples and outputs under a scale
 * mode (ZQV_SATURATE, ZQV_FIXED_SCALE, ZQV_AUTO_SCALE as bits). Initialising
 * clears the thread's status. */
ZQVAPI int32_t zqvwFirInit(const float* taps, int32_t tapsLen, const int16_t* dlyVals, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI int32_t zqvwFirInitMr(const float* taps, int32_t tapsLen, const int16_t* dlyVals, int32_t upFactor,
                             int32_t upPhase, int32_t downFactor, int32_t downPhase, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI void zqvwFirSetTaps(const float* taps, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI int32_t zqvwFirGetTaps(ZqvFirState* state, float* taps) ZQV_NOTHROW;
ZQVAPI void zqvwFirSetDlyl(const int16_t* dlyVals, ZqvFirState* state) ZQV_NOTHROW;
ZQVAPI int32_t zqvwFirGetDlyl(ZqvFirState* state, int16_t* dlyVals) ZQV_NOTHROW;
ZQVAPI int16_t zqvwFir(ZqvFirState* state, int16_t sample, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI int32_t zqvwbFir(ZqvFirState* state, const int16_t* src, int16_t* dst, int32_t numIters, int32_t scaleMode,
                        int32_t* scaleFactor) ZQV_NOTHROW;

/* Low-level FIR over the caller's arrays, members s c d z w for the state
 * routines and s c sc cs d z dz zd w for filtering. The delay line is kept
 * newest first while in filter mode. Nothing to free. */
ZQVAPI int32_t zqvsFirlInit(float* taps, int32_t tapsLen, ZqvFirTapState* tapState) ZQV_NOTHROW;
ZQVAPI int32_t zqvsFirlInitMr(float* taps, int32_t tapsLen, int32_t upFactor, int32_t upPhase, int32_t downFactor,
                               int32_t downPhase, ZqvFirTapState* tapState) ZQV_NOTHROW;
ZQVAPI int32_t zqvsFirlInitDlyl(const ZqvFirTapState* tapState, float* dlyl, ZqvFirDlyState* dlyState) ZQV_NOTHROW;
ZQVAPI int32_t zqvsFirlSetTaps(const float* taps, ZqvFirTapState* tapState) ZQV_NOTHROW;
ZQVAPI void zqvsFirlGetTaps(ZqvFirTapState* tapState, float* taps) ZQV_NOTHROW;
ZQVAPI void zqvsFirlSetDlyl(const ZqvFirTapState* tapState, const float* dlyVals, ZqvFirDlyState* dlyState) ZQV_NOTHROW;
ZQVAPI void zqvsFirlGetDlyl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, float* dlyVals) ZQV_NOTHROW;
ZQVAPI int32_t zqvcFirlInit(ZqvCplxS* taps, int32_t tapsLen, ZqvFirTapState* tapState) ZQV_NOTHROW;
ZQVAPI int32_t zqvcFirlInitMr(ZqvCplxS* taps, int32_t tapsLen, int32_t upFactor, int32_t upPhase, int32_t downFactor,
                               int32_t downPhase, ZqvFirTapState* tapState) ZQV_NOTHROW;
ZQVAPI int32_t zqvcFirlInitDlyl(const ZqvFirTapState* tapState, ZqvCplxS* dlyl, ZqvFirDlyState* dlyState) ZQV_NOTHROW;
ZQVAPI int32_t zqvcFirlSetTaps(const ZqvCplxS* taps, ZqvFirTapState* tapState) ZQV_NOTHROW;
ZQVAPI void zqvcFirlGetTaps(ZqvFirTapState* tapState, ZqvCplxS* taps) ZQV_NOTHROW;
ZQVAPI void zqvcFirlSetDlyl(const ZqvFirTapState* tapState, const ZqvCplxS* dlyVals, ZqvFirDlyState* dlyState) ZQV_NOTHROW;
ZQVAPI void zqvcFirlGetDlyl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, ZqvCplxS* dlyVals) ZQV_NOTHROW;
ZQVAPI int32_t zqvdFirlInit(double* taps, int32_t tapsLen, ZqvFirTapState* tapState) ZQV_NOTHROW;
ZQVAPI int32_t zqvdFirlInitMr(double* taps, int32_t tapsLen, int32_t upFactor, int32_t upPhase, int32_t downFactor,
                               int32_t downPhase, ZqvFirTapState* tapState) ZQV_NOTHROW;
ZQVAPI int32_t zqvdFirlInitDlyl(const ZqvFirTapState* tapState, double* dlyl, ZqvFirDlyState* dlyState) ZQV_NOTHROW;
ZQVAPI int32_t zqvdFirlSetTaps(const double* taps, ZqvFirTapState* tapState) ZQV_NOTHROW;
ZQVAPI void zqvdFirlGetTaps(ZqvFirTapState* tapState, double* taps) ZQV_NOTHROW;
ZQVAPI void zqvdFirlSetDlyl(const ZqvFirTapState* tapState, const double* dlyVals, ZqvFirDlyState* dlyState) ZQV_NOTHROW;
ZQVAPI void zqvdFirlGetDlyl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, double* dlyVals) ZQV_NOTHROW;
ZQVAPI int32_t zqvzFirlInit(ZqvCplxD* taps, int32_t tapsLen, ZqvFirTapState* tapState) ZQV_NOTHROW;
ZQVAPI int32_t zqvzFirlInitMr(ZqvCplxD* taps, int32_t tapsLen, int32_t upFactor, int32_t upPhase, int32_t downFactor,
                               int32_t downPhase, ZqvFirTapState* tapState) ZQV_NOTHROW;
ZQVAPI int32_t zqvzFirlInitDlyl(const ZqvFirTapState* tapState, ZqvCplxD* dlyl, ZqvFirDlyState* dlyState) ZQV_NOTHROW;
ZQVAPI int32_t zqvzFirlSetTaps(const ZqvCplxD* taps, ZqvFirTapState* tapState) ZQV_NOTHROW;
ZQVAPI void zqvzFirlGetTaps(ZqvFirTapState* tapState, ZqvCplxD* taps) ZQV_NOTHROW;
ZQVAPI void zqvzFirlSetDlyl(const ZqvFirTapState* tapState, const ZqvCplxD* dlyVals, ZqvFirDlyState* dlyState) ZQV_NOTHROW;
ZQVAPI void zqvzFirlGetDlyl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, ZqvCplxD* dlyVals) ZQV_NOTHROW;
ZQVAPI int32_t zqvwFirlInit(int16_t* taps, int32_t tapsLen, ZqvFirTapState* tapState) ZQV_NOTHROW;
ZQVAPI int32_t zqvwFirlInitMr(int16_t* taps, int32_t tapsLen, int32_t upFactor, int32_t upPhase, int32_t downFactor,
                               int32_t downPhase, ZqvFirTapState* tapState) ZQV_NOTHROW;
ZQVAPI int32_t zqvwFirlInitDlyl(const ZqvFirTapState* tapState, int16_t* dlyl, ZqvFirDlyState* dlyState) ZQV_NOTHROW;
ZQVAPI int32_t zqvwFirlSetTaps(const int16_t* taps, ZqvFirTapState* tapState) ZQV_NOTHROW;
ZQVAPI void zqvwFirlGetTaps(ZqvFirTapState* tapState, int16_t* taps) ZQV_NOTHROW;
ZQVAPI void zqvwFirlSetDlyl(const ZqvFirTapState* tapState, const int16_t* dlyVals, ZqvFirDlyState* dlyState) ZQV_NOTHROW;
ZQVAPI void zqvwFirlGetDlyl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, int16_t* dlyVals) ZQV_NOTHROW;
ZQVAPI float zqvsFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, float sample) ZQV_NOTHROW;
ZQVAPI int32_t zqvsbFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, const float* src, float* dst,
                            int32_t numIters) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, ZqvCplxS sample) ZQV_NOTHROW;
ZQVAPI int32_t zqvcbFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, const ZqvCplxS* src, ZqvCplxS* dst,
                            int32_t numIters) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvscFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, float sample) ZQV_NOTHROW;
ZQVAPI int32_t zqvscbFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, const float* src, ZqvCplxS* dst,
                            int32_t numIters) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcsFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, ZqvCplxS sample) ZQV_NOTHROW;
ZQVAPI int32_t zqvcsbFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, const ZqvCplxS* src, ZqvCplxS* dst,
                            int32_t numIters) ZQV_NOTHROW;
ZQVAPI double zqvdFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, double sample) ZQV_NOTHROW;
ZQVAPI int32_t zqvdbFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, const double* src, double* dst,
                            int32_t numIters) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, ZqvCplxD sample) ZQV_NOTHROW;
ZQVAPI int32_t zqvzbFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, const ZqvCplxD* src, ZqvCplxD* dst,
                            int32_t numIters) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvdzFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, double sample) ZQV_NOTHROW;
ZQVAPI int32_t zqvdzbFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, const double* src, ZqvCplxD* dst,
                            int32_t numIters) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzdFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, ZqvCplxD sample) ZQV_NOTHROW;
ZQVAPI int32_t zqvzdbFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, const ZqvCplxD* src, ZqvCplxD* dst,
                            int32_t numIters) ZQV_NOTHROW;
ZQVAPI int16_t zqvwFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, int16_t sample, int32_t scaleMode,
                       int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI int32_t zqvwbFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, const int16_t* src, int16_t* dst,
                         int32_t numIters, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;

/* ---- IIR filters ---------------------------------------------------------- */
/* (section: iir) */

/* Taps of the direct form: b0..bN, a0..aN (2*order+2 values); of a biquad
 * cascade: b0, b1, b2, a0, a1, a2 per section. Init normalises them: the
 * direct form to b/a0 followed by a1/a0..aN/a0 (the last value kept), the
 * cascade to the gain g followed by a1/a0, a2/a0, b1/b0, b2/b0 per section.
 * The delay line holds `order` values of the output type (2 per section). */
typedef struct {
  int32_t order;   /* order of the direct form, or 2 * numQuads */
  void* taps;      /* normalised taps, in the taps type (16-bit forms: int16) */
  int32_t iirType; /* 0 or 1, as passed to Init */
  int32_t form;    /* 0 direct form, 1 biquad cascade */
} ZqvIirTapState;

typedef struct {
  void* dlyl; /* delay line of `order` values (16-bit forms: int32) */
} ZqvIirDlyState;

/* One-state record: a tap state and a delay-line state over blocks of the
 * library's own, and the marker 31725 while initialised. Clear a new record
 * before its first Init. */
typedef struct {
  ZqvIirTapState tapState;
  ZqvIirDlyState dlyState;
  int32_t marker;
} ZqvIirState;

/* Low level: the caller owns the taps (normalised in place), the delay line
 * and both states. One tap state may serve several delay lines. These
 * routines do nothing while the thread's status is negative. */
ZQVAPI void zqvsIirlInit(int32_t iirType, float* taps, int32_t order, ZqvIirTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvdIirlInit(int32_t iirType, double* taps, int32_t order, ZqvIirTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvcIirlInit(int32_t iirType, ZqvCplxS* taps, int32_t order, ZqvIirTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvzIirlInit(int32_t iirType, ZqvCplxD* taps, int32_t order, ZqvIirTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvsIirlInitBq(int32_t iirType, float* taps, int32_t numQuads,
                              ZqvIirTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvdIirlInitBq(int32_t iirType, double* taps, int32_t numQuads,
                              ZqvIirTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvcIirlInitBq(int32_t iirType, ZqvCplxS* taps, int32_t numQuads,
                              ZqvIirTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvzIirlInitBq(int32_t iirType, ZqvCplxD* taps, int32_t numQuads,
                              ZqvIirTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvsIirlInitDlyl(const ZqvIirTapState* tapStPtr, float* dlyl,
                                ZqvIirDlyState* dlyStPtr) ZQV_NOTHROW;
ZQVAPI void zqvdIirlInitDlyl(const ZqvIirTapState* tapStPtr, double* dlyl,
                                ZqvIirDlyState* dlyStPtr) ZQV_NOTHROW;
ZQVAPI void zqvcIirlInitDlyl(const ZqvIirTapState* tapStPtr, ZqvCplxS* dlyl,
                                ZqvIirDlyState* dlyStPtr) ZQV_NOTHROW;
ZQVAPI void zqvzIirlInitDlyl(const ZqvIirTapState* tapStPtr, ZqvCplxD* dlyl,
                                ZqvIirDlyState* dlyStPtr) ZQV_NOTHROW;
/* Mixed letters: samples first, taps second (sc: float samples, complex taps). */
ZQVAPI float zqvsIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, float samp) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, ZqvCplxS samp) ZQV_NOTHROW;
ZQVAPI double zqvdIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, double samp) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, ZqvCplxD samp) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvscIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, float samp) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcsIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, ZqvCplxS samp) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvdzIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, double samp) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzdIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, ZqvCplxD samp) ZQV_NOTHROW;
/* inSamps and outSamps may be the same vector. */
ZQVAPI void zqvsbIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr,
                         const float* inSamps, float* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI void zqvcbIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr,
                         const ZqvCplxS* inSamps, ZqvCplxS* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI void zqvdbIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr,
                         const double* inSamps, double* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI void zqvzbIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr,
                         const ZqvCplxD* inSamps, ZqvCplxD* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI void zqvscbIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr,
                         const float* inSamps, ZqvCplxS* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI void zqvcsbIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr,
                         const ZqvCplxS* inSamps, ZqvCplxS* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI void zqvdzbIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr,
                         const double* inSamps, ZqvCplxD* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI void zqvzdbIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr,
                         const ZqvCplxD* inSamps, ZqvCplxD* outSamps, int32_t numIters) ZQV_NOTHROW;

/* One state: Init copies the caller's taps into a block of the library's
 * own; zqvIirFree releases it. The block routines return 0 or the failing
 * status. Filter calls must use the letters of the Init. */
ZQVAPI void zqvsIirInit(int32_t iirType, const float* tapVals, int32_t order,
                           ZqvIirState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvcIirInit(int32_t iirType, const ZqvCplxS* tapVals, int32_t order,
                           ZqvIirState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvdIirInit(int32_t iirType, const double* tapVals, int32_t order,
                           ZqvIirState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvzIirInit(int32_t iirType, const ZqvCplxD* tapVals, int32_t order,
                           ZqvIirState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvscIirInit(int32_t iirType, const ZqvCplxS* tapVals, int32_t order,
                           ZqvIirState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvcsIirInit(int32_t iirType, const float* tapVals, int32_t order,
                           ZqvIirState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvdzIirInit(int32_t iirType, const ZqvCplxD* tapVals, int32_t order,
                           ZqvIirState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvzdIirInit(int32_t iirType, const double* tapVals, int32_t order,
                           ZqvIirState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvsIirInitBq(int32_t iirType, const float* tapVals, int32_t numQuads,
                             ZqvIirState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvcIirInitBq(int32_t iirType, const ZqvCplxS* tapVals, int32_t numQuads,
                             ZqvIirState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvdIirInitBq(int32_t iirType, const double* tapVals, int32_t numQuads,
                             ZqvIirState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvzIirInitBq(int32_t iirType, const ZqvCplxD* tapVals, int32_t numQuads,
                             ZqvIirState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvscIirInitBq(int32_t iirType, const ZqvCplxS* tapVals, int32_t numQuads,
                             ZqvIirState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvcsIirInitBq(int32_t iirType, const float* tapVals, int32_t numQuads,
                             ZqvIirState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvdzIirInitBq(int32_t iirType, const ZqvCplxD* tapVals, int32_t numQuads,
                             ZqvIirState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvzdIirInitBq(int32_t iirType, const double* tapVals, int32_t numQuads,
                             ZqvIirState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvIirFree(ZqvIirState* statePtr) ZQV_NOTHROW;
ZQVAPI float zqvsIir(ZqvIirState* statePtr, float samp) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcIir(ZqvIirState* statePtr, ZqvCplxS samp) ZQV_NOTHROW;
ZQVAPI double zqvdIir(ZqvIirState* statePtr, double samp) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzIir(ZqvIirState* statePtr, ZqvCplxD samp) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvscIir(ZqvIirState* statePtr, float samp) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcsIir(ZqvIirState* statePtr, ZqvCplxS samp) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvdzIir(ZqvIirState* statePtr, double samp) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzdIir(ZqvIirState* statePtr, ZqvCplxD samp) ZQV_NOTHROW;
ZQVAPI int32_t zqvsbIir(ZqvIirState* statePtr, const float* inSamps, float* outSamps,
                           int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvcbIir(ZqvIirState* statePtr, const ZqvCplxS* inSamps, ZqvCplxS* outSamps,
                           int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvdbIir(ZqvIirState* statePtr, const double* inSamps, double* outSamps,
                           int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvzbIir(ZqvIirState* statePtr, const ZqvCplxD* inSamps, ZqvCplxD* outSamps,
                           int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvscbIir(ZqvIirState* statePtr, const float* inSamps, ZqvCplxS* outSamps,
                           int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvcsbIir(ZqvIirState* statePtr, const ZqvCplxS* inSamps, ZqvCplxS* outSamps,
                           int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvdzbIir(ZqvIirState* statePtr, const double* inSamps, ZqvCplxD* outSamps,
                           int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvzdbIir(ZqvIirState* statePtr, const ZqvCplxD* inSamps, ZqvCplxD* outSamps,
                           int32_t numIters) ZQV_NOTHROW;

/* 16-bit samples. Init converts the float taps to 16-bit fixed point with one
 * common shift s, written over the float array (low level) or the library's
 * copy: s, b0, then -ak, bk per k (direct form), or s, g, then -a1/a0, -a2/a0,
 * b1/b0, b2/b0 per section. Taps that do not fit 16 bits are refused. The
 * delay line holds int32 values, rounded after every call; results go through
 * the 16-bit scale modes (automatic scaling returns its shift through
 * scaleFactor, and works with a null pointer too). */
ZQVAPI void zqvwIirlInit(int32_t iirType, float* taps, int32_t order, ZqvIirTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvwIirlInitBq(int32_t iirType, float* taps, int32_t numQuads,
                           ZqvIirTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvwIirlInitDlyl(const ZqvIirTapState* tapStPtr, int32_t* dlyl,
                             ZqvIirDlyState* dlyStPtr) ZQV_NOTHROW;
ZQVAPI int16_t zqvwIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, int16_t samp,
                        int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwbIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, const int16_t* inSamps,
                      int16_t* outSamps, int32_t numIters, int32_t scaleMode,
                      int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwIirInit(int32_t iirType, const float* tapVals, int32_t order,
                        ZqvIirState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvwIirInitBq(int32_t iirType, const float* tapVals, int32_t numQuads,
                          ZqvIirState* statePtr) ZQV_NOTHROW;
ZQVAPI int16_t zqvwIir(ZqvIirState* statePtr, int16_t samp, int32_t scaleMode,
                       int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwbIir(ZqvIirState* statePtr, const int16_t* inSamps, int16_t* outSamps, int32_t numIters,
                     int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;


/* ---- LMS adaptive filters ------------------------------------------------- */
/* (section: lms) */

/* Low-level LMS: the caller owns the taps (adapted in place), the delay line
 * and both states; nothing is allocated. The delay line is newest first; the
 * Get/Set exchanges move dlyLen-1 values, oldest first. Words 1-8 of the tap
 * state and 1-3 of the line state read as the low-level FIR states. None of
 * these routines reads the thread's status; each reports its first failed
 * check only. */
typedef struct {
  void* taps;          /* tapsLen taps (16-bit form: int32 with 13 fraction bits) */
  int32_t tapsLen;
  int32_t upFactor;    /* always 1 */
  int32_t upPhase;     /* always 0 */
  int32_t downFactor;  /* D */
  int32_t downPhase;   /* p, 0 <= p < D */
  int32_t isMultiRate; /* 1 when D >= 2 */
  int32_t tapsReady;   /* 1 after Init and SetTaps, 0 after GetTaps */
  float leak;          /* 16-bit form: 0 */
  union {
    float f;           /* adaptation step */
    int32_t w;         /* the 16-bit form's integer step */
  } step;
  int32_t errDly;
  int32_t lmsType;
} ZqvLmsTapState;

typedef struct {
  void* dlyl;
  int32_t dlyLen;     /* tapsLen, + errDly when adaptive, + downFactor when multi-rate */
  int32_t dlyReady;   /* 1 after InitDlyl and SetDlyl, 0 after GetDlyl */
  int32_t isAdaptive;
} ZqvLmsDlyState;

/* One-state record: the two states over blocks of the library's own, and
 * the kept error of the Des routines (the member of the output type). */
typedef struct {
  ZqvLmsTapState tapState;
  ZqvLmsDlyState dlyState;
  union {
    float s;
    double d;
    ZqvCplxS c;
    ZqvCplxD z;
  } errVal;
} ZqvLmsState;

ZQVAPI void zqvsLmslInit(int32_t lmsType, float* taps, int32_t tapsLen, float step, float leak, int32_t errDly,
                           ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvdLmslInit(int32_t lmsType, double* taps, int32_t tapsLen, float step, float leak, int32_t errDly,
                           ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvcLmslInit(int32_t lmsType, ZqvCplxS* taps, int32_t tapsLen, float step, float leak, int32_t errDly,
                           ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvzLmslInit(int32_t lmsType, ZqvCplxD* taps, int32_t tapsLen, float step, float leak, int32_t errDly,
                           ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvsLmslInitMr(int32_t lmsType, float* taps, int32_t tapsLen, float step, float leak, int32_t errDly,
                             int32_t downFactor, int32_t downPhase, ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvdLmslInitMr(int32_t lmsType, double* taps, int32_t tapsLen, float step, float leak, int32_t errDly,
                             int32_t downFactor, int32_t downPhase, ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvcLmslInitMr(int32_t lmsType, ZqvCplxS* taps, int32_t tapsLen, float step, float leak, int32_t errDly,
                             int32_t downFactor, int32_t downPhase, ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvzLmslInitMr(int32_t lmsType, ZqvCplxD* taps, int32_t tapsLen, float step, float leak, int32_t errDly,
                             int32_t downFactor, int32_t downPhase, ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvsLmslInitDlyl(const ZqvLmsTapState* tapStPtr, float* dlyl, int32_t isAdaptive,
                               ZqvLmsDlyState* dlyStPtr) ZQV_NOTHROW;
ZQVAPI void zqvdLmslInitDlyl(const ZqvLmsTapState* tapStPtr, double* dlyl, int32_t isAdaptive,
                               ZqvLmsDlyState* dlyStPtr) ZQV_NOTHROW;
ZQVAPI void zqvcLmslInitDlyl(const ZqvLmsTapState* tapStPtr, ZqvCplxS* dlyl, int32_t isAdaptive,
                               ZqvLmsDlyState* dlyStPtr) ZQV_NOTHROW;
ZQVAPI void zqvzLmslInitDlyl(const ZqvLmsTapState* tapStPtr, ZqvCplxD* dlyl, int32_t isAdaptive,
                               ZqvLmsDlyState* dlyStPtr) ZQV_NOTHROW;
/* Step and leak of every float-parameter type. */
ZQVAPI float zqvsLmslGetStep(const ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI float zqvsLmslGetLeak(const ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvsLmslSetStep(float step, ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvsLmslSetLeak(float leak, ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvsLmslGetTaps(ZqvLmsTapState* tapStPtr, float* outTaps) ZQV_NOTHROW;
ZQVAPI void zqvdLmslGetTaps(ZqvLmsTapState* tapStPtr, double* outTaps) ZQV_NOTHROW;
ZQVAPI void zqvcLmslGetTaps(ZqvLmsTapState* tapStPtr, ZqvCplxS* outTaps) ZQV_NOTHROW;
ZQVAPI void zqvzLmslGetTaps(ZqvLmsTapState* tapStPtr, ZqvCplxD* outTaps) ZQV_NOTHROW;
ZQVAPI void zqvsLmslSetTaps(const float* inTaps, ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvdLmslSetTaps(const double* inTaps, ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvcLmslSetTaps(const ZqvCplxS* inTaps, ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvzLmslSetTaps(const ZqvCplxD* inTaps, ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvsLmslGetDlyl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, float* outDlyl) ZQV_NOTHROW;
ZQVAPI void zqvdLmslGetDlyl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, double* outDlyl) ZQV_NOTHROW;
ZQVAPI void zqvcLmslGetDlyl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, ZqvCplxS* outDlyl) ZQV_NOTHROW;
ZQVAPI void zqvzLmslGetDlyl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, ZqvCplxD* outDlyl) ZQV_NOTHROW;
ZQVAPI void zqvsLmslSetDlyl(const ZqvLmsTapState* tapStPtr, const float* inDlyl, ZqvLmsDlyState* dlyStPtr) ZQV_NOTHROW;
ZQVAPI void zqvdLmslSetDlyl(const ZqvLmsTapState* tapStPtr, const double* inDlyl, ZqvLmsDlyState* dlyStPtr) ZQV_NOTHROW;
ZQVAPI void zqvcLmslSetDlyl(const ZqvLmsTapState* tapStPtr, const ZqvCplxS* inDlyl, ZqvLmsDlyState* dlyStPtr) ZQV_NOTHROW;
ZQVAPI void zqvzLmslSetDlyl(const ZqvLmsTapState* tapStPtr, const ZqvCplxD* inDlyl, ZqvLmsDlyState* dlyStPtr) ZQV_NOTHROW;
/* Adapting steps: adapt with err, push the input (D inputs for the block
 * form, inSamps[0] oldest), return the output. A line too short for
 * tapsLen + errDly (+ D - 1 - downPhase) is refused. */
ZQVAPI float zqvsLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, float samp, float err) ZQV_NOTHROW;
ZQVAPI double zqvdLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, double samp, double err) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, ZqvCplxS samp, ZqvCplxS err) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, ZqvCplxD samp, ZqvCplxD err) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvscLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, float samp, ZqvCplxS err) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvdzLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, double samp, ZqvCplxD err) ZQV_NOTHROW;
ZQVAPI float zqvsbLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const float* inSamps,
                           float err) ZQV_NOTHROW;
ZQVAPI double zqvdbLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const double* inSamps,
                           double err) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcbLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const ZqvCplxS* inSamps,
                           ZqvCplxS err) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzbLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const ZqvCplxD* inSamps,
                           ZqvCplxD err) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvscbLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const float* inSamps,
                           ZqvCplxS err) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvdzbLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const double* inSamps,
                           ZqvCplxD err) ZQV_NOTHROW;
/* Filter-only steps over the low-level FIR; the whole line is shifted. */
ZQVAPI float zqvsLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, float samp) ZQV_NOTHROW;
ZQVAPI double zqvdLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, double samp) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, ZqvCplxS samp) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, ZqvCplxD samp) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvscLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, float samp) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcsLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, ZqvCplxS samp) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvdzLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, double samp) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzdLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, ZqvCplxD samp) ZQV_NOTHROW;
ZQVAPI int32_t zqvsbLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const float* inSamps,
                              float* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvdbLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const double* inSamps,
                              double* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvcbLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const ZqvCplxS* inSamps,
                              ZqvCplxS* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvzbLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const ZqvCplxD* inSamps,
                              ZqvCplxD* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvscbLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const float* inSamps,
                              ZqvCplxS* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvcsbLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const ZqvCplxS* inSamps,
                              ZqvCplxS* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvdzbLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const double* inSamps,
                              ZqvCplxD* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI int32_t zqvzdbLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const ZqvCplxD* inSamps,
                              ZqvCplxD* outSamps, int32_t numIters) ZQV_NOTHROW;
/* 16-bit: int32 taps with 13 fraction bits, an int16 line, an integer step;
 * wrapping int32 arithmetic, result (acc + 4096) >> 13 in 16 bits. */
ZQVAPI void zqvwLmslInit(int32_t lmsType, int32_t* taps, int32_t tapsLen, int32_t step, int32_t errDly,
                         ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvwLmslInitDlyl(const ZqvLmsTapState* tapStPtr, int16_t* dlyl, ZqvLmsDlyState* dlyStPtr) ZQV_NOTHROW;
ZQVAPI int32_t zqvwLmslGetStep(const ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvwLmslSetStep(int32_t step, ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvwLmslGetTaps(ZqvLmsTapState* tapStPtr, int32_t* outTaps) ZQV_NOTHROW;
ZQVAPI void zqvwLmslSetTaps(const int32_t* inTaps, ZqvLmsTapState* tapStPtr) ZQV_NOTHROW;
ZQVAPI void zqvwLmslGetDlyl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, int16_t* outDlyl) ZQV_NOTHROW;
ZQVAPI void zqvwLmslSetDlyl(const ZqvLmsTapState* tapStPtr, const int16_t* inDlyl, ZqvLmsDlyState* dlyStPtr) ZQV_NOTHROW;
ZQVAPI int16_t zqvwLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, int16_t samp, int16_t err) ZQV_NOTHROW;

/* One-state LMS: Init allocates the taps and the line from the general heap
 * and fills them from the caller's arrays (null: zeros; a line gives
 * dlyLen-1 values, oldest first); zqvLmsFree releases them. The Des routines
 * compute the error themselves and apply it at the next step. */
ZQVAPI void zqvsLmsInit(int32_t lmsType, const float* taps, int32_t tapsLen, const float* dlyl, float step,
                          float leak, int32_t errDly, ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvdLmsInit(int32_t lmsType, const double* taps, int32_t tapsLen, const double* dlyl, float step,
                          float leak, int32_t errDly, ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvcLmsInit(int32_t lmsType, const ZqvCplxS* taps, int32_t tapsLen, const ZqvCplxS* dlyl, float step,
                          float leak, int32_t errDly, ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvzLmsInit(int32_t lmsType, const ZqvCplxD* taps, int32_t tapsLen, const ZqvCplxD* dlyl, float step,
                          float leak, int32_t errDly, ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvscLmsInit(int32_t lmsType, const ZqvCplxS* taps, int32_t tapsLen, const float* dlyl, float step,
                          float leak, int32_t errDly, ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvdzLmsInit(int32_t lmsType, const ZqvCplxD* taps, int32_t tapsLen, const double* dlyl, float step,
                          float leak, int32_t errDly, ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvsLmsInitMr(int32_t lmsType, const float* taps, int32_t tapsLen, const float* dlyl, float step,
                            float leak, int32_t errDly, int32_t downFactor, int32_t downPhase,
                            ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvdLmsInitMr(int32_t lmsType, const double* taps, int32_t tapsLen, const double* dlyl, float step,
                            float leak, int32_t errDly, int32_t downFactor, int32_t downPhase,
                            ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvcLmsInitMr(int32_t lmsType, const ZqvCplxS* taps, int32_t tapsLen, const ZqvCplxS* dlyl, float step,
                            float leak, int32_t errDly, int32_t downFactor, int32_t downPhase,
                            ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvzLmsInitMr(int32_t lmsType, const ZqvCplxD* taps, int32_t tapsLen, const ZqvCplxD* dlyl, float step,
                            float leak, int32_t errDly, int32_t downFactor, int32_t downPhase,
                            ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvscLmsInitMr(int32_t lmsType, const ZqvCplxS* taps, int32_t tapsLen, const float* dlyl, float step,
                            float leak, int32_t errDly, int32_t downFactor, int32_t downPhase,
                            ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvdzLmsInitMr(int32_t lmsType, const ZqvCplxD* taps, int32_t tapsLen, const double* dlyl, float step,
                            float leak, int32_t errDly, int32_t downFactor, int32_t downPhase,
                            ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvLmsFree(ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI float zqvsLms(ZqvLmsState* statePtr, float samp, float err) ZQV_NOTHROW;
ZQVAPI double zqvdLms(ZqvLmsState* statePtr, double samp, double err) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcLms(ZqvLmsState* statePtr, ZqvCplxS samp, ZqvCplxS err) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzLms(ZqvLmsState* statePtr, ZqvCplxD samp, ZqvCplxD err) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvscLms(ZqvLmsState* statePtr, float samp, ZqvCplxS err) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvdzLms(ZqvLmsState* statePtr, double samp, ZqvCplxD err) ZQV_NOTHROW;
ZQVAPI float zqvsbLms(ZqvLmsState* statePtr, const float* inSamps, float err) ZQV_NOTHROW;
ZQVAPI double zqvdbLms(ZqvLmsState* statePtr, const double* inSamps, double err) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcbLms(ZqvLmsState* statePtr, const ZqvCplxS* inSamps, ZqvCplxS err) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzbLms(ZqvLmsState* statePtr, const ZqvCplxD* inSamps, ZqvCplxD err) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvscbLms(ZqvLmsState* statePtr, const float* inSamps, ZqvCplxS err) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvdzbLms(ZqvLmsState* statePtr, const double* inSamps, ZqvCplxD err) ZQV_NOTHROW;
ZQVAPI float zqvsLmsDes(ZqvLmsState* statePtr, float samp, float des) ZQV_NOTHROW;
ZQVAPI double zqvdLmsDes(ZqvLmsState* statePtr, double samp, double des) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcLmsDes(ZqvLmsState* statePtr, ZqvCplxS samp, ZqvCplxS des) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzLmsDes(ZqvLmsState* statePtr, ZqvCplxD samp, ZqvCplxD des) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvscLmsDes(ZqvLmsState* statePtr, float samp, ZqvCplxS des) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvdzLmsDes(ZqvLmsState* statePtr, double samp, ZqvCplxD des) ZQV_NOTHROW;
ZQVAPI void zqvsbLmsDes(ZqvLmsState* statePtr, const float* inSamps, const float* desSamps,
                            float* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI void zqvdbLmsDes(ZqvLmsState* statePtr, const double* inSamps, const double* desSamps,
                            double* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI void zqvcbLmsDes(ZqvLmsState* statePtr, const ZqvCplxS* inSamps, const ZqvCplxS* desSamps,
                            ZqvCplxS* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI void zqvzbLmsDes(ZqvLmsState* statePtr, const ZqvCplxD* inSamps, const ZqvCplxD* desSamps,
                            ZqvCplxD* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI void zqvscbLmsDes(ZqvLmsState* statePtr, const float* inSamps, const ZqvCplxS* desSamps,
                            ZqvCplxS* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI void zqvdzbLmsDes(ZqvLmsState* statePtr, const double* inSamps, const ZqvCplxD* desSamps,
                            ZqvCplxD* outSamps, int32_t numIters) ZQV_NOTHROW;
ZQVAPI float zqvsLmsGetErrVal(const ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI double zqvdLmsGetErrVal(const ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcLmsGetErrVal(const ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzLmsGetErrVal(const ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvsLmsSetErrVal(float value, ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvdLmsSetErrVal(double value, ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvcLmsSetErrVal(ZqvCplxS value, ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvzLmsSetErrVal(ZqvCplxD value, ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvsLmsGetTaps(ZqvLmsState* statePtr, float* outTaps) ZQV_NOTHROW;
ZQVAPI void zqvdLmsGetTaps(ZqvLmsState* statePtr, double* outTaps) ZQV_NOTHROW;
ZQVAPI void zqvcLmsGetTaps(ZqvLmsState* statePtr, ZqvCplxS* outTaps) ZQV_NOTHROW;
ZQVAPI void zqvzLmsGetTaps(ZqvLmsState* statePtr, ZqvCplxD* outTaps) ZQV_NOTHROW;
ZQVAPI void zqvsLmsSetTaps(const float* inTaps, ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvdLmsSetTaps(const double* inTaps, ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvcLmsSetTaps(const ZqvCplxS* inTaps, ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvzLmsSetTaps(const ZqvCplxD* inTaps, ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvsLmsGetDlyl(ZqvLmsState* statePtr, float* outDlyl) ZQV_NOTHROW;
ZQVAPI void zqvdLmsGetDlyl(ZqvLmsState* statePtr, double* outDlyl) ZQV_NOTHROW;
ZQVAPI void zqvcLmsGetDlyl(ZqvLmsState* statePtr, ZqvCplxS* outDlyl) ZQV_NOTHROW;
ZQVAPI void zqvzLmsGetDlyl(ZqvLmsState* statePtr, ZqvCplxD* outDlyl) ZQV_NOTHROW;
ZQVAPI void zqvsLmsSetDlyl(const float* inDlyl, ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvdLmsSetDlyl(const double* inDlyl, ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvcLmsSetDlyl(const ZqvCplxS* inDlyl, ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvzLmsSetDlyl(const ZqvCplxD* inDlyl, ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI float zqvsLmsGetStep(const ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI float zqvsLmsGetLeak(const ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvsLmsSetStep(float step, ZqvLmsState* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvsLmsSetLeak(float leak, ZqvLmsState* statePtr) ZQV_NOTHROW;

/* ---- Convolution, correlation, two-dimensional filtering ------------------ */
/* (section: convolution) */

/* Linear convolution y[n] = sum x[k] h[n-k], n = 0 .. xLen+hLen-2 (y holds
 * xLen+hLen-1 elements). The status is cleared on entry; every failed
 * check is reported. The method (direct sum, one transform, sections) is
 * chosen by the two lengths. */
ZQVAPI void zqvsConv(const float* x, int32_t xLen, const float* h, int32_t hLen, float* y) ZQV_NOTHROW;
ZQVAPI void zqvcConv(const ZqvCplxS* x, int32_t xLen, const ZqvCplxS* h, int32_t hLen, ZqvCplxS* y) ZQV_NOTHROW;
ZQVAPI void zqvcsConv(const ZqvCplxS* x, int32_t xLen, const float* h, int32_t hLen, ZqvCplxS* y) ZQV_NOTHROW;
ZQVAPI void zqvscConv(const float* x, int32_t xLen, const ZqvCplxS* h, int32_t hLen, ZqvCplxS* y) ZQV_NOTHROW;
ZQVAPI void zqvdConv(const double* x, int32_t xLen, const double* h, int32_t hLen, double* y) ZQV_NOTHROW;
ZQVAPI void zqvzConv(const ZqvCplxD* x, int32_t xLen, const ZqvCplxD* h, int32_t hLen, ZqvCplxD* y) ZQV_NOTHROW;
ZQVAPI void zqvzdConv(const ZqvCplxD* x, int32_t xLen, const double* h, int32_t hLen, ZqvCplxD* y) ZQV_NOTHROW;
ZQVAPI void zqvdzConv(const double* x, int32_t xLen, const ZqvCplxD* h, int32_t hLen, ZqvCplxD* y) ZQV_NOTHROW;
/* 16-bit: computed in float, narrowed by scaleMode (ZQV_SATURATE,
 * ZQV_FIXED_SCALE, ZQV_AUTO_SCALE bits); the automatic shift is written
 * through scaleFactor. */
ZQVAPI void zqvwConv(const int16_t* x, int32_t xLen, const int16_t* h, int32_t hLen, int16_t* y,
                     int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;

/* Two-dimensional linear convolution of row-major images (x: xRows rows of
 * xCols, h likewise): y has xRows+hRows-1 rows of xCols+hCols-1 elements,
 * y(r, c) = sum over i, j of x(i, j) h(r-i, c-j). The first failed check is
 * reported; the status is neither cleared nor read on entry. When both
 * images are one row or both one column (and the sizes do not call for the
 * direct sum), the call runs zqvsConv / zqvdConv, which clear the status on
 * entry as the one-dimensional convolution does. */
ZQVAPI void zqvsConv2D(const float* x, int32_t xCols, int32_t xRows, const float* h, int32_t hCols, int32_t hRows,
                       float* y) ZQV_NOTHROW;
ZQVAPI void zqvdConv2D(const double* x, int32_t xCols, int32_t xRows, const double* h, int32_t hCols, int32_t hRows,
                       double* y) ZQV_NOTHROW;
/* 16-bit: converted to float (which clears the status), convolved in float,
 * narrowed by scaleMode (ZQV_AUTO_SCALE writes the shift it chose through
 * scaleFactor, which must then not be null). */
ZQVAPI void zqvwConv2D(const int16_t* x, int32_t xCols, int32_t xRows, const int16_t* h, int32_t hCols,
                       int32_t hRows, int16_t* y, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;

/* Auto-correlation dst[k] = sum over m of conj(src[m]) src[m+k], k = 0 ..
 * lags-1 (1 <= lags <= len); normType 1 divides by len, 2 by len-k. Cross-
 * correlation dst[lag-loLag] = sum over m of conj(srcA[m]) srcB[m+lag] for
 * loLag <= lag <= hiLag. The first failed check is reported; the status is
 * never read. */
ZQVAPI void zqvsAutoCorr(const float* src, int32_t len, float* dst, int32_t lags, int32_t normType) ZQV_NOTHROW;
ZQVAPI void zqvdAutoCorr(const double* src, int32_t len, double* dst, int32_t lags, int32_t normType) ZQV_NOTHROW;
ZQVAPI void zqvcAutoCorr(const ZqvCplxS* src, int32_t len, ZqvCplxS* dst, int32_t lags, int32_t normType) ZQV_NOTHROW;
ZQVAPI void zqvzAutoCorr(const ZqvCplxD* src, int32_t len, ZqvCplxD* dst, int32_t lags, int32_t normType) ZQV_NOTHROW;
ZQVAPI void zqvsCrossCorr(const float* srcA, int32_t lenA, const float* srcB, int32_t lenB, float* dst,
                          int32_t loLag, int32_t hiLag) ZQV_NOTHROW;
ZQVAPI void zqvdCrossCorr(const double* srcA, int32_t lenA, const double* srcB, int32_t lenB, double* dst,
                          int32_t loLag, int32_t hiLag) ZQV_NOTHROW;
ZQVAPI void zqvscCrossCorr(const float* srcA, int32_t lenA, const ZqvCplxS* srcB, int32_t lenB, ZqvCplxS* dst,
                           int32_t loLag, int32_t hiLag) ZQV_NOTHROW;
ZQVAPI void zqvdzCrossCorr(const double* srcA, int32_t lenA, const ZqvCplxD* srcB, int32_t lenB, ZqvCplxD* dst,
                           int32_t loLag, int32_t hiLag) ZQV_NOTHROW;
ZQVAPI void zqvcsCrossCorr(const ZqvCplxS* srcA, int32_t lenA, const float* srcB, int32_t lenB, ZqvCplxS* dst,
                           int32_t loLag, int32_t hiLag) ZQV_NOTHROW;
ZQVAPI void zqvzdCrossCorr(const ZqvCplxD* srcA, int32_t lenA, const double* srcB, int32_t lenB, ZqvCplxD* dst,
                           int32_t loLag, int32_t hiLag) ZQV_NOTHROW;
ZQVAPI void zqvcCrossCorr(const ZqvCplxS* srcA, int32_t lenA, const ZqvCplxS* srcB, int32_t lenB, ZqvCplxS* dst,
                          int32_t loLag, int32_t hiLag) ZQV_NOTHROW;
ZQVAPI void zqvzCrossCorr(const ZqvCplxD* srcA, int32_t lenA, const ZqvCplxD* srcB, int32_t lenB, ZqvCplxD* dst,
                          int32_t loLag, int32_t hiLag) ZQV_NOTHROW;
/* 16-bit: exact sums in 64 bits (normType 1 and 2 of the auto-correlation
 * divide them, truncating toward zero), then scaleMode: with (scaleMode & 2)
 * shifted right by *scaleFactor, rounding toward minus infinity (a negative
 * factor shifts left); the low 16 bits are stored, or with (scaleMode & 1)
 * the value saturated to 16 bits. scaleMode 4 is the automatic shift: it
 * starts at 0 and rises just as far as a result needs to fit 16 bits, the
 * outputs already written following it, so all outputs share the final
 * shift, which is written to *scaleFactor (then not null). */
ZQVAPI void zqvwAutoCorr(const int16_t* src, int32_t len, int16_t* dst, int32_t lags, int32_t normType,
                         int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvvAutoCorr(const ZqvCplxW* src, int32_t len, ZqvCplxW* dst, int32_t lags, int32_t normType,
                         int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwCrossCorr(const int16_t* srcA, int32_t lenA, const int16_t* srcB, int32_t lenB, int16_t* dst,
                          int32_t loLag, int32_t hiLag, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvvCrossCorr(const ZqvCplxW* srcA, int32_t lenA, const ZqvCplxW* srcB, int32_t lenB, ZqvCplxW* dst,
                          int32_t loLag, int32_t hiLag, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwvCrossCorr(const int16_t* srcA, int32_t lenA, const ZqvCplxW* srcB, int32_t lenB, ZqvCplxW* dst,
                           int32_t loLag, int32_t hiLag, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvvwCrossCorr(const ZqvCplxW* srcA, int32_t lenA, const int16_t* srcB, int32_t lenB, ZqvCplxW* dst,
                           int32_t loLag, int32_t hiLag, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;

/* Two-dimensional FIR filter of a row-major image (cols per row, rows rows):
 * dst(r, c) = sum over i, j of kernel(i, j) src(r + krows/2 - i, c + kcols/2 - j),
 * src taken as 0 outside the image; dst has the image's size. The kernel is
 * only read. The first failed check is reported; the status is never read. */
ZQVAPI void zqvsFilter2D(const float* src, int32_t cols, int32_t rows, const float* kernel, int32_t kcols,
                         int32_t krows, float* dst) ZQV_NOTHROW;
ZQVAPI void zqvdFilter2D(const double* src, int32_t cols, int32_t rows, const double* kernel, int32_t kcols,
                         int32_t krows, double* dst) ZQV_NOTHROW;
/* 16-bit: float sums narrowed by scaleMode; the automatic shift is written
 * through scaleFactor. */
ZQVAPI void zqvwFilter2D(const int16_t* src, int32_t cols, int32_t rows, const float* kernel, int32_t kcols,
                         int32_t krows, int16_t* dst, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;

/* ---- Sampling, wavelets, generators --------------------------------------- */
/* (section: generation) */

/* Up- and down-sampling by an integer factor, without filtering. phase:
 * 0 <= *phase < factor, the place of the kept or placed sample within each
 * group of factor. UpSample: dst[i*factor + *phase] = src[i], zeros between,
 * *dstLen = factor*srcLen. DownSample: dst gets src[*phase], src[*phase +
 * factor], ...; *dstLen their number, *phase the next block's phase. dst may
 * be src. These routines stop at their first failed check and never read the
 * status. */
ZQVAPI void zqvsUpSample(const float* src, int32_t srcLen, float* dst, int32_t* dstLen,
                         int32_t factor, int32_t* phase) ZQV_NOTHROW;
ZQVAPI void zqvcUpSample(const ZqvCplxS* src, int32_t srcLen, ZqvCplxS* dst, int32_t* dstLen,
                         int32_t factor, int32_t* phase) ZQV_NOTHROW;
ZQVAPI void zqvdUpSample(const double* src, int32_t srcLen, double* dst, int32_t* dstLen,
                         int32_t factor, int32_t* phase) ZQV_NOTHROW;
ZQVAPI void zqvzUpSample(const ZqvCplxD* src, int32_t srcLen, ZqvCplxD* dst, int32_t* dstLen,
                         int32_t factor, int32_t* phase) ZQV_NOTHROW;
ZQVAPI void zqvwUpSample(const int16_t* src, int32_t srcLen, int16_t* dst, int32_t* dstLen,
                         int32_t factor, int32_t* phase) ZQV_NOTHROW;
ZQVAPI void zqvvUpSample(const ZqvCplxW* src, int32_t srcLen, ZqvCplxW* dst, int32_t* dstLen,
                         int32_t factor, int32_t* phase) ZQV_NOTHROW;
ZQVAPI void zqvsDownSample(const float* src, int32_t srcLen, float* dst, int32_t* dstLen,
                           int32_t factor, int32_t* phase) ZQV_NOTHROW;
ZQVAPI void zqvcDownSample(const ZqvCplxS* src, int32_t srcLen, ZqvCplxS* dst, int32_t* dstLen,
                           int32_t factor, int32_t* phase) ZQV_NOTHROW;
ZQVAPI void zqvdDownSample(const double* src, int32_t srcLen, double* dst, int32_t* dstLen,
                           int32_t factor, int32_t* phase) ZQV_NOTHROW;
ZQVAPI void zqvzDownSample(const ZqvCplxD* src, int32_t srcLen, ZqvCplxD* dst, int32_t* dstLen,
                           int32_t factor, int32_t* phase) ZQV_NOTHROW;
ZQVAPI void zqvwDownSample(const int16_t* src, int32_t srcLen, int16_t* dst, int32_t* dstLen,
                           int32_t factor, int32_t* phase) ZQV_NOTHROW;
ZQVAPI void zqvvDownSample(const ZqvCplxW* src, int32_t srcLen, ZqvCplxW* dst, int32_t* dstLen,
                           int32_t factor, int32_t* phase) ZQV_NOTHROW;

/* Random generators: a lagged subtract-with-borrow sequence added to a
 * linear congruential sequence, seeded by the classic rand() recurrence.
 * Records belong to the caller and hold the whole state; equal seeds give
 * equal sequences. The S records serve the float and complex float forms,
 * D the double and complex double forms, W the 16-bit forms. A complex value
 * takes its real part from the first number drawn. A vector call gives the
 * values of as many single calls. */
typedef struct {
  float center;     /* low + (high - low)/2 */
  float scale;      /* (high - low) * 2.328306436539e-10 */
  uint32_t lcgVal;
  int32_t borrow;
  uint32_t lag1, lag2, lag3; /* newest first */
  uint32_t seedVal;
} ZqvRandUniStateS;
typedef struct {
  double center;
  double scale;
  uint32_t lcgVal;
  int32_t borrow;
  uint32_t lag1, lag2, lag3;
  uint32_t seedVal;
} ZqvRandUniStateD;
typedef struct {
  float center;
  float scale;
  int32_t reserved1, reserved2; /* 0 */
  uint32_t lcgVal;
  uint32_t reserved3;           /* a third seeding draw */
  uint32_t lag1, lag2, lag3;
  int32_t borrow;
  uint32_t seedVal;
  int32_t reserved4;            /* 32 */
} ZqvRandUniStateW;
typedef struct {
  float mean;
  float stdDev;
  float keptVal;    /* the second deviate of the last pair */
  int32_t haveKept; /* 1 while keptVal waits to be returned */
  uint32_t lcgVal;
  int32_t borrow;
  uint32_t lag1, lag2, lag3;
  uint32_t seedVal;
} ZqvRandGausStateS;
typedef struct {
  double mean;
  double stdDev;
  double keptVal;
  int32_t haveKept;
  uint32_t lcgVal;
  int32_t borrow;
  uint32_t lag1, lag2, lag3;
  uint32_t seedVal;
} ZqvRandGausStateD;
typedef struct {
  int32_t haveKept;
  uint32_t lcgVal;
  int32_t borrow;
  uint32_t lag1, lag2, lag3;
  int16_t mean;
  int16_t stdDev;
  int16_t keptVal;
  uint32_t seedVal;
} ZqvRandGausStateW;

/* Uniform over low..high; float seeds are truncated toward zero. 16-bit
 * values are truncated toward zero. */
ZQVAPI void zqvsRandUniInit(float seed, float low, float high, ZqvRandUniStateS* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvcRandUniInit(float seed, float low, float high, ZqvRandUniStateS* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvdRandUniInit(double seed, double low, double high, ZqvRandUniStateD* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvzRandUniInit(double seed, double low, double high, ZqvRandUniStateD* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvwRandUniInit(int32_t seed, int16_t low, int16_t high, ZqvRandUniStateW* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvvRandUniInit(int32_t seed, int16_t low, int16_t high, ZqvRandUniStateW* statePtr) ZQV_NOTHROW;
ZQVAPI float zqvsRandUni(ZqvRandUniStateS* statePtr) ZQV_NOTHROW;
ZQVAPI double zqvdRandUni(ZqvRandUniStateD* statePtr) ZQV_NOTHROW;
ZQVAPI int16_t zqvwRandUni(ZqvRandUniStateW* statePtr) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcRandUni(ZqvRandUniStateS* statePtr) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzRandUni(ZqvRandUniStateD* statePtr) ZQV_NOTHROW;
ZQVAPI ZqvCplxW zqvvRandUni(ZqvRandUniStateW* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvsbRandUni(ZqvRandUniStateS* statePtr, float* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvcbRandUni(ZqvRandUniStateS* statePtr, ZqvCplxS* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvdbRandUni(ZqvRandUniStateD* statePtr, double* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvzbRandUni(ZqvRandUniStateD* statePtr, ZqvCplxD* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvwbRandUni(ZqvRandUniStateW* statePtr, int16_t* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvvbRandUni(ZqvRandUniStateW* statePtr, ZqvCplxW* samps, int32_t sampsLen) ZQV_NOTHROW;

/* Gaussian with the given mean and standard deviation (polar method, two
 * deviates per pair of numbers). */
ZQVAPI void zqvsRandGausInit(float seed, float mean, float stdDev, ZqvRandGausStateS* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvcRandGausInit(float seed, float mean, float stdDev, ZqvRandGausStateS* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvdRandGausInit(double seed, double mean, double stdDev, ZqvRandGausStateD* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvzRandGausInit(double seed, double mean, double stdDev, ZqvRandGausStateD* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvwRandGausInit(int16_t seed, int16_t mean, int16_t stdDev, ZqvRandGausStateW* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvvRandGausInit(int16_t seed, int16_t mean, int16_t stdDev, ZqvRandGausStateW* statePtr) ZQV_NOTHROW;
ZQVAPI float zqvsRandGaus(ZqvRandGausStateS* statePtr) ZQV_NOTHROW;
ZQVAPI double zqvdRandGaus(ZqvRandGausStateD* statePtr) ZQV_NOTHROW;
ZQVAPI int16_t zqvwRandGaus(ZqvRandGausStateW* statePtr) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcRandGaus(ZqvRandGausStateS* statePtr) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzRandGaus(ZqvRandGausStateD* statePtr) ZQV_NOTHROW;
ZQVAPI ZqvCplxW zqvvRandGaus(ZqvRandGausStateW* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvsbRandGaus(ZqvRandGausStateS* statePtr, float* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvcbRandGaus(ZqvRandGausStateS* statePtr, ZqvCplxS* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvdbRandGaus(ZqvRandGausStateD* statePtr, double* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvzbRandGaus(ZqvRandGausStateD* statePtr, ZqvCplxD* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvwbRandGaus(ZqvRandGausStateW* statePtr, int16_t* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvvbRandGaus(ZqvRandGausStateW* statePtr, ZqvCplxW* samps, int32_t sampsLen) ZQV_NOTHROW;

/* Tone generator: y(n) = mag cos(2 pi rfreq n + phase) (complex forms:
 * mag e^(i(2 pi rfreq n + phase))) from a second-order recursion;
 * 0 <= rfreq < 0.5, 0 <= phase < 2 pi, mag >= 0. Init writes the tag "BDT"
 * that every generating routine checks. The 16-bit forms share one record
 * and round by the current rounding mode (a value out of range gives
 * -32768); single samples come from a cache of 32 (16 complex) samples. */
typedef struct {
  double twoCosW;
  double y1;      /* the last output */
  double y2;      /* the output before it */
  float mag, rfreq, phase;
  char tag[4];
} ZqvToneStateS;
typedef struct {
  double twoCosW;
  double y1;
  double y2;
  double mag, rfreq, phase;
  char tag[4];
} ZqvToneStateD;
typedef struct {
  double twoCosW;
  ZqvCplxD y1;
  ZqvCplxD y2;
  float mag, rfreq, phase;
  char tag[4];
} ZqvToneStateC;
typedef struct {
  double twoCosW;
  ZqvCplxD y1;
  ZqvCplxD y2;
  double mag, rfreq, phase;
  char tag[4];
} ZqvToneStateZ;
typedef struct {
  double twoCosW;
  double yRe, yIm;         /* the next output */
  double yPrevRe, yPrevIm; /* the output before it */
  int32_t cacheIdx;        /* next cached sample; the cache size when empty */
  union {
    int16_t w[32];
    ZqvCplxW v[16];
  } cache;
  int16_t mag;
  float rfreq, phase;
  char tag[4];
} ZqvToneStateW;

ZQVAPI void zqvsToneInit(float rfreq, float phase, float mag, ZqvToneStateS* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvcToneInit(float rfreq, float phase, float mag, ZqvToneStateC* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvdToneInit(double rfreq, double phase, double mag, ZqvToneStateD* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvzToneInit(double rfreq, double phase, double mag, ZqvToneStateZ* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvwToneInit(float rfreq, float phase, int16_t mag, ZqvToneStateW* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvvToneInit(float rfreq, float phase, int16_t mag, ZqvToneStateW* statePtr) ZQV_NOTHROW;
ZQVAPI float zqvsTone(ZqvToneStateS* statePtr) ZQV_NOTHROW;
ZQVAPI double zqvdTone(ZqvToneStateD* statePtr) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcTone(ZqvToneStateC* statePtr) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzTone(ZqvToneStateZ* statePtr) ZQV_NOTHROW;
ZQVAPI int16_t zqvwTone(ZqvToneStateW* statePtr) ZQV_NOTHROW;
ZQVAPI ZqvCplxW zqvvTone(ZqvToneStateW* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvsbTone(ZqvToneStateS* statePtr, float* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvdbTone(ZqvToneStateD* statePtr, double* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvcbTone(ZqvToneStateC* statePtr, ZqvCplxS* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvzbTone(ZqvToneStateZ* statePtr, ZqvCplxD* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvwbTone(ZqvToneStateW* statePtr, int16_t* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvvbTone(ZqvToneStateW* statePtr, ZqvCplxW* samps, int32_t sampsLen) ZQV_NOTHROW;

/* Triangle generator: magnitude mag, relative frequency 0 <= rfreq < 0.5,
 * starting phase 0 <= phase < 2 pi, asymmetry -pi < asym < pi. Over one
 * period, with H = pi + asym and L = pi - asym, the wave falls from mag at
 * phase 0 to -mag at phase H and rises back to mag at 2 pi. Complex forms
 * start their imaginary part (H + 2 pi)/2 later. The S record serves the
 * float and 16-bit forms, C the complex float and complex 16-bit forms;
 * 16-bit samples are rounded by the current rounding mode. */
typedef struct {
  float mag;
  float inc;               /* incDown or incUp */
  float incDown, incUp;
  float foldDown, foldUp;  /* -L/H, -H/L */
  float wrapDown, wrapUp;
  float offDown, offUp;
  float value;             /* the next output */
} ZqvTrnglStateS;
typedef struct {
  double mag;
  double inc;
  double incDown, incUp;
  double foldDown, foldUp;
  double wrapDown, wrapUp;
  double offDown, offUp;
  double value;
} ZqvTrnglStateD;
typedef struct {
  float mag;
  float incRe, incIm;
  float incDown, incUp;
  float foldDown, foldUp;
  float wrapDown, wrapUp;
  float offDown, offUp;
  float valueRe, valueIm;
} ZqvTrnglStateC;
typedef struct {
  double mag;
  double incRe, incIm;
  double incDown, incUp;
  double foldDown, foldUp;
  double wrapDown, wrapUp;
  double offDown, offUp;
  double valueRe, valueIm;
} ZqvTrnglStateZ;

ZQVAPI void zqvsTrnglInit(float rfreq, float phase, float mag, float asym, ZqvTrnglStateS* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvcTrnglInit(float rfreq, float phase, float mag, float asym, ZqvTrnglStateC* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvdTrnglInit(double rfreq, double phase, double mag, double asym,
                          ZqvTrnglStateD* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvzTrnglInit(double rfreq, double phase, double mag, double asym,
                          ZqvTrnglStateZ* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvwTrnglInit(float rfreq, float phase, int16_t mag, float asym, ZqvTrnglStateS* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvvTrnglInit(float rfreq, float phase, int16_t mag, float asym, ZqvTrnglStateC* statePtr) ZQV_NOTHROW;
ZQVAPI float zqvsTrngl(ZqvTrnglStateS* statePtr) ZQV_NOTHROW;
ZQVAPI double zqvdTrngl(ZqvTrnglStateD* statePtr) ZQV_NOTHROW;
ZQVAPI int16_t zqvwTrngl(ZqvTrnglStateS* statePtr) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcTrngl(ZqvTrnglStateC* statePtr) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzTrngl(ZqvTrnglStateZ* statePtr) ZQV_NOTHROW;
ZQVAPI ZqvCplxW zqvvTrngl(ZqvTrnglStateC* statePtr) ZQV_NOTHROW;
ZQVAPI void zqvsbTrngl(ZqvTrnglStateS* statePtr, float* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvdbTrngl(ZqvTrnglStateD* statePtr, double* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvwbTrngl(ZqvTrnglStateS* statePtr, int16_t* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvcbTrngl(ZqvTrnglStateC* statePtr, ZqvCplxS* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvzbTrngl(ZqvTrnglStateZ* statePtr, ZqvCplxD* samps, int32_t sampsLen) ZQV_NOTHROW;
ZQVAPI void zqvvbTrngl(ZqvTrnglStateC* statePtr, ZqvCplxW* samps, int32_t sampsLen) ZQV_NOTHROW;

/* Wavelet transform of 2^dataOrder samples over level levels (0 ..
 * dataOrder-1), periodic at the borders. Transformed layout: the coarsest
 * approximation, then the details from the coarsest level to the finest.
 * wtType 1..9 are built-in wavelets (1 two-tap orthogonal, 2 Daublet par1 =
 * 1..10, 3 Symmlet par1 = 1..7, 4 Coiflet par1 = 1..5, 5 a fixed 24-tap
 * orthogonal filter, 6 binomial pair (par1, par2), 7 the same exchanged,
 * 8 and 9 the pairs (2, 2) and (3, 3)); 10 (SetState only) takes the
 * caller's four filters. Filters: 0 analysis low-pass, 1 analysis high-pass,
 * 2 synthesis low-pass, 3 synthesis high-pass. Clear a new record before its
 * first Init or SetState; free it with zqvWtFree before initialising it
 * again. The 16-bit forms keep float filters; a record serves only the
 * transforms of the type it was made for. Each failed check of a group is
 * reported; the routines return while the thread's status is negative. */
typedef struct {
  int32_t dataType;    /* 0 none, 1 float, 2 double, 4 16-bit */
  int32_t wtType;      /* 1..9, or 10 for the caller's filters */
  int32_t kind;        /* 1 orthogonal, 2 biorthogonal, 3 the caller's */
  int32_t par1, par2;
  int32_t dataOrder;
  int32_t level;
  int32_t Flen[4];
  int32_t Fofs[4];
  void* tap_filt[4];   /* float or double filters, owned by the record */
  void* src_pad;       /* work buffer of 2^dataOrder + 2 max(Flen[0], Flen[1]) values */
} wtState;

ZQVAPI void zqvsWtInit(int32_t par1, int32_t par2, int32_t dataOrder, int32_t level, wtState* st,
                       int32_t wtType) ZQV_NOTHROW;
ZQVAPI void zqvdWtInit(int32_t par1, int32_t par2, int32_t dataOrder, int32_t level, wtState* st,
                       int32_t wtType) ZQV_NOTHROW;
ZQVAPI int32_t zqvwWtInit(int32_t par1, int32_t par2, int32_t dataOrder, int32_t level, wtState* st,
                          int32_t wtType) ZQV_NOTHROW;
ZQVAPI void zqvsWtSetState(wtState* st, int32_t wtType, int32_t par1, int32_t par2, int32_t dataOrder,
                           int32_t level, const float* const* Ftaps, const int32_t* Flen,
                           const int32_t* Fofs) ZQV_NOTHROW;
ZQVAPI void zqvdWtSetState(wtState* st, int32_t wtType, int32_t par1, int32_t par2, int32_t dataOrder,
                           int32_t level, const double* const* Ftaps, const int32_t* Flen,
                           const int32_t* Fofs) ZQV_NOTHROW;
ZQVAPI int32_t zqvwWtSetState(wtState* st, int32_t wtType, int32_t par1, int32_t par2, int32_t dataOrder,
                              int32_t level, const float* const* Ftaps, const int32_t* Flen,
                              const int32_t* Fofs) ZQV_NOTHROW;
/* Ftaps receives the record's own filters, not copies. */
ZQVAPI void zqvsWtGetState(const wtState* st, int32_t* wtType, int32_t* par1, int32_t* par2,
                           int32_t* dataOrder, int32_t* level, float** Ftaps, int32_t* Flen,
                           int32_t* Fofs) ZQV_NOTHROW;
ZQVAPI void zqvdWtGetState(const wtState* st, int32_t* wtType, int32_t* par1, int32_t* par2,
                           int32_t* dataOrder, int32_t* level, double** Ftaps, int32_t* Flen,
                           int32_t* Fofs) ZQV_NOTHROW;
ZQVAPI void zqvwWtGetState(const wtState* st, int32_t* wtType, int32_t* par1, int32_t* par2,
                           int32_t* dataOrder, int32_t* level, float** Ftaps, int32_t* Flen,
                           int32_t* Fofs) ZQV_NOTHROW;
/* src and dst: 2^dataOrder values; dst may be src. */
ZQVAPI void zqvsWtDecompose(wtState* st, const float* src, float* dst) ZQV_NOTHROW;
ZQVAPI void zqvdWtDecompose(wtState* st, const double* src, double* dst) ZQV_NOTHROW;
ZQVAPI void zqvwWtDecompose(wtState* st, const int16_t* src, int16_t* dst) ZQV_NOTHROW;
ZQVAPI void zqvsWtReconstruct(wtState* st, const float* src, float* dst) ZQV_NOTHROW;
ZQVAPI void zqvdWtReconstruct(wtState* st, const double* src, double* dst) ZQV_NOTHROW;
ZQVAPI void zqvwWtReconstruct(wtState* st, const int16_t* src, int16_t* dst) ZQV_NOTHROW;
ZQVAPI void zqvWtFree(wtState* st) ZQV_NOTHROW;

/* ---- 16-bit arithmetic, dot products, fixed point, complex parts, laws ---- */
/* (section: core-more) */

/* Thresholds: relOp 0 raises every element below level to it, any other
 * value lowers every element above it. Real float and double elements follow
 * the total order of their bit patterns; complex elements compare by
 * magnitude and keep their phase (level >= 0). */
ZQVAPI void zqvsbThresh1(float* vec, int32_t n, float level, int32_t relOp) ZQV_NOTHROW;
ZQVAPI void zqvdbThresh1(double* vec, int32_t n, double level, int32_t relOp) ZQV_NOTHROW;
ZQVAPI void zqvcbThresh1(ZqvCplxS* vec, int32_t n, float level, int32_t relOp) ZQV_NOTHROW;
ZQVAPI void zqvzbThresh1(ZqvCplxD* vec, int32_t n, double level, int32_t relOp) ZQV_NOTHROW;
ZQVAPI void zqvwbThresh1(int16_t* vec, int32_t n, int16_t level, int32_t relOp) ZQV_NOTHROW;
ZQVAPI void zqvvbThresh1(ZqvCplxW* vec, int32_t n, int16_t level, int32_t relOp) ZQV_NOTHROW;
ZQVAPI void zqvsbThresh2(const float* src, float* dst, int32_t n, float level, int32_t relOp) ZQV_NOTHROW;
ZQVAPI void zqvdbThresh2(const double* src, double* dst, int32_t n, double level, int32_t relOp) ZQV_NOTHROW;
ZQVAPI void zqvcbThresh2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n, float level, int32_t relOp) ZQV_NOTHROW;
ZQVAPI void zqvzbThresh2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n, double level, int32_t relOp) ZQV_NOTHROW;
ZQVAPI void zqvwbThresh2(const int16_t* src, int16_t* dst, int32_t n, int16_t level, int32_t relOp) ZQV_NOTHROW;
ZQVAPI void zqvvbThresh2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n, int16_t level, int32_t relOp) ZQV_NOTHROW;
/* Reciprocals after raising every element of magnitude below level to that
 * magnitude (level >= 0). With level 0 a zero element becomes the largest
 * finite value and one report follows the loop. */
ZQVAPI void zqvsbInvThresh1(float* vec, int32_t n, float level) ZQV_NOTHROW;
ZQVAPI void zqvdbInvThresh1(double* vec, int32_t n, double level) ZQV_NOTHROW;
ZQVAPI void zqvcbInvThresh1(ZqvCplxS* vec, int32_t n, float level) ZQV_NOTHROW;
ZQVAPI void zqvzbInvThresh1(ZqvCplxD* vec, int32_t n, double level) ZQV_NOTHROW;
ZQVAPI void zqvsbInvThresh2(const float* src, float* dst, int32_t n, float level) ZQV_NOTHROW;
ZQVAPI void zqvdbInvThresh2(const double* src, double* dst, int32_t n, double level) ZQV_NOTHROW;
ZQVAPI void zqvcbInvThresh2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n, float level) ZQV_NOTHROW;
ZQVAPI void zqvzbInvThresh2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n, double level) ZQV_NOTHROW;

/* Fixed point: integers of bitSize 8, 16 or 32 bits (signed, or unsigned
 * with ZQV_CVT_UNSIGNED) standing for integer * 2^-fractBits; fractBits is
 * 0..bitSize-1 (signed) or 0..bitSize (unsigned). To fixed point: flags as for
 * zqvsbFloatToInt. From fixed point: flags 0 or ZQV_CVT_UNSIGNED, dst not
 * overlapping src. The fixed formats: S7 (8 bits, 7 fraction bits), S15 (16,
 * 15), S31 (32, 31), S1516 (32, 16), signed. All but the format conversions
 * back to floats clear the status first. */
ZQVAPI void zqvsbFloatToFix(const float* src, void* dst, int32_t len, int32_t bitSize, int32_t fractBits,
                            int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdbFloatToFix(const double* src, void* dst, int32_t len, int32_t bitSize, int32_t fractBits,
                            int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvsbFixToFloat(const void* src, float* dst, int32_t len, int32_t bitSize, int32_t fractBits,
                            int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdbFixToFloat(const void* src, double* dst, int32_t len, int32_t bitSize, int32_t fractBits,
                            int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvsbFloatToS7Fix(const float* src, void* dst, int32_t len, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvsbFloatToS15Fix(const float* src, void* dst, int32_t len, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvsbFloatToS31Fix(const float* src, void* dst, int32_t len, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvsbFloatToS1516Fix(const float* src, void* dst, int32_t len, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdbFloatToS7Fix(const double* src, void* dst, int32_t len, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdbFloatToS15Fix(const double* src, void* dst, int32_t len, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdbFloatToS31Fix(const double* src, void* dst, int32_t len, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvdbFloatToS1516Fix(const double* src, void* dst, int32_t len, int32_t flags) ZQV_NOTHROW;
ZQVAPI void zqvsbS7FixToFloat(const void* src, float* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvsbS15FixToFloat(const void* src, float* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvsbS31FixToFloat(const void* src, float* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvsbS1516FixToFloat(const void* src, float* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvdbS7FixToFloat(const void* src, double* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvdbS15FixToFloat(const void* src, double* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvdbS31FixToFloat(const void* src, double* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvdbS1516FixToFloat(const void* src, double* dst, int32_t len) ZQV_NOTHROW;

/* Dot products: the sum of srcA[i] * srcB[i] (complex products without
 * conjugation); two letters give the types of srcA and srcB. n = 0 gives 0.
 * They neither read nor clear the status: a null pointer or n < 0 reports
 * and gives 0. The 16-bit forms sum exactly and narrow the sum by scaleMode
 * (1 saturate, 2 shift by *scaleFactor, 3 the same saturated, 4 automatic,
 * other values wrap); a complex sum is narrowed with one shift for both parts. */
ZQVAPI float zqvsDotProd(const float* srcA, const float* srcB, int32_t n) ZQV_NOTHROW;
ZQVAPI double zqvdDotProd(const double* srcA, const double* srcB, int32_t n) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcDotProd(const ZqvCplxS* srcA, const ZqvCplxS* srcB, int32_t n) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvscDotProd(const float* srcA, const ZqvCplxS* srcB, int32_t n) ZQV_NOTHROW;
ZQVAPI ZqvCplxS zqvcsDotProd(const ZqvCplxS* srcA, const float* srcB, int32_t n) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzDotProd(const ZqvCplxD* srcA, const ZqvCplxD* srcB, int32_t n) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvdzDotProd(const double* srcA, const ZqvCplxD* srcB, int32_t n) ZQV_NOTHROW;
ZQVAPI ZqvCplxD zqvzdDotProd(const ZqvCplxD* srcA, const double* srcB, int32_t n) ZQV_NOTHROW;
ZQVAPI int16_t zqvwDotProd(const int16_t* srcA, const int16_t* srcB, int32_t n, int32_t scaleMode,
                           int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI ZqvCplxW zqvvDotProd(const ZqvCplxW* srcA, const ZqvCplxW* srcB, int32_t n, int32_t scaleMode,
                            int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI ZqvCplxW zqvwvDotProd(const int16_t* srcA, const ZqvCplxW* srcB, int32_t n, int32_t scaleMode,
                             int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI ZqvCplxW zqvvwDotProd(const ZqvCplxW* srcA, const int16_t* srcB, int32_t n, int32_t scaleMode,
                             int32_t* scaleFactor) ZQV_NOTHROW;

/* 16-bit vector arithmetic (w: int16, v: complex int16). Results are formed
 * exactly and narrowed by scaleMode, compared as a value: 0 wrap, 1 saturate,
 * 3 shift by *scaleFactor then saturate, 4 automatic (the smallest right
 * shift at which every result fits, written to *scaleFactor), any other value
 * shift by *scaleFactor then wrap (a positive factor shifts right, a negative
 * one left; a null pointer means no shift). Nothing is done while the
 * thread's status is negative. */
ZQVAPI ZqvCplxW zqvvAdd(ZqvCplxW a, ZqvCplxW b, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI ZqvCplxW zqvvSub(ZqvCplxW a, ZqvCplxW b, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI ZqvCplxW zqvvMpy(ZqvCplxW a, ZqvCplxW b, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
/* a / b exactly, truncated toward zero and saturated; b = 0 reports, gives (0, 0). */
ZQVAPI ZqvCplxW zqvvDiv(ZqvCplxW a, ZqvCplxW b) ZQV_NOTHROW;
ZQVAPI ZqvCplxW zqvvConj(ZqvCplxW a) ZQV_NOTHROW;
ZQVAPI ZqvCplxW zqvvSet(int16_t re, int16_t im) ZQV_NOTHROW;
ZQVAPI void zqvwbZero(int16_t* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvvbZero(ZqvCplxW* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvwbSet(int16_t val, int16_t* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvvbSet(ZqvCplxW val, ZqvCplxW* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvwbCopy(const int16_t* src, int16_t* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvvbCopy(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvwbAdd1(int16_t val, int16_t* vec, int32_t n, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvvbAdd1(ZqvCplxW val, ZqvCplxW* vec, int32_t n, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwbSub1(int16_t val, int16_t* vec, int32_t n, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvvbSub1(ZqvCplxW val, ZqvCplxW* vec, int32_t n, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwbMpy1(int16_t val, int16_t* vec, int32_t n, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvvbMpy1(ZqvCplxW val, ZqvCplxW* vec, int32_t n, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwbAdd2(const int16_t* src, int16_t* dst, int32_t n, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvvbAdd2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n, int32_t scaleMode,
                       int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwbSub2(const int16_t* src, int16_t* dst, int32_t n, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvvbSub2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n, int32_t scaleMode,
                       int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwbMpy2(const int16_t* src, int16_t* dst, int32_t n, int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvvbMpy2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n, int32_t scaleMode,
                       int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwbAdd3(const int16_t* srcA, const int16_t* srcB, int16_t* dst, int32_t n, int32_t scaleMode,
                       int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvvbAdd3(const ZqvCplxW* srcA, const ZqvCplxW* srcB, ZqvCplxW* dst, int32_t n,
                       int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwbSub3(const int16_t* srcA, const int16_t* srcB, int16_t* dst, int32_t n, int32_t scaleMode,
                       int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvvbSub3(const ZqvCplxW* srcA, const ZqvCplxW* srcB, ZqvCplxW* dst, int32_t n,
                       int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwbMpy3(const int16_t* srcA, const int16_t* srcB, int16_t* dst, int32_t n, int32_t scaleMode,
                       int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvvbMpy3(const ZqvCplxW* srcA, const ZqvCplxW* srcB, ZqvCplxW* dst, int32_t n,
                       int32_t scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
/* Conjugates; negation wraps (-(-32768) stays -32768). ConjFlip2 needs a
 * destination apart from the source; ConjExtend needs room for n + k elements. */
ZQVAPI void zqvvbConj1(ZqvCplxW* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvvbConj2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvvbConjFlip2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvvbConjExtend1(ZqvCplxW* vec, int32_t n) ZQV_NOTHROW;
ZQVAPI void zqvvbConjExtend2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n) ZQV_NOTHROW;

/* Complex parts: Real and Imag extract one part, CplxTo2Real both;
 * 2RealToCplx joins two part vectors, either of which may be null (its parts
 * become 0). Parts are copied unchanged. */
ZQVAPI void zqvcbReal(const ZqvCplxS* src, float* dst, int n) ZQV_NOTHROW;
ZQVAPI void zqvcbImag(const ZqvCplxS* src, float* dst, int n) ZQV_NOTHROW;
ZQVAPI void zqvcbCplxTo2Real(const ZqvCplxS* src, float* dstReal, float* dstImag, int n) ZQV_NOTHROW;
ZQVAPI void zqvcb2RealToCplx(const float* srcReal, const float* srcImag, ZqvCplxS* dst, int n) ZQV_NOTHROW;
ZQVAPI void zqvzbReal(const ZqvCplxD* src, double* dst, int n) ZQV_NOTHROW;
ZQVAPI void zqvzbImag(const ZqvCplxD* src, double* dst, int n) ZQV_NOTHROW;
ZQVAPI void zqvzbCplxTo2Real(const ZqvCplxD* src, double* dstReal, double* dstImag, int n) ZQV_NOTHROW;
ZQVAPI void zqvzb2RealToCplx(const double* srcReal, const double* srcImag, ZqvCplxD* dst, int n) ZQV_NOTHROW;
ZQVAPI void zqvvbReal(const ZqvCplxW* src, int16_t* dst, int n) ZQV_NOTHROW;
ZQVAPI void zqvvbImag(const ZqvCplxW* src, int16_t* dst, int n) ZQV_NOTHROW;
ZQVAPI void zqvvbCplxTo2Real(const ZqvCplxW* src, int16_t* dstReal, int16_t* dstImag, int n) ZQV_NOTHROW;
ZQVAPI void zqvvb2RealToCplx(const int16_t* srcReal, const int16_t* srcImag, ZqvCplxW* dst, int n) ZQV_NOTHROW;

/* Polar form. Phases in radians; a zero imaginary part gives phase 0 for a
 * real part with a clear sign and pi for one with the sign set (-1 - 0i has
 * phase +pi). The 16-bit phase is trunc(phase * 16383 / pi). Each element
 * calls the C library's cosine, sine or arc tangent (in long double) once:
 * the last bit of a result may differ between processors. */
ZQVAPI void zqvcbCartToPolar(const ZqvCplxS* src, float* mag, float* phase, int n) ZQV_NOTHROW;
ZQVAPI void zqvsbrCartToPolar(const float* srcReal, const float* srcImag, float* mag, float* phase, int n) ZQV_NOTHROW;
ZQVAPI void zqvcbPolarToCart(const float* mag, const float* phase, ZqvCplxS* dst, int n) ZQV_NOTHROW;
ZQVAPI void zqvsbrPolarToCart(const float* mag, const float* phase, float* dstReal, float* dstImag, int n) ZQV_NOTHROW;
ZQVAPI void zqvcbPhase(const ZqvCplxS* src, float* phase, int n) ZQV_NOTHROW;
ZQVAPI void zqvsbrPhase(const float* srcReal, const float* srcImag, float* phase, int n) ZQV_NOTHROW;
ZQVAPI void zqvzbCartToPolar(const ZqvCplxD* src, double* mag, double* phase, int n) ZQV_NOTHROW;
ZQVAPI void zqvdbrCartToPolar(const double* srcReal, const double* srcImag, double* mag, double* phase, int n) ZQV_NOTHROW;
ZQVAPI void zqvzbPolarToCart(const double* mag, const double* phase, ZqvCplxD* dst, int n) ZQV_NOTHROW;
ZQVAPI void zqvdbrPolarToCart(const double* mag, const double* phase, double* dstReal, double* dstImag, int n) ZQV_NOTHROW;
ZQVAPI void zqvzbPhase(const ZqvCplxD* src, double* phase, int n) ZQV_NOTHROW;
ZQVAPI void zqvdbrPhase(const double* srcReal, const double* srcImag, double* phase, int n) ZQV_NOTHROW;
ZQVAPI void zqvvbPhase(const ZqvCplxW* src, int16_t* phase, int n) ZQV_NOTHROW;
ZQVAPI void zqvwbrPhase(const int16_t* srcReal, const int16_t* srcImag, int16_t* phase, int n) ZQV_NOTHROW;

/* 16-bit magnitude and power spectrum under scaleMode: 0 wrap, 1 saturate,
 * 2 right shift by *scaleFactor then wrap, 3 the same saturated, 4 automatic
 * (*scaleFactor is the smallest shift to use and receives the shift used).
 * Other modes do nothing. */
ZQVAPI void zqvvbMag(const ZqvCplxW* src, int16_t* mag, int n, int scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwbrMag(const int16_t* srcReal, const int16_t* srcImag, int16_t* mag, int n, int scaleMode,
                      int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvvbPowerSpectr(const ZqvCplxW* src, int16_t* spectr, int n, int scaleMode,
                             int32_t* scaleFactor) ZQV_NOTHROW;
ZQVAPI void zqvwbrPowerSpectr(const int16_t* srcReal, const int16_t* srcImag, int16_t* spectr, int n,
                              int scaleMode, int32_t* scaleFactor) ZQV_NOTHROW;

/* A-law and mu-law coding. Codes are bytes; mu-law codes are the standard
 * bytes, A-law codes the standard bytes XOR 0x55 (without the alternate-bit
 * inversion). Linear scales: 16-bit samples as they are, 32-bit samples with
 * the 16-bit value in their upper half, float and double with full scale 1.0.
 * Nothing is done while the thread's status is negative. */
ZQVAPI void zqvwbLinToALaw(const int16_t* src, uint8_t* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvwbLinToMuLaw(const int16_t* src, uint8_t* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvibLinToALaw(const int32_t* src, uint8_t* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvibLinToMuLaw(const int32_t* src, uint8_t* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvsbLinToALaw(const float* src, uint8_t* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvsbLinToMuLaw(const float* src, uint8_t* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvdbLinToALaw(const double* src, uint8_t* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvdbLinToMuLaw(const double* src, uint8_t* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvwbALawToLin(const uint8_t* src, int16_t* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvwbMuLawToLin(const uint8_t* src, int16_t* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvibALawToLin(const uint8_t* src, int32_t* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvibMuLawToLin(const uint8_t* src, int32_t* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvsbALawToLin(const uint8_t* src, float* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvsbMuLawToLin(const uint8_t* src, float* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvdbALawToLin(const uint8_t* src, double* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvdbMuLawToLin(const uint8_t* src, double* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvMuLawToALaw(const uint8_t* src, uint8_t* dst, int32_t len) ZQV_NOTHROW;
ZQVAPI void zqvALawToMuLaw(const uint8_t* src, uint8_t* dst, int32_t len) ZQV_NOTHROW;

#endif /* ZQVP4_H */
