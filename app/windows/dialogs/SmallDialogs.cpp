#include "windows/dialogs/SmallDialogs.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <functional>
#include <QVBoxLayout>

#include <cmath>

#include "components/AnimatedImage.h"
#include "components/SharedClip.h"
#include "views/SingleLineField.h"
#include "views/Windows1252.h"

namespace {

QPointer<TfSure> gSure;
QPointer<TfMessage> gMessage;
QPointer<TfQuestion> gQuestion;

// The boxes' artwork: a strip of `cells` 32x32 cells of a dot circling a
// ring, on silver (drawn see-through).
QImage AnimationCells(int cells) {
  QImage strip(32 * cells, 32, QImage::Format_RGB32);
  strip.fill(QColor(0xC0, 0xC0, 0xC0));
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing);
  for (int c = 0; c < cells; ++c) {
    const QPointF centre(32 * c + 16, 16);
    p.setPen(QPen(QColor(0, 0, 128), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 12, 12);
    const double angle = 2 * M_PI * c / cells;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 0));
    p.drawEllipse(centre + QPointF(12 * std::cos(angle), 12 * std::sin(angle)), 4, 4);
  }
  return strip;
}

void CentreOnScreen(QWidget* w) {
  if (const QScreen* s = w->screen()) w->move(s->availableGeometry().center() - w->rect().center());
}

}  // namespace

TAnimatedBox::TAnimatedBox(const char* objectName, const char* caption, int cells, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName(objectName);
  setWindowTitle(caption);
  setModal(true);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(4, 4, 4, 4);
  auto* panel = new QFrame(this);
  panel->setObjectName("Panel1");
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  outer->addWidget(panel);
  auto* row = new QHBoxLayout(panel);
  image_ = new TZRWAniImage(panel);
  image_->setObjectName("Animation");
  image_->setFixedSize(32, 32);
  image_->AniClip().Clip().SetBitmap(AnimationCells(cells));
  image_->AniClip().Clip().SetColumns(static_cast<std::uint16_t>(cells));
  image_->Animation().SetStyle(TZRWAnStyle::anLoop);
  image_->Animation().SetInterval(100);
  image_->Transparent().SetColor(QColor(0xC0, 0xC0, 0xC0));
  image_->Transparent().SetMode(TZRWTransparentMode::tpTransparentColor);
  row->addWidget(image_, 0, Qt::AlignTop);
  lText = new QLabel(panel);
  lText->setObjectName("lText");
  lText->setAlignment(Qt::AlignCenter);
  lText->setMinimumWidth(220);
  row->addWidget(lText, 1);
  outer->addLayout(new QHBoxLayout);
}

QPushButton* TAnimatedBox::AddButton(const char* objectName, const char* text, int result) {
  auto* b = new QPushButton(QString::fromUtf8(text), this);
  b->setObjectName(objectName);
  b->setAutoDefault(false);
  connect(b, &QPushButton::clicked, this, [this, result] { done(result); });
  buttons_.push_back(b);
  return b;
}

void TAnimatedBox::Finish() {
  auto* row = static_cast<QHBoxLayout*>(layout()->itemAt(1)->layout());
  row->addStretch();
  for (QPushButton* b : buttons_) row->addWidget(b);
  row->addStretch();
  adjustSize();
}

void TAnimatedBox::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  adjustSize();
  CentreOnScreen(this);
  image_->Play();
}

void TAnimatedBox::hideEvent(QHideEvent* e) {
  image_->Stop();
  QDialog::hideEvent(e);
}

void TAnimatedBox::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return done(returnResult_);
    case Qt::Key_Escape: return done(escapeResult_);
    default: QDialog::keyPressEvent(e);
  }
}

TfSure::TfSure(QWidget* parent) : TAnimatedBox("fSure", "Kalvora", 18, parent) {
  lText->setText(QStringLiteral("Are you sure?"));
  bYes = AddButton("bYes", "&Yes", 6);
  bNo = AddButton("bNo", "&No", 7);
  returnResult_ = 6;
  escapeResult_ = 7;
  Finish();
  gSure = this;
}
TfSure::~TfSure() = default;
TfSure* TfSure::Instance() { return gSure; }

