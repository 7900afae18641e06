// TfTools: the hidden tool window's services that every editor calls: the
// table operations on wave presets and volume envelopes (with their prompts),
// filling a combo box from a table, copying voice parts, and previews on the
// tool window's own wave output (8-bit mono, 44100 samples per second).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QObject>

#include "core/Document.h"
#include "core/Previews.h"

class QComboBox;
class TEnhWaveOut;

namespace kalvora::platform {
class AudioSink;
class Prompts;
}  // namespace kalvora::platform

class TfTools : public QObject {
  Q_OBJECT

 public:
  // With no sink given the previews use the system's default device.
  TfTools(TInstrumentDocument& document, kalvora::platform::Prompts& prompts,
          std::unique_ptr<kalvora::platform::AudioSink> previewSink = nullptr,
          QObject* parent = nullptr);
  ~TfTools() override;

  int FindWavePreset(const std::string& name) const;
  int FindVolumeEnvelope(const std::string& name) const;
  bool WavePresetExists(const std::string& name) const;
  bool VolumeEnvelopeExists(const std::string& name) const;

  // A name that exists already or a full table is refused with a message.
  TTableResult AddWavePreset(const TWavePreset& preset);
  TTableResult AddVolumeEnvelope(const TVolumeEnvelope& envelope);
  // Ask "Are you sure?"; on Yes overwrite the entry. Returns the answer; a
  // name that another entry holds is refused with a message (result Cancel).
  int ReplaceWavePreset(int index, const TWavePreset& preset);
  int ReplaceVolumeEnvelope(int index, const TVolumeEnvelope& envelope);
  // Ask "Are you sure?"; on Yes remove the entry. Returns the answer.
  int DeleteWavePreset(int index);
  int DeleteVolumeEnvelope(int index);

  // selection: -2 the combo's previous item, -1 the last item, else that item
  // (item 0 when out of range). Returns the selected entry's name ("" if none).
  std::string FillWavePresetCombo(QComboBox* combo, int selection);
  std::string FillVolumeEnvelopeCombo(QComboBox* combo, int selection);

  void PlayWavePreset(const TWavePreset& preset);
  void PlayVolumeEnvelope(const TVolumeEnvelope& envelope);

  // Copies the chosen groups of voice a to voice b; marks nothing.
  void CopyVoiceParts(int source, int destination, bool general, bool name, bool sourcePart,
                      bool volume, bool vibrato, bool lowpass);

  // y to the power x, as exp(x ln y).
  static long double Power(long double x, long double y);
  static long double Log2(long double x);

  TEnhWaveOut& WaveOut() { return *waveOut_; }
  void WaveOutDone();

 private:
  void Play(const std::vector<std::uint8_t>& block);

  TInstrumentDocument& doc_;
  kalvora::platform::Prompts& prompts_;
  std::unique_ptr<TEnhWaveOut> waveOut_;
};

// Messages of the table operations.
inline constexpr const char* kPresetExists = "A preset with this name exists already.";
inline constexpr const char* kEnvelopeExists = "A volume envelope with this name exists already.";
inline constexpr const char* kPresetTableFull =
    "The wave preset library is full (254 presets). Delete a preset first.";
inline constexpr const char* kEnvelopeTableFull =
    "The volume envelope library is full (254 envelopes). Delete an envelope first.";
inline constexpr const char* kAreYouSure = "Are you sure?";
