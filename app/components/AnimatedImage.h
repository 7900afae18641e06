// TZRWAniImage: shows one cell of an animation clip's frame, or plays the
// frame's cells on a timer. The clip is its own or a shared one.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include <QPointer>
#include <QTimer>

#include "components/ClipObjects.h"
#include "components/GraphicControl.h"
#include "core/AnimationSteps.h"

class TZRWAniPicClip;

class TZRWAniImage : public TZRWCustomImage {
  Q_OBJECT

 public:
  // (sender, frame, stop, cell): setting stop ends (or does not start) the run.
  using TZRWAnimationEvent = std::function<void(TZRWAniImage* sender, const TZRWFrame& frame, bool& stop, std::uint16_t cell)>;

  explicit TZRWAniImage(QWidget* parent = nullptr);
  ~TZRWAniImage() override;

  TZRWAniClip& AniClip() { return aniClip_; }
  TZRWAniPicClip* AniControl() const { return aniControl_; }
  void SetAniControl(TZRWAniPicClip* v);
  TZRWAnimation& Animation() { return animation_; }

  std::uint16_t Cell() const { return cell_; }  // counted from the frame's first cell
  void SetCell(std::uint16_t v);
  std::uint16_t FrameNr() const { return frameNr_; }  // 65535: the frame "ALL"
  void SetFrameNr(std::uint16_t v);
  std::uint16_t FrameIndex() const { return frame_.Index; }
  void SetFrameIndex(std::uint16_t index);  // raises "Invalid Index" when no frame has it
  std::string FrameName() const { return frame_.Name; }
  void SetFrameName(const std::string& name);
  bool MakeVisible() const { return makeVisible_; }
  void SetMakeVisible(bool v) { makeVisible_ = v; }

  TZRWAnimationEvent OnFrameStart, OnFrameEnd, OnChangeCell;

  void Play();
  void Stop();
  bool Playing() const { return playing_; }
  // The cell of the frame being shown (counted from its first cell), and the
  // clip's cell number that is.
  std::uint16_t ShownCell() const { return playing_ ? current_ : cell_; }
  std::int64_t ShownClipCell() const { return range_.First + ShownCell(); }
  TZRWCellRange Range() const { return range_; }
  QTimer& Timer() { return timer_; }
  // One timer step, as the timer runs it.
  void TimerStep();

  void ClipControlNotify(TZRWAniPicClip* clip) override;

 protected:
  bool IsEmpty() const override { return ActiveClip().IsEmpty(); }
  QSize CellSize() const override;
  void Paint(QPainter& p) override;

 private:
  const TZRWAniClip& ActiveClip() const;
  TZRWAniClip& ActiveClip();
  void SelectFrame();
  void ChooseFrame(const TZRWFrame& frame);

  TZRWAniClip aniClip_;
  QPointer<TZRWAniPicClip> aniControl_;
  TZRWAnimation animation_;
  std::uint16_t cell_ = 0, frameNr_ = 0;
  bool makeVisible_ = true;
  TZRWFrame frame_;
  TZRWCellRange range_;
  QTimer timer_;
  bool playing_ = false;
  std::uint16_t current_ = 0;
  std::optional<TZRWCellSequence> sequence_;
};
