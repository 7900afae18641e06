// What the instrument open dialog shows of a file before loading it: whether
// its header is an instrument's, the version as "3.0" and the description.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline constexpr const char* kInstrumentFileHeader = "Kalvora Instrument File";

struct TInstrumentFileInfo {
  bool RightHeader = false;
  std::string Version;                   // "2.9" for version byte 29; empty with a wrong header
  std::vector<std::string> Description;  // the lines that are there (a cut-off file shows fewer)
};

TInstrumentFileInfo ReadInstrumentFileInfo(const std::vector<std::uint8_t>& bytes);
