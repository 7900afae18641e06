#include "core/Macros.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/VoiceEdit.h"

namespace {

std::string Trimmed(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  const auto e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

bool TryStrToInt(const std::string& text, std::int32_t& out) {
  const std::string t = Trimmed(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
  if (i >= t.size()) return false;
  std::int64_t v = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return false;
    v = v * 10 + (t[i] - '0');
    if (v > std::int64_t{1} << 32) return false;
  }
  if (negative) v = -v;
  if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max()) return false;
  out = static_cast<std::int32_t>(v);
  return true;
}

int Clamp(std::int64_t v, int low, int high) { return static_cast<int>(std::clamp<std::int64_t>(v, low, high)); }

}  // namespace

std::int32_t MacroStrToInt(const std::string& text) {
  std::int32_t v = 0;
  if (!TryStrToInt(text, v)) throw EMacroStepError("'" + text + "' is not a valid integer value");
  return v;
}

bool MacroStrToBool(const std::string& text) {
  std::int32_t v = 0;
  return TryStrToInt(text, v) && v == 1;
}

std::string MacroStepLine(int code, const std::string& value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%03d", code);
  return buf + value;
}

TMacroStep ParseMacroStep(const std::string& line) {
  TMacroStep s;
  s.Code = MacroStrToInt(line.substr(0, 3));
  s.Value = line.size() > 3 ? line.substr(3) : std::string();
  return s;
}

std::string MacroCopyVoiceText(int sourceOffset, int destinationOffset, const TVoiceParts& parts) {
  auto fits = [](int v) { return v >= -9 && v <= 99; };
  std::string text;
  if (fits(sourceOffset) && fits(destinationOffset)) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d%02d", sourceOffset, destinationOffset);
    text = buf;
  } else {
    text = std::to_string(sourceOffset) + ";" + std::to_string(destinationOffset) + ";";
  }
  for (bool f : {parts.General, parts.Name, parts.Source, parts.Volume, parts.Vibrato, parts.Lowpass})
    text += f ? '1' : '0';
  return text;
}

TMacroCopy ParseMacroCopyVoiceText(const std::string& text) {
  TMacroCopy c;
  std::string offsets, flags;
  const auto semi = text.find(';');
  if (semi != std::string::npos) {
    const auto second = text.find(';', semi + 1);
    if (second == std::string::npos) throw EMacroStepError("'" + text + "' is not a valid integer value");
    c.SourceOffset = MacroStrToInt(text.substr(0, semi));
    c.DestinationOffset = MacroStrToInt(text.substr(semi + 1, second - semi - 1));
    flags = text.substr(second + 1);
  } else {
    c.SourceOffset = MacroStrToInt(text.substr(0, 2));
    c.DestinationOffset = MacroStrToInt(text.size() > 2 ? text.substr(2, 2) : std::string());
    flags = text.size() > 4 ? text.substr(4) : std::string();
  }
  auto flag = [&](std::size_t i) { return i < flags.size() && flags[i] == '1'; };
  c.Parts = {flag(0), flag(1), flag(2), flag(3), flag(4), flag(5)};
  return c;
}

