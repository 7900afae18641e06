#include "platform/LibraryMessageBox.h"

#include <cstdio>

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include "zqvp4.h"

namespace kalvora::platform {

namespace {

// The answer that lets the process go on, as with no box at all.
std::int32_t goOnAnswer(std::uint32_t buttons) {
  return buttons == ZQV_MB_YESNO ? ZQV_IDNO : ZQV_IDOK;
}

}  // namespace

std::int32_t LibraryMessageBox(const char* text, const char* caption, std::uint32_t flags) {
  const std::uint32_t buttons = flags & 0xF;
  const QString body = QString::fromLocal8Bit(text ? text : "");
  const QString title = QString::fromLocal8Bit(caption ? caption : "");
  // The text also goes to standard error: under the offscreen platform (or
  // with no one at the screen) a box waits unseen, and a fatal text must
  // still reach whoever started the program.
  std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
  std::fflush(stderr);
  // A box can only be shown on the user-interface thread.
  if (!qobject_cast<QApplication*>(QCoreApplication::instance()) ||
      QThread::currentThread() != QCoreApplication::instance()->thread())
    return goOnAnswer(buttons);
  QMessageBox box(QMessageBox::Warning, title, body);
  if (buttons == ZQV_MB_YESNO) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
  } else if (buttons == ZQV_MB_OKCANCEL) {
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
  }
  if (flags & ZQV_MB_SYSTEMMODAL) box.setWindowModality(Qt::ApplicationModal);
  switch (box.exec()) {
    case QMessageBox::Yes: return ZQV_IDYES;
    case QMessageBox::No: return ZQV_IDNO;
    case QMessageBox::Cancel: return ZQV_IDCANCEL;
    case QMessageBox::Ok: return ZQV_IDOK;
    default: return buttons == ZQV_MB_YESNO ? ZQV_IDNO : buttons == ZQV_MB_OKCANCEL ? ZQV_IDCANCEL : ZQV_IDOK;
  }
}

void InstallLibraryMessageBox() {
  // Called from the library's C interface: nothing may be thrown through it.
  zqvSetMessageBoxHook([](const char* text, const char* caption, std::uint32_t flags) -> std::int32_t {
    try {
      return LibraryMessageBox(text, caption, flags);
    } catch (...) {
      return goOnAnswer(flags & 0xF);
    }
  });
}

}  // namespace kalvora::platform
