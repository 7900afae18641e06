// The main window's copies of the user settings and statistics, and how they
// are read from and written to the settings file kalvora.dai.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/IniFile.h"

// Tile modes of the background components (the values they use in memory).
enum TTileMode : int { tmNone = 0, tmCenter = 1, tmGradient = 2, tmTile = 3, tmStretch = 4 };

struct TBackgroundSetting {
  bool Default = true;
  int TileMode = tmNone;          // a TTileMode value
  uint32_t ColorFrom = 0xFFFFFF;  // 0x00BBGGRR
  uint32_t ColorTo = 0xC0C0C0;
  std::string Image;
};

// "01" .. "32": the default voice names of a settings file that names none.
std::vector<std::string> DefaultVoiceNumbers();

struct TMainSettings {
  double OpenTime = 0;         // days
  double CalculationTime = 0;  // days
  int CalculatedWaves = 0;
  int Starts = 0;
  bool ShowHints = true;
  int DefaultCalculationQuality = 2;
  bool TopPanel = true, LeftPanel = true, BottomPanel = true;
  // Entry 0 is shown first; a name the file cannot keep (IniValueKeepable)
  // is not stored.
  std::vector<std::string> RecentFiles;
  TBackgroundSetting BackgroundMain, BackgroundBorder;
  bool AutoConvert = false;
  std::string AutoConvertProgram = "wavconvert";
  std::string AutoConvertOptions;
  int AutoConvertMode = 2;
  std::vector<std::string> DefaultVoiceNames = DefaultVoiceNumbers();
  bool MidiEnabled = false, MidiUseVelocity = false, MidiUseSustainPedal = false;
  uint8_t MidiDeviceID = 0;
  int WaveviewDisplayMode = 0, WaveviewFFTWindowing = 0, WaveviewSonogramWindowing = 0,
      WaveviewSonogramFFTSize = 4, WaveviewSonogramColor = 0;
};

// A statistics counter one higher; held at the largest value the settings
// file stores, where adding one would overflow.
inline int CountedOnce(int count) { return count < 0x7FFFFFFF ? count + 1 : count; }

// Reads every key except the window positions; adds one to Starts.
void LoadMainSettings(const TIniFile& ini, TMainSettings& s);
// Writes every key except the window positions (the caller writes those).
void SaveMainSettings(TIniFile& ini, const TMainSettings& s);

// Shortest decimal text that reads back to the same value, and its reader
// (a text that is not a number reads as 0).
std::string FormatIniFloat(double value);
double ParseIniFloat(const std::string& text);

// The two-digit key number of a default voice name ("01" .. "32").
std::string TwoDigits(int n);

// Window places under the section Positions: key + " x"/" y"/" w"/" h";
// -1 (or a missing key) keeps what the window has.
struct TFormPlace {
  int x = -1, y = -1, w = -1, h = -1;
};
TFormPlace ReadFormPlace(const TIniFile& ini, const std::string& key);
void WriteFormPosition(TIniFile& ini, const std::string& key, int x, int y);
void WriteFormSize(TIniFile& ini, const std::string& key, int w, int h);

// Where a window of size w x h asked for (x, y) is put so that it stays
// reachable inside the area (the screen, or the main window's client area
// for a child): at least `grip` pixels of it across and its title bar inside.
// An empty area keeps the place as asked.
struct TPlaceArea {
  int x = 0, y = 0, w = 0, h = 0;
};
void KeepReachable(int& x, int& y, int w, int h, const TPlaceArea& area, int grip = 40);
