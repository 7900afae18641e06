#include "views/BoundedMemo.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextCursor>
#include <QToolTip>

#include "views/PasteGuard.h"
#include "views/SingleLineField.h"
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

bool TCharacterBound::InsertCut(const QString& text, int room) {
  const QString cut = FirstCharacters(text, room).toString();
  if (!edit_->hasSelectedText()) {
    if (cut.isEmpty()) return false;
    // Moving the caret away and back ends the undo step of what was typed
    // before, as QLineEdit's own paste does.
    const int caret = edit_->cursorPosition();
    edit_->setCursorPosition(caret ? 0 : static_cast<int>(edit_->text().size()));
    edit_->setCursorPosition(caret);
  }
  edit_->insert(cut);
  return true;
}

bool TCharacterBound::PasteCut() {
  const QString text = QGuiApplication::clipboard()->text();
  const int room = Room(TextBesideSelection());
  if (!Cuts(text, room)) return false;
  InsertCut(text, room);
  return true;
}

void TCharacterBound::Paste() {
  if (!PasteCut()) edit_->paste();
}

bool TCharacterBound::eventFilter(QObject* watched, QEvent* e) {
  // Only these bring text. The edit is asked nothing for the others: the
  // filter still sees those sent while the edit is destroyed.
  const QEvent::Type type = e->type();
  if (type != QEvent::KeyPress && type != QEvent::MouseButtonRelease && type != QEvent::Drop &&
      type != QEvent::InputMethod && type != QEvent::ContextMenu)
    return false;
  if (watched != edit_ || edit_->isReadOnly()) return false;
  QClipboard* clipboard = QGuiApplication::clipboard();
  switch (type) {
    case QEvent::KeyPress:
      return static_cast<QKeyEvent*>(e)->matches(QKeySequence::Paste) && PasteCut();
    case QEvent::MouseButtonRelease: {
      // The middle button puts the selection of the system at the caret.
      if (static_cast<QMouseEvent*>(e)->button() != Qt::MiddleButton || !clipboard->supportsSelection()) return false;
      const QString text = clipboard->text(QClipboard::Selection);
      const int room = Room(edit_->text());
      if (!Cuts(text, room)) return false;
      edit_->deselect();
      InsertCut(text, room);
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(e);
      // Text moved inside the field does not grow it.
      if (drop->source() == edit_ || !drop->mimeData()->hasText()) return false;
      const QString text = drop->mimeData()->text();
      const int room = Room(edit_->text());
      if (!Cuts(text, room)) return false;
      edit_->setCursorPosition(edit_->cursorPositionAt(drop->position().toPoint()));
      if (InsertCut(text, room)) {
        // A copy: the part cut off stays where it came from.
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
      } else {
        drop->ignore();
      }
      return true;
    }
    case QEvent::InputMethod: {
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
    case QEvent::ContextMenu: {
      // The menu's Paste cuts as the keys do.
      if (edit_->contextMenuPolicy() != Qt::DefaultContextMenu) return false;
      QMenu* menu = edit_->createStandardContextMenu();
      for (QAction* a : menu->actions())
        if (disconnect(a, &QAction::triggered, edit_, &QLineEdit::paste) ||
            disconnect(a, SIGNAL(triggered()), edit_, SLOT(paste())))
          connect(a, &QAction::triggered, this, &TCharacterBound::Paste);
      menu->setAttribute(Qt::WA_DeleteOnClose);
      menu->popup(static_cast<QContextMenuEvent*>(e)->globalPos());
      return true;
    }
    default:
      return false;
  }
}

void BoundCharacters(QLineEdit* edit, int maxLength) {
  // Room in UTF-16 units for the bound's characters, even all beyond 16 bits.
  edit->setMaxLength(2 * maxLength);
  edit->setValidator(new TCharacterBound(maxLength, edit));
}

int CharacterBound(const QLineEdit* edit) {
  const auto* bound = qobject_cast<const TCharacterBound*>(edit->validator());
  return bound ? bound->MaxLength() : 0;
}
