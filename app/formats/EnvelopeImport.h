// Volume-envelope text files: a header line, the name, the point count, then
// one "time level" pair per line. Qt-free; reads the file's bytes.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/Library.h"

inline constexpr const char* kEnvelopeTextHeader = "Kalvora Volume Envelope Text File";
inline constexpr const char* kEnvelopeWrongFormat = "Incorrect file format, please read the help file.";
inline constexpr const char* kEnvelopeImportCaption = "Kalvora in trouble";
// Counts and values that a byte would silently wrap are refused.
inline constexpr const char* kEnvelopeCountOutOfRange = "The point count is outside 1..255.";
inline constexpr const char* kEnvelopeValueOutOfRange = "A point time or level is outside 0..255.";

// What() is the text to show; `WrongFormat` tells the header failure (shown
// in its own message box) from the other read failures.
class EEnvelopeImportError : public std::runtime_error {
 public:
  EEnvelopeImportError(const std::string& what, bool wrongFormat)
      : std::runtime_error(what), WrongFormat(wrongFormat) {}
  bool WrongFormat;
};

// Throws EEnvelopeImportError.
TVolumeEnvelope ReadEnvelopeText(const std::vector<std::uint8_t>& bytes);
