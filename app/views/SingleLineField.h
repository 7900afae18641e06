// Fields whose text is kept as one line (a value of the settings file, a
// name): a line break can not go in. A paste or typed text that would bring
// one is refused whole, and the field says why in a tip, so what the field
// shows is what is kept. Name fields also hold at most a number of
// characters, so that a name fits the file that keeps it.
#pragma once

#include <QStyledItemDelegate>
#include <QValidator>

#include "views/PastePath.h"

class QLineEdit;

// LF, CR, VT, FF, NEL and the line and paragraph separators: each ends a
// line, yet a line edit shows it as a blank.
bool IsLineBreak(QChar c);
bool HasLineBreak(QStringView text);

// Whether the text being validated comes from the person: an edit adds an
// undo step, while the program's setText leaves nothing to undo.
bool IsPersonsEdit(const QLineEdit* field);

class TSingleLineValidator : public QValidator {
  Q_OBJECT

 public:
  explicit TSingleLineValidator(QLineEdit* field);
  // Refuses a text with a line break; says so when the person brought it
  // (text the program set is shown as it is, without a word).
  State validate(QString& input, int& pos) const override;
  // "This field can not hold a line break."
  static QString RefusalText();

 private:
  QLineEdit* field_;
};

// Makes a line edit refuse line breaks.
void KeepOnOneLine(QLineEdit* edit);

// A name field's bound in characters, where QLineEdit::setMaxLength counts
// UTF-16 units. The files keep one byte for each character, so a character
// beyond 16 bits (two UTF-16 units) counts once and is never cut in half.
// The field keeps one line as well. As with setMaxLength, a key that would
// pass the bound changes nothing and signals nothing, so the undo steps
// stay; a paste, drop or input-method text is cut to the room left before
// the field takes it, and is undone in one step. Text the program sets that
// is longer keeps its beginning.
class TCharacterBound : public QValidator, public TPasteFitter {
  Q_OBJECT

 public:
  TCharacterBound(int maxLength, QLineEdit* edit);
  State validate(QString& input, int& pos) const override;
  int MaxLength() const { return maxLength_; }
  // A one-line text longer than the room left, cut to it; any other text
  // as it is (one with a line break is refused whole).
  QString Fitted(const QString& text) const override;

 protected:
  // An input method's text is cut to fit as a paste is.
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  // The text without the selection, which a paste or typed text replaces.
  QString TextBesideSelection() const;
  // Characters that may still go in beside the kept text.
  int Room(QStringView kept) const;
  // Whether the edit takes `text` cut to `room` rather than as QLineEdit
  // would: only a one-line text longer than the room.
  bool Cuts(const QString& text, int room) const;

  const int maxLength_;
  QLineEdit* const edit_;
  const TSingleLineValidator* const oneLine_;
};

// Makes the edit a name field: one line of at most maxLength characters.
void BoundCharacters(QLineEdit* edit, int maxLength);
// The edit's bound in characters, 0 when it has none.
int CharacterBound(const QLineEdit* edit);

// The editor of a table column of names: one line of at most maxLength
// characters.
class TSingleLineDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  TSingleLineDelegate(int maxLength, QObject* parent);
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  int maxLength_;
};
