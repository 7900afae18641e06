// What a paste brings into a text field, and the one way every line edit of
// the program takes it: the paste keys, the middle button, the context
// menu's Paste and a drop from elsewhere all read their source once and
// follow one rule. Data that offers text in any form pastes its text; data
// that offers none (nothing copied, the copying program gone, only an image
// or a list of files) brings nothing and changes nothing.
#pragma once

#include <optional>

#include <QClipboard>
#include <QString>

class QEvent;
class QLineEdit;
class QMimeData;

// Whether the data offers text (`text/plain` with or without a charset),
// judged by its formats alone: nothing is read from the owner. Qt's own
// hasText() also counts a list of files, whose text it makes up.
bool OffersText(const QMimeData* source);
// The text of data that offers text; empty for any other data or none.
QString PastedText(const QMimeData* source);

// Where the event asks to paste from: a paste key reads the clipboard, but
// Ctrl+Shift+Insert the selection where the system has one; the middle
// button's release reads the selection, and nothing without one. Nothing
// for any other event.
std::optional<QClipboard::Mode> PasteSource(const QEvent* e);

// A line edit's validator that takes a long paste cut to fit rather than
// refusing it whole.
class TPasteFitter {
 public:
  // What of `text` goes in place of the selection.
  virtual QString Fitted(const QString& text) const = 0;

 protected:
  ~TPasteFitter() = default;
};

enum class TPasted { Nothing, Part, Whole };

// Puts `text` in place of the edit's selection (or at its caret) as a paste
// does: one undo step of its own, cut to fit where the edit's validator is
// a TPasteFitter, refused whole where the validator refuses it. Tells how
// much went in.
TPasted PasteInto(QLineEdit* edit, const QString& text);

// Makes every editable line edit of the application, also those inside spin
// boxes, table cell editors and Qt's own dialogs, paste through PasteInto.
// Installed once for the application; later calls do nothing.
void GuardPastes();
