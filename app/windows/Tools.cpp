#include "windows/Tools.h"

#include <QComboBox>
#include <cmath>

#include "views/Windows1252.h"
#include "components/EnhWave.h"
#include "platform/AudioSink.h"
#include "platform/Prompts.h"

using kalvora::platform::mrCancel;
using kalvora::platform::mrYes;

TfTools::TfTools(TInstrumentDocument& document, kalvora::platform::Prompts& prompts,
                 std::unique_ptr<kalvora::platform::AudioSink> previewSink, QObject* parent)
    : QObject(parent),
      doc_(document),
      prompts_(prompts),
      waveOut_(std::make_unique<TEnhWaveOut>(this, std::move(previewSink))) {
  setObjectName("fTools");
  waveOut_->setChannels(1);
  waveOut_->setSamples(44100);
  waveOut_->setSampleBits(8);
  waveOut_->OnDone = [this](QObject*) { WaveOutDone(); };
}

TfTools::~TfTools() { waveOut_->Close(); }

int TfTools::FindWavePreset(const std::string& name) const { return doc_.WavePresets.Find(name); }
int TfTools::FindVolumeEnvelope(const std::string& name) const {
  return doc_.VolumeEnvelopes.Find(name);
}
bool TfTools::WavePresetExists(const std::string& name) const {
  return doc_.WavePresets.Exists(name);
}
bool TfTools::VolumeEnvelopeExists(const std::string& name) const {
  return doc_.VolumeEnvelopes.Exists(name);
}

TTableResult TfTools::AddWavePreset(const TWavePreset& preset) {
  const TTableResult r = doc_.AddWavePreset(preset);
  if (r == TTableResult::NameExists) prompts_.message(kPresetExists);
  if (r == TTableResult::Full) prompts_.message(kPresetTableFull);
  return r;
}

TTableResult TfTools::AddVolumeEnvelope(const TVolumeEnvelope& envelope) {
  const TTableResult r = doc_.AddVolumeEnvelope(envelope);
  if (r == TTableResult::NameExists) prompts_.message(kEnvelopeExists);
  if (r == TTableResult::Full) prompts_.message(kEnvelopeTableFull);
  return r;
}

int TfTools::ReplaceWavePreset(int index, const TWavePreset& preset) {
  const int other = doc_.WavePresets.Find(CutName(preset.Name, TWavePreset::kMaxName));
  if (other != 0 && other != index) {
    prompts_.message(kPresetExists);
    return mrCancel;
  }
  const int answer = prompts_.confirm(kAreYouSure);
  if (answer == mrYes && doc_.ReplaceWavePreset(index, preset)) doc_.MarkChanged();
  return answer;
}

int TfTools::ReplaceVolumeEnvelope(int index, const TVolumeEnvelope& envelope) {
  const int other =
      doc_.VolumeEnvelopes.Find(CutName(envelope.Name, TVolumeEnvelope::kMaxName));
  if (other != 0 && other != index) {
    prompts_.message(kEnvelopeExists);
    return mrCancel;
  }
  const int answer = prompts_.confirm(kAreYouSure);
  if (answer == mrYes && doc_.ReplaceVolumeEnvelope(index, envelope)) doc_.MarkChanged();
  return answer;
}

int TfTools::DeleteWavePreset(int index) {
  const int answer = prompts_.confirm(kAreYouSure);
  if (answer == mrYes) {
    doc_.DeleteWavePreset(index);
    doc_.MarkChanged();
  }
  return answer;
}

int TfTools::DeleteVolumeEnvelope(int index) {
  const int answer = prompts_.confirm(kAreYouSure);
  if (answer == mrYes) {
    doc_.DeleteVolumeEnvelope(index);
    doc_.MarkChanged();
  }
  return answer;
}

namespace {

template <class Table>
std::string FillCombo(QComboBox* combo, const Table& table, int selection) {
  const int remembered = combo->count() > 0 ? combo->currentIndex() : 0;
  combo->clear();
  for (int i = 1; i <= table.Count(); ++i) combo->addItem(FromWindows1252(table[i].Name));
  int item = selection == -2 ? remembered : selection == -1 ? combo->count() - 1 : selection;
  if (item < 0 || item >= combo->count()) item = 0;
  if (combo->count() == 0) return {};
  combo->setCurrentIndex(item);
  return table[item + 1].Name;
}

}  // namespace

std::string TfTools::FillWavePresetCombo(QComboBox* combo, int selection) {
  return FillCombo(combo, doc_.WavePresets, selection);
}

std::string TfTools::FillVolumeEnvelopeCombo(QComboBox* combo, int selection) {
  return FillCombo(combo, doc_.VolumeEnvelopes, selection);
}

void TfTools::Play(const std::vector<std::uint8_t>& block) {
  if (!waveOut_->IsOpen()) waveOut_->Open();
  waveOut_->Write(block.data(), block.size());
}

void TfTools::PlayWavePreset(const TWavePreset& preset) { Play(WavePresetPreview(preset)); }

void TfTools::PlayVolumeEnvelope(const TVolumeEnvelope& envelope) {
  Play(VolumeEnvelopePreview(envelope));
}

void TfTools::WaveOutDone() {
  // The done notification of the last queued block closes the device; an
  // earlier one leaves it open for the blocks still playing.
  if (waveOut_->IsOpen() && !waveOut_->IsPlaying()) waveOut_->Close();
}

void TfTools::CopyVoiceParts(int source, int destination, bool general, bool name,
                             bool sourcePart, bool volume, bool vibrato, bool lowpass) {
  ::CopyVoiceParts(doc_.Voice(source), doc_.Voice(destination),
                   {general, name, sourcePart, volume, vibrato, lowpass});
}

long double TfTools::Power(long double x, long double y) { return std::exp(x * std::log(y)); }

long double TfTools::Log2(long double x) { return std::log2(x); }
