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
#define ZQV_NOTHROW noexcept
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

/* ---- Transform flags, bit reversal, tables, FFTs ------------------------ */
/* (section: fft) */

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

#endif /* ZQVP4_H */