TfMessage::TfMessage(QWidget* parent) : TAnimatedBox("fMessage", "A Kalvora Message", 9, parent) {
  bOK = AddButton("bOK", "&OK", 1);
  returnResult_ = escapeResult_ = 1;
  Finish();
  gMessage = this;
}
TfMessage::~TfMessage() = default;
TfMessage* TfMessage::Instance() { return gMessage; }
void TfMessage::SetMessageText(const QString& text) {
  lText->setText(text);
  adjustSize();
}

TfQuestion::TfQuestion(QWidget* parent) : TAnimatedBox("fQuestion", "A Kalvora Question", 18, parent) {
  bYes = AddButton("bYes", "&Yes", 6);
  bNo = AddButton("bNo", "&No", 7);
  bCancel = AddButton("bCancel", "&Cancel", 2);
  returnResult_ = 6;
  escapeResult_ = 2;
  Finish();
  gQuestion = this;
}
TfQuestion::~TfQuestion() = default;
TfQuestion* TfQuestion::Instance() { return gQuestion; }
void TfQuestion::SetQuestionText(const QString& text) {
  lText->setText(text);
  adjustSize();
}

TfNewName::TfNewName(const char* objectName, const char* what, const char* because, int maxLength, QWidget* parent)
    : QDialog(parent), maxLength_(maxLength) {
  setObjectName(objectName);
  setWindowTitle(QStringLiteral("Kalvora"));
  auto* v = new QVBoxLayout(this);
  auto* l1 = new QLabel(QString::fromLatin1(what), this);
  l1->setObjectName("Label1");
  v->addWidget(l1);
  lName = new QLabel(this);
  lName->setObjectName("lName");
  v->addWidget(lName);
  auto* l2 = new QLabel(QStringLiteral("in the instrument found. Kalvora needs a new name for this one,"), this);
  l2->setObjectName("Label2");
  v->addWidget(l2);
  auto* l3 = new QLabel(QString::fromLatin1(because), this);
  l3->setObjectName("Label3");
  v->addWidget(l3);
  eNewName = new QLineEdit(this);
  eNewName->setObjectName("eNewName");
  BoundCharacters(eNewName, maxLength);
  v->addWidget(eNewName);
  bOK = new QPushButton(QStringLiteral("&OK"), this);
  bOK->setObjectName("bOK");
  bOK->setAutoDefault(false);
  connect(bOK, &QPushButton::clicked, this, [this] { done(1); });
  v->addWidget(bOK, 0, Qt::AlignHCenter);
  adjustSize();
}

void TfNewName::SetClashingName(const std::string& name) {
  lName->setText(QStringLiteral("\"%1\"").arg(FromWindows1252(name)));
}

std::string TfNewName::NewName() const {
  return ToWindows1252(FirstCharacters(eNewName->text(), maxLength_));
}

void TfNewName::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Escape) return done(1);
  QDialog::keyPressEvent(e);
}

TfNewPresetName::TfNewPresetName(QWidget* parent)
    : TfNewName("fNewPresetName", "Preset wave", "because the existing preset wave with the same name is different.", 30,
                parent) {
  lName->setObjectName("lPresetWaveName");
}

TfNewEnvelopeName::TfNewEnvelopeName(QWidget* parent)
    : TfNewName("fNewEnvelopeName", "Volume envelope", "because the existing envelope with the same name is different.",
                20, parent) {
  lName->setObjectName("lEnvelopeName");
}

// --- about box

namespace {

// A box that shows an image as it is.
class TImageBox : public QWidget {
 public:
  TImageBox(const QImage* image, QWidget* parent) : QWidget(parent), image_(image) {}
  const QImage* image_;
  std::function<void(QPainter&)> paint;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    if (paint) paint(p);
    else if (image_) p.drawImage(0, 0, *image_);
  }
};

}  // namespace

