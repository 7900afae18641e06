// Picture clips and animation clips as objects: cells, the checks of their
// setters, frame lookups, files and streams. Clip files are read and
// replaced like every other file of the program.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QColor>
#include <QImage>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ChildProcess.h"
#include "TempFolder.h"
#include "components/ClipObjects.h"
#include "core/ComponentError.h"
#include "core/FileAccess.h"

namespace {

// Cells of `w` x `h` pixels, each filled with a colour that encodes its number.
QImage Strip(int columns, int rows, int w, int h) {
  QImage img(columns * w, rows * h, QImage::Format_RGB32);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) {
      const int n = r * columns + c;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(c * w + x, r * h + y, qRgb(n & 0xFF, n >> 8, 100));
    }
  return img;
}

int CellNumber(const QImage& cell) {
  const QRgb p = cell.pixel(0, 0);
  return qRed(p) | qGreen(p) << 8;
}

std::string ErrorOf(auto fn) {
  try {
    fn();
  } catch (const EComponentError& e) {
    return e.what();
  }
  return "(no error)";
}

std::filesystem::path TempFile(const char* name) {
  return std::filesystem::temp_directory_path() / (std::string("kalvora_clip_") + std::to_string(::getpid()) + name);
}

TEST(ZRWClip, ColumnsMustDivideThePictureWidth) {
  TZRWClip clip;
  int changes = 0;
  clip.OnChange = [&](TZRWObject*) { ++changes; };
  clip.SetBitmap(Strip(18, 1, 10, 12));
  EXPECT_EQ(clip.Rows(), 1);
  EXPECT_EQ(clip.Columns(), 1);
  clip.SetColumns(18);
  EXPECT_EQ(clip.Columns(), 18);
  clip.SetColumns(9);
  EXPECT_EQ(clip.Columns(), 9);
  EXPECT_EQ(ErrorOf([&] { clip.SetColumns(7); }), "Error:\n7 does not fit in 180 (Bitmap-Width)");
  EXPECT_EQ(clip.Columns(), 9);
  EXPECT_EQ(ErrorOf([&] { clip.SetRows(5); }), "Error:\n5 does not fit in 12 (Bitmap-Height)");
  const int before = changes;
  clip.SetColumns(0);  // ignored
  clip.SetColumns(9);  // unchanged
  EXPECT_EQ(changes, before);
  EXPECT_EQ(clip.Columns(), 9);
}

TEST(ZRWClip, CellsAreCutFromTheGrid) {
  TZRWClip clip;
  clip.SetBitmap(Strip(18, 1, 4, 3));
  clip.SetColumns(18);
  const QImage& cell = clip.GetCellByIndex(17);  // column 17, row 0
  EXPECT_EQ(cell.size(), QSize(4, 3));
  EXPECT_EQ(CellNumber(cell), 17);
  ASSERT_NE(clip.GetCellBitmap(), nullptr);
  clip.ClearCell();
  EXPECT_EQ(clip.GetCellBitmap(), nullptr);

  TZRWClip grid;
  grid.SetBitmap(Strip(3, 2, 2, 2));
  grid.SetColumns(3);
  grid.SetRows(2);
  EXPECT_EQ(CellNumber(grid.GetCellByIndex(4)), 4);  // column 1, row 1
  EXPECT_EQ(CellNumber(grid.GetCell(2, 1)), 5);
  EXPECT_EQ(ErrorOf([&] { grid.GetCell(3, 0); }), "Invalid index- or cell-value(s)");
  EXPECT_EQ(ErrorOf([&] { grid.GetCell(0, 2); }), "Invalid index- or cell-value(s)");
  EXPECT_EQ(ErrorOf([&] { grid.GetCellByIndex(6); }), "Invalid index- or cell-value(s)");
  EXPECT_EQ(ErrorOf([&] { grid.GetCell(-1, 0); }), "Invalid index- or cell-value(s)");
}

TEST(ZRWClip, CellsBeyond255AreReachable) {
  TZRWClip clip;
  clip.SetBitmap(Strip(300, 1, 1, 1));
  clip.SetColumns(300);
  EXPECT_EQ(CellNumber(clip.GetCell(280, 0)), 280);
  EXPECT_EQ(CellNumber(clip.GetCellByIndex(299)), 299);
  // A source rectangle beyond x = 255 lies inside a 300-pixel picture.
  EXPECT_EQ(clip.CopySrcRect(260, 0, 290, 1).width(), 30);
  EXPECT_EQ(CellNumber(clip.CopySrcRect(270, 0, 260, 1)), 260);
}

