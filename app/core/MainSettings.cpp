#include "core/MainSettings.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cmath>

namespace {

const char* const kGeneral = "General";
const char* const kMru = "MRU File List";
const char* const kOptions = "Options";
const char* const kVoiceNames = "Default Voice Names";
const char* const kMidi = "MIDI Input";
const char* const kWaveview = "Waveview";
const char* const kPositions = "Positions";

// Stored Mode 0..4 -> tile mode, and back.
const int kModeToTile[5] = {tmTile, tmStretch, tmCenter, tmGradient, tmNone};

int TileToMode(int tile) {
  for (int m = 0; m < 5; ++m)
    if (kModeToTile[m] == tile) return m;
  return 4;
}

void LoadBackground(const TIniFile& ini, const char* section, TBackgroundSetting& b) {
  b.Default = ini.ReadBool(section, "Default", true);
  int mode = ini.ReadInteger(section, "Mode", 0);
  if (mode >= 0 && mode <= 4) b.TileMode = kModeToTile[mode];
  b.ColorFrom = static_cast<uint32_t>(ini.ReadInteger(section, "clFrom", 0xFFFFFF));
  b.ColorTo = static_cast<uint32_t>(ini.ReadInteger(section, "clTo", 0xC0C0C0));
  b.Image = ini.ReadString(section, "Image", "");
}

void SaveBackground(TIniFile& ini, const char* section, const TBackgroundSetting& b) {
  ini.WriteBool(section, "Default", b.Default);
  ini.WriteInteger(section, "Mode", TileToMode(b.TileMode));
  ini.WriteInteger(section, "clFrom", static_cast<int>(b.ColorFrom));
  ini.WriteInteger(section, "clTo", static_cast<int>(b.ColorTo));
  ini.WriteString(section, "Image", b.Image);
}

}  // namespace

std::string TwoDigits(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", n);
  return buf;
}

std::vector<std::string> DefaultVoiceNumbers() {
  std::vector<std::string> names;
  for (int n = 1; n <= 32; ++n) names.push_back(TwoDigits(n));
  return names;
}

std::string FormatIniFloat(double value) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, r.ptr);
}

double ParseIniFloat(const std::string& text) {
  // Accept a comma as the decimal separator too, as other number formats write it.
  std::string t = text;
  for (char& c : t)
    if (c == ',') c = '.';
  size_t b = t.find_first_not_of(" \t");
  if (b == std::string::npos) return 0;
  double v = 0;
  auto r = std::from_chars(t.data() + b, t.data() + t.size(), v);
  if (r.ec != std::errc() || !std::isfinite(v)) return 0;
  return v;
}

void LoadMainSettings(const TIniFile& ini, TMainSettings& s) {
  s.OpenTime = ParseIniFloat(ini.ReadString(kGeneral, "Open Time", "0"));
  s.CalculationTime = ParseIniFloat(ini.ReadString(kGeneral, "Calculation Time", "0"));
  s.CalculatedWaves = ini.ReadInteger(kGeneral, "Calculated Waves", 0);
  s.Starts = ini.ReadInteger(kGeneral, "Starts", 0);
  s.Starts = CountedOnce(s.Starts);
  s.ShowHints = ini.ReadBool(kGeneral, "Show Hints", true);
  s.DefaultCalculationQuality = ini.ReadInteger(kGeneral, "Default Calculation Quality", 2);
  s.TopPanel = ini.ReadBool(kGeneral, "Top Panel", true);
  s.LeftPanel = ini.ReadBool(kGeneral, "Left Panel", true);
  s.BottomPanel = ini.ReadBool(kGeneral, "Bottom Panel", true);

  // Kept in key order, so #1 stays the first entry from run to run.
  s.RecentFiles.clear();
  for (int i = 1; i <= 255; ++i) {
    std::string v = ini.ReadString(kMru, "#" + std::to_string(i), "?");
    if (v == "?") break;
    s.RecentFiles.push_back(v);
  }

  LoadBackground(ini, "Background Main", s.BackgroundMain);
  LoadBackground(ini, "Background Border", s.BackgroundBorder);

  s.AutoConvert = ini.ReadBool(kOptions, "AutoConvert", false);
  s.AutoConvertProgram = ini.ReadString(kOptions, "AutoConvertProgram", TMainSettings{}.AutoConvertProgram);
  s.AutoConvertOptions = ini.ReadString(kOptions, "AutoConvertOptions", "");
  s.AutoConvertMode = ini.ReadInteger(kOptions, "AutoConvertMode", 2);

  s.DefaultVoiceNames = DefaultVoiceNumbers();
  for (int n = 1; n <= 32; ++n)
    s.DefaultVoiceNames[n - 1] = ini.ReadString(kVoiceNames, "#" + TwoDigits(n), TwoDigits(n));

  s.MidiEnabled = ini.ReadBool(kMidi, "Enabled", false);
  s.MidiUseVelocity = ini.ReadBool(kMidi, "UseVelocity", false);
  s.MidiUseSustainPedal = ini.ReadBool(kMidi, "UseSustainPedal", false);
  s.MidiDeviceID = static_cast<uint8_t>(ini.ReadInteger(kMidi, "DeviceID", 0));

  s.WaveviewDisplayMode = ini.ReadInteger(kWaveview, "Display Mode", 0);
  s.WaveviewFFTWindowing = ini.ReadInteger(kWaveview, "FFT Windowing", 0);
  s.WaveviewSonogramWindowing = ini.ReadInteger(kWaveview, "Sonogram Windowing", 0);
  s.WaveviewSonogramFFTSize = ini.ReadInteger(kWaveview, "Sonogram FFT Size", 4);
  s.WaveviewSonogramColor = ini.ReadInteger(kWaveview, "Sonogram Color", 0);
}

