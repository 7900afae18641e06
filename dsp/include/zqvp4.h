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

/* ---- Number conversions, magnitude and power spectrum ------------------ */
/* (section: conversions) */

/* ---- Statistics, square, square root, absolute value -------------------- */
/* (section: vector) */

/* ---- Norms, normalization, logarithm and exponential -------------------- */
/* (section: norm) */

/* ---- Transform flags, bit reversal, tables, FFTs ------------------------ */
/* (section: fft) */

/* ---- Window functions --------------------------------------------------- */
/* (section: windows) */

#endif /* ZQVP4_H */
