#include "formats/InstrumentFile.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <string>

#include "formats/ByteStream.h"

namespace {

std::uint8_t Clamped(std::uint8_t v, std::uint8_t hi) { return std::min(v, hi); }

// A flag is true only when the byte is exactly 1.
bool Flag(TByteReader& in) { return in.ReadByte() == 1; }

TStagedPreset ReadPresetRef(TByteReader& in, bool inline_) {
  TStagedPreset p;
  p.ByName = !inline_;
  p.Preset.Name = CutName(in.ReadString(), TWavePreset::kMaxName);
  if (inline_)
    for (auto& d : p.Preset.Data) d = in.ReadByte();
  return p;
}

TStagedEnvelope ReadEnvelopeRef(TByteReader& in, bool inline_) {
  TStagedEnvelope e;
  e.ByName = !inline_;
  e.Envelope.Name = CutName(in.ReadString(), TVolumeEnvelope::kMaxName);
  if (inline_) {
    e.Envelope.Count = in.ReadByte();
    for (int p = 0; p < e.Envelope.Count; ++p) {
      e.Envelope.X[p] = in.ReadByte();
      e.Envelope.Y[p] = in.ReadByte();
    }
  }
  return e;
}

// One active voice slot. Values that index tables or drive the computation
// are held to the voice editor's ranges here, before anything uses them.
void ReadVoice(TByteReader& in, int v, TStagedVoice& s) {
  TVoice& voice = s.Voice;
  voice.Name = CutName(in.ReadString(), TVoice::kMaxName);
  voice.Pitch.Note = Clamped(in.ReadByte(), 72);
  voice.Pitch.Finetune = Clamped(in.ReadByte(), 100);
  s.Source = ReadPresetRef(in, v >= 24);
  s.Dest = ReadPresetRef(in, v >= 24);
  if (v >= 27) {
    voice.Morph.NoiseSource = Flag(in);
    voice.Morph.NoiseDest = Flag(in);
  }
  // A time below 10 ms or no repeat at all is outside what the editor makes.
  voice.Timing.Time = std::max<int>(in.ReadWord(), 10);
  voice.Timing.Repeats = std::max<int>(in.ReadByte(), 1);
  voice.Timing.RepeatMode = Flag(in);
  if (v >= 26) voice.Timing.StartDelay = in.ReadWord();
  voice.Morph.MorphPreview = Clamped(in.ReadByte(), 100);
  if (v >= 23) voice.Morph.Phase = Clamped(in.ReadByte(), 149);
  TVoiceVibrato& vib = voice.Vibrato;
  vib.VibSpeedFrom = Clamped(in.ReadByte(), 250);
  vib.VibDepthFrom = Clamped(in.ReadByte(), 250);
  vib.VibSpeedTo = Clamped(in.ReadByte(), 250);
  vib.VibDepthTo = Clamped(in.ReadByte(), 250);
  vib.VibDirection = Flag(in);
  if (v >= 22) {
    vib.VibCopyUp = Flag(in);
    vib.VibCopyDown = Flag(in);
  }
  if (v >= 23) {
    vib.VibSpeedFromX100 = Flag(in);
    vib.VibDepthFromX100 = Flag(in);
    vib.VibSpeedToX100 = Flag(in);
    vib.VibDepthToX100 = Flag(in);
  }
  voice.Volume.Volume = Clamped(in.ReadByte(), 100);
  s.Envelope = ReadEnvelopeRef(in, v >= 25);
  if (v >= 21) {
    voice.Lowpass.FilterActive = Flag(in);
    voice.Lowpass.FilterFrom = Clamped(in.ReadByte(), 250);
    voice.Lowpass.FilterTo = Clamped(in.ReadByte(), 250);
  }
  if (v >= 22) {
    voice.Lowpass.FilterCopyUp = Flag(in);
    voice.Lowpass.FilterCopyDown = Flag(in);
  }
}

// A free name for an entry whose clash the person did not resolve: the name
// with " 2", " 3", ... at the end, cut so the number stays.
template <class Table>
std::string FreeName(const Table& table, const std::string& name, std::size_t maxLength) {
  for (int n = 2;; ++n) {
    const std::string suffix = " " + std::to_string(n);
    std::string candidate = name.substr(0, maxLength > suffix.size() ? maxLength - suffix.size() : 0) + suffix;
    if (!table.Exists(candidate)) return candidate;
  }
}

template <class Table, class Entry, class Equal>
int Merge(Table& table, Entry entry, std::size_t maxName, TNameKind kind, const TAskNewName& askName,
          Equal equal, bool* added) {
  if (added) *added = false;
  int same = 0;
  for (int i = 1; i <= table.Count(); ++i)
    if (equal(table[i], entry)) same = i;
  if (same != 0) return same;
  while (table.Exists(entry.Name)) {
    std::optional<std::string> name = askName ? askName(kind, entry.Name) : std::nullopt;
    entry.Name = name ? CutName(*name, maxName) : FreeName(table, entry.Name, maxName);
  }
  if (table.Full()) return 1;
  table.PushBack(std::move(entry));
  if (added) *added = true;
  return table.Count();
}

}  // namespace

