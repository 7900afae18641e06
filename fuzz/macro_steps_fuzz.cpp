// Macro step lines from a damaged library file, run on a document: a line is
// either refused with the step error or applied, every voice field stays in
// the voice editor's range and the current voice in 1..32, and the manager
// shows every line.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/Document.h"
#include "core/Macros.h"
#include "core/VoiceEdit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  TMacro macro;
  macro.Relative = data[0] & 1;
  std::string line;
  for (size_t i = 1; i < size; ++i) {
    if (data[i] == '\n') {
      macro.Steps.push_back(line);
      line.clear();
    } else {
      line += static_cast<char>(data[i]);
    }
  }
  macro.Steps.push_back(line);
  TInstrumentDocument doc;
  doc.CurrentVoice = 1 + data[0] % 32;
  try {
    ExecuteMacroSteps(doc, macro);
  } catch (const EMacroStepError&) {
  }
  if (doc.CurrentVoice < 1 || doc.CurrentVoice > 32) std::abort();
  for (int n = 1; n <= 32; ++n) {
    const TVoice& v = doc.Voice(n);
    for (const TVoiceIntField& f : VoiceIntFields())
      if (f.get(v) < f.min || f.get(v) > f.max) std::abort();
    if (v.Name.size() > TVoice::kMaxName) std::abort();
  }
  for (const std::string& l : macro.Steps) (void)MacroStepRow(l, macro.Relative);
  return 0;
}

std::vector<std::vector<uint8_t>> KalvoraFuzzSeeds() {
  const char* texts[] = {"\x01" "012-30\n01290\n900-40\n0181",
                         "\x00" "9001\n0021\n9010103110000\n006-5000",
                         "\x01" "901-20;3;101010\n00799999\n001abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz",
                         // Copy offsets whose difference leaves 32 bits.
                         "\x00" "901-1;2147483647;\n901-2147483648;2147483647;111111\n006-990\n024250"};
  std::vector<std::vector<uint8_t>> seeds;
  for (const char* t : texts) {
    const std::string s(t, t + 1 + std::string(t + 1).size());
    seeds.emplace_back(s.begin(), s.end());
  }
  return seeds;
}
