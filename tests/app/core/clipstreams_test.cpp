// The stream forms of picture and animation clips, byte by byte: what the
// writers put down, what the readers take (also the older forms), and the
// texts with which they refuse a stream. Needs no widgets.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/ComponentError.h"
#include "formats/ClipStreams.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TClipPicture Picture(int w, int h) {
  TClipPicture p;
  p.Width = w, p.Height = h;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.Pixels.push_back(static_cast<std::uint32_t>((x * 40) << 16 | (y * 60) << 8 | (x + y)));
  return p;
}

void Put16(Bytes& b, unsigned v) { b.push_back(v & 0xFF), b.push_back((v >> 8) & 0xFF); }
void Put32(Bytes& b, std::uint32_t v) { Put16(b, v & 0xFFFF), Put16(b, v >> 16); }
void PutText(Bytes& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }

// A bitmap file image written by hand: 2 x 1 pixels, red then blue, 24-bit,
// one row padded from 6 to 8 bytes; with its 32-bit length in front.
Bytes HandMadePicture() {
  Bytes img = {'B', 'M'};
  Put32(img, 14 + 40 + 8), Put32(img, 0), Put32(img, 54);
  Put32(img, 40), Put32(img, 2), Put32(img, 1), Put16(img, 1), Put16(img, 24), Put32(img, 0), Put32(img, 8);
  Put32(img, 0), Put32(img, 0), Put32(img, 0), Put32(img, 0);
  for (std::uint8_t v : {0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00}) img.push_back(v);
  Bytes b;
  Put32(b, static_cast<std::uint32_t>(img.size()));
  b.insert(b.end(), img.begin(), img.end());
  return b;
}

