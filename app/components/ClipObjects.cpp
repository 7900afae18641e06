#include "components/ClipObjects.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include <QBuffer>
#include <QIODevice>

#include "core/ComponentError.h"
#include "core/FileAccess.h"

namespace {

std::string Format(const char* fmt, int a, int b, const char* what) {
  char buf[128];
  std::snprintf(buf, sizeof buf, fmt, a, b, what);
  return buf;
}

// Reads one stream form from the device's position and leaves the device
// just after it.
template <class Read>
void ReadFromDevice(QIODevice& stream, Read read) {
  const qint64 start = stream.pos();
  const QByteArray rest = stream.isSequential() ? stream.peek(stream.bytesAvailable()) : stream.readAll();
  const auto* data = reinterpret_cast<const std::uint8_t*>(rest.constData());
  const std::size_t used = read(std::span<const std::uint8_t>(data, static_cast<std::size_t>(rest.size())));
  if (stream.isSequential())
    stream.read(static_cast<qint64>(used));
  else
    stream.seek(start + static_cast<qint64>(used));
}

void WriteToDevice(QIODevice& stream, const std::vector<std::uint8_t>& bytes) {
  if (stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) !=
      static_cast<qint64>(bytes.size()))
    throw EComponentError("Stream write error");
}

// A clip file is read whole, bounded, through the program's file access
// (a regular file only, never waiting, the name as bytes), then loaded from
// memory as from any stream.
void LoadFromFileBytes(const std::string& fileName, const std::function<void(QIODevice&)>& load) {
  bool found = false;
  std::vector<std::uint8_t> bytes;
  try {
    bytes = ReadFileBytes(fileName, kMaxClipFileSize, &found);
  } catch (const EByteFileError& e) {
    throw EComponentError(e.what());
  }
  if (!found) throw EComponentError("Cannot open file " + fileName);
  QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                            static_cast<qsizetype>(bytes.size()));
  QBuffer stream(&data);
  stream.open(QIODevice::ReadOnly);
  load(stream);
}

// Saved into memory, then the file replaced whole like every file the
// program writes.
void SaveToFileBytes(const std::string& fileName, const std::function<void(QIODevice&)>& save) {
  QBuffer stream;
  stream.open(QIODevice::WriteOnly);
  save(stream);
  try {
    ReplaceFile(fileName, stream.data().constData(), static_cast<std::size_t>(stream.data().size()));
  } catch (const EByteFileError& e) {
    throw EComponentError(e.what());
  }
}

}  // namespace

TClipPicture PictureFromImage(const QImage& image) {
  TClipPicture p;
  if (image.isNull() || image.width() == 0 || image.height() == 0) return p;
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  p.Width = rgb.width();
  p.Height = rgb.height();
  p.Pixels.resize(static_cast<std::size_t>(p.Width) * p.Height);
  for (int y = 0; y < p.Height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < p.Width; ++x) p.Pixels[static_cast<std::size_t>(y) * p.Width + x] = line[x] & 0xFFFFFF;
  }
  return p;
}

QImage ImageFromPicture(const TClipPicture& picture) {
  if (picture.Empty()) return {};
  QImage img(picture.Width, picture.Height, QImage::Format_RGB32);
  for (int y = 0; y < picture.Height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < picture.Width; ++x) line[x] = 0xFF000000u | picture.At(x, y);
  }
  return img;
}

// --- TZRWClip

void TZRWClip::SetBitmap(const QImage& bitmap) {
  bitmap_ = bitmap.isNull() ? QImage() : bitmap.convertToFormat(QImage::Format_RGB32);
  BitmapChanged();
}

void TZRWClip::BitmapChanged() {
  const std::uint16_t n = IsEmpty() ? 0 : 1;
  rows_ = columns_ = n;
  cell_ = QImage();
  Change();
}

void TZRWClip::SetRows(std::uint16_t value) {
  if (value == 0 || value == rows_) return;
  if (!IsEmpty() && bitmap_.height() % value != 0)
    throw EComponentError(Format("Error:\n%d does not fit in %d (%s)", value, bitmap_.height(), "Bitmap-Height"));
  rows_ = value;
  Change();
}

void TZRWClip::SetColumns(std::uint16_t value) {
  if (value == 0 || value == columns_) return;
  if (!IsEmpty() && bitmap_.width() % value != 0)
    throw EComponentError(Format("Error:\n%d does not fit in %d (%s)", value, bitmap_.width(), "Bitmap-Width"));
  columns_ = value;
  Change();
}

void TZRWClip::CheckEmpty() const {
  if (IsEmpty()) throw EComponentError(kClipEmpty);
}

const QImage& TZRWClip::CopySrcRect(int left, int top, int right, int bottom) {
  CheckEmpty();
  auto inside = [](int v, int size) { return v >= 0 && v <= size; };
  if (!inside(left, bitmap_.width()) || !inside(right, bitmap_.width()) || !inside(top, bitmap_.height()) ||
      !inside(bottom, bitmap_.height()))
    throw EComponentError(kInvalidSrcRect);
  const QRect r = QRect(QPoint(std::min(left, right), std::min(top, bottom)),
                        QSize(std::abs(right - left), std::abs(bottom - top)));
  cell_ = r.isEmpty() ? QImage() : bitmap_.copy(r);
  return cell_;
}

