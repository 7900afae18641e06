#include "views/PastePath.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QValidator>

bool OffersText(const QMimeData* source) {
  if (!source) return false;
  // On X, Qt names every plain-text target text/plain; other owners (and
  // other platforms) add a charset.
  for (const QString& format : source->formats())
    if (QStringView(format).split(u';').front().trimmed().compare(u"text/plain", Qt::CaseInsensitive) == 0)
      return true;
  return false;
}

QString PastedText(const QMimeData* source) { return OffersText(source) ? source->text() : QString(); }

std::optional<QClipboard::Mode> PasteSource(const QEvent* e) {
  const bool selection = QGuiApplication::clipboard()->supportsSelection();
  if (e->type() == QEvent::KeyPress) {
    const auto* k = static_cast<const QKeyEvent*>(e);
    if (!k->matches(QKeySequence::Paste)) return std::nullopt;
    if (selection && k->keyCombination() == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Insert))
      return QClipboard::Selection;
    return QClipboard::Clipboard;
  }
  if (e->type() == QEvent::MouseButtonRelease && static_cast<const QMouseEvent*>(e)->button() == Qt::MiddleButton &&
      selection)
    return QClipboard::Selection;
  return std::nullopt;
}

TPasted PasteInto(QLineEdit* edit, const QString& text) {
  const QString before = edit->text();
  const bool selected = edit->hasSelectedText();
  const int from = selected ? edit->selectionStart() : edit->cursorPosition();
  const int to = selected ? edit->selectionEnd() : from;
  const auto* fitter = dynamic_cast<const TPasteFitter*>(edit->validator());
  const QString fitted = fitter ? fitter->Fitted(text) : text;
  if (fitted.isEmpty()) return TPasted::Nothing;
  if (!selected) {
    // Moving the caret away and back ends the undo step of what was typed
    // before, as QLineEdit's own paste does.
    edit->setCursorPosition(from ? 0 : static_cast<int>(before.size()));
    edit->setCursorPosition(from);
  }
  edit->insert(fitted);
  const QString after = edit->text();
  if (after == before.left(from) + text + before.mid(to)) return TPasted::Whole;
  return after == before ? TPasted::Nothing : TPasted::Part;
}

namespace {

// The line edit a widget's keys go to: a spin box passes its own to the
// one inside.
QLineEdit* LineEditOf(QObject* o) {
  if (auto* edit = qobject_cast<QLineEdit*>(o)) return edit;
  if (qobject_cast<QAbstractSpinBox*>(o)) return o->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
  return nullptr;
}

QLineEdit* Editable(QLineEdit* edit) { return edit && !edit->isReadOnly() ? edit : nullptr; }

// The one read of a paste's source. The middle button pastes at the caret
// its press put there, so its selection goes first; data without text keeps
// the selection as well.
void PasteFrom(QLineEdit* edit, QClipboard::Mode mode, bool deselect = false) {
  const QString text = PastedText(QGuiApplication::clipboard()->mimeData(mode));
  if (text.isEmpty()) return;
  if (deselect) edit->deselect();
  PasteInto(edit, text);
}

class TPasteGuard : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    switch (e->type()) {
      case QEvent::KeyPress:
        return Paste(e, LineEditOf(watched));
      case QEvent::MouseButtonRelease:
        return Paste(e, qobject_cast<QLineEdit*>(watched));
      case QEvent::DragEnter:
      case QEvent::DragMove:
        return DragOver(qobject_cast<QLineEdit*>(watched), static_cast<QDragMoveEvent*>(e));
      case QEvent::Drop:
        return Drop(qobject_cast<QLineEdit*>(watched), static_cast<QDropEvent*>(e));
      case QEvent::Show:
        MenuShown(watched);
        return false;
      default:
        return false;
    }
  }

 private:
  // A paste key or the middle button: the source is read once, and data
  // without text changes nothing (the line edit itself would delete its
  // selection, and take a list of files as text).
  static bool Paste(QEvent* e, QLineEdit* edit) {
    if (!Editable(edit)) return false;
    const std::optional<QClipboard::Mode> source = PasteSource(e);
    if (!source) return false;
    PasteFrom(edit, *source, e->type() == QEvent::MouseButtonRelease);
    return true;
  }

  // The line edit takes a drag only when it offers exactly text/plain;
  // text with a charset is text as well.
  static bool DragOver(QLineEdit* edit, QDragMoveEvent* e) {
    if (!Editable(edit) || e->mimeData()->hasFormat(QStringLiteral("text/plain")) || !OffersText(e->mimeData()))
      return false;
    e->acceptProposedAction();
    return true;
  }

  // A drop from elsewhere is taken as a paste. One that brings nothing
  // ends ignored, so its source keeps the text; one cut to fit is a copy,
  // so the part cut off stays there. A move inside the field is the
  // edit's own.
  static bool Drop(QLineEdit* edit, QDropEvent* e) {
    if (!Editable(edit) || e->source() == edit) return false;
    // The edit's drag caret goes, as after its own drop.
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(edit, &leave);
    const QString text = PastedText(e->mimeData());
    TPasted pasted = TPasted::Nothing;
    if (!text.isEmpty()) {
      edit->setCursorPosition(edit->cursorPositionAt(e->position().toPoint()));
      pasted = PasteInto(edit, text);
    }
    switch (pasted) {
      case TPasted::Nothing:
        e->ignore();
        break;
      case TPasted::Part:
        e->setDropAction(Qt::CopyAction);
        e->accept();
        break;
      case TPasted::Whole:
        e->acceptProposedAction();
        break;
    }
    return true;
  }

  // Every line edit's own context menu (a spin box's too, built from its
  // edit's): Paste reads the clipboard as the keys do, and is offered only
  // while the clipboard offers text.
  static void MenuShown(QObject* watched) {
    auto* menu = qobject_cast<QMenu*>(watched);
    if (!menu || menu->objectName() != QLatin1String("qt_edit_menu")) return;
    QLineEdit* edit = qobject_cast<QLineEdit*>(menu->parent());
    if (!edit) return;
    for (QAction* a : menu->actions()) {
      if (!QObject::disconnect(a, SIGNAL(triggered()), edit, SLOT(paste())) &&
          !QObject::disconnect(a, &QAction::triggered, edit, &QLineEdit::paste))
        continue;
      QObject::connect(a, &QAction::triggered, edit, [edit] {
        if (Editable(edit)) PasteFrom(edit, QClipboard::Clipboard);
      });
      a->setEnabled(Editable(edit) && OffersText(QGuiApplication::clipboard()->mimeData()));
    }
  }
};

}  // namespace

void GuardPastes() {
  static QPointer<QObject> guard;
  if (guard) return;
  guard = new TPasteGuard(qApp);
  qApp->installEventFilter(guard);
}
