#include "views/SingleLineField.h"

#include <QApplication>
#include <QLineEdit>
#include <QToolTip>

#include "views/BoundedMemo.h"

TSingleLineValidator::TSingleLineValidator(QWidget* field) : QValidator(field), field_(field) {}

QString TSingleLineValidator::RefusalText() { return QStringLiteral("This field can not hold a line break."); }

QValidator::State TSingleLineValidator::validate(QString& input, int&) const {
  if (!input.contains(QLatin1Char('\n')) && !input.contains(QLatin1Char('\r'))) return Acceptable;
  QApplication::beep();
  QToolTip::showText(field_->mapToGlobal(QPoint(0, field_->height())), RefusalText(), field_);
  return Invalid;
}

void KeepOnOneLine(QLineEdit* edit) { edit->setValidator(new TSingleLineValidator(edit)); }

TSingleLineDelegate::TSingleLineDelegate(int maxLength, QObject* parent)
    : QStyledItemDelegate(parent), maxLength_(maxLength) {}

QWidget* TSingleLineDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
  auto* edit = new QLineEdit(parent);
  edit->setFrame(false);
  KeepOnOneLine(edit);
  BoundCharacters(edit, maxLength_);
  return edit;
}
