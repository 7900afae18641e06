// Fields whose text is kept as one line (a value of the settings file, a
// name): a line break can not go in. A paste or typed text that would bring
// one is refused whole, and the field says why in a tip, so what the field
// shows is what is kept.
#pragma once

#include <QStyledItemDelegate>
#include <QValidator>

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
