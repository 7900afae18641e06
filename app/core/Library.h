// The library entries (wave presets, volume envelopes, macros) and the table
// that holds them. Qt-free; names are Windows-1252 bytes compared byte-wise.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One cycle of a wave: 150 values 0..149, 75 is the zero line.
struct TWavePreset {
  static constexpr std::size_t kMaxName = 30;
  static constexpr int kSamples = 150;
  std::string Name;
  std::array<std::uint8_t, kSamples> Data{};
};

// A volume envelope. Points 1..255 of the text live at X[p - 1], Y[p - 1];
// only the first Count points are in use, in ascending X.
struct TVolumeEnvelope {
  static constexpr std::size_t kMaxName = 20;
  static constexpr int kMaxPoints = 255;
  std::array<std::uint8_t, kMaxPoints> X{};
  std::array<std::uint8_t, kMaxPoints> Y{};
  std::uint8_t Count = 0;
  std::string Name;
};

// The same shape whatever the names: equal data, or equal point counts and
// equal points in use (the points beyond the count do not count).
inline bool SameShape(const TWavePreset& a, const TWavePreset& b) { return a.Data == b.Data; }
inline bool SameShape(const TVolumeEnvelope& a, const TVolumeEnvelope& b) {
  return a.Count == b.Count && std::equal(a.X.begin(), a.X.begin() + a.Count, b.X.begin()) &&
         std::equal(a.Y.begin(), a.Y.begin() + a.Count, b.Y.begin());
}

// A recorded macro; the step lines are "ccc" + value (see the macro unit).
// The bounds are what the macro windows let a person make: the name and the
// description are typed, the recorder stops at the step bound.
struct TMacro {
  static constexpr std::size_t kMaxName = 255;
  static constexpr std::size_t kMaxDescription = 10000;
  static constexpr std::size_t kMaxSteps = 1000;
  std::string Name;
  std::string Description;
  std::uint16_t HotKey = 0;
  bool Relative = false;
  std::vector<std::string> Steps;
};

enum class TTableResult { Added, NameExists, Full };

// A library table: entries 1..Count, no holes, at most 254, unique names.
// Plain storage; the operations that also keep the voices consistent are
// members of TInstrumentDocument.
template <class Entry>
class TLibraryTable {
 public:
  static constexpr int kCapacity = 254;

  int Count() const { return static_cast<int>(entries_.size()); }
  bool Full() const { return Count() >= kCapacity; }
  // index 1..Count; throws std::out_of_range otherwise.
  const Entry& operator[](int index) const { return entries_.at(Slot(index)); }
  Entry& At(int index) { return entries_.at(Slot(index)); }

  // Index 1..Count of the entry with exactly that name (last match), 0 if none.
  int Find(std::string_view name) const {
    int found = 0;
    for (int i = 0; i < Count(); ++i)
      if (entries_[i].Name == name) found = i + 1;
    return found;
  }
  bool Exists(std::string_view name) const { return Find(name) != 0; }

  // Storage without the uniqueness rule, for readers of stored files.
  void Clear() { entries_.clear(); }
  void PushBack(Entry e) { entries_.push_back(std::move(e)); }

  std::vector<Entry>& Entries() { return entries_; }
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  static std::size_t Slot(int index) {
    return index >= 1 ? static_cast<std::size_t>(index - 1) : static_cast<std::size_t>(-1);
  }
  std::vector<Entry> entries_;
};

using TWavePresetTable = TLibraryTable<TWavePreset>;
using TVolumeEnvelopeTable = TLibraryTable<TVolumeEnvelope>;

// Pascal short strings keep at most their declared length.
std::string CutName(std::string name, std::size_t maxLength);
