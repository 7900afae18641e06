// TZRWGraphicControl, the base of the visual-effects controls (a bevel that
// repaints on change), and TZRWCustomImage, the base of the images: how a
// cell is placed and how its key colour is treated.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include "components/EffectSettings.h"

class TZRWAniPicClip;

enum class TZRWBitmapStyle { sbNone, sbAutosize, sbCenter, sbStretch, sbTile };

class TZRWGraphicControl : public QWidget {
  Q_OBJECT

 public:
  explicit TZRWGraphicControl(QWidget* parent = nullptr);

  TZRWBevel& Bevel() { return bevel_; }
  const TZRWBevel& Bevel() const { return bevel_; }
  QString About() const { return QStringLiteral("Visual effects controls"); }
  // At design time an empty control shows a dashed frame.
  bool Designing() const { return designing_; }
  void SetDesigning(bool v);

  // What the control shows, drawn as paintEvent draws it: pixels it leaves
  // alone stay transparent.
  QImage PaintToImage();

 protected:
  // The change handler of the control's settings objects.
  virtual void SettingsChanged() { update(); }
  virtual bool IsEmpty() const { return true; }
  virtual void Paint(QPainter& p);
  void PaintBase(QPainter& p);
  void paintEvent(QPaintEvent*) override;
  // Routes a settings object's changes to SettingsChanged.
  void Watch(TZRWObject& settings);

 private:
  TZRWBevel bevel_;
  bool designing_ = false;
};

class TZRWCustomImage : public TZRWGraphicControl {
  Q_OBJECT

 public:
  explicit TZRWCustomImage(QWidget* parent = nullptr);

  TZRWBitmapStyle Style() const { return style_; }
  void SetStyle(TZRWBitmapStyle v);
  TZRWTransparent& Transparent() { return transparent_; }

  // A shared clip tells every control of its owner that it changed.
  virtual void ClipControlNotify(TZRWAniPicClip*) {}

 protected:
  void SettingsChanged() override;
  // The size of one cell, for sbAutosize; empty when there is none.
  virtual QSize CellSize() const { return {}; }
  // Draws one cell into the inner rectangle by Style and Transparent.Mode.
  virtual void DrawCell(QPainter& p, const QImage& cell, const QRect& inner);

 private:
  TZRWBitmapStyle style_ = TZRWBitmapStyle::sbNone;
  TZRWTransparent transparent_;
};
