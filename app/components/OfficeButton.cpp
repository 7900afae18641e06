#include "components/OfficeButton.h"

#include <memory>

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>

#include "components/EffectDrawing.h"

namespace {

constexpr int kMargin = 3;     // between the edge and the contents
constexpr int kSpacing = 2;    // between picture and caption
constexpr int kMarkWidth = 7;  // the drop-down mark and its gap

std::unique_ptr<QImage>& SharedPattern() {
  static std::unique_ptr<QImage> pattern;
  return pattern;
}

// The caption as the hint shows it: "&&" is one "&", a single "&" goes.
QString StripAccelerators(const QString& caption) {
  QString out;
  for (int i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') out += '&', ++i;
      continue;
    }
    out += caption[i];
  }
  return out;
}

QRgb KeyOf(const QImage& img) { return img.pixel(0, 0) & 0xFFFFFF; }

// The picture with its key pixels left out.
void DrawKeyed(QPainter& p, const QPoint& at, const QImage& img) {
  if (img.isNull()) return;
  DrawTransparentBitmap(p, at.x(), at.y(), img, 0, 0, img.width(), img.height(), QColor::fromRgb(KeyOf(img)));
}

// Every non-key pixel of the picture in one colour: the disabled look.
void DrawSilhouette(QPainter& p, const QPoint& at, const QImage& img, const QColor& c) {
  if (img.isNull()) return;
  QImage s(img.size(), QImage::Format_ARGB32);
  const QRgb key = KeyOf(img);
  const QImage rgb = img.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      s.setPixel(x, y, (rgb.pixel(x, y) & 0xFFFFFF) == key ? 0u : (c.rgb() | 0xFF000000u));
  p.drawImage(at, s);
}

}  // namespace

TGreyThresholds GreyThresholds(TExplorerButtonShadingType shading) {
  switch (shading) {
    case TExplorerButtonShadingType::stLight: return {68, 127, 205};
    case TExplorerButtonShadingType::stMedium: return {57, 231, 553};
    case TExplorerButtonShadingType::stDark: return {175, 274, 335};
  }
  return {57, 231, 553};
}

QImage GreyPicture(const QImage& bitmap, TExplorerButtonShadingType shading) {
  if (bitmap.isNull()) return {};
  QImage grey = bitmap.convertToFormat(QImage::Format_RGB32);
  const QRgb key = KeyOf(grey);
  const TGreyThresholds t = GreyThresholds(shading);
  const QRgb white = qRgb(255, 255, 255), light = ButtonHighlightColor().rgb(), dark = ButtonShadowColor().rgb(),
             black = qRgb(0, 0, 0);
  for (int y = 0; y < grey.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
    for (int x = 0; x < grey.width(); ++x) {
      if ((line[x] & 0xFFFFFF) == key) continue;
      const int s = qRed(line[x]) + qGreen(line[x]) + qBlue(line[x]);
      line[x] = s > t.t3 ? white : s > t.t2 ? light : s > t.t1 ? dark : black;
    }
  }
  return grey;
}

TOfficeButton::TOfficeButton(QWidget* parent) : QWidget(parent), unselectedFontColor_(WindowTextColor()) {
  resize(50, 40);
  setAttribute(Qt::WA_Hover);
}

TOfficeButton::~TOfficeButton() {
  // The pattern goes with any button and is made again when next needed.
  SharedPattern().reset();
}

const QImage& TOfficeButton::DownPattern() {
  auto& pattern = SharedPattern();
  if (!pattern) {
    pattern = std::make_unique<QImage>(8, 8, QImage::Format_RGB32);
    pattern->fill(ButtonFaceColor());
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        if (x % 2 == y % 2) pattern->setPixelColor(x, y, ButtonHighlightColor());
  }
  return *pattern;
}

QList<TOfficeButton*> TOfficeButton::Group() const {
  QList<TOfficeButton*> group;
  if (!parentWidget() || groupIndex_ == 0) return group;
  for (TOfficeButton* b : parentWidget()->findChildren<TOfficeButton*>(Qt::FindDirectChildrenOnly))
    if (b != this && b->groupIndex_ == groupIndex_) group.push_back(b);
  return group;
}

