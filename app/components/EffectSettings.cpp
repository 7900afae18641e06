#include "components/EffectSettings.h"

#include <algorithm>

#include <QPainter>

#include "components/EffectDrawing.h"
#include "core/MulDiv.h"

namespace {

bool IsFrame(TZRWBevelStyle s) { return s == TZRWBevelStyle::bvFrameLowered || s == TZRWBevelStyle::bvFrameRaised; }

}  // namespace

// --- TZRWBevel

TZRWBevel::TZRWBevel()
    : borderColor_(ButtonFaceColor()), lightColor_(ButtonHighlightColor()), shadowColor_(ButtonShadowColor()) {}

void TZRWBevel::SetStyle(TZRWBevelStyle& side, int& width, TZRWBevelStyle& other, TZRWBevelStyle v) {
  if (side == v) return;
  const TZRWBevelStyle old = side;
  side = v;
  if (v == TZRWBevelStyle::bvShadow)
    other = TZRWBevelStyle::bvShadow;
  else if (old == TZRWBevelStyle::bvShadow)
    other = TZRWBevelStyle::bvNone;
  if (IsFrame(v)) width = 1;
  Change();
}

void TZRWBevel::SetWidth(TZRWBevelStyle side, int& width, int v) {
  if (v < 0 || (IsFrame(side) && v > 1)) return;
  if (Store(width, v)) Change();
}

int TZRWBevel::BevelWidth() const {
  if (styleOuter_ == TZRWBevelStyle::bvShadow) return widthOuter_ / 2 + widthInner_ + 1 + borderInnerWidth_;
  auto side = [](TZRWBevelStyle s, int w) {
    if (s == TZRWBevelStyle::bvNone) return 0;
    return IsFrame(s) ? 2 : w;
  };
  return side(styleOuter_, widthOuter_) + side(styleInner_, widthInner_) + borderWidth_ + borderInnerWidth_;
}

QRect TZRWBevel::DrawSide(QPainter& p, QRect r, TZRWBevelStyle style, int width) const {
  switch (style) {
    case TZRWBevelStyle::bvLowered: return Frame3D(p, r, shadowColor_, lightColor_, width);
    case TZRWBevelStyle::bvRaised: return Frame3D(p, r, lightColor_, shadowColor_, width);
    case TZRWBevelStyle::bvNormal: return Frame3D(p, r, Qt::black, Qt::black, width);
    case TZRWBevelStyle::bvFrameLowered:
    case TZRWBevelStyle::bvFrameRaised: {
      const bool lowered = style == TZRWBevelStyle::bvFrameLowered;
      FrameRect(p, r.adjusted(1, 1, 0, 0), lowered ? lightColor_ : shadowColor_);
      FrameRect(p, r.adjusted(0, 0, -1, -1), lowered ? shadowColor_ : lightColor_);
      return r.adjusted(2, 2, -2, -2);
    }
    default: return r;
  }
}

QRect TZRWBevel::DrawBorder(QPainter& p, QRect r, int times, bool leaveInside) const {
  const bool skip = leaveInside && borderColor_ == ButtonFaceColor();
  for (int i = 0; i < times; ++i) {
    if (!skip) FrameRect(p, r, borderColor_);
    r.adjust(1, 1, -1, -1);
  }
  return r;
}

QRect TZRWBevel::Draw(QPainter& p, const QRect& rect, bool leaveInside) const {
  if (styleOuter_ == TZRWBevelStyle::bvShadow) {
    // A face lifted off the surface: the shadow lies WidthOuter to the
    // bottom right, the face has a light edge of WidthInner.
    if (!leaveInside) p.fillRect(rect, borderColor_);
    const QRect shadow = rect.adjusted(widthOuter_, widthOuter_, 0, 0);
    const QRect face = rect.adjusted(0, 0, -widthOuter_, -widthOuter_);
    p.fillRect(shadow, shadowColor_);
    p.fillRect(face, lightColor_);
    p.fillRect(face.adjusted(widthInner_, widthInner_, -widthInner_, -widthInner_), borderColor_);
    const int inset = BevelWidth() - borderInnerWidth_;
    DrawBorder(p, rect.adjusted(inset, inset, -inset, -inset), borderInnerWidth_, leaveInside);
    const int w = BevelWidth();
    return rect.adjusted(w, w, -w, -w);
  }
  QRect r = DrawSide(p, rect, styleOuter_, widthOuter_);
  r = DrawBorder(p, r, borderWidth_, leaveInside);
  r = DrawSide(p, r, styleInner_, widthInner_);
  return DrawBorder(p, r, borderInnerWidth_, leaveInside);
}

// --- TZRWGradient

void TZRWGradient::SetColorCount(int v) {
  if (Store(colorCount_, std::clamp(v, 1, 255))) Change();
}

void TZRWGradient::Assign(const TZRWGradient& o) {
  color_ = o.color_, colorCount_ = o.colorCount_, direction_ = o.direction_;
  endColor_ = o.endColor_, paletteRealize_ = o.paletteRealize_;
  Change();
}

QColor TZRWGradient::BandColor(int k) const {
  const int n = colorCount_;
  if (n == 1) return color_;
  auto ch = [&](int s, int e) { return s + MulDiv(k, e - s, n); };
  return QColor(ch(color_.red(), endColor_.red()), ch(color_.green(), endColor_.green()),
                ch(color_.blue(), endColor_.blue()));
}

std::vector<QColor> TZRWGradient::Palette() const {
  const int n = colorCount_;
  std::vector<QColor> entries;
  for (int k = 0; k < n; ++k) {
    auto ch = [&](int s, int e) { return n == 1 ? s : s + MulDiv(k, e - s, n - 1); };
    entries.emplace_back(ch(color_.red(), endColor_.red()), ch(color_.green(), endColor_.green()),
                         ch(color_.blue(), endColor_.blue()));
  }
  return entries;
}

QRect TZRWGradient::BandRect(int k, const QRect& r) const {
  const int n = colorCount_;
  const int w = r.width(), h = r.height();
  const int right = r.left() + w, bottom = r.top() + h;  // exclusive edges
  const bool last = k == n - 1;
  switch (direction_) {
    case TZRWDirection::mdHorizontal: {
      const int from = last ? r.left() : right - MulDiv(k + 1, w, n);
      return QRect(from, r.top(), right - MulDiv(k, w, n) - from, h);
    }
    case TZRWDirection::mdVertical: {
      const int from = last ? r.top() : bottom - MulDiv(k + 1, h, n);
      return QRect(r.left(), from, w, bottom - MulDiv(k, h, n) - from);
    }
    case TZRWDirection::mdHorizontalReverse: {
      const int from = r.left() + MulDiv(k, w, n);
      const int to = last ? right : r.left() + MulDiv(k + 1, w, n);
      return QRect(from, r.top(), to - from, h);
    }
    case TZRWDirection::mdVerticalReverse: {
      const int from = r.top() + MulDiv(k, h, n);
      const int to = last ? bottom : r.top() + MulDiv(k + 1, h, n);
      return QRect(r.left(), from, w, to - from);
    }
  }
  return {};
}

void TZRWGradient::Paint(QPainter& p, const QRect& r) const {
  // On a true-colour surface a realised palette maps each band to its own
  // colour, so PaletteRealize changes nothing that shows.
  for (int k = 0; k < colorCount_; ++k) {
    const QRect band = BandRect(k, r);
    if (band.width() > 0 && band.height() > 0) p.fillRect(band, BandColor(k));
  }
}

// --- TZRWTransparent

TZRWTransparent::TZRWTransparent() : color_(ButtonFaceColor()) {}
