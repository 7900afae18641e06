// TZRWClip, a picture cut into a grid of equal cells, and TZRWAniClip, a
// clip with its list of frames; both keep themselves in the stream forms of
// formats/ClipStreams.h.
#pragma once

#include <cstdint>
#include <string>

#include <QImage>
#include <QRect>
#include <QVariantMap>

#include "core/FrameList.h"
#include "core/SettingsObject.h"
#include "formats/ClipStreams.h"

class QIODevice;

inline constexpr const char* kClipEmpty = "Clip-object is empty!";
inline constexpr const char* kInvalidCell = "Invalid index- or cell-value(s)";
inline constexpr const char* kInvalidSrcRect = "Invalid Src-Rect";

// Plain pixels and a picture: the forms the streams and the widgets use.
TClipPicture PictureFromImage(const QImage& image);
QImage ImageFromPicture(const TClipPicture& picture);

class TZRWClip : public TZRWObject {
 public:
  const QImage& Bitmap() const { return bitmap_; }
  // A new picture resets Rows and Columns to 1 (0 for an empty one).
  void SetBitmap(const QImage& bitmap);
  std::uint16_t Rows() const { return rows_; }
  std::uint16_t Columns() const { return columns_; }
  // 0 and the current value are ignored; on a picture the value must divide
  // its height (width).
  void SetRows(std::uint16_t value);
  void SetColumns(std::uint16_t value);

  std::int64_t CellCount() const { return std::int64_t{rows_} * columns_; }
  int CellWidth() const { return columns_ ? bitmap_.width() / columns_ : 0; }
  int CellHeight() const { return rows_ ? bitmap_.height() / rows_ : 0; }

  virtual void CheckEmpty() const;
  virtual bool IsEmpty() const { return bitmap_.isNull() || bitmap_.width() == 0 || bitmap_.height() == 0; }
  // The last cell taken out; null when there is none.
  virtual const QImage* GetCellBitmap() const { return cell_.isNull() ? nullptr : &cell_; }
  virtual void ClearCell() { cell_ = QImage(); }
  // Copies a part of the picture, given by its edges (right and bottom
  // exclusive, in either order), into the cell bitmap.
  virtual const QImage& CopySrcRect(int left, int top, int right, int bottom);
  const QImage& CopySrcRect(const QRect& r) { return CopySrcRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }
  virtual const QImage& GetCellByIndex(std::int64_t n);
  virtual const QImage& GetCell(std::int64_t column, std::int64_t row);

  virtual void LoadFromFile(const std::string& fileName);
  virtual void LoadFromStream(QIODevice& stream);
  virtual void SaveToFile(const std::string& fileName) const;
  virtual void SaveToStream(QIODevice& stream) const;

  void Clear();
  TClipContent Content() const;
  // Takes what a stream held: Rows and Columns as they were stored.
  void SetContent(const TClipContent& content);

 protected:
  virtual void BitmapChanged();

 private:
  QImage bitmap_;
  std::uint16_t rows_ = 0, columns_ = 0;
  QImage cell_;
};

class TZRWAniClip : public TZRWObject {
 public:
  TZRWAniClip();

  TZRWClip& Clip() { return clip_; }
  const TZRWClip& Clip() const { return clip_; }
  TZRWFrameList& Frames() { return frames_; }
  const TZRWFrameList& Frames() const { return frames_; }

  virtual bool IsEmpty() const { return clip_.IsEmpty(); }
  virtual void Clear();
  virtual const QImage& CellBitmap(std::int64_t n) { return clip_.GetCellByIndex(n); }

  // Lookups; each raises "Invalid Index" when no frame answers.
  TZRWFrame FrameByPosition(std::uint16_t position) const { return frames_.ByPosition(position, clip_.CellCount()); }
  TZRWFrame FrameByIndex(std::uint16_t index) const { return frames_.ByIndex(index, clip_.CellCount()); }
  TZRWFrame FrameByName(const std::string& name) const { return frames_.ByName(name, clip_.CellCount()); }
  // First and last cell of the frame at `position`.
  std::pair<std::uint16_t, std::uint16_t> FrameCells(std::uint16_t position) const;

  // The form-resource property "FrameList": written only for a list that is
  // not empty, as entries of name, Index, FirstCell and LastCell.
  virtual void WriteProperties(QVariantMap& properties) const;
  virtual void ReadProperties(const QVariantMap& properties);

  virtual void LoadFromFile(const std::string& fileName);
  virtual void LoadFromStream(QIODevice& stream);
  virtual void SaveToFile(const std::string& fileName) const;
  virtual void SaveToStream(QIODevice& stream) const;

 private:
  TZRWFrameList frames_;
  TZRWClip clip_;
};