void TOfficeButton::SetAllowAllUp(bool v) {
  allowAllUp_ = v;
  for (TOfficeButton* b : Group()) b->allowAllUp_ = v;
}

void TOfficeButton::SetDown(bool v) {
  if (groupIndex_ == 0 || v == down_) return;
  if (v)
    for (TOfficeButton* b : Group())
      if (b->down_) b->down_ = false, b->update();
  down_ = v;
  update();
}

void TOfficeButton::SetGroupIndex(int v) {
  groupIndex_ = v;
  if (v == 0) down_ = false;
  update();
}

void TOfficeButton::SetOptions(TExplorerButtonOptions v) {
  const bool wasIconOnly = options_.testFlag(TExplorerButtonOption::boIconOnly);
  const bool iconOnly = v.testFlag(TExplorerButtonOption::boIconOnly);
  options_ = v;
  const QString stripped = StripAccelerators(caption_);
  if (iconOnly && !wasIconOnly && toolTip().isEmpty()) {
    setToolTip(stripped);
    showHint_ = true;
  } else if (!iconOnly && wasIconOnly && toolTip() == stripped) {
    setToolTip(QString());
    showHint_ = false;
  }
  update();
}

void TOfficeButton::DeriveGreyPicture() {
  // Without a designer the program's set-up is where the picture is chosen,
  // so the grey picture is derived there, as a designer would have stored it.
  if (noFocusBitmap_.isNull()) greyBitmap_ = GreyPicture(bitmap_, shadingType_);
}

void TOfficeButton::SetBitmap(const QImage& v) {
  bitmap_ = v;
  DeriveGreyPicture();
  update();
}

void TOfficeButton::SetShadingType(TExplorerButtonShadingType v) {
  shadingType_ = v;
  DeriveGreyPicture();
  update();
}

void TOfficeButton::SetDisabledBitmap(const QImage& v) {
  disabledBitmap_ = v;
  if (!isEnabled()) update();
}

void TOfficeButton::SetCaption(const QString& v) {
  caption_ = v;
  UpdateShortcut();
  update();
}

void TOfficeButton::WriteProperties(QVariantMap& properties) const {
  if (!greyBitmap_.isNull()) properties.insert(QStringLiteral("IBitmap"), greyBitmap_);
}

void TOfficeButton::ReadProperties(const QVariantMap& properties) {
  const auto it = properties.find(QStringLiteral("IBitmap"));
  if (it != properties.end()) greyBitmap_ = it->value<QImage>();
  update();
}

// --- painting

