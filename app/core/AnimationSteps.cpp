#include "core/AnimationSteps.h"

#include <algorithm>

TZRWCellRange ClampFrameRange(std::uint16_t firstCell, std::uint16_t lastCell, std::int64_t cellCount) {
  if (cellCount <= 0) return {};
  const std::int64_t top = std::min<std::int64_t>(cellCount - 1, 65535);
  TZRWCellRange r;
  r.First = static_cast<std::uint16_t>(std::min<std::int64_t>(firstCell, top));
  r.Last = static_cast<std::uint16_t>(std::clamp<std::int64_t>(lastCell, r.First, top));
  return r;
}

TZRWCellSequence::TZRWCellSequence(std::uint16_t last, TZRWAnStyle style, bool loopReverse, bool playForward)
    : last_(last), style_(style), loopReverse_(loopReverse), playForward_(playForward), forward_(playForward) {}

std::uint16_t TZRWCellSequence::Start() {
  forward_ = playForward_;
  current_ = forward_ ? 0 : last_;
  return current_;
}

bool TZRWCellSequence::Step() {
  if (forward_) {
    if (current_ < last_) {
      ++current_;
      return true;
    }
    if (!Loops()) return false;
    if (loopReverse_)
      forward_ = false;  // the last cell shows once more
    else
      current_ = 0;
    return true;
  }
  if (current_ > 0) {
    --current_;
    return true;
  }
  if (!Loops()) return false;
  if (loopReverse_)
    forward_ = true;  // cell 0 shows once more
  else
    current_ = last_;
  return true;
}

std::uint16_t CellAfterStop(TZRWAnStyle style, std::uint16_t cell, std::uint16_t last) {
  switch (style) {
    case TZRWAnStyle::anOPShowLast: return last;
    case TZRWAnStyle::anOPFirst: return 0;
    default: return cell;
  }
}

bool HiddenAfterStop(TZRWAnStyle style) {
  return style == TZRWAnStyle::anOPInvisible || style == TZRWAnStyle::anLoopInvisible;
}
