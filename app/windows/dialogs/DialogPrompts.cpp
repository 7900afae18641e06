#include "windows/dialogs/DialogPrompts.h"

#include <QLabel>
#include <QLineEdit>
#include <QStringList>

#include <functional>

#include "views/Windows1252.h"
#include "windows/dialogs/SmallDialogs.h"

namespace {

using kalvora::platform::mrCancel;
using kalvora::platform::mrNo;
using kalvora::platform::mrYes;

// The program's own boxes, made once at start-up; a temporary one stands in
// before they exist.
template <class Box>
int ShowBox(QWidget* parent, const std::function<void(Box&)>& fill) {
  if (Box* box = Box::Instance()) {
    fill(*box);
    return box->exec();
  }
  Box box(parent);
  fill(box);
  return box.exec();
}

// The characters of `text` that Windows-1252 has no code for, each once and
// separated by spaces.
QString CharactersNotKept(const QString& text) {
  QStringList notKept;
  for (const char32_t c : text.toUcs4()) {
    const QString one = QString::fromUcs4(&c, 1);
    if (FromWindows1252(ToWindows1252(one)) != one && !notKept.contains(one)) notKept << one;
  }
  return notKept.join(QLatin1Char(' '));
}

}  // namespace

int TDialogPrompts::confirm(const std::string& text) {
  const int r = ShowBox<TfSure>(parent_, [&](TfSure& b) { b.lText->setText(text.empty() ? QStringLiteral("Are you sure?") : QString::fromStdString(text)); });
  return r == mrYes ? mrYes : mrNo;
}

int TDialogPrompts::question(const std::string& text) {
  const int r = ShowBox<TfQuestion>(parent_, [&](TfQuestion& b) { b.SetQuestionText(QString::fromStdString(text)); });
  return r == mrYes || r == mrNo ? r : mrCancel;
}

void TDialogPrompts::message(const std::string& text) {
  ShowBox<TfMessage>(parent_, [&](TfMessage& b) { b.SetMessageText(QString::fromStdString(text)); });
}

std::optional<std::string> TDialogPrompts::newPresetName(const std::string& clash) {
  TfNewPresetName dialog(parent_);
  return AskNewName(dialog, clash);
}

std::optional<std::string> TDialogPrompts::newEnvelopeName(const std::string& clash) {
  TfNewEnvelopeName dialog(parent_);
  return AskNewName(dialog, clash);
}

// The edit starts with the clashing name, ready to be changed. A name with
// characters the library cannot hold is not taken as '?': the person is told
// which ones and asked again.
std::string TDialogPrompts::AskNewName(TfNewName& dialog, const std::string& clash) {
  dialog.SetClashingName(clash);
  dialog.eNewName->setText(FromWindows1252(clash));
  for (;;) {
    dialog.eNewName->selectAll();
    dialog.eNewName->setFocus();
    dialog.exec();
    const QString notKept = CharactersNotKept(dialog.eNewName->text());
    if (notKept.isEmpty()) return dialog.NewName();
    message("A name can not hold these characters: " + notKept.toStdString() +
            "\nPlease enter the name without them.");
  }
}
