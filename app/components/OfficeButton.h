// TOfficeButton: a flat tool-bar button. It shows a bevel only while the
// mouse is over it or it is pressed, a grey picture while the mouse is
// elsewhere, and can carry a drop-down menu or belong to a radio group.
#pragma once

#include <functional>

#include <QFlags>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <QWidget>

class QShortcut;

enum class TExplorerButtonLayout { blBitmapTop, blBitmapBottom, blBitmapLeft, blBitmapRight };
enum class TExplorerButtonOption { boMonoDisplay = 1, boIconOnly = 2, boPopupMark = 4, boShowBevel = 8 };
using TExplorerButtonOptions = QFlags<TExplorerButtonOption>;
Q_DECLARE_OPERATORS_FOR_FLAGS(TExplorerButtonOptions)
enum class TExplorerButtonShadingType { stLight, stMedium, stDark };
enum class TBevelStyle { bsLowered, bsRaised };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// The grey picture of `bitmap`: every pixel but those of the key colour
// (the top-left pixel's) becomes white, highlight, shadow or black by the
// sum of its red, green and blue and the shading's three thresholds.
QImage GreyPicture(const QImage& bitmap, TExplorerButtonShadingType shading);
struct TGreyThresholds {
  int t1, t2, t3;
};
TGreyThresholds GreyThresholds(TExplorerButtonShadingType shading);

class TOfficeButton : public QWidget {
  Q_OBJECT

 public:
  using TNotifyEvent = std::function<void(TOfficeButton* sender)>;

  explicit TOfficeButton(QWidget* parent = nullptr);
  ~TOfficeButton() override;

  QString About() const { return QStringLiteral("Office-style tool button"); }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v) { alignment_ = v, update(); }
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v);  // for the whole group
  TBevelStyle BevelStyle() const { return bevelStyle_; }
  void SetBevelStyle(TBevelStyle v) { bevelStyle_ = v, update(); }
  const QImage& Bitmap() const { return bitmap_; }
  void SetBitmap(const QImage& v);
  const QImage& NoFocusBitmap() const { return noFocusBitmap_; }
  void SetNoFocusBitmap(const QImage& v) { noFocusBitmap_ = v, update(); }
  const QImage& DisabledBitmap() const { return disabledBitmap_; }
  void SetDisabledBitmap(const QImage& v);
  QString Caption() const { return caption_; }
  void SetCaption(const QString& v);
  bool Down() const { return down_; }
  void SetDown(bool v);  // only in a group
  QMenu* DropDownMenu() const { return dropDownMenu_; }
  void SetDropDownMenu(QMenu* v) { dropDownMenu_ = v, update(); }
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v);
  TExplorerButtonLayout Layout() const { return layout_; }
  void SetLayout(TExplorerButtonLayout v) { layout_ = v, update(); }
  TExplorerButtonOptions Options() const { return options_; }
  void SetOptions(TExplorerButtonOptions v);
  TExplorerButtonShadingType ShadingType() const { return shadingType_; }
  void SetShadingType(TExplorerButtonShadingType v);
  bool ShowDownPattern() const { return showDownPattern_; }
  void SetShowDownPattern(bool v) { showDownPattern_ = v, update(); }
  QColor UnselectedFontColor() const { return unselectedFontColor_; }
  void SetUnselectedFontColor(const QColor& v) { unselectedFontColor_ = v, update(); }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v) { wordWrap_ = v, update(); }
  QMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(QMenu* v) { popupMenu_ = v; }
  // The hint is the tool tip; ShowHint says whether it shows.
  QString Hint() const { return toolTip(); }
  void SetHint(const QString& v) { setToolTip(v); }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v) { showHint_ = v; }
  bool Designing() const { return designing_; }
  void SetDesigning(bool v) { designing_ = v, update(); }

  // The grey picture shown while the mouse is elsewhere.
  const QImage& InternalBitmap() const { return greyBitmap_; }
  // The form-resource property "IBitmap", written only when not empty.
  void WriteProperties(QVariantMap& properties) const;
  void ReadProperties(const QVariantMap& properties);

  bool MouseOver() const { return mouseOver_; }
  bool Pressed() const { return pressed_; }
  // The 8 x 8 pattern of a down button, shared by all buttons.
  static const QImage& DownPattern();
  // The button as paintEvent draws it.
  QImage PaintToImage() const;

  TNotifyEvent OnClick, OnEnter, OnExit;

 signals:
  void clicked();

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent*) override;
  void enterEvent(QEnterEvent*) override;
  void leaveEvent(QEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  QList<TOfficeButton*> Group() const;
  void DeriveGreyPicture();
  void LeftButtonDown();
  void LeftButtonUp(bool cursorOver);
  void AfterMenu();
  bool CursorOver() const;
  void AcceleratorPressed();
  void UpdateShortcut();

  TAlignment alignment_ = TAlignment::taCenter;
  bool allowAllUp_ = false;
  TBevelStyle bevelStyle_ = TBevelStyle::bsRaised;
  QImage bitmap_, noFocusBitmap_, disabledBitmap_, greyBitmap_;
  QString caption_;
  bool down_ = false;
  QPointer<QMenu> dropDownMenu_, popupMenu_;
  int groupIndex_ = 0;
  TExplorerButtonLayout layout_ = TExplorerButtonLayout::blBitmapTop;
  TExplorerButtonOptions options_ = TExplorerButtonOption::boMonoDisplay | TExplorerButtonOption::boPopupMark |
                                    TExplorerButtonOption::boShowBevel;
  TExplorerButtonShadingType shadingType_ = TExplorerButtonShadingType::stMedium;
  bool showDownPattern_ = true;
  QColor unselectedFontColor_;
  bool wordWrap_ = false;
  bool showHint_ = true;
  bool designing_ = false;
  bool mouseOver_ = false, pressed_ = false;
  QShortcut* shortcut_ = nullptr;
};