TStagedInstrument ParseInstrument(const std::vector<std::uint8_t>& bytes) {
  TStagedInstrument s;
  TByteReader in(bytes);
  try {
    if (in.ReadString() != kInstrumentMagic) throw EWrongInstrumentFile();
  } catch (const EByteStreamEnd&) {
    throw EWrongInstrumentFile();
  }
  try {
    const int v = in.ReadByte();
    s.Version = v;
    const int lines = in.ReadWord();
    for (int i = 0; i < lines; ++i) s.Description.push_back(in.ReadString());
    s.Quality = in.ReadByte();
    if (v >= 29) {
      s.DetuneOctave = in.ReadByte() - 128;
      s.DetuneNote = in.ReadByte() - 128;
    }
    if (v >= 28) {
      s.EffectOrder = in.ReadString();
      for (auto& b : s.Eq) b = in.ReadByte();
      for (auto& b : s.Distortion) b = in.ReadByte();
    }
    if (v >= 29) s.Volume = in.ReadByte();
    if (v >= 30) {
      s.Lowpass.Slope = in.ReadByte();
      s.Lowpass.CutOff = in.ReadWord();
      s.Lowpass.Resonance = in.ReadByte();
      s.FadeIn = in.ReadWord();
      s.FadeOut = in.ReadWord();
    }
    for (TStagedVoice& voice : s.Voices) {
      voice.Active = in.ReadByte() == 1;
      if (voice.Active) ReadVoice(in, v, voice);
    }
  } catch (const EByteStreamEnd&) {
    throw EInstrumentFileError(kDamagedInstrumentFile);
  }
  return s;
}

int MergeWavePreset(TInstrumentDocument& doc, TWavePreset p, const TAskNewName& askName, bool* added) {
  bool a = false;
  const int index = Merge(
      doc.WavePresets, std::move(p), TWavePreset::kMaxName, TNameKind::WavePreset, askName,
      [](const TWavePreset& x, const TWavePreset& y) { return x.Data == y.Data; }, &a);
  if (a) doc.WavePresetsModified = true;
  if (added) *added = a;
  return index;
}

int MergeVolumeEnvelope(TInstrumentDocument& doc, TVolumeEnvelope e, const TAskNewName& askName,
                        bool* added) {
  bool a = false;
  const int index = Merge(
      doc.VolumeEnvelopes, std::move(e), TVolumeEnvelope::kMaxName, TNameKind::VolumeEnvelope, askName,
      [](const TVolumeEnvelope& x, const TVolumeEnvelope& y) {
        return x.Count == y.Count && std::equal(x.X.begin(), x.X.begin() + x.Count, y.X.begin()) &&
               std::equal(x.Y.begin(), x.Y.begin() + x.Count, y.Y.begin());
      },
      &a);
  if (a) doc.VolumeEnvelopesModified = true;
  if (added) *added = a;
  return index;
}