const QImage& TZRWClip::GetCellByIndex(std::int64_t n) {
  CheckEmpty();
  // A clip read from a file may have 0 columns; no cell can then be named.
  if (columns_ == 0 || n < 0) throw EComponentError(kInvalidCell);
  return GetCell(n % columns_, n / columns_);
}

const QImage& TZRWClip::GetCell(std::int64_t column, std::int64_t row) {
  CheckEmpty();
  if (column < 0 || column >= columns_ || row < 0 || row >= rows_) throw EComponentError(kInvalidCell);
  const int w = CellWidth(), h = CellHeight();
  cell_ = (w == 0 || h == 0) ? QImage() : bitmap_.copy(static_cast<int>(column) * w, static_cast<int>(row) * h, w, h);
  return cell_;
}

void TZRWClip::Clear() {
  bitmap_ = QImage();
  rows_ = columns_ = 0;
  cell_ = QImage();
  Change();
}

TClipContent TZRWClip::Content() const {
  TClipContent c;
  c.Rows = rows_;
  c.Columns = columns_;
  c.Bitmap = PictureFromImage(bitmap_);
  return c;
}

void TZRWClip::SetContent(const TClipContent& content) {
  bitmap_ = ImageFromPicture(content.Bitmap);
  rows_ = content.Rows;
  columns_ = content.Columns;
  cell_ = QImage();
  Change();
}

void TZRWClip::LoadFromStream(QIODevice& stream) {
  Clear();
  TClipContent content;
  ReadFromDevice(stream, [&](std::span<const std::uint8_t> b) { return ReadClipStream(b, content); });
  SetContent(content);
}

void TZRWClip::SaveToStream(QIODevice& stream) const {
  std::vector<std::uint8_t> bytes;
  WriteClipStream(bytes, Content());
  WriteToDevice(stream, bytes);
}

void TZRWClip::LoadFromFile(const std::string& fileName) {
  LoadFromFileBytes(fileName, [this](QIODevice& stream) { LoadFromStream(stream); });
}

void TZRWClip::SaveToFile(const std::string& fileName) const {
  SaveToFileBytes(fileName, [this](QIODevice& stream) { SaveToStream(stream); });
}

// --- TZRWAniClip

TZRWAniClip::TZRWAniClip() {
  // Changes of the picture and of the frames are changes of the animation clip.
  clip_.OnChange = [this](TZRWObject*) { Change(); };
  frames_.OnChange = [this](TZRWObject*) { Change(); };
}

void TZRWAniClip::Clear() {
  frames_.Clear();
  clip_.Clear();
}

std::pair<std::uint16_t, std::uint16_t> TZRWAniClip::FrameCells(std::uint16_t position) const {
  const TZRWFrame f = FrameByPosition(position);
  return {f.FirstCell, f.LastCell};
}

void TZRWAniClip::WriteProperties(QVariantMap& properties) const {
  if (frames_.Empty()) return;
  QVariantList list;
  for (const TZRWFrame& f : frames_.Frames())
    list.push_back(QVariantList{QByteArray::fromStdString(f.Name), int{f.Index}, int{f.FirstCell}, int{f.LastCell}});
  properties.insert(QStringLiteral("FrameList"), list);
}

void TZRWAniClip::ReadProperties(const QVariantMap& properties) {
  const auto it = properties.find(QStringLiteral("FrameList"));
  if (it == properties.end()) return;
  frames_.Clear();
  for (const QVariant& entry : it->toList()) {
    const QVariantList e = entry.toList();
    if (e.size() != 4) throw EComponentError("Invalid property value");
    auto word = [](const QVariant& v) { return static_cast<std::uint16_t>(v.toUInt() & 0xFFFF); };
    frames_.Add(e[0].toByteArray().toStdString(), word(e[1]), word(e[2]), word(e[3]));
  }
}

void TZRWAniClip::LoadFromStream(QIODevice& stream) {
  Clear();
  try {
    TAniClipContent content;
    ReadFromDevice(stream, [&](std::span<const std::uint8_t> b) { return ReadAniClipStream(b, content); });
    for (const TZRWFrame& f : content.Frames) frames_.Add(f);
    clip_.SetBitmap(ImageFromPicture(content.Clip.Bitmap));
    clip_.SetRows(content.Clip.Rows);
    clip_.SetColumns(content.Clip.Columns);
  } catch (...) {
    Clear();
    throw;
  }
}

void TZRWAniClip::SaveToStream(QIODevice& stream) const {
  TAniClipContent content;
  content.Frames = frames_.Frames();
  content.Clip = clip_.Content();
  std::vector<std::uint8_t> bytes;
  WriteAniClipStream(bytes, content);
  WriteToDevice(stream, bytes);
}

void TZRWAniClip::LoadFromFile(const std::string& fileName) {
  LoadFromFileBytes(fileName, [this](QIODevice& stream) { LoadFromStream(stream); });
}

void TZRWAniClip::SaveToFile(const std::string& fileName) const {
  SaveToFileBytes(fileName, [this](QIODevice& stream) { SaveToStream(stream); });
}