QImage TOfficeButton::PaintToImage() const {
  QImage img(size(), QImage::Format_RGB32);
  QPainter p(&img);
  p.fillRect(img.rect(), ButtonFaceColor());
  if (down_ && showDownPattern_) p.fillRect(img.rect(), QBrush(DownPattern()));

  // Where the picture, the caption and the mark go.
  const bool hasCaption = !options_.testFlag(TExplorerButtonOption::boIconOnly) && !caption_.isEmpty();
  const bool hasMark = options_.testFlag(TExplorerButtonOption::boPopupMark) && dropDownMenu_;
  const QImage& shownSize = bitmap_;
  const QSize pic = shownSize.isNull() ? QSize(0, 0) : shownSize.size();
  const int picBlockW = pic.width() + (hasMark ? kMarkWidth : 0);
  const QFontMetrics fm(font());
  const QRect inner = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
  QRect textRect, picRect;
  const int textH = hasCaption ? fm.height() : 0;
  const int gap = hasCaption && !pic.isEmpty() ? kSpacing : 0;
  switch (layout_) {
    case TExplorerButtonLayout::blBitmapTop:
    case TExplorerButtonLayout::blBitmapBottom: {
      int textLines = textH;
      if (hasCaption && wordWrap_)
        textLines = fm.boundingRect(QRect(0, 0, inner.width(), 1000), Qt::TextWordWrap, caption_).height();
      const int blockH = std::min(inner.height(), pic.height() + gap + textLines);
      const int top = inner.top() + (inner.height() - blockH) / 2;
      const int picX = inner.left() + (inner.width() - picBlockW) / 2;
      if (layout_ == TExplorerButtonLayout::blBitmapTop) {
        picRect = QRect(QPoint(picX, top), pic);
        textRect = QRect(inner.left(), top + pic.height() + gap, inner.width(), inner.bottom() + 1 - (top + pic.height() + gap));
      } else {
        textRect = QRect(inner.left(), top, inner.width(), blockH - pic.height() - gap);
        picRect = QRect(QPoint(picX, top + blockH - pic.height()), pic);
      }
      break;
    }
    case TExplorerButtonLayout::blBitmapLeft:
    case TExplorerButtonLayout::blBitmapRight: {
      const int picY = inner.top() + (inner.height() - pic.height()) / 2;
      if (!hasCaption) {
        picRect = QRect(QPoint(inner.left() + (inner.width() - picBlockW) / 2, picY), pic);
      } else if (layout_ == TExplorerButtonLayout::blBitmapLeft) {
        picRect = QRect(QPoint(inner.left(), picY), pic);
        textRect = QRect(inner.left() + picBlockW + gap, inner.top(), inner.width() - picBlockW - gap, inner.height());
      } else {
        picRect = QRect(QPoint(inner.right() + 1 - picBlockW, picY), pic);
        textRect = QRect(inner.left(), inner.top(), inner.width() - picBlockW - gap, inner.height());
      }
      break;
    }
  }
  const QPoint markAt(picRect.left() + pic.width() + 2, picRect.top() + pic.height() / 2 - 1);

  auto bevel = [&](bool raised) {
    if (!options_.testFlag(TExplorerButtonOption::boShowBevel)) return;
    QColor first = ButtonHighlightColor(), second = ButtonShadowColor();
    if (bevelStyle_ == TBevelStyle::bsLowered) std::swap(first, second);
    if (!raised) std::swap(first, second);
    const QRect r = rect();
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), first);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), first);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), second);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), second);
  };
  auto caption = [&](const QColor& c, const QPoint& offset) {
    if (!hasCaption || textRect.width() <= 0 || textRect.height() <= 0) return;
    int flags = Qt::TextShowMnemonic;
    flags |= alignment_ == TAlignment::taLeftJustify ? Qt::AlignLeft
             : alignment_ == TAlignment::taRightJustify ? Qt::AlignRight
                                                         : Qt::AlignHCenter;
    const bool vertical = layout_ == TExplorerButtonLayout::blBitmapTop || layout_ == TExplorerButtonLayout::blBitmapBottom;
    flags |= vertical ? Qt::AlignTop : Qt::AlignVCenter;
    p.setPen(c);
    p.setFont(font());
    const QRect r = textRect.translated(offset);
    if (wordWrap_) {
      p.drawText(r, flags | Qt::TextWordWrap, caption_);
    } else {
      // Text that does not fit ends with an ellipsis.
      const QString shown = fm.horizontalAdvance(StripAccelerators(caption_)) > r.width()
                                ? fm.elidedText(caption_, Qt::ElideRight, r.width(), Qt::TextShowMnemonic)
                                : caption_;
      p.drawText(r, flags, shown);
    }
  };
  auto mark = [&](const QColor& c) {
    if (!hasMark) return;
    for (int row = 0; row < 3; ++row) p.fillRect(QRect(markAt.x() + row, markAt.y() + row, 5 - 2 * row, 1), c);
  };

  if (designing_) FrameRect(p, rect(), Qt::black);
  const QColor fontColor = palette().color(QPalette::ButtonText);
  if (isEnabled() && ((pressed_ && mouseOver_) || down_)) {
    bevel(false);
    caption(fontColor, QPoint(0, 0));
    DrawKeyed(p, picRect.topLeft() + QPoint(1, 1), bitmap_);
    mark(fontColor);
  } else if (isEnabled()) {
    if (mouseOver_) bevel(true);
    const QColor c = mouseOver_ ? fontColor : unselectedFontColor_;
    caption(c, QPoint(0, 0));
    const bool grey = !mouseOver_ && options_.testFlag(TExplorerButtonOption::boMonoDisplay);
    const QImage& shown = grey ? (noFocusBitmap_.isNull() ? greyBitmap_ : noFocusBitmap_) : bitmap_;
    DrawKeyed(p, picRect.topLeft(), shown.isNull() ? bitmap_ : shown);
    mark(c);
  } else {
    if (down_) bevel(false);
    if (!disabledBitmap_.isNull()) {
      DrawKeyed(p, picRect.topLeft(), disabledBitmap_);
    } else {
      DrawSilhouette(p, picRect.topLeft() + QPoint(1, 1), bitmap_, ButtonHighlightColor());
      DrawSilhouette(p, picRect.topLeft(), bitmap_, ButtonShadowColor());
    }
    caption(ButtonHighlightColor(), QPoint(1, 1));
    caption(ButtonShadowColor(), QPoint(0, 0));
    mark(ButtonShadowColor());
  }
  return img;
}

