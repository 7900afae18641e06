// The cells an animated image shows, tick by tick, for each style; and the
// ranges it takes from frames that reach beyond their clip. Needs no widgets.
#include <gtest/gtest.h>

#include <vector>

#include "core/AnimationSteps.h"

namespace {

using enum TZRWAnStyle;

// The cell shown at start and after each of `ticks` timer steps; a step that
// ends the run ends the list.
std::vector<int> Shown(int last, TZRWAnStyle style, bool loopReverse, bool forward, int ticks) {
  TZRWCellSequence s(static_cast<std::uint16_t>(last), style, loopReverse, forward);
  std::vector<int> shown = {s.Start()};
  for (int i = 0; i < ticks && s.Step(); ++i) shown.push_back(s.Current());
  return shown;
}

std::vector<int> Range(int from, int to) {
  std::vector<int> v;
  for (int i = from; from <= to ? i <= to : i >= to; i += from <= to ? 1 : -1) v.push_back(i);
  return v;
}

std::vector<int> Join(std::initializer_list<std::vector<int>> parts) {
  std::vector<int> v;
  for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
  return v;
}

TEST(CellSequence, StepsByStyle) {
  struct Case {
    const char* what;
    int last;
    TZRWAnStyle style;
    bool loopReverse, forward;
    int ticks;
    std::vector<int> shown;
  } cases[] = {
      {"loop, 18 cells", 17, anLoop, false, true, 40, Join({Range(0, 17), Range(0, 17), Range(0, 4)})},
      {"loop reverse", 17, anLoop, true, true, 40, Join({Range(0, 17), Range(17, 0), Range(0, 4)})},
      {"loop backwards", 3, anLoopInvisible, false, false, 9, {3, 2, 1, 0, 3, 2, 1, 0, 3, 2}},
      {"loop reverse backwards", 3, anLoop, true, false, 9, {3, 2, 1, 0, 0, 1, 2, 3, 3, 2}},
      {"show last runs once", 4, anOPShowLast, false, true, 20, {0, 1, 2, 3, 4}},
      {"first, backwards once", 4, anOPFirst, true, false, 20, {4, 3, 2, 1, 0}},
      {"old cell ignores loop reverse", 2, anOPOldCell, true, true, 20, {0, 1, 2}},
      {"invisible", 2, anOPInvisible, false, true, 20, {0, 1, 2}},
      {"single cell loops in place", 0, anLoop, false, true, 3, {0, 0, 0, 0}},
      {"single cell once", 0, anOPShowLast, false, true, 3, {0}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Shown(c.last, c.style, c.loopReverse, c.forward, c.ticks), c.shown) << c.what;
}

TEST(CellSequence, StartBeginsAnewEachRun) {
  TZRWCellSequence s(5, anLoop, true, true);
  s.Start();
  for (int i = 0; i < 8; ++i) s.Step();  // now running backwards
  EXPECT_FALSE(s.Forward());
  EXPECT_EQ(s.Start(), 0);
  EXPECT_TRUE(s.Forward());
}

TEST(CellSequence, WhatStopLeaves) {
  struct Case {
    TZRWAnStyle style;
    int cellAfter;
    bool hidden;
  } cases[] = {
      {anOPShowLast, 17, false}, {anOPFirst, 0, false},     {anOPOldCell, 5, false},
      {anOPInvisible, 5, true},  {anLoop, 5, false},        {anLoopInvisible, 5, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CellAfterStop(c.style, 5, 17), c.cellAfter) << static_cast<int>(c.style);
    EXPECT_EQ(HiddenAfterStop(c.style), c.hidden) << static_cast<int>(c.style);
  }
}

TEST(CellSequence, FrameRangesAreCutToTheClip) {
  struct Case {
    const char* what;
    int first, last;
    long long cells;
    TZRWCellRange range;
  } cases[] = {
      {"inside", 6, 11, 12, {6, 11}},
      {"last beyond the clip", 6, 40, 12, {6, 11}},
      {"wholly beyond the clip", 20, 30, 12, {11, 11}},
      {"ends before it starts", 8, 3, 12, {8, 8}},
      {"empty clip", 2, 5, 0, {0, 0}},
      {"cells beyond 16 bits", 0, 65535, 70000, {0, 65535}},
      {"the frame ALL of a large clip", 0, 65535, 300, {0, 299}},
  };
  for (const Case& c : cases) {
    const TZRWCellRange r = ClampFrameRange(static_cast<std::uint16_t>(c.first), static_cast<std::uint16_t>(c.last), c.cells);
    EXPECT_EQ(r, c.range) << c.what;
    EXPECT_LE(r.First, r.Last) << c.what;
  }
}

}  // namespace