TApplyResult ApplyInstrument(const TStagedInstrument& s, TInstrumentDocument& doc, const TAskNewName& askName) {
  TApplyResult result;
  TInGlobSettings& g = doc.GlobalSettings();
  g.Description = s.Description;
  g.SetQuality(s.Quality);
  g.SetGlobalDetune(s.DetuneOctave, s.DetuneNote);
  g.SetEffectOrder(s.EffectOrder);
  g.SetEqBands(s.Eq);
  g.SetDistortion(s.Distortion);
  g.SetVolume(s.Volume);
  g.SetLowpass(s.Lowpass.Slope, s.Lowpass.CutOff, s.Lowpass.Resonance);
  g.SetFade(s.FadeIn, s.FadeOut);

  // Older files name their presets; the voice takes the last entry of that
  // name, or entry 1.
  auto byName = [](int found) { return static_cast<std::uint8_t>(found != 0 ? found : 1); };
  for (int n = 1; n <= TInstrument::kVoices; ++n) {
    doc.ResetVoice(n);
    const TStagedVoice& sv = s.Voices[static_cast<std::size_t>(n - 1)];
    if (!sv.Active) continue;
    TVoice& voice = doc.Voice(n);
    voice = sv.Voice;
    voice.Active = true;
    bool added = false;
    voice.Morph.SourcePreset =
        sv.Source.ByName ? byName(doc.WavePresets.Find(sv.Source.Preset.Name))
                         : static_cast<std::uint8_t>(MergeWavePreset(doc, sv.Source.Preset, askName, &added));
    result.PresetsAdded |= added;
    voice.Morph.DestPreset =
        sv.Dest.ByName ? byName(doc.WavePresets.Find(sv.Dest.Preset.Name))
                       : static_cast<std::uint8_t>(MergeWavePreset(doc, sv.Dest.Preset, askName, &added));
    result.PresetsAdded |= added;
    voice.Volume.Envelope =
        sv.Envelope.ByName
            ? byName(doc.VolumeEnvelopes.Find(sv.Envelope.Envelope.Name))
            : static_cast<std::uint8_t>(MergeVolumeEnvelope(doc, sv.Envelope.Envelope, askName, &added));
    result.EnvelopesAdded |= added;
  }
  return result;
}