namespace {

// The voice editor's numeric or boolean field of a step code, or none.
const TVoiceIntField* EditorField(int code) {
  for (const TVoiceIntField& f : VoiceIntFields())
    if (f.step == code) return &f;
  return nullptr;
}

// A name that is not in the table gives entry 1, as the instrument reader
// and the voice editor's lists do, so the voice can still be saved; only an
// empty table gives 0.
template <class Table>
std::uint8_t EntryOrFirst(const Table& table, const std::string& name) {
  const int found = table.Find(name);
  return static_cast<std::uint8_t>(found != 0 ? found : std::min(table.Count(), 1));
}

void ApplyStep(TInstrumentDocument& doc, const TMacroStep& s, bool relative) {
  if (s.Code == kStepVoice) {
    doc.CurrentVoice = Clamp(std::int64_t{doc.CurrentVoice} + MacroStrToInt(s.Value), 1, TInstrumentDocument::kVoices);
    return;
  }
  if (s.Code == kStepCopyVoice) {
    const TMacroCopy c = ParseMacroCopyVoiceText(s.Value);
    const int source = Clamp(std::int64_t{doc.CurrentVoice} + c.SourceOffset, 1, TInstrumentDocument::kVoices);
    const int dest = Clamp(std::int64_t{doc.CurrentVoice} + c.DestinationOffset, 1, TInstrumentDocument::kVoices);
    const TVoice from = doc.Voice(source);
    CopyVoiceParts(from, doc.Voice(dest), c.Parts);
    return;
  }
  TVoice& v = doc.Voice(doc.CurrentVoice);
  switch (s.Code) {
    case kStepName: v.Name = s.Value.substr(0, TVoice::kMaxName); return;
    case kStepSourcePreset: v.Morph.SourcePreset = EntryOrFirst(doc.WavePresets, s.Value); return;
    case kStepDestPreset: v.Morph.DestPreset = EntryOrFirst(doc.WavePresets, s.Value); return;
    case kStepEnvelope: v.Volume.Envelope = EntryOrFirst(doc.VolumeEnvelopes, s.Value); return;
    default: break;
  }
  const TVoiceIntField* field = EditorField(s.Code);
  if (!field) return;  // unknown codes do nothing
  if (field->kind == TStepKind::Boolean) {
    field->set(v, MacroStrToBool(s.Value) ? 1 : 0);
    return;
  }
  // Absolute and relative steps alike stay in the range the voice editor
  // allows: what the recorder recorded replays as it was, and a damaged
  // value can neither wrap a byte nor leave a time the computation cannot use.
  const std::int64_t value = MacroStrToInt(s.Value);
  field->set(v, Clamp(relative ? field->get(v) + value : value, field->min, field->max));
}

}  // namespace

void ExecuteMacroSteps(TInstrumentDocument& doc, const TMacro& macro) {
  try {
    for (const std::string& line : macro.Steps) ApplyStep(doc, ParseMacroStep(line), macro.Relative);
  } catch (...) {
    doc.MarkChanged();
    throw;
  }
  doc.MarkChanged();
}

// --- recorder

bool TMacroRecorder::MacroNameExists(const std::string& name) const {
  return std::any_of(doc_.Macros.begin(), doc_.Macros.end(), [&](const TMacro& m) { return m.Name == name; });
}

TStartRecording TMacroRecorder::Start(const TMacro& pending) {
  if (MacroNameExists(pending.Name)) return TStartRecording::NameExists;
  if (pending.Name.empty()) return TStartRecording::NameEmpty;
  pending_ = pending;
  pending_.Steps.clear();
  lines_.clear();
  doc_.Recording = true;
  doc_.RecordingRelative = pending.Relative;
  return TStartRecording::Started;
}

bool TMacroRecorder::Stop() {
  // Recording ends with or without lines: steps after a stop belong to no macro.
  doc_.Recording = false;
  if (lines_.empty() || TableFull()) return false;
  TMacro m = pending_;
  m.Steps = lines_;
  doc_.Macros.push_back(std::move(m));
  doc_.MacrosModified = true;
  return true;
}

void TMacroRecorder::Record(int code, const std::string& value, bool sum) {
  const std::string prefix = MacroStepLine(code, "");
  // A copy is its own step every time: two copies in a row are two lines.
  if (!lines_.empty() && code != kStepCopyVoice && lines_.back().compare(0, 3, prefix) == 0) {
    std::string merged = value;
    if (sum) {
      const std::int64_t total = std::int64_t{MacroStrToInt(lines_.back().substr(3))} + MacroStrToInt(value);
      merged = std::to_string(std::clamp<std::int64_t>(total, std::numeric_limits<std::int32_t>::min(),
                                                       std::numeric_limits<std::int32_t>::max()));
    }
    lines_.back() = prefix + merged;
    return;
  }
  if (lines_.size() >= TMacro::kMaxSteps) {
    const bool stored = Stop();
    if (OnStepsFull) OnStepsFull(stored);
    return;
  }
  lines_.push_back(prefix + value);
}

void TMacroRecorder::RecordIntStep(int code, std::int32_t value) {
  // A voice change is always a change of the number, so a run of them adds up
  // in absolute recording too.
  Record(code, std::to_string(value), doc_.RecordingRelative || code == kStepVoice);
}

std::string MacroStepsFullMessage(bool stored) {
  return "A macro holds at most " + std::to_string(TMacro::kMaxSteps) + " steps: the recording has stopped" +
         (stored ? " and the macro is stored with the steps recorded so far." : ".");
}

void TMacroRecorder::RecordBoolStep(int code, bool value) { Record(code, value ? "1" : "0", false); }