void TOfficeButton::paintEvent(QPaintEvent*) {
  const QImage img = PaintToImage();
  QPainter p(this);
  p.drawImage(0, 0, img);
}

// --- mouse and keys

bool TOfficeButton::event(QEvent* e) {
  if (e->type() == QEvent::ToolTip && !showHint_) return true;
  return QWidget::event(e);
}

bool TOfficeButton::CursorOver() const { return rect().contains(mapFromGlobal(QCursor::pos())); }

void TOfficeButton::enterEvent(QEnterEvent*) {
  mouseOver_ = true;
  if (!down_ && isEnabled()) update();
  if (OnEnter) OnEnter(this);
}

void TOfficeButton::leaveEvent(QEvent*) {
  mouseOver_ = false;
  if (!down_ && isEnabled()) update();
  if (OnExit) OnExit(this);
}

void TOfficeButton::LeftButtonDown() {
  if (!isEnabled() || !isVisible()) return;
  pressed_ = mouseOver_ = true;
  repaint();
  if (dropDownMenu_) {
    dropDownMenu_->exec(mapToGlobal(rect().bottomLeft() + QPoint(0, 1)));
    AfterMenu();
    pressed_ = false;
    repaint();
  }
  // Without a menu the press grabs the mouse until the release.
}

void TOfficeButton::AfterMenu() {
  // The clicks that closed the menu are not the button's.
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  mouseOver_ = CursorOver();
}

void TOfficeButton::LeftButtonUp(bool cursorOver) {
  if (!pressed_) return;
  pressed_ = false;
  if (cursorOver && groupIndex_ != 0) {
    if (!down_) {
      for (TOfficeButton* b : Group())
        if (b->down_) b->down_ = false, b->update();
      down_ = true;
    } else if (allowAllUp_) {
      down_ = false;
    }
  }
  if (QWidget::mouseGrabber() == this) releaseMouse();
  if (cursorOver) {
    repaint();
    if (!dropDownMenu_) {
      if (OnClick) OnClick(this);
      emit clicked();
    }
  }
}

void TOfficeButton::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) LeftButtonDown();
  else QWidget::mousePressEvent(e);
}

void TOfficeButton::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) LeftButtonUp(rect().contains(e->position().toPoint()));
  else QWidget::mouseReleaseEvent(e);
}

void TOfficeButton::contextMenuEvent(QContextMenuEvent* e) {
  if (!popupMenu_) return QWidget::contextMenuEvent(e);
  popupMenu_->exec(e->globalPos());
  AfterMenu();
  repaint();
}

void TOfficeButton::changeEvent(QEvent* e) {
  if (e->type() == QEvent::EnabledChange) {
    pressed_ = mouseOver_ = false;
    if (groupIndex_ == 0) down_ = false;
    update();
  }
  QWidget::changeEvent(e);
}

void TOfficeButton::UpdateShortcut() {
  const QKeySequence key = QKeySequence::mnemonic(caption_);
  if (key.isEmpty()) {
    delete shortcut_;
    shortcut_ = nullptr;
    return;
  }
  if (!shortcut_) {
    shortcut_ = new QShortcut(this);
    connect(shortcut_, &QShortcut::activated, this, &TOfficeButton::AcceleratorPressed);
  }
  shortcut_->setKey(key);
}

void TOfficeButton::AcceleratorPressed() {
  if (!isEnabled() || !isVisible()) return;
  mouseOver_ = true;
  LeftButtonDown();
  QApplication::processEvents();
  LeftButtonUp(true);
  mouseOver_ = CursorOver();
  update();
}