std::string ErrorOf(auto fn) {
  try {
    fn();
  } catch (const EComponentError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(ClipStreams, PictureClipBeginsWithItsMagicRowsAndColumns) {
  TClipContent c;
  c.Rows = 2, c.Columns = 3;
  c.Bitmap = Picture(9, 4);
  Bytes b;
  WriteClipStream(b, c);
  const Bytes head = {5, 'P', 'C', 'P', '1', '1', 2, 0, 3, 0};
  ASSERT_GT(b.size(), 16u);
  EXPECT_EQ(Bytes(b.begin(), b.begin() + 10), head);
  // Then the picture's length and the bitmap file image it counts.
  const std::uint32_t length = b[10] | b[11] << 8 | b[12] << 16 | b[13] << 24;
  EXPECT_EQ(length, b.size() - 14);
  EXPECT_EQ(b[14], 'B');
  EXPECT_EQ(b[15], 'M');
  // 9 pixels of 3 bytes make rows of 27 bytes padded to 28.
  EXPECT_EQ(length, 14u + 40u + 28u * 4u);
}

TEST(ClipStreams, AnimationClipWritesEachFrameField) {
  TAniClipContent c;
  c.Frames.push_back({"Wave", 7, 0, 17, 0});
  c.Frames.push_back({"", 65535, 3, 4, 0});
  c.Clip.Rows = 1, c.Clip.Columns = 18;
  Bytes b;
  WriteAniClipStream(b, c);
  Bytes expected = {5, 'P', 'C', 'L', '1', '1', 2, 0};
  Put32(expected, 4), PutText(expected, "Wave"), Put16(expected, 7), Put16(expected, 0), Put16(expected, 17);
  Put32(expected, 0), Put16(expected, 65535), Put16(expected, 3), Put16(expected, 4);
  Put16(expected, 1), Put16(expected, 18);
  Put32(expected, 0);  // an empty picture is its zero length only
  EXPECT_EQ(b, expected);
}

TEST(ClipStreams, WrittenClipsReadBackTheSame) {
  TAniClipContent c;
  c.Frames.push_back({"Blink", 1, 2, 5, 0});
  c.Frames.push_back({"Idle", 2, 0, 0, 0});
  c.Clip.Rows = 2, c.Clip.Columns = 3;
  c.Clip.Bitmap = Picture(6, 3);  // odd width: padded rows
  Bytes b;
  WriteAniClipStream(b, c);
  b.push_back(0xAB);  // what follows the clip is not the clip's
  TAniClipContent back;
  EXPECT_EQ(ReadAniClipStream(b, back), b.size() - 1);
  EXPECT_EQ(back.Frames, c.Frames);
  EXPECT_EQ(back.Clip.Rows, 2);
  EXPECT_EQ(back.Clip.Columns, 3);
  EXPECT_EQ(back.Clip.Bitmap, c.Clip.Bitmap);

  Bytes p;
  WriteClipStream(p, c.Clip);
  TClipContent pictureBack;
  EXPECT_EQ(ReadClipStream(p, pictureBack), p.size());
  EXPECT_EQ(pictureBack.Bitmap, c.Clip.Bitmap);
  EXPECT_EQ(pictureBack.Rows, 2);
}

TEST(ClipStreams, OldPictureClipSkipsItsBlockBeforeRows) {
  Bytes b = {5, 'P', 'C', 'P', '1', '0'};
  b.insert(b.end(), 256, 0x55);
  Put16(b, 1), Put16(b, 2);
  const Bytes pic = HandMadePicture();
  b.insert(b.end(), pic.begin(), pic.end());
  TClipContent c;
  EXPECT_EQ(ReadClipStream(b, c), b.size());
  EXPECT_EQ(c.Rows, 1);
  EXPECT_EQ(c.Columns, 2);
  ASSERT_EQ(c.Bitmap.Width, 2);
  ASSERT_EQ(c.Bitmap.Height, 1);
  EXPECT_EQ(c.Bitmap.At(0, 0), 0xFF0000u);  // red
  EXPECT_EQ(c.Bitmap.At(1, 0), 0x0000FFu);  // blue
}

TEST(ClipStreams, OldAnimationClipHasByteLongNamesCutTo24) {
  Bytes b = {5, 'P', 'C', 'L', '1', '0'};
  b.insert(b.end(), 256, 0);
  Put16(b, 2);
  const std::string longName = "A name much longer than twenty-four";
  b.push_back(static_cast<std::uint8_t>(longName.size())), PutText(b, longName);
  Put16(b, 9), Put16(b, 0), Put16(b, 1);
  b.push_back(3), PutText(b, "End");
  Put16(b, 10), Put16(b, 1), Put16(b, 1);
  Put16(b, 1), Put16(b, 2);
  const Bytes pic = HandMadePicture();
  b.insert(b.end(), pic.begin(), pic.end());
  TAniClipContent c;
  EXPECT_EQ(ReadAniClipStream(b, c), b.size());
  ASSERT_EQ(c.Frames.size(), 2u);
  EXPECT_EQ(c.Frames[0].Name, longName.substr(0, 24));
  EXPECT_EQ(c.Frames[0].Index, 9);
  EXPECT_EQ(c.Frames[0].LastCell, 1);
  EXPECT_EQ(c.Frames[1].Name, "End");
  EXPECT_EQ(c.Frames[1].FirstCell, 1);
  EXPECT_EQ(c.Clip.Columns, 2);
  EXPECT_EQ(c.Clip.Bitmap.At(1, 0), 0x0000FFu);
}

TEST(ClipStreams, RefusalsNameWhatIsWrong) {
  Bytes good;
  TAniClipContent c;
  c.Frames.push_back({"Blink", 1, 0, 1, 0});
  c.Clip.Rows = 1, c.Clip.Columns = 2, c.Clip.Bitmap = Picture(2, 1);
  WriteAniClipStream(good, c);
  Bytes goodPicture;
  WriteClipStream(goodPicture, c.Clip);

  auto with = [](Bytes b, std::size_t at, std::uint8_t v) { return b[at] = v, b; };
  auto cut = [](Bytes b, std::size_t n) { return b.resize(n), b; };
  Bytes hugeName = {5, 'P', 'C', 'L', '1', '1', 1, 0};
  Put32(hugeName, 0x7FFFFFF0u), PutText(hugeName, "short");
  Bytes negativeName = {5, 'P', 'C', 'L', '1', '1', 1, 0};
  Put32(negativeName, 0xFFFFFFFFu), PutText(negativeName, "abc");
  Bytes badBitmap = {5, 'P', 'C', 'P', '1', '1', 1, 0, 1, 0};
  Put32(badBitmap, 4), PutText(badBitmap, "BMxx");
  const std::size_t bitsPerPixel = 10 + 4 + 14 + 14;  // magic, grid, length, file header, info up to it
  struct Case {
    const char* what;
    Bytes bytes;
    bool animation;
    const char* error;
  } cases[] = {
      {"picture magic", with(goodPicture, 3, 'L'), false, "Invalid File"},
      {"picture length byte", with(goodPicture, 0, 4), false, "Invalid File"},
      {"animation magic", with(good, 5, '2'), true, "Invalid File!"},
      {"picture clip read as animation", goodPicture, true, "Invalid File!"},
      {"short magic", Bytes{5, 'P', 'C'}, true, "Stream read error"},
      {"no rows", cut(goodPicture, 7), false, "Stream read error"},
      {"old form without its block", cut(Bytes{5, 'P', 'C', 'P', '1', '0', 0}, 7), false, "Stream read error"},
      {"frame cut short", cut(good, 15), true, "Stream read error"},
      {"name longer than the file", hugeName, true, "Stream read error"},
      {"negative name length", negativeName, true, "Stream read error"},
      {"picture shorter than its length", cut(goodPicture, goodPicture.size() - 1), false, "Stream read error"},
      {"not a bitmap", badBitmap, false, "Bitmap image is not valid"},
      {"8-bit bitmap", with(goodPicture, bitsPerPixel, 8), false, "Bitmap image is not valid"},
  };
  for (const Case& k : cases) {
    if (k.animation) {
      TAniClipContent out;
      EXPECT_EQ(ErrorOf([&] { ReadAniClipStream(k.bytes, out); }), k.error) << k.what;
    } else {
      TClipContent out;
      EXPECT_EQ(ErrorOf([&] { ReadClipStream(k.bytes, out); }), k.error) << k.what;
    }
  }
}

TEST(ClipStreams, AFrameCountBeyond16BitsIsNotWrittenCut) {
  TAniClipContent c;
  c.Frames.resize(65536);
  Bytes b;
  EXPECT_EQ(ErrorOf([&] { WriteAniClipStream(b, c); }), "Too many frames");
  c.Frames.resize(65535);
  WriteAniClipStream(b, c);
  TAniClipContent back;
  ReadAniClipStream(b, back);
  EXPECT_EQ(back.Frames.size(), 65535u);
}

TEST(ClipStreams, BitmapSizesFromTheFileAreBounded) {
  // A header that claims a picture far larger than the bytes it carries, or
  // sides beyond what the reader takes, is refused before anything is sized.
  for (std::uint32_t w : {70000u, 0u, 0x80000000u}) {
    TClipContent c;
    c.Bitmap = Picture(2, 1);
    Bytes b;
    WriteClipStream(b, c);
    const std::size_t widthAt = 10 + 4 + 18;
    b[widthAt] = w & 0xFF, b[widthAt + 1] = (w >> 8) & 0xFF, b[widthAt + 2] = (w >> 16) & 0xFF, b[widthAt + 3] = w >> 24;
    TClipContent out;
    EXPECT_EQ(ErrorOf([&] { ReadClipStream(b, out); }), "Bitmap image is not valid") << w;
  }
}

TEST(ClipStreams, TopDownBitmapsReadRightSideUp) {
  Bytes b = HandMadePicture();
  // Two rows from the top: height -2, second row green then white.
  const std::size_t heightAt = 4 + 22;
  const std::uint32_t minusTwo = 0xFFFFFFFEu;
  for (int i = 0; i < 4; ++i) b[heightAt + i] = (minusTwo >> (8 * i)) & 0xFF;
  for (std::uint8_t v : {0x00, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00}) b.push_back(v);
  const std::uint32_t length = static_cast<std::uint32_t>(b.size() - 4);
  for (int i = 0; i < 4; ++i) b[i] = (length >> (8 * i)) & 0xFF;
  TClipPicture p;
  EXPECT_EQ(ReadPictureStream(b, p), b.size());
  ASSERT_EQ(p.Height, 2);
  EXPECT_EQ(p.At(0, 0), 0xFF0000u);
  EXPECT_EQ(p.At(0, 1), 0x00FF00u);
  EXPECT_EQ(p.At(1, 1), 0xFFFFFFu);
}

}  // namespace
