#include "views/BoundedMemo.h"

#include <algorithm>

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextCursor>
#include <QToolTip>

#include "views/PasteGuard.h"
#include "views/Windows1252.h"

TBoundedMemo::TBoundedMemo(int maxLength, QWidget* parent) : QPlainTextEdit(parent), maxLength_(maxLength) {}

QString TBoundedMemo::BoundText() const {
  return QStringLiteral("This field holds at most %1 characters.").arg(maxLength_);
}

QString TBoundedMemo::Text() const {
  // The raw text marks a paragraph's end with U+2029 and keeps the line
  // separator of Shift+Return; both show as line breaks. The frame marks
  // never occur in a plain-text document, but would show as breaks too.
  QString text = document()->toRawText();
  for (QChar& c : text)
    if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == QChar(0xFDD0) || c == QChar(0xFDD1))
      c = QLatin1Char('\n');
  return text;
}

int TBoundedMemo::Room() const {
  const QTextCursor c = textCursor();
  // Cursor positions index the raw text: one unit a paragraph break.
  const QString raw = document()->toRawText();
  const qsizetype kept = CharacterCount(QStringView(raw).left(c.selectionStart())) +
                         CharacterCount(QStringView(raw).mid(c.selectionEnd()));
  return static_cast<int>(std::max<qsizetype>(0, maxLength_ - kept));
}

QString TBoundedMemo::Fitted(QString text) {
  const int room = Room();
  if (CharacterCount(text) <= room) return text;
  text = FirstCharacters(text, room).toString();
  QApplication::beep();
  QToolTip::showText(viewport()->mapToGlobal(cursorRect().bottomLeft()), BoundText(), this);
  return text;
}

void TBoundedMemo::keyPressEvent(QKeyEvent* e) {
  const QString t = e->text();
  // Control characters (Ctrl+V and the like) are commands, not text.
  const bool inserts = !isReadOnly() && !t.isEmpty() &&
                       ((t.at(0).unicode() >= 0x20 && t.at(0).unicode() != 0x7F) || t == QLatin1String("\r") ||
                        t == QLatin1String("\n") || (t == QLatin1String("\t") && !tabChangesFocus()));
  if (inserts && Fitted(t).size() < t.size()) return e->accept();
  QPlainTextEdit::keyPressEvent(e);
}

bool TBoundedMemo::canInsertFromMimeData(const QMimeData* source) const { return !PastedText(source).isEmpty(); }

void TBoundedMemo::insertFromMimeData(const QMimeData* source) {
  // Never the base class's paste: Qt 6.4 ends the program there on data
  // without any format, which an empty X clipboard or selection gives.
  const QString text = PastedText(source);
  if (isReadOnly() || text.isEmpty()) return;
  QTextCursor c = textCursor();
  c.insertText(Fitted(text));
  setTextCursor(c);
  ensureCursorVisible();
}

void TBoundedMemo::inputMethodEvent(QInputMethodEvent* e) {
  const QString commit = e->commitString();
  if (commit.isEmpty()) return QPlainTextEdit::inputMethodEvent(e);
  QInputMethodEvent fitted(e->preeditString(), e->attributes());
  fitted.setCommitString(Fitted(commit), e->replacementStart(), e->replacementLength());
  QPlainTextEdit::inputMethodEvent(&fitted);
}

TCharacterBound::TCharacterBound(int maxLength, const QValidator* before, QObject* parent)
    : QValidator(parent), maxLength_(maxLength), before_(before) {}

QValidator::State TCharacterBound::validate(QString& input, int& pos) const {
  const State state = before_ ? before_->validate(input, pos) : Acceptable;
  if (state == Invalid) return state;
  qsizetype over = CharacterCount(input) - maxLength_;
  if (over <= 0) return state;
  const qsizetype caret = std::clamp<qsizetype>(pos, 0, input.size());
  qsizetype start = caret;
  for (; over > 0 && start > 0; --over)
    start -= start >= 2 && input[start - 1].isLowSurrogate() && input[start - 2].isHighSurrogate() ? 2 : 1;
  input.remove(start, caret - start);
  pos = static_cast<int>(start);
  // Still too long only when the program set the text: keep its beginning.
  if (over > 0) input.truncate(FirstCharacters(input, maxLength_).size());
  pos = std::min(pos, static_cast<int>(input.size()));
  return state;
}

void BoundCharacters(QLineEdit* edit, int maxLength) {
  // Room in UTF-16 units for the bound's characters, even all beyond 16 bits.
  edit->setMaxLength(2 * maxLength);
  edit->setValidator(new TCharacterBound(maxLength, edit->validator(), edit));
}

int CharacterBound(const QLineEdit* edit) {
  const auto* bound = qobject_cast<const TCharacterBound*>(edit->validator());
  return bound ? bound->MaxLength() : 0;
}