void SaveMainSettings(TIniFile& ini, const TMainSettings& s) {
  ini.WriteString(kGeneral, "Open Time", FormatIniFloat(s.OpenTime));
  ini.WriteString(kGeneral, "Calculation Time", FormatIniFloat(s.CalculationTime));
  ini.WriteInteger(kGeneral, "Calculated Waves", s.CalculatedWaves);
  ini.WriteInteger(kGeneral, "Starts", s.Starts);
  ini.WriteBool(kGeneral, "Show Hints", s.ShowHints);
  ini.WriteInteger(kGeneral, "Default Calculation Quality", s.DefaultCalculationQuality);
  ini.WriteBool(kGeneral, "Top Panel", s.TopPanel);
  ini.WriteBool(kGeneral, "Left Panel", s.LeftPanel);
  ini.WriteBool(kGeneral, "Bottom Panel", s.BottomPanel);

  // A name the file cannot keep is left out rather than stored changed, so
  // "Load Again" never opens another file; "?" would end the list.
  int stored = 0;
  for (const std::string& file : s.RecentFiles)
    if (IniValueKeepable(file) && file != "?") ini.WriteString(kMru, "#" + std::to_string(++stored), file);
  // Ends the list for readers that would otherwise find older, longer lists.
  ini.WriteString(kMru, "#" + std::to_string(stored + 1), "?");

  SaveBackground(ini, "Background Main", s.BackgroundMain);
  SaveBackground(ini, "Background Border", s.BackgroundBorder);

  ini.WriteBool(kOptions, "AutoConvert", s.AutoConvert);
  ini.WriteString(kOptions, "AutoConvertProgram", s.AutoConvertProgram);
  ini.WriteString(kOptions, "AutoConvertOptions", s.AutoConvertOptions);
  ini.WriteInteger(kOptions, "AutoConvertMode", s.AutoConvertMode);

  // An empty name is a name too; only a list that lacks the entry gives the
  // two-digit number.
  for (int n = 1; n <= 32; ++n)
    ini.WriteString(kVoiceNames, "#" + TwoDigits(n),
                    n <= static_cast<int>(s.DefaultVoiceNames.size()) ? s.DefaultVoiceNames[n - 1] : TwoDigits(n));

  ini.WriteBool(kMidi, "Enabled", s.MidiEnabled);
  ini.WriteBool(kMidi, "UseVelocity", s.MidiUseVelocity);
  ini.WriteBool(kMidi, "UseSustainPedal", s.MidiUseSustainPedal);
  ini.WriteInteger(kMidi, "DeviceID", s.MidiDeviceID);

  ini.WriteInteger(kWaveview, "Display Mode", s.WaveviewDisplayMode);
  ini.WriteInteger(kWaveview, "FFT Windowing", s.WaveviewFFTWindowing);
  ini.WriteInteger(kWaveview, "Sonogram Windowing", s.WaveviewSonogramWindowing);
  ini.WriteInteger(kWaveview, "Sonogram FFT Size", s.WaveviewSonogramFFTSize);
  ini.WriteInteger(kWaveview, "Sonogram Color", s.WaveviewSonogramColor);
}

TFormPlace ReadFormPlace(const TIniFile& ini, const std::string& key) {
  TFormPlace p;
  p.x = ini.ReadInteger(kPositions, key + " x", -1);
  p.y = ini.ReadInteger(kPositions, key + " y", -1);
  p.w = ini.ReadInteger(kPositions, key + " w", -1);
  p.h = ini.ReadInteger(kPositions, key + " h", -1);
  return p;
}

void WriteFormPosition(TIniFile& ini, const std::string& key, int x, int y) {
  ini.WriteInteger(kPositions, key + " x", x);
  ini.WriteInteger(kPositions, key + " y", y);
}

void WriteFormSize(TIniFile& ini, const std::string& key, int w, int h) {
  ini.WriteInteger(kPositions, key + " w", w);
  ini.WriteInteger(kPositions, key + " h", h);
}

void KeepReachable(int& x, int& y, int w, int h, const TPlaceArea& area, int grip) {
  (void)h;
  if (area.w <= 0 || area.h <= 0) return;
  // Computed in 64 bits: a stored place may be any 32-bit value.
  const long long visible = std::min<long long>(std::max(w, 1), grip);
  const long long left = static_cast<long long>(area.x) - (std::max(w, 1) - visible);
  const long long right = static_cast<long long>(area.x) + area.w - visible;
  const long long top = area.y;
  const long long bottom = static_cast<long long>(area.y) + area.h - std::min<long long>(grip, area.h);
  x = static_cast<int>(std::clamp<long long>(x, left, std::max(left, right)));
  y = static_cast<int>(std::clamp<long long>(y, top, std::max(top, bottom)));
}
