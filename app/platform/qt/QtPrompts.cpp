#include "platform/qt/QtPrompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTextBrowser>
#include <QUrl>

#include "platform/qt/LocalPaths.h"

namespace kalvora::platform {

namespace {

QString q(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string s(const QString& q) {
  return q.toUtf8().toStdString();
}

QString appTitle() {
  const QString name = QCoreApplication::applicationName();
  return name.isEmpty() ? QStringLiteral("Kalvora") : name;
}

}  // namespace

std::string QtFilterFromPairs(const std::string& filter) {
  const QStringList parts = q(filter).split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    out << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
  }
  return s(out.join(QStringLiteral(";;")));
}

void KeepQtSettingsIn(const std::string& folder) {
  QString path = ToQtPath(folder);
  // A path no folder can be made at, so nothing is written anywhere.
  if (ToLocalBytes(path) != folder) path = QStringLiteral("/dev/null/kalvora");
  for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
    QSettings::setPath(format, QSettings::UserScope, path);
}

std::optional<std::string> QtFileDialogs::openFile(const FileDialogOptions& o) {
  QString start = o.initialFile.empty() ? ToQtPath(o.initialDir) : QDir(ToQtPath(o.initialDir)).filePath(ToQtPath(o.initialFile));
  QString name = QFileDialog::getOpenFileName(parent_, q(o.title), start, q(QtFilterFromPairs(o.filter)));
  if (name.isEmpty()) return std::nullopt;
  return FromQtPath(name);
}

std::optional<std::string> QtFileDialogs::saveFile(const FileDialogOptions& o) {
  QFileDialog dialog(parent_, q(o.title), ToQtPath(o.initialDir), q(QtFilterFromPairs(o.filter)));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(q(o.defaultExt));
  if (!o.initialFile.empty()) dialog.selectFile(ToQtPath(o.initialFile));
  if (!o.askOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return FromQtPath(dialog.selectedFiles().front());
}

QtHelp::~QtHelp() {
  delete window_;
}

void QtHelp::showTopic(const std::string& keyword) {
  show(keyword);
}

void QtHelp::showContents() {
  show({});
}

void QtHelp::show(const std::string& anchor) {
  auto* browser = qobject_cast<QTextBrowser*>(window_);
  if (!browser) {
    browser = new QTextBrowser;
    browser->setWindowTitle(appTitle() + QStringLiteral(" Help"));
    browser->resize(640, 480);
    // The program ends when its main window closes, not when help does too.
    browser->setAttribute(Qt::WA_QuitOnClose, false);
    window_ = browser;
  }
  const QFileInfo file(q(helpFile_));
  if (file.exists()) {
    QUrl url = QUrl::fromLocalFile(file.absoluteFilePath());
    if (!anchor.empty()) url.setFragment(q(anchor));
    browser->setSource(url);
  } else {
    // Say why the window is empty rather than show a blank page.
    browser->setPlainText(QStringLiteral("The help file %1 was not found.").arg(file.absoluteFilePath()));
  }
  browser->show();
  browser->raise();
}

bool QtProcessStarter::startDetached(const std::string& program, const std::vector<std::string>& arguments,
                                     const std::string& folder) {
  // The program, its arguments and its folder are the system's bytes.
  QStringList args;
  for (const auto& a : arguments) args << FromLocalBytes(a);
  return QProcess::startDetached(ToQtPath(program), args, ToQtPath(folder));
}

}  // namespace kalvora::platform
