#include "Tools.h"

#include <QComboBox>
#include <cmath>

#include "Windows1252.h"
#include "components/EnhWave.h"
#include "platform/AudioSink.h"
#include "platform/Prompts.h"

using kalvora::platform::mrCancel;
using kalvora::platform::mrYes;

std::array<std::uint8_t, 1021> ExpandVolumeEnvelope(const TVolumeEnvelope& e) {
  std::array<std::uint8_t, 1021> table{};
  const int count = std::min<int>(e.Count, TVolumeEnvelope::kMaxPoints);
  for (int p = 0; p + 1 < count; ++p) {
    const int x0 = e.X[p] * 4, x1 = e.X[p + 1] * 4;
    const int y0 = e.Y[p], y1 = e.Y[p + 1];
    if (x1 < x0) continue;
    const int span = std::max(x1 - x0, 1);
    for (int i = x0; i <= x1; ++i) {
      // Quotient and product are kept as floats, the sum is not.
      const float q = static_cast<float>(static_cast<long double>(i - x0) / span);
      const float step = static_cast<float>(static_cast<long double>(y1 - y0) * q);
      table[static_cast<std::size_t>(i)] =
          static_cast<std::uint8_t>(std::trunc(static_cast<long double>(y0) + step));
    }
  }
  return table;
}

std::vector<std::uint8_t> WavePresetPreview(const TWavePreset& p) {
  // 200 cycles; the values are played as they are (75 is not re-centred).
  std::vector<std::uint8_t> block;
  block.reserve(30000);
  for (int r = 0; r < 200; ++r) block.insert(block.end(), p.Data.begin(), p.Data.end());
  return block;
}

std::vector<std::uint8_t> VolumeEnvelopePreview(const TVolumeEnvelope& e) {
  // A 1102.5 Hz square wave (40 samples a period) shaped by the envelope.
  const auto levels = ExpandVolumeEnvelope(e);
  std::vector<std::uint8_t> block(90000);
  for (int i = 0; i < 90000; ++i) {
    const long double l = levels[static_cast<std::size_t>(
        std::trunc(static_cast<long double>(i) / 89999.0L * 1020.0L))];
    const long double s = i % 40 < 20 ? -1.0L : 1.0L;
    block[static_cast<std::size_t>(i)] =
        static_cast<std::uint8_t>(std::nearbyint(l * s / 255.0L * 127.0L + 128.0L));
  }
  return block;
}

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
  const TVoice a = doc_.Voice(source);
  TVoice& b = doc_.Voice(destination);
  if (general) {
    b.Active = a.Active;
    b.Note = a.Note;
    b.Finetune = a.Finetune;
  }
  if (name) b.Name = CutName(a.Name, TVoice::kMaxName);
  if (sourcePart) {
    b.SourcePreset = a.SourcePreset;
    b.DestPreset = a.DestPreset;
    b.Time = a.Time;
    b.Repeats = a.Repeats;
    b.RepeatMode = a.RepeatMode;
    b.MorphPreview = a.MorphPreview;
    b.Phase = a.Phase;
    b.StartDelay = a.StartDelay;
    b.NoiseSource = a.NoiseSource;
    b.NoiseDest = a.NoiseDest;
  }
  if (volume) {
    b.Volume = a.Volume;
    b.Envelope = a.Envelope;
  }
  if (vibrato) {
    b.VibSpeedFrom = a.VibSpeedFrom;
    b.VibDepthFrom = a.VibDepthFrom;
    b.VibSpeedTo = a.VibSpeedTo;
    b.VibDepthTo = a.VibDepthTo;
    b.VibDirection = a.VibDirection;
    b.VibCopyUp = a.VibCopyUp;
    b.VibCopyDown = a.VibCopyDown;
    b.VibSpeedFromX100 = a.VibSpeedFromX100;
    b.VibDepthFromX100 = a.VibDepthFromX100;
    b.VibSpeedToX100 = a.VibSpeedToX100;
    b.VibDepthToX100 = a.VibDepthToX100;
  }
  if (lowpass) {
    b.FilterActive = a.FilterActive;
    b.FilterFrom = a.FilterFrom;
    b.FilterTo = a.FilterTo;
    b.FilterCopyUp = a.FilterCopyUp;
    b.FilterCopyDown = a.FilterCopyDown;
  }
}

long double TfTools::Power(long double x, long double y) { return std::exp(x * std::log(y)); }

long double TfTools::Log2(long double x) { return std::log2(x); }
