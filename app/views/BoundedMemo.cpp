#include "views/BoundedMemo.h"

#include <algorithm>

#include <QApplication>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QToolTip>

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
  // Each paste key reads where it does in a line edit.
  if (const std::optional<QClipboard::Mode> source = PasteSource(e); source && !isReadOnly()) {
    if (const QMimeData* data = QGuiApplication::clipboard()->mimeData(*source)) insertFromMimeData(data);
    return e->accept();
  }
  const QString t = e->text();
  // Control characters (Ctrl+V and the like) are commands, not text.
  const bool inserts = !isReadOnly() && !t.isEmpty() &&
                       ((t.at(0).unicode() >= 0x20 && t.at(0).unicode() != 0x7F) || t == QLatin1String("\r") ||
                        t == QLatin1String("\n") || (t == QLatin1String("\t") && !tabChangesFocus()));
  if (inserts && Fitted(t).size() < t.size()) return e->accept();
  QPlainTextEdit::keyPressEvent(e);
}

bool TBoundedMemo::canInsertFromMimeData(const QMimeData* source) const { return OffersText(source); }

void TBoundedMemo::insertFromMimeData(const QMimeData* source) {
  // Never the base class's paste: Qt 6.4 ends the program there on data
  // without any format, which an empty X clipboard or selection gives.
  pasted_ = TPasted::Nothing;
  const QString text = PastedText(source);
  if (isReadOnly() || text.isEmpty()) return;
  const QString fitted = Fitted(text);
  if (fitted.isEmpty()) return;
  QTextCursor c = textCursor();
  c.insertText(fitted);
  setTextCursor(c);
  ensureCursorVisible();
  pasted_ = fitted.size() < text.size() ? TPasted::Part : TPasted::Whole;
}

void TBoundedMemo::dropEvent(QDropEvent* e) {
  pasted_ = TPasted::Nothing;
  QPlainTextEdit::dropEvent(e);
  if (!e->isAccepted()) return;
  if (pasted_ == TPasted::Nothing) e->ignore();
  else if (pasted_ == TPasted::Part) e->setDropAction(Qt::CopyAction);
}

void TBoundedMemo::inputMethodEvent(QInputMethodEvent* e) {
  const QString commit = e->commitString();
  if (commit.isEmpty()) return QPlainTextEdit::inputMethodEvent(e);
  QInputMethodEvent fitted(e->preeditString(), e->attributes());
  fitted.setCommitString(Fitted(commit), e->replacementStart(), e->replacementLength());
  QPlainTextEdit::inputMethodEvent(&fitted);
}
