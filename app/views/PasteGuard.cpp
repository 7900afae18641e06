#include "views/PasteGuard.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>

QString PastedText(const QMimeData* source) {
  // Qt calls a list of files text too; a field takes only what is offered as text.
  return source && source->hasFormat(QStringLiteral("text/plain")) ? source->text() : QString();
}

namespace {

// The line edit a widget's keys go to: a spin box passes its own to the
// one inside.
QLineEdit* LineEditOf(QObject* o) {
  if (auto* edit = qobject_cast<QLineEdit*>(o)) return edit;
  if (qobject_cast<QAbstractSpinBox*>(o)) return o->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
  return nullptr;
}

class TEmptyPasteGuard : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    QClipboard::Mode mode = QClipboard::Clipboard;
    if (e->type() == QEvent::KeyPress) {
      const auto* k = static_cast<QKeyEvent*>(e);
      if (!k->matches(QKeySequence::Paste)) return false;
      // As the line edit itself reads it: Ctrl+Shift+Insert pastes the selection.
      if (k->keyCombination() == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Insert))
        mode = QClipboard::Selection;
    } else if (e->type() == QEvent::MouseButtonRelease) {
      if (static_cast<QMouseEvent*>(e)->button() != Qt::MiddleButton) return false;
      mode = QClipboard::Selection;
    } else {
      return false;
    }
    const QLineEdit* edit = LineEditOf(watched);
    if (!edit || edit->isReadOnly()) return false;
    if (mode == QClipboard::Selection && !QGuiApplication::clipboard()->supportsSelection()) return false;
    return PastedText(QGuiApplication::clipboard()->mimeData(mode)).isEmpty();
  }
};

}  // namespace

void GuardEmptyPastes(QObject* owner) { qApp->installEventFilter(new TEmptyPasteGuard(owner)); }
