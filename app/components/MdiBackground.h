// TMDIBackground: takes over the painting of an MDI client area. The area is
// filled with BackgroundColor, then OnPaint draws on top; a 3-D frame of
// BevelWidth pixels is kept around it.
#pragma once

#include <functional>

#include <QColor>
#include <QMdiArea>
#include <QObject>
#include <QRect>

class QPainter;
class QWidget;

inline constexpr const char* kMDIBackgroundNotOnMDIForm =
    "TMDIBackground can only be used on a form \nwith FormStyle = fsMDIForm";

class TMDIBackground : public QObject {
  Q_OBJECT

 public:
  using TMDIPaint = std::function<void(QObject* sender, QPainter& canvas, const QRect& rect)>;

  // `owner` is an MDI client area or a window that holds one; otherwise
  // EComponentError with the text above.
  explicit TMDIBackground(QWidget* owner);
  ~TMDIBackground() override;

  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int v);
  QColor BackgroundColor() const { return backgroundColor_; }
  void SetBackgroundColor(const QColor& v);
  TMDIPaint OnPaint;

  QMdiArea* ClientWindow() const { return client_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  virtual void PaintClient(QPainter& p);
  virtual void PaintBackground(QPainter& p, const QRect& r);
  // The frame around the client area.
  virtual void Paint(QPainter& p);

 private:
  void ApplyInset();

  // Cleared when the area goes; events that reach the filter while the area
  // is being taken down are compared by address only.
  QMdiArea* client_ = nullptr;
  int bevelWidth_ = 2;
  QColor backgroundColor_;
};