namespace {

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

// The entries a voice brought that a full table dropped (the voice uses
// entry 1 in their place), by the names they had in the file.
struct TDroppedEntries {
  std::optional<std::string> Source, Dest, Envelope;
  bool Any() const { return Source || Dest || Envelope; }
  bool operator==(const TDroppedEntries&) const = default;
};

// Dropped: the voice's copy came inline, yet the entry the voice now uses has
// another shape (a kept copy is equal to its entry, added or found).
template <class Entry>
std::optional<std::string> Dropped(bool byName, const Entry& copy, const TLibraryTable<Entry>& table, int used) {
  if (byName || (used >= 1 && used <= table.Count() && SameShape(table[used], copy))) return std::nullopt;
  return copy.Name;
}

std::array<TDroppedEntries, TInstrument::kVoices> DroppedEntries(const TStagedInstrument& staged,
                                                                const TInstrumentDocument& doc) {
  std::array<TDroppedEntries, TInstrument::kVoices> dropped{};
  for (int n = 1; n <= TInstrument::kVoices; ++n) {
    const TStagedVoice& s = staged.Voices[static_cast<std::size_t>(n - 1)];
    if (!s.Active) continue;
    const TVoice& v = doc.Voice(n);
    TDroppedEntries& d = dropped[static_cast<std::size_t>(n - 1)];
    d.Source = Dropped(s.Source.ByName, s.Source.Preset, doc.WavePresets, v.Morph.SourcePreset);
    d.Dest = Dropped(s.Dest.ByName, s.Dest.Preset, doc.WavePresets, v.Morph.DestPreset);
    d.Envelope = Dropped(s.Envelope.ByName, s.Envelope.Envelope, doc.VolumeEnvelopes, v.Volume.Envelope);
  }
  return dropped;
}

// "source "A", destination "B", envelope "C"", one name for an equal pair.
std::string DroppedText(const TDroppedEntries& d) {
  std::vector<std::string> parts;
  if (d.Source && d.Source == d.Dest) {
    parts.push_back("source and destination " + Quoted(*d.Source));
  } else {
    if (d.Source) parts.push_back("source " + Quoted(*d.Source));
    if (d.Dest) parts.push_back("destination " + Quoted(*d.Dest));
  }
  if (d.Envelope) parts.push_back("envelope " + Quoted(*d.Envelope));
  std::string text;
  for (const std::string& p : parts) text += (text.empty() ? "" : ", ") + p;
  return text;
}

// "Voice 5" or "Voices 1-4, 9, 10": runs of three or more as a span.
std::string VoiceNumbers(const std::vector<int>& voices) {
  std::string text = voices.size() == 1 ? "Voice " : "Voices ";
  for (std::size_t i = 0; i < voices.size();) {
    std::size_t j = i;
    while (j + 1 < voices.size() && voices[j + 1] == voices[j] + 1) ++j;
    if (i != 0) text += ", ";
    if (j >= i + 2) {
      text += std::to_string(voices[i]) + "-" + std::to_string(voices[j]);
    } else {
      text += std::to_string(voices[i]);
      if (j == i + 1) text += ", " + std::to_string(voices[j]);
    }
    i = j + 1;
  }
  return text;
}

// One line for each set of voices that lost the same entries, so 32 voices
// stay legible.
std::string DroppedEntriesText(const std::array<TDroppedEntries, TInstrument::kVoices>& dropped,
                               const TInstrumentDocument& doc) {
  bool presets = false, envelopes = false;
  std::vector<std::pair<TDroppedEntries, std::vector<int>>> lines;
  for (int n = 1; n <= TInstrument::kVoices; ++n) {
    const TDroppedEntries& d = dropped[static_cast<std::size_t>(n - 1)];
    if (!d.Any()) continue;
    presets |= d.Source || d.Dest;
    envelopes |= d.Envelope.has_value();
    auto same = std::find_if(lines.begin(), lines.end(), [&](const auto& l) { return l.first == d; });
    if (same != lines.end()) same->second.push_back(n);
    else lines.push_back({d, {n}});
  }
  if (lines.empty()) return {};
  const std::string capacity = std::to_string(TWavePresetTable::kCapacity);
  std::string text;
  std::string instead;
  if (presets && envelopes) {
    text = "The wave preset and volume envelope libraries are full (" + capacity + " entries each).\n";
    instead = "preset 1 " + Quoted(doc.WavePresets[1].Name) + " and envelope 1 " + Quoted(doc.VolumeEnvelopes[1].Name);
  } else if (presets) {
    text = "The wave preset library is full (" + capacity + " presets).\n";
    instead = "preset 1 " + Quoted(doc.WavePresets[1].Name);
  } else {
    text = "The volume envelope library is full (" + capacity + " envelopes).\n";
    instead = "envelope 1 " + Quoted(doc.VolumeEnvelopes[1].Name);
  }
  text += "These voices use " + instead + " in place of the entries named:";
  for (const auto& [d, voices] : lines) text += "\n" + VoiceNumbers(voices) + ": " + DroppedText(d);
  return text;
}
}  // namespace

std::string DroppedEntriesMessage(const TStagedInstrument& staged, const TInstrumentDocument& doc) {
  return DroppedEntriesText(DroppedEntries(staged, doc), doc);
}

