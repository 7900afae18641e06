// The library frame: per-thread contexts, the sticky error status, error modes,
// the report routines and the version record.
#include "core/zqvframe.h"

#include <pthread.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

namespace {

const ZqvContext zqvContextTemplate = {
    ZQV_NO_ERROR, ZQV_ErrorModeLeaf, zqvGuiBoxReport, 32, ZqvCacheGroup1{}, {}, ZqvCacheGroup2{}};

const ZqvLibVersion zqvLibVersion = {
    3, 0, 13, "zqvp4.dll", "v4.0 Release Candidate", "[4.00.12, 05/15/97]", "May 19 1997", "DLL"};

const char* const zqvStatusTexts[] = {
    "No Error",      "Backtrace",    "Unknown error",
    "Internal error (bad state)",    "Out of memory",
    "Bad argument",  "Unsupported function",
    "Iteration convergence failed",  "Autotrace call"};

std::atomic<ZqvMessageBoxFn> messageBoxHook{nullptr};

// Process-wide: the thread-exit key and every live context, so that unloading
// frees the contexts of threads that are still running.
pthread_key_t zqvTlsSlot;
int32_t zqvAttachCount = 0;
// Each context sits at the start of a node of a list of live contexts.
struct ContextNode {
  ZqvContext ctx;
  ContextNode* prev;
  ContextNode* next;
};
std::mutex registryMutex;
ContextNode* registry = nullptr;
thread_local ZqvContext* threadContext = nullptr;

int32_t showMessageBox(const char* text, const char* caption, uint32_t flags) {
  if (ZqvMessageBoxFn hook = messageBoxHook.load()) return hook(text, caption, flags);
  std::fprintf(stderr, "%s\n%s\n", caption, text);
  std::fflush(stderr);
  return (flags & 0xF) == ZQV_MB_YESNO ? ZQV_IDNO : ZQV_IDOK;
}

// The process ends here; the text also goes to standard error so that it
// survives a host whose box went unseen.
[[noreturn]] void fatalAppExit(const char* text) {
  if (messageBoxHook.load()) {
    std::fprintf(stderr, "%s\n", text);
    std::fflush(stderr);
  }
  showMessageBox(text, "Fatal Application Exit", ZQV_MB_OK | ZQV_MB_SYSTEMMODAL);
  std::exit(1);
}

void releaseContext(ContextNode* node) {
  zqvReleaseCaches(&node->ctx);
  std::free(node);
}

void threadDetach(void* block) {
  auto* node = static_cast<ContextNode*>(block);
  if (!node) return;
  {
    std::lock_guard<std::mutex> lock(registryMutex);
    if (node->prev) node->prev->next = node->next; else registry = node->next;
    if (node->next) node->next->prev = node->prev;
  }
  releaseContext(node);
}

__attribute__((constructor)) void processAttach() {
  if (zqvAttachCount == 0) {
    if (pthread_key_create(&zqvTlsSlot, threadDetach) != 0) {
      std::fputs("zqvp4: no thread-local slot\n", stderr);
      std::abort();
    }
  }
  ++zqvAttachCount;
}

__attribute__((destructor)) void processDetach() {
  if (--zqvAttachCount != 0) return;
  std::lock_guard<std::mutex> lock(registryMutex);
  while (ContextNode* node = registry) {
    registry = node->next;
    releaseContext(node);
  }
  threadContext = nullptr;
  pthread_key_delete(zqvTlsSlot);
}

ZqvContext* attachThread() {
  auto* node = static_cast<ContextNode*>(std::malloc(sizeof(ContextNode)));
  if (!node) return nullptr;
  std::memcpy(static_cast<void*>(&node->ctx), &zqvContextTemplate, sizeof(ZqvContext));
  {
    std::lock_guard<std::mutex> lock(registryMutex);
    node->prev = nullptr;
    node->next = registry;
    if (registry) registry->prev = node;
    registry = node;
  }
  pthread_setspecific(zqvTlsSlot, node);
  return &node->ctx;
}

const char* orEmpty(const char* s) { return s ? s : ""; }

}  // namespace

ZqvContext* zqvFetchContext() noexcept {
  if (ZqvContext* ctx = threadContext) return ctx;
  threadContext = attachThread();
  if (!threadContext) {
    showMessageBox("pZqvContext", "NULL", ZQV_MB_OK);
    fatalAppExit("ZQL Library error:\nBad ZQL Context\nTerminating the application");
  }
  return threadContext;
}

bool zqvCheckAll(ZqvSite site, std::initializer_list<ZqvCheck> checks) noexcept {
  for (const ZqvCheck& c : checks)
    if (c.failed) zqvError(c.status, site.func, c.message, site.module, c.line);
  return zqvStatusNegative();
}

bool zqvCheckFirst(ZqvSite site, std::initializer_list<ZqvCheck> checks) noexcept {
  for (const ZqvCheck& c : checks)
    if (c.failed) {
      zqvError(c.status, site.func, c.message, site.module, c.line);
      return true;
    }
  return false;
}

ZQVAPI ZqvMessageBoxFn zqvSetMessageBoxHook(ZqvMessageBoxFn fn) noexcept {
  return messageBoxHook.exchange(fn);
}

