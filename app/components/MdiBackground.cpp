#include "components/MdiBackground.h"

#include <QEvent>
#include <QMdiArea>
#include <QPainter>
#include <QScrollBar>

#include "components/EffectDrawing.h"
#include "core/ComponentError.h"

namespace {

// The area's viewport margins are set by subclasses only; a pointer to that
// member, taken through a subclass, lets the background set them on any area.
struct ViewportMarginsAccess : QAbstractScrollArea {
  using QAbstractScrollArea::setViewportMargins;
};

void SetViewportMargins(QMdiArea* area, int m) {
  void (QAbstractScrollArea::*set)(int, int, int, int) = &ViewportMarginsAccess::setViewportMargins;
  (area->*set)(m, m, m, m);
}

}  // namespace

TMDIBackground::TMDIBackground(QWidget* owner) : QObject(owner), backgroundColor_(InactiveCaptionColor()) {
  client_ = qobject_cast<QMdiArea*>(owner);
  if (!client_ && owner) client_ = owner->findChild<QMdiArea*>();
  if (!client_) throw EComponentError(kMDIBackgroundNotOnMDIForm);
  connect(client_, &QObject::destroyed, this, [this] { client_ = nullptr; });
  // The frame is ours: the area keeps none of its own.
  client_->setFrameShape(QFrame::NoFrame);
  client_->installEventFilter(this);
  client_->viewport()->installEventFilter(this);
  // Scrolling moves the pixels that are there; a tiled background would tear,
  // so the whole area is painted again.
  for (QScrollBar* bar : {client_->horizontalScrollBar(), client_->verticalScrollBar()})
    connect(bar, &QScrollBar::valueChanged, this, [this] {
      if (client_) client_->viewport()->update();
    });
  ApplyInset();
}

TMDIBackground::~TMDIBackground() {
  if (!client_) return;
  client_->removeEventFilter(this);
  client_->viewport()->removeEventFilter(this);
  SetViewportMargins(client_, 0);
  client_->viewport()->update();
}

void TMDIBackground::ApplyInset() {
  SetViewportMargins(client_, bevelWidth_);
  client_->update();
}

void TMDIBackground::SetBevelWidth(int v) {
  if (v < 0 || v == bevelWidth_) return;
  bevelWidth_ = v;
  if (client_) ApplyInset();
}

void TMDIBackground::SetBackgroundColor(const QColor& v) {
  if (v == backgroundColor_) return;
  backgroundColor_ = v;
  if (client_) client_->viewport()->update();
}

void TMDIBackground::PaintBackground(QPainter& p, const QRect& r) {
  p.fillRect(r, backgroundColor_);
  if (OnPaint) OnPaint(this, p, r);
}

void TMDIBackground::PaintClient(QPainter& p) { PaintBackground(p, client_->viewport()->rect()); }

void TMDIBackground::Paint(QPainter& p) {
  Frame3D(p, client_->rect(), Qt::black, ButtonHighlightColor(), bevelWidth_);
}

bool TMDIBackground::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::Paint && client_) {
    if (watched == client_->viewport()) {
      QPainter p(client_->viewport());
      PaintClient(p);
      return true;
    }
    if (watched == client_) {
      QPainter p(client_);
      Paint(p);
      return true;
    }
  }
  return QObject::eventFilter(watched, e);
}
