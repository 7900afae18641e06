#include "platform/qt/LocalPaths.h"

#include <QFile>

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace kalvora::platform {

namespace {

bool Exists(const fs::path& p) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(p, ec));
}

QString WithoutNul(QString text) { return text.remove(QChar(u'\0')); }

}  // namespace

std::string ToLocalBytes(const QString& text) { return QFile::encodeName(WithoutNul(text)).toStdString(); }

QString FromLocalBytes(const std::string& bytes) {
  return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

QString ToQtPath(const std::string& path) { return FromLocalBytes(path); }

std::string FromQtPath(const QString& typed) {
  const QString path = WithoutNul(typed);
  const std::string direct = ToLocalBytes(path);
  if (path.isEmpty() || Exists(direct)) return direct;
  fs::path built = path.startsWith(QLatin1Char('/')) ? fs::path("/") : fs::path();
  for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    fs::path next = built / ToLocalBytes(part);
    if (!Exists(next)) {
      std::error_code ec;
      for (const fs::directory_entry& e : fs::directory_iterator(built.empty() ? fs::path(".") : built, ec)) {
        const std::string name = e.path().filename().string();
        if (FromLocalBytes(name) == part) {
          next = built / name;
          break;
        }
      }
    }
    built = std::move(next);
  }
  return built.string();
}

}  // namespace kalvora::platform