ZQVAPI ZqvContext* zqvUndContext(void) noexcept { return zqvFetchContext(); }

ZQVAPI int32_t zqvGetErrStatus(void) noexcept { return zqvFetchContext()->errStatus; }

ZQVAPI void zqvSetErrStatus(int32_t status) noexcept { zqvFetchContext()->errStatus = status; }

ZQVAPI int32_t zqvGetErrMode(void) noexcept { return zqvFetchContext()->errMode; }

ZQVAPI void zqvSetErrMode(int32_t mode) noexcept { zqvFetchContext()->errMode = mode; }

ZQVAPI ZqvReportFn zqvRedirectError(ZqvReportFn fn) noexcept {
  ZqvContext* ctx = zqvFetchContext();
  ZqvReportFn previous = ctx->reportFn;
  ctx->reportFn = fn ? fn : zqvGuiBoxReport;
  return previous;
}

ZQVAPI int32_t zqvError(int32_t status, const char* funcName, const char* message,
                        const char* file, int32_t line) noexcept {
  ZqvContext* ctx = zqvFetchContext();
  if (status != ZQV_BACKTRACE && status != ZQV_AUTOTRACE) ctx->errStatus = status;
  if (status == ZQV_NO_ERROR) return 0;
  return ctx->reportFn(status, funcName, message, file, line);
}

ZQVAPI int32_t zqvGuiBoxReport(int32_t status, const char* funcName, const char* message,
                               const char* file, int32_t line) noexcept {
  const int32_t mode = zqvGetErrMode();
  if (mode == ZQV_ErrorModeSilent) return status;
  if (!funcName) funcName = "<unknown>";
  message = orEmpty(message);
  file = orEmpty(file);
  if (line < 0) line = 0;
  const char* suffix = mode == ZQV_ErrorModeLeaf ? "\n\nErrMode=ZQV_ErrorModeLeaf\n\nTerminate the application?"
                     : mode == ZQV_ErrorModeParent ? "\n\nErrMode=ZQV_ErrorModeParent\n\nContinue?"
                                                   : "";
  const char* format = status == ZQV_BACKTRACE   ? "called from [%s:%d]:%s():\n %s%s"
                     : status == ZQV_AUTOTRACE   ? "called from [%s:%d]:\n %s(%s)%s"
                                                 : "in function [%s:%d]:%s():\n %s%s";
  char text[200];
  std::snprintf(text, sizeof text, format, file, line, funcName, message, suffix);
  char caption[100];
  std::snprintf(caption, sizeof caption, "ZQL Library Error: %s", zqvErrorStr(zqvGetErrStatus()));

  bool endProcess = false;
  if (mode == ZQV_ErrorModeParent)
    endProcess = showMessageBox(text, caption, ZQV_MB_OKCANCEL | ZQV_MB_SYSTEMMODAL) == ZQV_IDCANCEL;
  else if (mode == ZQV_ErrorModeLeaf)
    endProcess = showMessageBox(text, caption, ZQV_MB_YESNO | ZQV_MB_SYSTEMMODAL) == ZQV_IDYES;
  if (endProcess) fatalAppExit("ZQL Library:\nterminating the application");
  return status;
}

ZQVAPI int32_t zqvStdErrReport(int32_t status, const char* funcName, const char* message,
                               const char* file, int32_t line) noexcept {
  const int32_t mode = zqvGetErrMode();
  if (mode == ZQV_ErrorModeSilent) return status;
  const bool trace = status == ZQV_BACKTRACE || status == ZQV_AUTOTRACE;
  if (trace)
    std::fputs("\tcalled from", stderr);
  else
    std::fprintf(stderr, "\nZQL Library Error: %s \n\tin function", zqvErrorStr(status));
  if (line > 0 || file) std::fprintf(stderr, " [%s:%d]", orEmpty(file), line);
  std::fprintf(stderr, ":%s", funcName ? funcName : "<unknown>");
  if (message) std::fprintf(stderr, status == ZQV_AUTOTRACE ? "(%s)" : "(): %s", message);
  std::fputs("\n", stderr);
  std::fflush(stderr);
  if (mode == ZQV_ErrorModeLeaf) {
    std::fputs("ZQL Library Error\nErrMode=ZQV_ErrModeLeaf\nterminating the application", stderr);
    std::fflush(stderr);
    std::exit(1);
  }
  return status;
}

ZQVAPI int32_t zqvNulDevReport(int32_t status, const char*, const char*, const char*, int32_t) noexcept {
  if (zqvGetErrMode() == ZQV_ErrorModeLeaf) std::exit(1);
  return status;
}

ZQVAPI const char* zqvErrorStr(int32_t status) noexcept {
  if (status >= ZQV_AUTOTRACE && status <= ZQV_NO_ERROR) return zqvStatusTexts[-status];
  ZqvContext* ctx = zqvFetchContext();
  std::snprintf(ctx->statusText, sizeof ctx->statusText, "Unknown %s code %d",
                status < 0 ? "error" : "status", status);
  return ctx->statusText;
}

ZQVAPI const ZqvLibVersion* zqvGetLibVersion(void) noexcept { return &zqvLibVersion; }