TEST(ZRWClip, SourceRectanglesMustLieInside) {
  TZRWClip clip;
  EXPECT_EQ(ErrorOf([&] { clip.CopySrcRect(0, 0, 1, 1); }), "Clip-object is empty!");
  EXPECT_EQ(ErrorOf([&] { clip.GetCell(0, 0); }), "Clip-object is empty!");
  EXPECT_EQ(ErrorOf([&] { clip.GetCellByIndex(0); }), "Clip-object is empty!");
  clip.SetBitmap(Strip(4, 1, 5, 5));
  EXPECT_EQ(clip.CopySrcRect(QRect(5, 0, 10, 5)).size(), QSize(10, 5));
  EXPECT_EQ(CellNumber(clip.CopySrcRect(QRect(5, 0, 10, 5))), 1);
  EXPECT_EQ(ErrorOf([&] { clip.CopySrcRect(0, 0, 21, 5); }), "Invalid Src-Rect");
  EXPECT_EQ(ErrorOf([&] { clip.CopySrcRect(-1, 0, 5, 5); }), "Invalid Src-Rect");
  EXPECT_EQ(ErrorOf([&] { clip.CopySrcRect(0, 0, 5, 6); }), "Invalid Src-Rect");
}

TEST(ZRWClip, ANewPictureResetsTheGrid) {
  TZRWClip clip;
  clip.SetBitmap(Strip(4, 2, 2, 2));
  clip.SetColumns(4);
  clip.SetRows(2);
  clip.GetCellByIndex(1);
  clip.SetBitmap(Strip(2, 1, 3, 3));
  EXPECT_EQ(clip.Columns(), 1);
  EXPECT_EQ(clip.Rows(), 1);
  EXPECT_EQ(clip.GetCellBitmap(), nullptr);
  clip.SetBitmap(QImage());
  EXPECT_EQ(clip.Columns(), 0);
  EXPECT_TRUE(clip.IsEmpty());
}

TEST(ZRWClip, AGridOfZeroFromAFileNamesNoCell) {
  // Rows and Columns are taken from a picture clip's stream as they stand.
  TClipContent content;
  content.Rows = 0, content.Columns = 0;
  content.Bitmap = PictureFromImage(Strip(2, 1, 2, 2));
  std::vector<std::uint8_t> bytes;
  WriteClipStream(bytes, content);
  QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  QBuffer buf(&data);
  buf.open(QIODevice::ReadOnly);
  TZRWClip clip;
  clip.LoadFromStream(buf);
  EXPECT_EQ(clip.Columns(), 0);
  EXPECT_EQ(clip.CellWidth(), 0);
  EXPECT_EQ(ErrorOf([&] { clip.GetCellByIndex(0); }), "Invalid index- or cell-value(s)");
  EXPECT_EQ(ErrorOf([&] { clip.GetCell(0, 0); }), "Invalid index- or cell-value(s)");
}

TEST(ZRWClip, SavedToAFileReadsBack) {
  TZRWClip clip;
  clip.SetBitmap(Strip(6, 2, 3, 4));
  clip.SetColumns(6);
  clip.SetRows(2);
  const auto path = TempFile("clip.pcp");
  clip.SaveToFile(path.string());
  TZRWClip back;
  back.LoadFromFile(path.string());
  EXPECT_EQ(back.Rows(), 2);
  EXPECT_EQ(back.Columns(), 6);
  EXPECT_EQ(back.Bitmap(), clip.Bitmap());
  std::filesystem::remove(path);
  EXPECT_EQ(ErrorOf([&] { back.LoadFromFile(path.string()); }), "Cannot open file " + path.string());
}

TEST(ZRWClip, AFailedLoadLeavesTheClipCleared) {
  TZRWClip clip;
  clip.SetBitmap(Strip(2, 1, 2, 2));
  QByteArray junk("\005PCX11....");
  QBuffer buf(&junk);
  buf.open(QIODevice::ReadOnly);
  EXPECT_EQ(ErrorOf([&] { clip.LoadFromStream(buf); }), "Invalid File");
  EXPECT_TRUE(clip.IsEmpty());
  EXPECT_EQ(clip.Columns(), 0);
}

class ZRWAniClipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ani.Clip().SetBitmap(Strip(6, 2, 4, 4));
    ani.Clip().SetColumns(6);
    ani.Clip().SetRows(2);
    ani.Frames().Add("Blink", 10, 0, 5);
    ani.Frames().Add("Wave", 20, 6, 11);
  }
  TZRWAniClip ani;
};

