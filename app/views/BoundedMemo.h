// A memo that takes at most a number of characters from the person, so
// that what is typed there fits the file that keeps it. Typing stops at the
// bound and a paste, drop or input-method text is cut to the room left; the
// field then says so in a tip at the caret. Text the program sets (one read
// from a file of an earlier version may be longer) is shown whole: it can
// be shortened, not lengthened.
#pragma once

#include <QPlainTextEdit>

class TBoundedMemo : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit TBoundedMemo(int maxLength, QWidget* parent = nullptr);

  int MaxLength() const { return maxLength_; }
  // "This field holds at most N characters."
  QString BoundText() const;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void insertFromMimeData(const QMimeData* source) override;
  void inputMethodEvent(QInputMethodEvent* e) override;

 private:
  // Characters that may still go in, in place of the selection.
  int Room() const;
  // The text cut to the room left; tells the person when it was cut.
  QString Fitted(QString text);

  const int maxLength_;
};
