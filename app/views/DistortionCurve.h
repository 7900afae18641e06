// The paint box of the distortion curve: the clean quarter sine and the
// distorted one, drawn into an off-screen image.
#pragma once

#include <QImage>
#include <QWidget>

#include "core/InGlobSettings.h"

// The paint box of the distortion curve.
class TDistortionCurveBox : public QWidget {
 public:
  explicit TDistortionCurveBox(QWidget* parent, const TInGlobSettings& settings);
  QImage Render() const;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  const TInGlobSettings& settings_;
};
