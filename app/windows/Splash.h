// TfSplash: the borderless start-up picture, shown while the long-lived
// windows are created. Its shape cuts the top left corner diagonally and
// clips the other corners.
#pragma once

#include <QImage>
#include <QPolygon>
#include <QWidget>

class TfSplash : public QWidget {
  Q_OBJECT

 public:
  explicit TfSplash(QWidget* parent = nullptr);
  ~TfSplash() override;

  // The outline of the window (filled with the alternate rule).
  static QPolygon SplashOutline();

  void FormCreate();
  // Removes the shape and closes the window.
  void FormClose();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};
