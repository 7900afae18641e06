#include "views/SingleLineField.h"

#include <algorithm>

#include <QApplication>
#include <QLineEdit>
#include <QToolTip>

#include "views/BoundedMemo.h"

bool IsLineBreak(QChar c) {
  const char16_t u = c.unicode();
  return (u >= 0x0A && u <= 0x0D) || u == 0x85 || u == 0x2028 || u == 0x2029;
}

bool HasLineBreak(QStringView text) { return std::any_of(text.begin(), text.end(), IsLineBreak); }

bool IsPersonsEdit(const QLineEdit* field) { return field->isUndoAvailable(); }

TSingleLineValidator::TSingleLineValidator(QLineEdit* field) : QValidator(field), field_(field) {}

QString TSingleLineValidator::RefusalText() { return QStringLiteral("This field can not hold a line break."); }

QValidator::State TSingleLineValidator::validate(QString& input, int&) const {
  if (!HasLineBreak(input)) return Acceptable;
  if (IsPersonsEdit(field_)) {
    QApplication::beep();
    QToolTip::showText(field_->mapToGlobal(QPoint(0, field_->height())), RefusalText(), field_);
  }
  return Invalid;
}

void KeepOnOneLine(QLineEdit* edit) { edit->setValidator(new TSingleLineValidator(edit)); }

TSingleLineDelegate::TSingleLineDelegate(int maxLength, QObject* parent)
    : QStyledItemDelegate(parent), maxLength_(maxLength) {}

QWidget* TSingleLineDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
  auto* edit = new QLineEdit(parent);
  edit->setFrame(false);
  BoundCharacters(edit, maxLength_);
  return edit;
}