TEST_F(ZRWAniClipTest, StreamBeginsWithItsMagicAndReadsBack) {
  QBuffer buf;
  buf.open(QIODevice::ReadWrite);
  buf.write("lead");  // the clip is written where the stream stands
  ani.SaveToStream(buf);
  buf.write("tail");
  const QByteArray& data = buf.data();
  EXPECT_EQ(data.mid(4, 6), QByteArray("\005PCL11"));
  buf.seek(4);
  TZRWAniClip back;
  back.LoadFromStream(buf);
  EXPECT_EQ(buf.read(4), QByteArray("tail"));
  ASSERT_EQ(back.Frames().Count(), 2u);
  EXPECT_EQ(back.Frames()[1].Name, "Wave");
  EXPECT_EQ(back.Frames()[1].FirstCell, 6);
  EXPECT_EQ(back.Clip().Rows(), 2);
  EXPECT_EQ(back.Clip().Columns(), 6);
  EXPECT_EQ(back.Clip().Bitmap(), ani.Clip().Bitmap());
}

TEST_F(ZRWAniClipTest, AGridThatDoesNotFitFailsTheLoadAndClearsTheClip) {
  TAniClipContent content;
  content.Frames = ani.Frames().Frames();
  content.Clip = ani.Clip().Content();
  content.Clip.Columns = 5;  // 24 pixels do not split into 5 columns
  std::vector<std::uint8_t> bytes;
  WriteAniClipStream(bytes, content);
  QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  QBuffer buf(&data);
  buf.open(QIODevice::ReadOnly);
  EXPECT_EQ(ErrorOf([&] { ani.LoadFromStream(buf); }), "Error:\n5 does not fit in 24 (Bitmap-Width)");
  EXPECT_TRUE(ani.IsEmpty());
  EXPECT_TRUE(ani.Frames().Empty());
}

TEST_F(ZRWAniClipTest, FramesAreFoundByPositionIndexAndName) {
  struct Case {
    const char* what;
    TZRWFrame got;
    std::string name;
    int position, first, last;
  } cases[] = {
      {"position 1", ani.FrameByPosition(1), "Wave", 1, 6, 11},
      {"position 65535", ani.FrameByPosition(65535), "ALL", 65535, 0, 11},
      {"index 10", ani.FrameByIndex(10), "Blink", 0, 0, 5},
      {"index 65535", ani.FrameByIndex(65535), "ALL", 65535, 0, 11},
      {"name Wave", ani.FrameByName("Wave"), "Wave", 1, 6, 11},
      {"name ALL", ani.FrameByName("ALL"), "ALL", 65535, 0, 11},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.got.Name, c.name) << c.what;
    EXPECT_EQ(c.got.Position, c.position) << c.what;
    EXPECT_EQ(c.got.FirstCell, c.first) << c.what;
    EXPECT_EQ(c.got.LastCell, c.last) << c.what;
  }
  EXPECT_EQ(ani.FrameCells(1), std::make_pair(std::uint16_t{6}, std::uint16_t{11}));
  EXPECT_EQ(ErrorOf([&] { ani.FrameByPosition(2); }), "Invalid Index");
  EXPECT_EQ(ErrorOf([&] { ani.FrameByIndex(11); }), "Invalid Index");
  EXPECT_EQ(ErrorOf([&] { ani.FrameByName("wave"); }), "Invalid Index");  // case counts

  TZRWAniClip empty;
  EXPECT_EQ(empty.FrameByPosition(0).Name, "ALL");  // an empty list answers position 0 too
  EXPECT_EQ(empty.FrameByPosition(0).LastCell, 0);
}

TEST_F(ZRWAniClipTest, FrameNamesAreCutTo24) {
  ani.Frames().Add("A frame name that is far too long", 1, 0, 0);
  EXPECT_EQ(ani.Frames()[2].Name, "A frame name that is far");
  EXPECT_EQ(ani.Frames()[2].Name.size(), 24u);
}

TEST_F(ZRWAniClipTest, FrameListPropertyOnlyWhenThereAreFrames) {
  QVariantMap props;
  ani.WriteProperties(props);
  ASSERT_TRUE(props.contains("FrameList"));
  TZRWAniClip copy;
  copy.ReadProperties(props);
  EXPECT_EQ(copy.Frames().Frames(), ani.Frames().Frames());

  QVariantMap none;
  TZRWAniClip empty;
  empty.WriteProperties(none);
  EXPECT_TRUE(none.isEmpty());
}

TEST_F(ZRWAniClipTest, ChangesOfPictureAndFramesReachTheOwner) {
  int changes = 0;
  ani.OnChange = [&](TZRWObject*) { ++changes; };
  ani.Clip().SetColumns(3);
  ani.Frames().Delete(0);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(ErrorOf([&] { ani.Frames().Delete(5); }), "Invalid Index");
  ani.Clear();
  EXPECT_TRUE(ani.IsEmpty());
  EXPECT_TRUE(ani.Frames().Empty());
}

// ---- Clip files -------------------------------------------------------------

namespace fs = std::filesystem;

// Each kind of clip: one of a picture (two columns) saved to a file, and the
// picture that loads from a file.
struct ClipKind {
  const char* what;
  std::function<void(const std::string&, const QImage&)> save;
  std::function<QImage(const std::string&)> load;
};

