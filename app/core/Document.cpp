#include "core/Document.h"

#include <cmath>
#include <cstdio>
#include <numeric>
#include <stdexcept>
#include <utility>

std::string CutName(std::string name, std::size_t maxLength) {
  if (name.size() > maxLength) name.resize(maxLength);
  return name;
}

long double SemitoneExponent() {
  const long double c = std::log(2.0L) / 12.0L;
  // Keep 40 significant bits, rounded to nearest, as a 48-bit real holds them.
  int exponent = 0;
  const long double mantissa = std::frexp(c, &exponent);
  return std::ldexp(std::nearbyint(std::ldexp(mantissa, 40)), exponent - 40);
}

TInstrumentDocument::TInstrumentDocument() : Work(kWorkIdle, 0.0f) {
  BuildPitchTables();
  for (int n = 1; n <= kVoices; ++n) ResetVoice(n);
  Instrument.Voices[0].Active = true;
}

TVoice& TInstrumentDocument::Voice(int n) {
  if (n < 1 || n > kVoices) throw std::out_of_range("voice number out of range");
  return Instrument.Voices[static_cast<std::size_t>(n - 1)];
}

const TVoice& TInstrumentDocument::Voice(int n) const {
  return const_cast<TInstrumentDocument*>(this)->Voice(n);
}

void TInstrumentDocument::ResetVoice(int n) {
  TVoice& v = Voice(n);
  v = TVoice{};
  char number[8];
  std::snprintf(number, sizeof number, "%02d", n);
  v.Name = number;
  if (static_cast<std::size_t>(n - 1) < DefaultVoiceNames.size())
    v.Name = CutName(DefaultVoiceNames[static_cast<std::size_t>(n - 1)], TVoice::kMaxName);
  const int sawtooth = WavePresets.Find("Sawtooth");
  v.Morph.SourcePreset = static_cast<std::uint8_t>(sawtooth != 0 ? sawtooth : 1);
  v.Morph.DestPreset = v.Morph.SourcePreset;
}

bool TInstrumentDocument::AnyVoiceActive() const {
  for (const TVoice& v : Instrument.Voices)
    if (v.Active) return true;
  return false;
}

void TInstrumentDocument::SetSampleUpToDate(bool flag) {
  sampleUpToDate_ = flag;
  if (!flag) {
    ++sampleChanges_;
    SetInstrumentUpToDate(false);
  }
}

void TInstrumentDocument::MarkChanged() {
  SetSampleUpToDate(false);
  if (OnChanged) OnChanged();
}

// --- table operations -------------------------------------------------------

namespace {

template <class Entry>
TTableResult AddEntry(TLibraryTable<Entry>& table, Entry e, bool& modified) {
  e.Name = CutName(std::move(e.Name), Entry::kMaxName);
  if (table.Exists(e.Name)) return TTableResult::NameExists;
  if (table.Full()) return TTableResult::Full;
  table.PushBack(std::move(e));
  modified = true;
  return TTableResult::Added;
}

template <class Entry>
bool NameTakenByOther(const TLibraryTable<Entry>& table, int index, std::string_view name) {
  for (int i = 1; i <= table.Count(); ++i)
    if (i != index && table[i].Name == name) return true;
  return false;
}

template <class Entry>
bool ReplaceEntry(TLibraryTable<Entry>& table, int index, Entry e, bool& modified) {
  e.Name = CutName(std::move(e.Name), Entry::kMaxName);
  Entry& slot = table.At(index);  // validates the index first
  if (NameTakenByOther(table, index, e.Name)) return false;
  slot = std::move(e);
  modified = true;
  return true;
}

// Old index (1..Count) -> new index after deleting `index`; 0 for the deleted one.
std::vector<int> MapAfterDelete(int count, int index) {
  std::vector<int> map(static_cast<std::size_t>(count) + 1, 0);
  for (int i = 1; i <= count; ++i) map[i] = i < index ? i : (i == index ? 0 : i - 1);
  return map;
}

template <class Entry>
std::vector<int> SortEntries(TLibraryTable<Entry>& table, bool ascending) {
  // Bubble sort that carries the original positions with it.
  auto& entries = table.Entries();
  std::vector<int> origin(entries.size());
  std::iota(origin.begin(), origin.end(), 1);
  bool swapped = true;
  while (swapped) {
    swapped = false;
    for (std::size_t c = 0; c + 1 < entries.size(); ++c) {
      const int cmp = entries[c].Name.compare(entries[c + 1].Name);
      if (ascending ? cmp > 0 : cmp < 0) {
        std::swap(entries[c], entries[c + 1]);
        std::swap(origin[c], origin[c + 1]);
        swapped = true;
      }
    }
  }
  std::vector<int> map(entries.size() + 1, 0);
  for (std::size_t i = 0; i < origin.size(); ++i) map[origin[i]] = static_cast<int>(i) + 1;
  return map;
}

std::vector<int> MapAfterSwap(int count, int a, int b) {
  std::vector<int> map(static_cast<std::size_t>(count) + 1);
  std::iota(map.begin(), map.end(), 0);
  std::swap(map[a], map[b]);
  return map;
}

// Voices that named an entry that no longer exists take entry 1.
std::uint8_t Remapped(std::uint8_t old, const std::vector<int>& map) {
  if (old == 0 || old >= map.size()) return old;  // not an entry index; leave as it is
  const int moved = map[old];
  return static_cast<std::uint8_t>(moved != 0 ? moved : 1);
}

}  // namespace

