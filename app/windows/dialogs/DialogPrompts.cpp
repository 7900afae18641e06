#include "windows/dialogs/DialogPrompts.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>

#include <functional>

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

std::optional<std::string> TDialogPrompts::enterName(const std::string& label, const std::string& current) {
  bool ok = false;
  const QString text = QInputDialog::getText(parent_, QCoreApplication::applicationName(), QString::fromStdString(label),
                                             QLineEdit::Normal, QString::fromStdString(current), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}
