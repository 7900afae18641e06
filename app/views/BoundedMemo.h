// A description box that takes at most a number of characters from the
// person, so that what is typed there fits the file that keeps it. The files
// keep one byte for each character, so a character beyond 16 bits (two
// UTF-16 units) counts once and is never cut in half.
#pragma once

#include <QPlainTextEdit>

#include "views/PastePath.h"

// A memo: typing stops at the bound and a paste, drop or input-method text
// is cut to the room left; the field then says so in a tip at the caret. A
// drop cut to fit ends as a copy, and one that brings nothing as ignored,
// so the part left out stays where it came from.
// Text the program sets (one read from a file of an earlier version may be
// longer) is shown whole: it can be shortened, not lengthened.
class TBoundedMemo : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit TBoundedMemo(int maxLength, QWidget* parent = nullptr);

  int MaxLength() const { return maxLength_; }
  // "This field holds at most N characters."
  QString BoundText() const;
  // The text as the person sees it, lines ending in '\n'. Every other
  // character is kept: toPlainText() would turn a no-break space into a
  // blank, and a text read from a file would change where nobody typed.
  QString Text() const;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  // Only text goes in: data without text changes nothing.
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;
  void dropEvent(QDropEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;

 private:
  // Characters that may still go in, in place of the selection.
  int Room() const;
  // The text cut to the room left; tells the person when it was cut.
  QString Fitted(QString text);

  const int maxLength_;
  // How much the last insertFromMimeData took.
  TPasted pasted_ = TPasted::Nothing;
};
