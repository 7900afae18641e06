// How an animated image steps through the cells of its frame: the widget-free
// part of the animation, so that the sequences can be checked without a timer.
#pragma once

#include <cstdint>

enum class TZRWAnStyle { anOPShowLast, anOPFirst, anOPOldCell, anOPInvisible, anLoop, anLoopInvisible };

// The cells of a frame that a clip of `cellCount` cells can show. A frame
// read from a file may name cells beyond the clip or end before it starts;
// its range is cut to the clip (an empty clip gives the single cell 0), so a
// running animation never asks for a cell that is not there.
struct TZRWCellRange {
  std::uint16_t First = 0;
  std::uint16_t Last = 0;
  std::uint16_t CountMinusOne() const { return static_cast<std::uint16_t>(Last - First); }
  bool operator==(const TZRWCellRange&) const = default;
};
TZRWCellRange ClampFrameRange(std::uint16_t firstCell, std::uint16_t lastCell, std::int64_t cellCount);

// One run of a frame whose cells are 0..last (counted from the frame's first
// cell). Start() gives the first cell shown; each Step() moves one timer
// tick on, or answers false when the style ends the run there.
class TZRWCellSequence {
 public:
  TZRWCellSequence(std::uint16_t last, TZRWAnStyle style, bool loopReverse, bool playForward);

  std::uint16_t Start();
  bool Step();
  std::uint16_t Current() const { return current_; }
  bool Forward() const { return forward_; }

 private:
  bool Loops() const { return style_ == TZRWAnStyle::anLoop || style_ == TZRWAnStyle::anLoopInvisible; }

  std::uint16_t last_;
  TZRWAnStyle style_;
  bool loopReverse_;
  bool playForward_;
  bool forward_;
  std::uint16_t current_ = 0;
};

// The cell an image shows after Stop, given the cell it showed before the
// run; and whether Stop hides the image.
std::uint16_t CellAfterStop(TZRWAnStyle style, std::uint16_t cell, std::uint16_t last);
bool HiddenAfterStop(TZRWAnStyle style);