// Texts are names, none longer than a voice name, which keeps every line
// within the bound the macro file is read with.
void TMacroRecorder::RecordTextStep(int code, const std::string& text) {
  Record(code, text.substr(0, kMaxMacroStepLine - 3), false);
}

// --- manager

TMacroStepRow MacroStepRow(const std::string& line, bool relative) {
  TMacroStep s;
  try {
    s = ParseMacroStep(line);
  } catch (const EMacroStepError&) {
    return {"Unknown step", line};
  }
  const std::string& v = s.Value;
  auto number = [&](std::int64_t offset = 0) {
    std::int32_t n = 0;
    return TryStrToInt(v, n) ? std::to_string(n - offset) : v;
  };
  auto yesNo = [&] { return MacroStrToBool(v) ? std::string("yes") : std::string("no"); };
  auto onOff = [&] { return MacroStrToBool(v) ? std::string("On") : std::string("Off"); };
  switch (s.Code) {
    case kStepActive: return {"Voice active", yesNo()};
    case kStepName: return {"Voice name", v};
    case kStepNote: return {"Note", number()};
    case kStepFinetune: return {"Finetune", number(relative ? 0 : 50)};
    case kStepSourcePreset: return {"Source Preset", v};
    case kStepDestPreset: return {"Destination Preset", v};
    case kStepTime: return {"Time", number()};
    case kStepRepeats: return {"Repeats", number()};
    case kStepStartDelay: return {"Start Delay", number()};
    case kStepRepeatMode: return {"Repeat Mode", MacroStrToBool(v) ? "<-->" : "--->"};
    case kStepPhase: {
      std::int32_t n = 0;
      if (!TryStrToInt(v, n)) return {"Phase", v};
      // Phase steps of 2.4 degrees; halves round to even.
      return {"Phase", std::to_string(static_cast<long long>(std::nearbyint(n * 2.4)))};
    }
    case kStepMorphPreview: return {"Morphing preview control", number()};
    case kStepVolume: return {"Volume", number()};
    case kStepEnvelope: return {"Volume Envelope", v};
    case kStepVibSpeedFrom: return {"Vibrato speed (from)", number()};
    case kStepVibDepthFrom: return {"Vibrato depth (from)", number()};
    case kStepVibSpeedTo: return {"Vibrato speed (to)", number()};
    case kStepVibDepthTo: return {"Vibrato depth (to)", number()};
    case kStepVibDirection: return {"Vibrato direction", MacroStrToBool(v) ? "first up" : "first down"};
    case kStepVibSpeedFromX100: return {"Vibrato speed (from) mult.", yesNo()};
    case kStepVibDepthFromX100: return {"Vibrato depth (from) mult.", yesNo()};
    case kStepVibSpeedToX100: return {"Vibrato speed (to) mult.", yesNo()};
    case kStepVibDepthToX100: return {"Vibrato depth (to) mult.", yesNo()};
    case kStepFilterActive: return {"Filter active", yesNo()};
    case kStepFilterFrom: return {"Filter (from)", number()};
    case kStepFilterTo: return {"Filter (to)", number()};
    case kStepNoiseSource: return {"Noisemode Source", onOff()};
    case kStepNoiseDest: return {"Noisemode Destination", onOff()};
    case kStepVoice: return {"Change to voice", number()};
    case kStepCopyVoice: {
      try {
        const TMacroCopy c = ParseMacroCopyVoiceText(v);
        std::string flags;
        for (bool f : {c.Parts.General, c.Parts.Name, c.Parts.Source, c.Parts.Volume, c.Parts.Vibrato, c.Parts.Lowpass})
          flags += f ? '1' : '0';
        // In 64 bits: the offsets of a damaged line may be any 32-bit values.
        return {"Copy Voice", std::to_string(std::int64_t{c.DestinationOffset} - c.SourceOffset) + " Opt: " + flags};
      } catch (const EMacroStepError&) {
        return {"Copy Voice", v};
      }
    }
    default: return {"Unknown step", v};
  }
}

void SortMacros(std::vector<TMacro>& macros, bool ascending) {
  bool swapped = true;
  while (swapped) {
    swapped = false;
    for (std::size_t i = 0; i + 1 < macros.size(); ++i) {
      const int c = macros[i].Name.compare(macros[i + 1].Name);
      if (ascending ? c > 0 : c < 0) {
        std::swap(macros[i], macros[i + 1]);
        swapped = true;
      }
    }
  }
}
