// Fields that take at most a number of characters from the person, so that
// what is typed there fits the file that keeps it. The files keep one byte
// for each character, so a character beyond 16 bits (two UTF-16 units)
// counts once and is never cut in half.
#pragma once

#include <QPlainTextEdit>
#include <QValidator>

class QLineEdit;
class TSingleLineValidator;

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

// A name field's bound in characters, where QLineEdit::setMaxLength counts
// UTF-16 units; the field keeps one line as well (views/SingleLineField.h).
// As with setMaxLength, a key that would pass the bound changes nothing and
// signals nothing, so the undo steps stay; a paste, drop or input-method
// text is cut to the room left before the field takes it, and is undone in
// one step. Text the program sets that is longer keeps its beginning.
class TCharacterBound : public QValidator {
  Q_OBJECT

 public:
  TCharacterBound(int maxLength, QLineEdit* edit);
  State validate(QString& input, int& pos) const override;
  int MaxLength() const { return maxLength_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  // The text without the selection, which a paste or typed text replaces.
  QString TextBesideSelection() const;
  // Characters that may still go in beside the kept text.
  int Room(QStringView kept) const;
  // Whether the edit takes `text` cut to `room` rather than as QLineEdit
  // would: only a one-line text longer than the room.
  bool Cuts(const QString& text, int room) const;
  // Puts what fits of `text` at the caret, in place of the selection, as
  // one undo step; false when nothing changed.
  bool InsertCut(const QString& text, int room);
  // Puts the clipboard's text in cut to fit when it is too long; false when
  // the edit's own paste should take it.
  bool PasteCut();
  // The clipboard's text, cut to fit.
  void Paste();

  const int maxLength_;
  QLineEdit* const edit_;
  const TSingleLineValidator* const oneLine_;
};

// Makes the edit a name field: one line of at most maxLength characters.
void BoundCharacters(QLineEdit* edit, int maxLength);
// The edit's bound in characters, 0 when it has none.
int CharacterBound(const QLineEdit* edit);