std::vector<std::uint8_t> InstrumentBytes(const TInstrumentDocument& doc) {
  const TInGlobSettings& g = doc.Instrument.Globals;
  if (g.Description.size() > 65535)
    throw EInstrumentNotSaved("The description has more than 65535 lines; the instrument was not saved.");
  TByteWriter w;
  w.String(kInstrumentMagic);
  w.Byte(kInstrumentVersion);
  w.Word(static_cast<std::uint16_t>(g.Description.size()));
  for (const std::string& line : g.Description) w.String(line);
  w.Byte(static_cast<std::uint8_t>(g.GetQuality()));
  const auto [octave, note] = g.GetGlobalDetune();
  w.Byte(static_cast<std::uint8_t>(octave + 128));
  w.Byte(static_cast<std::uint8_t>(note + 128));
  w.String(g.GetEffectOrder());
  for (std::uint8_t b : g.GetEqBands()) w.Byte(b);
  for (std::uint8_t b : g.GetDistortion()) w.Byte(b);
  w.Byte(g.GetVolume());
  const TLowpassStored lp = g.GetLowpass();
  w.Byte(lp.Slope);
  w.Word(lp.CutOff);
  w.Byte(lp.Resonance);
  const auto [fadeIn, fadeOut] = g.GetFadeTimes();
  w.Word(fadeIn);
  w.Word(fadeOut);

  for (int n = 1; n <= TInstrument::kVoices; ++n) {
    const TVoice& v = doc.Voice(n);
    if (!v.Active) {
      w.Byte(0);
      continue;
    }
    auto refuse = [&](const std::string& what) {
      throw EInstrumentNotSaved("Voice " + std::to_string(n) + " \"" + v.Name + "\": " + what +
                                "; the instrument was not saved.");
    };
    const TVoiceTiming& t = v.Timing;
    if (t.Time < 0 || t.Time > 65535) refuse("its time is outside 0..65535 ms, which the file holds");
    if (t.Repeats < 0 || t.Repeats > 255) refuse("it has more than 255 repeats, which the file holds");
    if (t.StartDelay < 0 || t.StartDelay > 65535)
      refuse("its start delay is above 65535 ms, which the file holds");
    const auto presetAt = [&](int index) -> const TWavePreset& {
      if (index < 1 || index > doc.WavePresets.Count()) refuse("its wave preset is not in the library");
      return doc.WavePresets[index];
    };
    const TWavePreset& source = presetAt(v.Morph.SourcePreset);
    const TWavePreset& dest = presetAt(v.Morph.DestPreset);
    if (v.Volume.Envelope < 1 || v.Volume.Envelope > doc.VolumeEnvelopes.Count())
      refuse("its volume envelope is not in the library");
    const TVolumeEnvelope& env = doc.VolumeEnvelopes[v.Volume.Envelope];

    w.Byte(1);
    w.String(v.Name);
    w.Byte(v.Pitch.Note);
    w.Byte(v.Pitch.Finetune);
    for (const TWavePreset* p : {&source, &dest}) {
      w.String(p->Name);
      for (std::uint8_t d : p->Data) w.Byte(d);
    }
    w.Byte(v.Morph.NoiseSource);
    w.Byte(v.Morph.NoiseDest);
    w.Word(static_cast<std::uint16_t>(t.Time));
    w.Byte(static_cast<std::uint8_t>(t.Repeats));
    w.Byte(t.RepeatMode);
    w.Word(static_cast<std::uint16_t>(t.StartDelay));
    w.Byte(v.Morph.MorphPreview);
    w.Byte(v.Morph.Phase);
    const TVoiceVibrato& vib = v.Vibrato;
    for (std::uint8_t b : {vib.VibSpeedFrom, vib.VibDepthFrom, vib.VibSpeedTo, vib.VibDepthTo}) w.Byte(b);
    w.Byte(vib.VibDirection);
    w.Byte(vib.VibCopyUp);
    w.Byte(vib.VibCopyDown);
    for (bool b : {vib.VibSpeedFromX100, vib.VibDepthFromX100, vib.VibSpeedToX100, vib.VibDepthToX100})
      w.Byte(b);
    w.Byte(v.Volume.Volume);
    w.String(env.Name);
    w.Byte(env.Count);
    for (int p = 0; p < env.Count; ++p) {
      w.Byte(env.X[p]);
      w.Byte(env.Y[p]);
    }
    w.Byte(v.Lowpass.FilterActive);
    w.Byte(v.Lowpass.FilterFrom);
    w.Byte(v.Lowpass.FilterTo);
    w.Byte(v.Lowpass.FilterCopyUp);
    w.Byte(v.Lowpass.FilterCopyDown);
  }
  return w.Take();
}

std::optional<TStagedInstrument> ReadInstrumentFile(const std::filesystem::path& file) {
  bool found = false;
  std::vector<std::uint8_t> bytes;
  try {
    bytes = ReadFileBytes(file, kMaxInstrumentFileSize, &found);
  } catch (const EByteFileError& e) {
    throw EInstrumentFileError(e.what());
  }
  if (!found) return std::nullopt;
  return ParseInstrument(bytes);
}

void WriteInstrumentFile(const std::filesystem::path& file, const TInstrumentDocument& doc) {
  ReplaceFile(file, InstrumentBytes(doc), kMaxInstrumentFileSize);
}

std::string WaveFileNameFor(const std::string& instrumentFile) {
  return instrumentFile.substr(0, instrumentFile.size() >= 4 ? instrumentFile.size() - 4 : 0) + ".wav";
}
