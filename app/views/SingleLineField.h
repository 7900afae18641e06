// Fields whose text the settings file keeps as one line: a line break can
// not go in. A paste or typed text that would bring one is refused whole,
// and the field says why in a tip, so nothing is changed behind the
// person's back when the options are stored.
#pragma once

#include <QStyledItemDelegate>
#include <QValidator>

class QLineEdit;

class TSingleLineValidator : public QValidator {
  Q_OBJECT

 public:
  explicit TSingleLineValidator(QWidget* field);
  State validate(QString& input, int& pos) const override;
  // "This field can not hold a line break."
  static QString RefusalText();

 private:
  QWidget* field_;
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