void TInstrumentDocument::RemapPresets(const std::vector<int>& map) {
  for (TVoice& v : Instrument.Voices) {
    v.Morph.SourcePreset = Remapped(v.Morph.SourcePreset, map);
    v.Morph.DestPreset = Remapped(v.Morph.DestPreset, map);
  }
}

void TInstrumentDocument::RemapEnvelopes(const std::vector<int>& map) {
  for (TVoice& v : Instrument.Voices) v.Volume.Envelope = Remapped(v.Volume.Envelope, map);
}

TTableResult TInstrumentDocument::AddWavePreset(TWavePreset p) {
  return AddEntry(WavePresets, std::move(p), WavePresetsModified);
}

TTableResult TInstrumentDocument::AddVolumeEnvelope(TVolumeEnvelope e) {
  return AddEntry(VolumeEnvelopes, std::move(e), VolumeEnvelopesModified);
}

bool TInstrumentDocument::ReplaceWavePreset(int index, TWavePreset p) {
  return ReplaceEntry(WavePresets, index, std::move(p), WavePresetsModified);
}

bool TInstrumentDocument::ReplaceVolumeEnvelope(int index, TVolumeEnvelope e) {
  return ReplaceEntry(VolumeEnvelopes, index, std::move(e), VolumeEnvelopesModified);
}

void TInstrumentDocument::DeleteWavePreset(int index) {
  WavePresets.At(index);  // validates
  auto map = MapAfterDelete(WavePresets.Count(), index);
  WavePresets.Entries().erase(WavePresets.Entries().begin() + (index - 1));
  WavePresetsModified = true;
  RemapPresets(map);
}

void TInstrumentDocument::DeleteVolumeEnvelope(int index) {
  VolumeEnvelopes.At(index);
  auto map = MapAfterDelete(VolumeEnvelopes.Count(), index);
  VolumeEnvelopes.Entries().erase(VolumeEnvelopes.Entries().begin() + (index - 1));
  VolumeEnvelopesModified = true;
  RemapEnvelopes(map);
}

void TInstrumentDocument::SwapWavePresets(int a, int b) {
  std::swap(WavePresets.At(a), WavePresets.At(b));
  WavePresetsModified = true;
  RemapPresets(MapAfterSwap(WavePresets.Count(), a, b));
}

void TInstrumentDocument::SwapVolumeEnvelopes(int a, int b) {
  std::swap(VolumeEnvelopes.At(a), VolumeEnvelopes.At(b));
  VolumeEnvelopesModified = true;
  RemapEnvelopes(MapAfterSwap(VolumeEnvelopes.Count(), a, b));
}

void TInstrumentDocument::SortWavePresets(bool ascending) {
  RemapPresets(SortEntries(WavePresets, ascending));
  WavePresetsModified = true;
}

void TInstrumentDocument::SortVolumeEnvelopes(bool ascending) {
  RemapEnvelopes(SortEntries(VolumeEnvelopes, ascending));
  VolumeEnvelopesModified = true;
}

bool TInstrumentDocument::RenameWavePreset(int index, std::string name) {
  TWavePreset& p = WavePresets.At(index);
  name = CutName(std::move(name), TWavePreset::kMaxName);
  if (WavePresets.Exists(name)) return false;
  p.Name = std::move(name);
  WavePresetsModified = true;
  return true;
}

bool TInstrumentDocument::RenameVolumeEnvelope(int index, std::string name) {
  TVolumeEnvelope& e = VolumeEnvelopes.At(index);
  name = CutName(std::move(name), TVolumeEnvelope::kMaxName);
  if (VolumeEnvelopes.Exists(name)) return false;
  e.Name = std::move(name);
  VolumeEnvelopesModified = true;
  return true;
}

// --- pitch tables and paths ---------------------------------------------------

void TInstrumentDocument::BuildPitchTables() {
  const long double c = SemitoneExponent();
  for (int i = 0; i < kNotes; ++i) {
    NoteRatio[i] = static_cast<float>(std::exp(c * (i - 38)));
    NoteFrequency[i] = static_cast<double>(55.0L * std::exp(c * (i - 9)));
  }
  // Octaves of the reference note are exact.
  NoteRatio[2] = 0.125f;
  NoteRatio[14] = 0.25f;
  NoteRatio[26] = 0.5f;
  NoteRatio[38] = 1.0f;
  NoteRatio[50] = 2.0f;
  NoteRatio[62] = 4.0f;
}

void TInstrumentDocument::SetDataFolder(const std::filesystem::path& folder) {
  DataFolder = folder;
  SettingsPath = folder / "kalvora.dai";
  WavePresetPath = folder / "kalvora.dap";
  VolumeEnvelopePath = folder / "kalvora.dav";
  MacroPath = folder / "kalvora.dam";
  DescriptionPath = folder / "kalvora.dad";
  HelpPath = folder / "kalvora.hlp";
}
