// The instrument: 32 voices, the global settings and the description. Each
// voice's fields are grouped as the voice editor's pages and the voice copy
// group them, so copying a part of a voice is one assignment. Qt-free.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/InGlobSettings.h"

struct TVoicePitch {
  std::uint8_t Note = 26;
  std::uint8_t Finetune = 50;
  bool operator==(const TVoicePitch&) const = default;
};

// The source and destination waves and how the voice morphs between them.
struct TVoiceMorph {
  std::uint8_t SourcePreset = 1;
  std::uint8_t DestPreset = 1;
  bool NoiseSource = false;
  bool NoiseDest = false;
  std::uint8_t Phase = 0;
  std::uint8_t MorphPreview = 50;
  bool operator==(const TVoiceMorph&) const = default;
};

struct TVoiceTiming {
  std::int32_t Time = 1000;  // ms
  std::int32_t Repeats = 1;
  std::int32_t StartDelay = 0;  // ms
  bool RepeatMode = false;
  bool operator==(const TVoiceTiming&) const = default;
};

struct TVoiceVolume {
  std::uint8_t Volume = 100;
  std::uint8_t Envelope = 1;
  bool operator==(const TVoiceVolume&) const = default;
};

struct TVoiceVibrato {
  std::uint8_t VibSpeedFrom = 0;
  std::uint8_t VibDepthFrom = 0;
  std::uint8_t VibSpeedTo = 0;
  std::uint8_t VibDepthTo = 0;
  bool VibDirection = false;
  bool VibCopyUp = false;
  bool VibCopyDown = true;
  bool VibSpeedFromX100 = false;
  bool VibDepthFromX100 = false;
  bool VibSpeedToX100 = false;
  bool VibDepthToX100 = false;
  bool operator==(const TVoiceVibrato&) const = default;
};

struct TVoiceLowpass {
  bool FilterActive = false;
  std::uint8_t FilterFrom = 0;
  std::uint8_t FilterTo = 0;
  bool FilterCopyUp = false;
  bool FilterCopyDown = true;
  bool operator==(const TVoiceLowpass&) const = default;
};

struct TVoice {
  static constexpr std::size_t kMaxName = 50;
  bool Active = false;
  std::string Name;
  TVoicePitch Pitch;
  TVoiceMorph Morph;
  TVoiceTiming Timing;
  TVoiceVolume Volume;
  TVoiceVibrato Vibrato;
  TVoiceLowpass Lowpass;

  bool operator==(const TVoice&) const = default;
};

// The parts of a voice the voice copy takes: general (on/off and pitch), the
// name, the source (morph and timing), volume, vibrato and lowpass.
struct TVoiceParts {
  bool General = false, Name = false, Source = false, Volume = false, Vibrato = false, Lowpass = false;
};

// Copies the chosen parts of `from` into `to`; the name is cut to its length.
void CopyVoiceParts(const TVoice& from, TVoice& to, const TVoiceParts& parts);

struct TInstrument {
  static constexpr int kVoices = 32;
  std::array<TVoice, kVoices> Voices{};
  // The global settings; the description is kept with them
  // (TInGlobSettings::Description), as the instrument file stores it.
  TInGlobSettings Globals;
};
