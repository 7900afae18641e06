#include "views/BoundedMemo.h"

#include <algorithm>

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QToolTip>

TBoundedMemo::TBoundedMemo(int maxLength, QWidget* parent) : QPlainTextEdit(parent), maxLength_(maxLength) {}

QString TBoundedMemo::BoundText() const {
  return QStringLiteral("This field holds at most %1 characters.").arg(maxLength_);
}

int TBoundedMemo::Room() const {
  const QTextCursor c = textCursor();
  const int length = document()->characterCount() - 1;  // less the closing paragraph mark
  return std::max(0, maxLength_ - (length - (c.selectionEnd() - c.selectionStart())));
}

QString TBoundedMemo::Fitted(QString text) {
  const int room = Room();
  if (text.size() <= room) return text;
  text.truncate(room);
  if (!text.isEmpty() && text.back().isHighSurrogate()) text.chop(1);  // never half a character
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

void TBoundedMemo::insertFromMimeData(const QMimeData* source) {
  if (isReadOnly() || !source || !source->hasText()) return QPlainTextEdit::insertFromMimeData(source);
  QTextCursor c = textCursor();
  c.insertText(Fitted(source->text()));
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
