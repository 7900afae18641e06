#include "components/AnimatedImage.h"

#include <QPainter>

#include "components/SharedClip.h"

TZRWAniImage::TZRWAniImage(QWidget* parent) : TZRWCustomImage(parent) {
  aniClip_.OnChange = [this](TZRWObject*) {
    SelectFrame();
    SettingsChanged();
  };
  Watch(animation_);
  connect(&timer_, &QTimer::timeout, this, &TZRWAniImage::TimerStep);
  SelectFrame();
}

TZRWAniImage::~TZRWAniImage() {
  // The events must not reach an owner that is going away.
  OnFrameStart = OnFrameEnd = OnChangeCell = nullptr;
  timer_.stop();
}

const TZRWAniClip& TZRWAniImage::ActiveClip() const {
  return aniControl_ && !aniControl_->AniClip().IsEmpty() ? aniControl_->AniClip() : aniClip_;
}

TZRWAniClip& TZRWAniImage::ActiveClip() {
  return aniControl_ && !aniControl_->AniClip().IsEmpty() ? aniControl_->AniClip() : aniClip_;
}

void TZRWAniImage::SetAniControl(TZRWAniPicClip* v) {
  if (aniControl_ == v) return;
  if (aniControl_) disconnect(aniControl_, nullptr, this, nullptr);
  aniControl_ = v;
  if (v)
    connect(v, &QObject::destroyed, this, [this] {
      SelectFrame();
      update();
    });
  SelectFrame();
  SettingsChanged();
}

void TZRWAniImage::ClipControlNotify(TZRWAniPicClip* clip) {
  if (clip != aniControl_) return;
  SelectFrame();
  SettingsChanged();
}

void TZRWAniImage::SelectFrame() {
  const TZRWAniClip& clip = ActiveClip();
  if (clip.IsEmpty()) {
    frameNr_ = 0;
    frame_ = DefaultFrame(0);
    range_ = {};
    return;
  }
  const std::size_t frames = clip.Frames().Count();
  if (frameNr_ != kDefaultFrame && frameNr_ >= frames) frameNr_ = frames > 0 ? 0 : kDefaultFrame;
  frame_ = clip.FrameByPosition(frameNr_);
  // A frame from a file may reach beyond the clip; only cells that are there play.
  range_ = ClampFrameRange(frame_.FirstCell, frame_.LastCell, clip.Clip().CellCount());
  if (cell_ > range_.CountMinusOne()) cell_ = 0;
}

void TZRWAniImage::SetCell(std::uint16_t v) {
  cell_ = v > range_.CountMinusOne() ? 0 : v;
  update();
}

void TZRWAniImage::SetFrameNr(std::uint16_t v) {
  frameNr_ = v;
  SelectFrame();
  update();
}

void TZRWAniImage::ChooseFrame(const TZRWFrame& frame) {
  frameNr_ = frame.Position;
  cell_ = 0;
  SelectFrame();
  update();
}

void TZRWAniImage::SetFrameIndex(std::uint16_t index) { ChooseFrame(ActiveClip().FrameByIndex(index)); }

void TZRWAniImage::SetFrameName(const std::string& name) { ChooseFrame(ActiveClip().FrameByName(name)); }

QSize TZRWAniImage::CellSize() const {
  const TZRWClip& c = ActiveClip().Clip();
  return c.IsEmpty() ? QSize() : QSize(c.CellWidth(), c.CellHeight());
}

void TZRWAniImage::Play() {
  if (ActiveClip().IsEmpty()) return;
  if (playing_) Stop();
  sequence_.emplace(range_.CountMinusOne(), animation_.Style(), animation_.LoopReverse(), animation_.PlayForward());
  current_ = sequence_->Start();
  timer_.setInterval(animation_.Interval());
  bool stop = false;
  if (OnFrameStart) OnFrameStart(this, frame_, stop, current_);
  if (stop) return;
  playing_ = true;
  if (isHidden() && !Designing()) {
    if (!makeVisible_) return;
    show();
  }
  update();
  timer_.start();
}

void TZRWAniImage::TimerStep() {
  if (!playing_) return;
  if ((isHidden() && !Designing()) || !parentWidget()) return Stop();
  if (!sequence_->Step()) return Stop();
  current_ = sequence_->Current();
  bool stop = false;
  if (OnChangeCell) OnChangeCell(this, frame_, stop, current_);
  if (stop) return Stop();
  update();
}

void TZRWAniImage::Stop() {
  if (!playing_) return;
  current_ = 65535;
  bool ignored = false;
  if (OnFrameEnd) OnFrameEnd(this, frame_, ignored, current_);
  timer_.stop();
  const TZRWAnStyle style = animation_.Style();
  cell_ = CellAfterStop(style, cell_, range_.CountMinusOne());
  if (HiddenAfterStop(style) && !Designing()) hide();
  playing_ = false;
  current_ = 0;
  if (parentWidget() && isVisible()) update();
}

void TZRWAniImage::Paint(QPainter& p) {
  TZRWAniClip& clip = ActiveClip();
  // A picture clip read with a grid of 0 has no cell to show.
  if (clip.IsEmpty() || clip.Clip().CellCount() == 0) return PaintBase(p);
  const QRect inner = Bevel().Draw(p, rect(), true);
  DrawCell(p, clip.CellBitmap(ShownClipCell()), inner);
}
