// Fields that take at most a number of characters from the person, so that
// what is typed there fits the file that keeps it. The files keep one byte
// for each character, so a character beyond 16 bits (two UTF-16 units)
// counts once and is never cut in half.
#pragma once

#include <QPlainTextEdit>
#include <QPointer>
#include <QValidator>

class QLineEdit;

// A memo: typing stops at the bound and a paste, drop or input-method text
// is cut to the room left; the field then says so in a tip at the caret.
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
  void inputMethodEvent(QInputMethodEvent* e) override;

 private:
  // Characters that may still go in, in place of the selection.
  int Room() const;
  // The text cut to the room left; tells the person when it was cut.
  QString Fitted(QString text);

  const int maxLength_;
};

// A line edit's bound in characters, where QLineEdit::setMaxLength counts
// UTF-16 units. What goes past the bound is cut just before the caret, where
// the typed or pasted text ends, as setMaxLength cuts; a validator the field
// already had (one that refuses line breaks) still decides first.
class TCharacterBound : public QValidator {
  Q_OBJECT

 public:
  TCharacterBound(int maxLength, const QValidator* before, QObject* parent);
  State validate(QString& input, int& pos) const override;
  int MaxLength() const { return maxLength_; }

 private:
  const int maxLength_;
  QPointer<const QValidator> before_;
};

// Bounds the edit to maxLength characters (set its other validator first).
void BoundCharacters(QLineEdit* edit, int maxLength);
// The edit's bound in characters, 0 when it has none.
int CharacterBound(const QLineEdit* edit);
