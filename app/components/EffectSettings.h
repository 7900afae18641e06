// The settings objects of the visual-effects family that controls own and
// publish: bevel, gradient, transparency and animation; the bevel and the
// gradient draw themselves.
#pragma once

#include <cstdint>
#include <vector>

#include <QColor>
#include <QRect>

#include "core/AnimationSteps.h"
#include "core/SettingsObject.h"

class QPainter;

enum class TZRWBevelStyle { bvNone, bvLowered, bvRaised, bvFrameLowered, bvFrameRaised, bvNormal, bvShadow };
enum class TZRWDirection { mdHorizontal, mdVertical, mdHorizontalReverse, mdVerticalReverse };
enum class TZRWTransparentMode { tpNone, tpRestoreBack, tpTransparentColor, tpRBTranspColor };

class TZRWBevel : public TZRWObject {
 public:
  TZRWBevel();

  TZRWBevelStyle StyleInner() const { return styleInner_; }
  TZRWBevelStyle StyleOuter() const { return styleOuter_; }
  int WidthInner() const { return widthInner_; }
  int WidthOuter() const { return widthOuter_; }
  QColor BorderColor() const { return borderColor_; }
  int BorderWidth() const { return borderWidth_; }
  int BorderInnerWidth() const { return borderInnerWidth_; }
  QColor LightColor() const { return lightColor_; }
  QColor ShadowColor() const { return shadowColor_; }

  // The shadow style holds for both sides or neither; a frame style is one
  // pixel wide, so a side with one refuses a width above 1.
  void SetStyleInner(TZRWBevelStyle v) { SetStyle(styleInner_, widthInner_, styleOuter_, v); }
  void SetStyleOuter(TZRWBevelStyle v) { SetStyle(styleOuter_, widthOuter_, styleInner_, v); }
  void SetWidthInner(int v) { SetWidth(styleInner_, widthInner_, v); }
  void SetWidthOuter(int v) { SetWidth(styleOuter_, widthOuter_, v); }
  void SetBorderColor(const QColor& v) { if (Store(borderColor_, v)) Change(); }
  void SetBorderWidth(int v) { if (Store(borderWidth_, v)) Change(); }
  void SetBorderInnerWidth(int v) { if (Store(borderInnerWidth_, v)) Change(); }
  void SetLightColor(const QColor& v) { if (Store(lightColor_, v)) Change(); }
  void SetShadowColor(const QColor& v) { if (Store(shadowColor_, v)) Change(); }

  // How far the inner rectangle lies inside the outer one.
  int BevelWidth() const;
  bool HasBevel() const { return BevelWidth() > 0; }
  // Draws from the outside in and returns the rectangle left inside.
  // `leaveInside`: do not fill the shadow style's face and skip border
  // frames in the button-face colour, so what lies below shows.
  virtual QRect Draw(QPainter& p, const QRect& r, bool leaveInside = false) const;

 private:
  void SetStyle(TZRWBevelStyle& side, int& width, TZRWBevelStyle& other, TZRWBevelStyle v);
  void SetWidth(TZRWBevelStyle side, int& width, int v);
  QRect DrawSide(QPainter& p, QRect r, TZRWBevelStyle style, int width) const;
  QRect DrawBorder(QPainter& p, QRect r, int times, bool leaveInside) const;

  TZRWBevelStyle styleInner_ = TZRWBevelStyle::bvNone, styleOuter_ = TZRWBevelStyle::bvNone;
  int widthInner_ = 1, widthOuter_ = 1;
  QColor borderColor_;
  int borderWidth_ = 0, borderInnerWidth_ = 0;
  QColor lightColor_, shadowColor_;
};

class TZRWGradient : public TZRWObject {
 public:
  QColor Color() const { return color_; }
  int ColorCount() const { return colorCount_; }
  TZRWDirection Direction() const { return direction_; }
  QColor EndColor() const { return endColor_; }
  bool PaletteRealize() const { return paletteRealize_; }

  void SetColor(const QColor& v) { if (Store(color_, v)) Change(); }
  void SetColorCount(int v);  // kept within 1..255
  void SetDirection(TZRWDirection v) { if (Store(direction_, v)) Change(); }
  void SetEndColor(const QColor& v) { if (Store(endColor_, v)) Change(); }
  void SetPaletteRealize(bool v) { if (Store(paletteRealize_, v)) Change(); }
  void Assign(const TZRWGradient& other);

  // Colour of band k (0..ColorCount - 1) and its span inside `r`; the last
  // band reaches the far edge.
  QColor BandColor(int k) const;
  QRect BandRect(int k, const QRect& r) const;
  // The palette entries a palette display gets: start to end in n steps.
  std::vector<QColor> Palette() const;
  virtual void Paint(QPainter& p, const QRect& r) const;

 private:
  QColor color_ = QColor(0, 0, 255);
  int colorCount_ = 16;
  TZRWDirection direction_ = TZRWDirection::mdHorizontal;
  QColor endColor_ = QColor(0, 0, 0);
  bool paletteRealize_ = false;
};

class TZRWTransparent : public TZRWObject {
 public:
  TZRWTransparent();
  QColor Color() const { return color_; }
  TZRWTransparentMode Mode() const { return mode_; }
  void SetColor(const QColor& v) { if (Store(color_, v)) Change(); }
  void SetMode(TZRWTransparentMode v) { if (Store(mode_, v)) Change(); }

 private:
  QColor color_;
  TZRWTransparentMode mode_ = TZRWTransparentMode::tpNone;
};

class TZRWAnimation : public TZRWObject {
 public:
  std::uint16_t Interval() const { return interval_; }  // milliseconds
  bool LoopReverse() const { return loopReverse_; }
  bool PlayForward() const { return playForward_; }
  TZRWAnStyle Style() const { return style_; }
  void SetInterval(std::uint16_t v) { if (Store(interval_, v)) Change(); }
  void SetLoopReverse(bool v) { if (Store(loopReverse_, v)) Change(); }
  void SetPlayForward(bool v) { if (Store(playForward_, v)) Change(); }
  void SetStyle(TZRWAnStyle v) { if (Store(style_, v)) Change(); }

 private:
  std::uint16_t interval_ = 200;
  bool loopReverse_ = false;
  bool playForward_ = true;
  TZRWAnStyle style_ = TZRWAnStyle::anOPShowLast;
};
