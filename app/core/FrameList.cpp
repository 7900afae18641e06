#include "core/FrameList.h"

#include <algorithm>

#include "core/ComponentError.h"

TZRWFrame DefaultFrame(std::int64_t cellCount) {
  TZRWFrame f;
  f.Name = kDefaultFrameName;
  f.Index = kDefaultFrame;
  f.Position = kDefaultFrame;
  f.FirstCell = 0;
  f.LastCell = static_cast<std::uint16_t>(std::clamp<std::int64_t>(cellCount - 1, 0, 65535));
  return f;
}

void TZRWFrameList::Add(const TZRWFrame& frame) {
  TZRWFrame f = frame;
  if (f.Name.size() > TZRWFrame::kMaxName) f.Name.resize(TZRWFrame::kMaxName);
  f.Position = 0;
  frames_.push_back(std::move(f));
  Change();
}

void TZRWFrameList::Add(const std::string& name, std::uint16_t index, std::uint16_t firstCell,
                        std::uint16_t lastCell) {
  TZRWFrame f;
  f.Name = name;
  f.Index = index;
  f.FirstCell = firstCell;
  f.LastCell = lastCell;
  Add(f);
}

void TZRWFrameList::Clear() {
  frames_.clear();
  Change();
}

void TZRWFrameList::Delete(std::size_t position) {
  if (position >= frames_.size()) throw EComponentError(kInvalidIndex);
  frames_.erase(frames_.begin() + static_cast<std::ptrdiff_t>(position));
  Change();
}

void TZRWFrameList::Delete(const TZRWFrame& frame) {
  auto it = std::find_if(frames_.begin(), frames_.end(), [&](const TZRWFrame& f) {
    return f.Name == frame.Name && f.Index == frame.Index && f.FirstCell == frame.FirstCell &&
           f.LastCell == frame.LastCell;
  });
  if (it == frames_.end()) return;
  frames_.erase(it);
  Change();
}

void TZRWFrameList::Assign(const TZRWFrameList& other) {
  if (&other == this) return;
  frames_ = other.frames_;
  Change();
}

TZRWFrame TZRWFrameList::At(std::size_t position) const {
  TZRWFrame f = frames_[position];
  f.Position = static_cast<std::uint16_t>(position);
  return f;
}

TZRWFrame TZRWFrameList::ByPosition(std::uint16_t position, std::int64_t cellCount) const {
  if (position == kDefaultFrame || (position == 0 && frames_.empty())) return DefaultFrame(cellCount);
  if (position >= frames_.size()) throw EComponentError(kInvalidIndex);
  return At(position);
}

TZRWFrame TZRWFrameList::ByIndex(std::uint16_t index, std::int64_t cellCount) const {
  if (index == kDefaultFrame) return DefaultFrame(cellCount);
  for (std::size_t i = 0; i < frames_.size(); ++i)
    if (frames_[i].Index == index) return At(i);
  throw EComponentError(kInvalidIndex);
}

TZRWFrame TZRWFrameList::ByName(const std::string& name, std::int64_t cellCount) const {
  if (name == kDefaultFrameName) return DefaultFrame(cellCount);
  for (std::size_t i = 0; i < frames_.size(); ++i)
    if (frames_[i].Name == name) return At(i);
  throw EComponentError(kInvalidIndex);
}