TfAbout::TfAbout(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName("fAbout");
  setWindowTitle(QStringLiteral("About Kalvora"));
  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(0, 0, 0, 0);
  auto* panel = new QFrame(this);
  panel->setObjectName("Panel1");
  panel->setAutoFillBackground(true);
  QPalette pal = panel->palette();
  pal.setColor(QPalette::Window, QColor(0, 0, 128));
  panel->setPalette(pal);
  v->addWidget(panel);
  auto* pv = new QVBoxLayout(panel);
  pv->setContentsMargins(6, 6, 6, 6);
  pbMain = new TImageBox(&bitmap_, panel);
  pbMain->setObjectName("pbMain");
  pbMain->setFixedSize(340, 196);
  pv->addWidget(pbMain);
  auto* scroll = new TImageBox(nullptr, panel);
  pbScrollText = scroll;
  pbScrollText->setObjectName("pbScrollText");
  pbScrollText->setFixedSize(337, 20);
  scroll->paint = [this](QPainter& p) {
    p.fillRect(pbScrollText->rect(), Qt::black);
    p.drawImage(stripX_, 0, strip_);
  };
  pv->addWidget(pbScrollText);
  for (QWidget* w : {pbMain, pbScrollText}) w->installEventFilter(this);

  // Artwork: the name on the information picture, black elsewhere; the mask
  // keeps the figure out of the name's rectangle.
  info_ = QImage(340, 200, QImage::Format_RGB32);
  info_.fill(Qt::black);
  mask_ = QImage(340, 200, QImage::Format_RGB32);
  mask_.fill(Qt::white);
  {
    QPainter p(&info_);
    QFont f = font();
    f.setPointSize(20);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRect(0, 30, 340, 40), Qt::AlignCenter, QStringLiteral("Kalvora"));
    QPainter m(&mask_);
    m.fillRect(QRect(90, 30, 160, 70), Qt::black);
  }
  strip_ = QImage(1104, 17, QImage::Format_RGB32);
  strip_.fill(Qt::black);
  {
    QPainter p(&strip_);
    p.setPen(QColor(0, 255, 255));
    p.drawText(QRect(0, 0, 1104, 17), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Kalvora - a sound synthesizer: morph between wave presets, shape the volume, "
                              "add vibrato and a lowpass, and play the result."));
  }
  timer_.setInterval(50);
  connect(&timer_, &QTimer::timeout, this, &TfAbout::Tick);
  adjustSize();
}

void TfAbout::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  CentreOnScreen(this);
  auto* panel = findChild<QFrame*>("Panel1");
  QPalette pal = panel->palette();
  pal.setColor(QPalette::Window, Qt::black);
  panel->setPalette(pal);
  figure_ = AboutFigure(pbMain->width(), pbMain->height());
  head_ = phase_ = 0;
  bitmap_ = QImage(pbMain->size(), QImage::Format_RGB32);
  bitmap_.fill(Qt::black);
  {
    QPainter p(&info_);
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSize(8);
    p.setFont(f);
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(Qt::black);
    p.setPen(QColor(255, 255, 0));
    p.drawText(140, 77 + p.fontMetrics().ascent(), QStringLiteral("Version 3.0"));
  }
  stripX_ = pbScrollText->width();
  timer_.start();
}

void TfAbout::hideEvent(QHideEvent* e) {
  timer_.stop();
  bitmap_ = QImage();
  QDialog::hideEvent(e);
}

void TfAbout::Tick() {
  if (bitmap_.isNull() || figure_.size() < 1001) return;
  const int i1 = (head_ - 80 + 1000) % 1000, i2 = (head_ - 150 + 1000) % 1000, i3 = (i1 - 150 + 1000) % 1000;
  const int blue = static_cast<int>(RoundHalfEven(std::sin(phase_ * 0.01L) * 127)) + 128;
  if (++phase_ == 629) phase_ = 0;
  QPainter p(&bitmap_);
  auto pt = [&](int k) { return QPoint(figure_[static_cast<std::size_t>(k)].x, figure_[static_cast<std::size_t>(k)].y); };
  p.setPen(QColor(0, 0, blue));
  p.drawLine(pt(head_), pt(i1));
  p.setPen(Qt::black);
  p.drawLine(pt(i2), pt(i3));
  p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
  p.drawImage(0, 0, mask_);
  p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
  p.drawImage(0, 0, info_);
  p.end();
  if (++head_ > 1000) head_ = 0;
  if (--stripX_ < -strip_.width()) stripX_ = pbScrollText->width();
  pbMain->update();
  pbScrollText->update();
}

void TfAbout::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Escape) return done(1);
  QDialog::keyPressEvent(e);
}

void TfAbout::mousePressEvent(QMouseEvent*) { done(1); }

bool TfAbout::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::MouseButtonPress) {
    done(1);
    return true;
  }
  return QDialog::eventFilter(watched, e);
}
