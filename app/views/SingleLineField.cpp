#include "views/SingleLineField.h"

#include <algorithm>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QToolTip>

#include "views/Windows1252.h"

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

void KeepOnOneLine(QLineEdit* edit) {
  // A refused drop ends ignored only on the application's paste path.
  GuardPastes();
  edit->setValidator(new TSingleLineValidator(edit));
}

TCharacterBound::TCharacterBound(int maxLength, QLineEdit* edit)
    : QValidator(edit), maxLength_(maxLength), edit_(edit), oneLine_(new TSingleLineValidator(edit)) {
  edit->installEventFilter(this);
}

QValidator::State TCharacterBound::validate(QString& input, int& pos) const {
  // Refused, the person's edit leaves the text, its undo steps and the
  // signals as they were.
  if (IsPersonsEdit(edit_)) {
    if (oneLine_->validate(input, pos) == Invalid) return Invalid;
    return CharacterCount(input) > maxLength_ ? Invalid : Acceptable;
  }
  // A name the program sets (one from a file of an earlier version) keeps
  // its beginning, and a line break in it the blank the field shows.
  if (CharacterCount(input) > maxLength_) input.truncate(FirstCharacters(input, maxLength_).size());
  std::replace_if(input.begin(), input.end(), IsLineBreak, QLatin1Char(' '));
  pos = std::min(pos, static_cast<int>(input.size()));
  return Acceptable;
}

QString TCharacterBound::TextBesideSelection() const {
  QString text = edit_->text();
  if (edit_->hasSelectedText()) text.remove(edit_->selectionStart(), edit_->selectedText().size());
  return text;
}

int TCharacterBound::Room(QStringView kept) const {
  return static_cast<int>(std::max<qsizetype>(0, maxLength_ - CharacterCount(kept)));
}

bool TCharacterBound::Cuts(const QString& text, int room) const {
  // A text with a line break goes on, to be refused whole.
  return !edit_->isReadOnly() && !HasLineBreak(text) && CharacterCount(text) > room;
}

QString TCharacterBound::Fitted(const QString& text) const {
  const int room = Room(TextBesideSelection());
  return Cuts(text, room) ? FirstCharacters(text, room).toString() : text;
}

bool TCharacterBound::eventFilter(QObject* watched, QEvent* e) {
  // The edit is asked nothing for other events: the filter still sees
  // those sent while the edit is destroyed.
  if (e->type() != QEvent::InputMethod || watched != edit_ || edit_->isReadOnly()) return false;
  auto* im = static_cast<QInputMethodEvent*>(e);
  const QString commit = im->commitString();
  if (commit.isEmpty()) return false;
  // The commit takes the place of the selection, then of the range the
  // input method names beside the caret.
  QString kept = TextBesideSelection();
  const qsizetype caret = edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition();
  const qsizetype from = std::clamp<qsizetype>(caret + im->replacementStart(), 0, kept.size());
  kept.remove(from, std::max(0, im->replacementLength()));
  const int room = Room(kept);
  if (!Cuts(commit, room)) return false;
  QInputMethodEvent cut(im->preeditString(), im->attributes());
  cut.setCommitString(FirstCharacters(commit, room).toString(), im->replacementStart(), im->replacementLength());
  QCoreApplication::sendEvent(edit_, &cut);
  return true;
}

void BoundCharacters(QLineEdit* edit, int maxLength) {
  // Pastes and drops are cut to fit on the application's paste path.
  GuardPastes();
  // Room in UTF-16 units for the bound's characters, even all beyond 16 bits.
  edit->setMaxLength(2 * maxLength);
  edit->setValidator(new TCharacterBound(maxLength, edit));
}

int CharacterBound(const QLineEdit* edit) {
  const auto* bound = qobject_cast<const TCharacterBound*>(edit->validator());
  return bound ? bound->MaxLength() : 0;
}

TSingleLineDelegate::TSingleLineDelegate(int maxLength, QObject* parent)
    : QStyledItemDelegate(parent), maxLength_(maxLength) {}

QWidget* TSingleLineDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
  auto* edit = new QLineEdit(parent);
  edit->setFrame(false);
  BoundCharacters(edit, maxLength_);
  return edit;
}
