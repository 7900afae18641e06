// Where the voice editor and the copy-voice dialog send one macro step per
// edit while recording is on (the document's Recording flag). The macro
// recorder fills it; editors only call it.
#ifndef KALVORA_CORE_MACRORECORDER_H
#define KALVORA_CORE_MACRORECORDER_H

#include <cstdint>
#include <string>

class IMacroRecorder {
 public:
  virtual ~IMacroRecorder() = default;
  // Integer steps carry the new value, or in relative recording the change
  // (new minus old); the caller computes which.
  virtual void RecordIntStep(int code, std::int32_t value) = 0;
  virtual void RecordBoolStep(int code, bool value) = 0;
  virtual void RecordTextStep(int code, const std::string& text) = 0;
};

#endif
