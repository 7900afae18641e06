// The drawing routines of the visual-effects family (colour-keyed copy,
// tiling, gradient fill), the 3-D frame they share, and the system colours
// that stand for the button face, highlight and shadow.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

class QPainter;
class TZRWGradient;

QColor ButtonFaceColor();
QColor ButtonHighlightColor();
QColor ButtonShadowColor();
QColor WindowTextColor();
QColor InactiveCaptionColor();

// `width` nested one-pixel frames from the outside of `r` inwards: top and
// left in `topLeft`, bottom and right in `bottomRight` (the top-right corner
// takes the bottom-right colour, the bottom-left corner the top-left one).
// Returns the rectangle inside them.
QRect Frame3D(QPainter& p, QRect r, const QColor& topLeft, const QColor& bottomRight, int width);
// A one-pixel outline just inside `r`.
void FrameRect(QPainter& p, const QRect& r, const QColor& c);

// Copies the area (sx, sy, w, h) of `source` to (x, y), leaving out every
// pixel of the colour `transparent`. Nothing for an empty source.
void DrawTransparentBitmap(QPainter& p, int x, int y, const QImage& source, int sx, int sy, int w, int h,
                           const QColor& transparent);
// Fills `r` with copies of `bitmap` laid from r's top-left corner, clipped at
// its edges. Nothing for an empty bitmap.
void TileBitmap(QPainter& p, const QImage& bitmap, const QRect& r);
// Paints the gradient into `r`.
void FillGradient(QPainter& p, const TZRWGradient& gradient, const QRect& r);
