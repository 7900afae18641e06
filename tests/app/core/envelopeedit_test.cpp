// The envelope editors: the screen mapping of each box, the free-hand
// editor's mouse sequences, mirroring, random envelopes, the ADSR bars and
// the envelope text import.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DocumentFixture.h"
#include "core/EnvelopeEdit.h"
#include "formats/EnvelopeImport.h"
#include "formats/PresetImport.h"

using kalvora::test::Envelope;

namespace {

TEST(EnvelopeMapping, ScreenPositionsTieToEven) {
  struct Case {
    int value, extent, screen;
  } xs[] = {{0, 561, 0}, {24, 561, 52} /* 52.5 */, {8, 561, 18} /* 17.5 */, {255, 561, 558}, {128, 561, 280},
            {0, 405, 0}, {32, 405, 50} /* 50.5 */, {255, 405, 402}, {64, 75, 18} /* 18.5 */, {255, 75, 74}};
  for (const Case& c : xs) EXPECT_EQ(EnvelopeX(c.value, c.extent), c.screen) << c.value << " in " << c.extent;
  struct YCase {
    int level, height, y;
  } ys[] = {{0, 255, 254}, {255, 255, 1}, {128, 255, 127}, {0, 157, 156}, {255, 157, 1}, {32, 157, 136} /* 136.5 */,
            {64, 157, 117}, {255, 75, 0}, {128, 75, 37}};
  for (const YCase& c : ys) EXPECT_EQ(EnvelopeY(c.level, c.height), c.y) << c.level << " in " << c.height;
}

TEST(EnvelopeMapping, BackFromTheScreenIsClampedTo255) {
  struct Case {
    int x, width, t;
  } cases[] = {{0, 561, 0}, {52, 561, 24}, {558, 561, 255}, {559, 561, 255}, {561, 561, 255}, {-3, 561, 0}, {5, 1, 0}};
  for (const Case& c : cases) EXPECT_EQ(EnvelopeTime(c.x, c.width), c.t) << c.x;
  EXPECT_EQ(EnvelopeLevel(254, 255), 0);
  EXPECT_EQ(EnvelopeLevel(0, 255), 255);  // 254 / (254/256) = 256: cut to 255
  EXPECT_EQ(EnvelopeLevel(126, 255), 129);
  for (int t = 0; t < 256; ++t) EXPECT_EQ(EnvelopeTime(EnvelopeX(t, 561), 561), t) << "a wide box keeps every time";
}

TEST(EnvelopeMapping, PositionText) {
  EXPECT_EQ(EnvelopePositionText(0, 0, 561, 255), "0% - 100%");
  EXPECT_EQ(EnvelopePositionText(560, 254, 561, 255), "100% - 0%");
  EXPECT_EQ(EnvelopePositionText(279, 127, 561, 255), "50% - 50%");
}

class FreeEditor : public ::testing::Test {
 protected:
  void SetUp() override { ed.Load(Envelope("Work", {{0, 0}, {128, 255}, {255, 0}})); }
  std::vector<std::pair<int, int>> Points() const {
    std::vector<std::pair<int, int>> p;
    for (int i = 0; i < ed.Envelope.Count; ++i) p.emplace_back(ed.Envelope.X[i], ed.Envelope.Y[i]);
    return p;
  }
  TEnvelopeEditor ed;
};

TEST_F(FreeEditor, ClickOnEmptySpaceInsertsAndDragsThePoint) {
  const int x = EnvelopeX(64, 561), y = EnvelopeY(100, 255);
  EXPECT_TRUE(ed.MouseDown(x, y, false));
  EXPECT_EQ(ed.Selected, 2);
  EXPECT_TRUE(ed.Dragging);
  EXPECT_EQ(Points(), (std::vector<std::pair<int, int>>{{0, 0}, {64, 100}, {128, 255}, {255, 0}}));
  ed.MouseMove(x + 20, y - 30);
  EXPECT_TRUE(ed.MouseUp());
  EXPECT_EQ(ed.Envelope.X[1], EnvelopeTime(x + 20, 561));
  EXPECT_EQ(ed.Envelope.Y[1], EnvelopeLevel(y - 30, 255));
  EXPECT_FALSE(ed.ButtonDown);
}

TEST_F(FreeEditor, DraggingOntoANeighbourKeepsTheTimesRising) {
  ASSERT_FALSE(ed.MouseDown(ed.X(2), ed.Y(2), false));
  ed.MouseMove(-50, 500);  // far left and below: stopped beside the first point
  EXPECT_EQ(ed.DragX, ed.X(1) + 1);
  EXPECT_EQ(ed.DragY, 254);
  ed.MouseUp();
  EXPECT_EQ(ed.Envelope.X[1], 1) << "the neighbour's time + 1";
  EXPECT_EQ(ed.Envelope.Y[1], 0);
  ed.MouseDown(ed.X(2), ed.Y(2), false);
  ed.MouseMove(2000, -40);
  ed.MouseUp();
  EXPECT_EQ(ed.Envelope.X[1], 254) << "the next point's time - 1";
  EXPECT_EQ(ed.Envelope.Y[1], 255);
}

TEST_F(FreeEditor, EndsStayAtTheEdges) {
  ed.MouseDown(ed.X(1), ed.Y(1), false);
  ed.MouseMove(300, 100);
  ed.MouseUp();
  EXPECT_EQ(ed.Envelope.X[0], 0);
  ed.MouseDown(ed.X(3), ed.Y(3), false);
  ed.MouseMove(10, 100);
  ed.MouseUp();
  EXPECT_EQ(ed.Envelope.X[2], 255);
  // Right clicks on the ends remove nothing; on an inner point they remove it.
  EXPECT_FALSE(ed.MouseDown(ed.X(1), ed.Y(1), true));
  ed.MouseUp();
  EXPECT_FALSE(ed.MouseDown(ed.X(3), ed.Y(3), true));
  ed.MouseUp();
  EXPECT_EQ(ed.Envelope.Count, 3);
  EXPECT_TRUE(ed.MouseDown(ed.X(2), ed.Y(2), true));
  ed.MouseMove(100, 100);
  EXPECT_FALSE(ed.MouseUp()) << "a removed point is not stored again";
  EXPECT_EQ(ed.Envelope.Count, 2);
  EXPECT_EQ(ed.Envelope.X[1], 255);
}

TEST_F(FreeEditor, ClicksBeyondTheEndsInsertBetweenThem) {
  // Left of the first point (and right of the last) a new point would come
  // before time 0 or after 255.
  ed.Load(Envelope("Work", {{0, 0}, {255, 0}}));
  EXPECT_TRUE(ed.MouseDown(0, 20, false) || ed.Envelope.Count == 2);
  ed.MouseUp();
  ed.MouseDown(560, 20, false);
  ed.MouseUp();
  for (int i = 1; i < ed.Envelope.Count; ++i) EXPECT_LT(ed.Envelope.X[i - 1], ed.Envelope.X[i]) << i;
  EXPECT_EQ(ed.Envelope.X[0], 0);
  EXPECT_EQ(ed.Envelope.X[ed.Envelope.Count - 1], 255);
  // No free time between two neighbours: nothing is inserted.
  ed.Load(Envelope("Tight", {{0, 0}, {1, 0}}));
  EXPECT_FALSE(ed.MouseDown(300, 20, false));
  EXPECT_EQ(ed.Envelope.Count, 2);
}

TEST_F(FreeEditor, AFullEnvelopeTakesNoMorePoints) {
  TVolumeEnvelope e;
  e.Count = 255;
  for (int i = 0; i < 255; ++i) e.X[i] = static_cast<std::uint8_t>(i);
  ed.Width = 2000;  // wide enough to click between points without a hit
  ed.Load(e);
  ed.Envelope.X[254] = 255;
  EXPECT_FALSE(ed.MouseDown(1990, 3, false));
  EXPECT_EQ(ed.Envelope.Count, 255);
}

TEST(EnvelopeMirror, TwiceRestoresAndLevelsFlip) {
  const TVolumeEnvelope e = Envelope("M", {{0, 0}, {10, 200}, {100, 50}, {255, 255}});
  TVolumeEnvelope m = e;
  MirrorEnvelopeTime(m);
  EXPECT_EQ(m.X[0], 0);
  EXPECT_EQ(m.Y[0], 255);
  EXPECT_EQ(m.X[1], 155);
  EXPECT_EQ(m.Y[1], 50);
  EXPECT_EQ(m.X[2], 245);
  EXPECT_EQ(m.X[3], 255);
  MirrorEnvelopeTime(m);
  EXPECT_EQ(m.X, e.X);
  EXPECT_EQ(m.Y, e.Y);
  MirrorEnvelopeLevel(m);
  EXPECT_EQ(m.Y[0], 255);
  EXPECT_EQ(m.Y[3], 0);
  EXPECT_EQ(m.Name, "M");
}

TEST(EnvelopeRandom, InvariantsOverManySeeds) {
  int smallest = 255, largest = 0;
  for (unsigned seed = 0; seed < 500; ++seed) {
    std::mt19937 random(seed);
    TVolumeEnvelope e = Envelope("Kept");
    RandomEnvelope(e, random);
    ASSERT_GE(e.Count, 3);
    ASSERT_LE(e.Count, 254);
    smallest = std::min<int>(smallest, e.Count);
    largest = std::max<int>(largest, e.Count);
    EXPECT_EQ(e.X[0], 0);
    EXPECT_EQ(e.X[e.Count - 1], 255);
    for (int i = 1; i < e.Count; ++i) ASSERT_LT(e.X[i - 1], e.X[i]) << "seed " << seed;
    EXPECT_EQ(e.Name, "Kept");
  }
  EXPECT_LT(smallest, 20);
  EXPECT_GT(largest, 235);
}

TEST(Adsr, DefaultAndBars) {
  TAdsrEditor a;
  EXPECT_EQ(a.Envelope.Count, 5);
  EXPECT_EQ(a.A, 50);
  EXPECT_EQ(a.D, 50);
  EXPECT_EQ(a.S, 102);
  EXPECT_EQ(a.R, 50);
  EXPECT_EQ(TAdsrEditor::BarLabel(a.S), "40 %");
  EXPECT_TRUE(TAdsrEditor::HasAdsrShape(a.Envelope));
}

TEST(Adsr, TableOfBarMoves) {
  struct Step {
    char bar;
    int value;
    int t2, t3, l3, t4;
  } steps[] = {
      {'D', 30, 50, 80, 102, 205},  {'R', 40, 50, 80, 102, 215},  {'A', 200, 185, 215, 102, 215},
      {'S', 0, 185, 215, 0, 215},   {'A', 10, 10, 40, 0, 215},    {'R', 250, 10, 40, 0, 40},
      {'D', 255, 10, 40, 0, 40},
  };
  TAdsrEditor a;
  for (const Step& s : steps) {
    switch (s.bar) {
      case 'A': a.A = s.value; a.SetAttack(s.value); break;
      case 'D': a.D = s.value; a.SetDecay(s.value); break;
      case 'S': a.S = s.value; a.SetSustain(s.value); break;
      case 'R': a.R = s.value; a.SetRelease(s.value); break;
    }
    EXPECT_EQ(a.Envelope.X[1], s.t2) << s.bar << s.value;
    EXPECT_EQ(a.Envelope.X[2], s.t3) << s.bar << s.value;
    EXPECT_EQ(a.Envelope.Y[2], s.l3) << s.bar << s.value;
    EXPECT_EQ(a.Envelope.Y[3], s.l3) << s.bar << s.value;
    EXPECT_EQ(a.Envelope.X[3], s.t4) << s.bar << s.value;
    EXPECT_LE(a.A + a.D + a.R, 255);
  }
}

TEST(Adsr, RandomKeepsTheShapeOverManySeeds) {
  for (unsigned seed = 0; seed < 200; ++seed) {
    std::mt19937 random(seed);
    TAdsrEditor a;
    a.Random(random);
    ASSERT_TRUE(TAdsrEditor::HasAdsrShape(a.Envelope)) << seed;
    EXPECT_EQ(a.Envelope.X[0], 0);
    EXPECT_EQ(a.Envelope.X[4], 255);
    EXPECT_GE(a.A, 1);
    EXPECT_GE(a.D, 1);
    EXPECT_GE(a.R, 1);
    for (int i = 1; i < 5; ++i) EXPECT_LE(a.Envelope.X[i - 1], a.Envelope.X[i]) << seed;
  }
}

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

TEST(EnvelopeImport, ReadsLfAndCrLfFiles) {
  for (const char* eol : {"\n", "\r\n"}) {
    const std::string e = eol;
    const auto env = ReadEnvelopeText(Bytes("Kalvora Volume Envelope Text File" + e + "A very long envelope name" + e +
                                            "3" + e + "0 0" + e + "100   255" + e + "255 7" + e));
    EXPECT_EQ(env.Name, "A very long envelope");
    ASSERT_EQ(env.Count, 3);
    EXPECT_EQ(env.X[1], 100);
    EXPECT_EQ(env.Y[1], 255);
    EXPECT_EQ(env.Y[2], 7);
  }
  // The last line needs no line end.
  EXPECT_EQ(ReadEnvelopeText(Bytes("Kalvora Volume Envelope Text File\nx\n1\n0 9")).Y[0], 9);
}

// The files end a name at a zero byte: the name line is cut there, so two
// names that differ only after it are one name, as they will be once stored.
TEST(EnvelopeImport, NameIsCutAtANul) {
  struct Case {
    std::string line, name;
  } cases[] = {
      {std::string("Bass\0one", 8), "Bass"},
      {std::string("\0lead", 5), ""},
      {std::string(19, 'n') + std::string("\0x", 2), std::string(19, 'n')},
      {std::string(20, 'n') + std::string("\0x", 2), std::string(20, 'n')},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReadEnvelopeText(Bytes("Kalvora Volume Envelope Text File\n" + c.line + "\n1\n0 9\n")).Name, c.name)
        << c.line;
}

TEST(EnvelopeImport, RefusesBadFiles) {
  const std::string h = "Kalvora Volume Envelope Text File\n";
  struct Case {
    std::string text;
    bool wrongFormat;
    std::string message;
  } cases[] = {
      {"Kalvora Preset Text File\nx\n1\n0 0\n", true, kEnvelopeWrongFormat},
      {"", true, kEnvelopeWrongFormat},
      {h, false, PresetImportMessage::kEndOfFile},
      {h + "name\n3\n0 0\n10 10\n", false, PresetImportMessage::kEndOfFile},
      {h + "name\n2\n0 0\n255\n", false, PresetImportMessage::kEndOfFile},
      {h + "name\n2\n0 0\n25x 3\n", false, PresetImportMessage::kBadNumber},
      {h + "name\nthree\n", false, PresetImportMessage::kBadNumber},
      {h + "name\n0\n", false, kEnvelopeCountOutOfRange},
      {h + "name\n256\n", false, kEnvelopeCountOutOfRange},
      {h + "name\n-1\n", false, kEnvelopeCountOutOfRange},
      {h + "name\n2\n0 0\n256 0\n", false, kEnvelopeValueOutOfRange},
      {h + "name\n2\n0 -1\n255 0\n", false, kEnvelopeValueOutOfRange},
      {h + "name\n2\n0 0\n255 99999999999\n", false, PresetImportMessage::kBadNumber},
  };
  for (const Case& c : cases) {
    try {
      ReadEnvelopeText(Bytes(c.text));
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const EEnvelopeImportError& e) {
      EXPECT_EQ(e.WrongFormat, c.wrongFormat) << c.text;
      EXPECT_EQ(std::string(e.what()), c.message) << c.text;
    }
  }
}

}  // namespace
