// Frames of an animation clip: named ranges of a clip's cells. The list owns
// copies of its records; lookups hand back a copy with its Position filled in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/SettingsObject.h"

struct TZRWFrame {
  static constexpr std::size_t kMaxName = 24;
  std::string Name;  // at most 24 bytes
  std::uint16_t Index = 0;
  std::uint16_t FirstCell = 0, LastCell = 0;  // inclusive
  std::uint16_t Position = 0;                 // filled in by the lookups

  bool operator==(const TZRWFrame&) const = default;
};

// Index and Position of the frame "ALL" that spans every cell of a clip.
inline constexpr std::uint16_t kDefaultFrame = 65535;
inline constexpr const char* kDefaultFrameName = "ALL";
inline constexpr const char* kInvalidIndex = "Invalid Index";

// The frame "ALL" of a clip with `cellCount` cells (cell numbers are 16-bit,
// so a larger clip's last reachable cell is 65535).
TZRWFrame DefaultFrame(std::int64_t cellCount);

class TZRWFrameList : public TZRWObject {
 public:
  std::size_t Count() const { return frames_.size(); }
  bool Empty() const { return frames_.empty(); }
  const TZRWFrame& operator[](std::size_t i) const { return frames_.at(i); }
  const std::vector<TZRWFrame>& Frames() const { return frames_; }

  void Add(const TZRWFrame& frame);  // names longer than 24 bytes are cut
  void Add(const std::string& name, std::uint16_t index, std::uint16_t firstCell, std::uint16_t lastCell);
  void Clear();
  void Delete(std::size_t position);      // raises "Invalid Index" outside the list
  void Delete(const TZRWFrame& frame);    // the first equal record (Position not compared); none: nothing
  void Assign(const TZRWFrameList& other);

  // Lookups of an animation clip with `cellCount` cells; each raises
  // "Invalid Index" when no frame answers.
  TZRWFrame ByPosition(std::uint16_t position, std::int64_t cellCount) const;
  TZRWFrame ByIndex(std::uint16_t index, std::int64_t cellCount) const;
  TZRWFrame ByName(const std::string& name, std::int64_t cellCount) const;  // byte-wise

 private:
  TZRWFrame At(std::size_t position) const;
  std::vector<TZRWFrame> frames_;
};