std::vector<ClipKind> ClipKinds() {
  return {
      {"picture clip",
       [](const std::string& name, const QImage& picture) {
         TZRWClip clip;
         clip.SetBitmap(picture);
         clip.SetColumns(2);
         clip.SaveToFile(name);
       },
       [](const std::string& name) {
         TZRWClip clip;
         clip.LoadFromFile(name);
         return clip.Bitmap();
       }},
      {"animation clip",
       [](const std::string& name, const QImage& picture) {
         TZRWAniClip ani;
         ani.Clip().SetBitmap(picture);
         ani.Clip().SetColumns(2);
         ani.Frames().Add("Blink", 10, 0, 1);
         ani.SaveToFile(name);
       },
       [](const std::string& name) {
         TZRWAniClip ani;
         ani.LoadFromFile(name);
         return ani.Frames().Count() == 1 ? ani.Clip().Bitmap() : QImage();
       }},
  };
}

class ClipFiles : public kalvora::test::TimedTempFolderTest {
 protected:
  std::set<std::string> Entries() const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.insert(e.path().filename().string());
    return names;
  }
};

// The name is bytes: it is neither altered into another file's name nor
// refused.
TEST_F(ClipFiles, ANameThatIsNotUtf8IsTheFileWritten) {
  const QImage picture = Strip(2, 1, 3, 2);
  for (const ClipKind& k : ClipKinds()) {
    const fs::path p = dir_ / "caf\xE9 \xFF.pcl";
    k.save(p.string(), picture);
    EXPECT_EQ(Entries(), std::set<std::string>{p.filename().string()}) << k.what;
    EXPECT_EQ(k.load(p.string()), picture) << k.what;
    fs::remove(p);
  }
}

// A FIFO with no writer, an endless device and a folder are refused at once;
// so is a file larger than any clip, unread.
TEST_F(ClipFiles, WhatIsNotAClipFileIsRefusedAtOnce) {
  for (const ClipKind& k : ClipKinds()) {
    const fs::path p = dir_ / "c.pcl";
    const std::string notAFile = "Can not read the file \"" + p.string() + "\": it is not a regular file";
    for (const char* kind : {"fifo", "device", "folder"}) {
      fs::remove_all(p);
      if (kind == std::string("fifo")) {
        ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0);
      }
      if (kind == std::string("device")) fs::create_symlink("/dev/zero", p);
      if (kind == std::string("folder")) fs::create_directory(p);
      EXPECT_EQ(ErrorOf([&] { k.load(p.string()); }), notAFile) << k.what << " / " << kind;
    }
    // Saving over a FIFO is refused too, and it stays a FIFO.
    fs::remove_all(p);
    ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0);
    EXPECT_EQ(ErrorOf([&] { k.save(p.string(), Strip(2, 1, 1, 1)); }),
              "Can not write the file \"" + p.string() + "\": it is not a regular file")
        << k.what;
    EXPECT_TRUE(fs::is_fifo(p));
    // A whole clip with a sparse tail: a reader without a bound loads it.
    fs::remove_all(p);
    k.save(p.string(), Strip(2, 1, 1, 1));
    fs::resize_file(p, kMaxClipFileSize + 1);
    EXPECT_EQ(ErrorOf([&] { k.load(p.string()); }),
              "The file \"" + p.string() + "\" is too large to be read (more than " +
                  std::to_string(kMaxClipFileSize) + " bytes)")
        << k.what;
    fs::remove_all(p);
  }
}

// Under a file-size limit (the signal ignored, as the program does) the
// save fails with its reason; the old clip file stays whole and no
// temporary file is left.
TEST_F(ClipFiles, AFailedSaveKeepsTheOldFile) {
  for (const ClipKind& k : ClipKinds()) {
    const fs::path p = dir_ / "kept.pcl";
    const QImage small = Strip(2, 1, 2, 2);
    k.save(p.string(), small);
    const std::string before = kalvora::test::ReadText(p);
    const int code = kalvora::test::InChild([&] {
      IgnoreFileSizeSignal();
      const rlimit limit{4096, 4096};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      const std::string error = ErrorOf([&] { k.save(p.string(), Strip(2, 1, 60, 60)); });
      return error == "Can not write the file \"" + p.string() + "\": File too large" ? 0 : 1;
    });
    EXPECT_EQ(code, 0) << k.what;
    EXPECT_EQ(kalvora::test::ReadText(p), before) << k.what;
    EXPECT_EQ(k.load(p.string()), small) << k.what;
    EXPECT_EQ(Entries(), std::set<std::string>{"kept.pcl"}) << k.what;
    fs::remove(p);
  }
}

}  // namespace
