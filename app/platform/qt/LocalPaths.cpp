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

std::string Bytes(const QString& text) { return QFile::encodeName(text).toStdString(); }

}  // namespace

QString ToQtPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string FromQtPath(const QString& path) {
  const std::string direct = Bytes(path);
  if (path.isEmpty() || Exists(direct)) return direct;
  fs::path built = path.startsWith(QLatin1Char('/')) ? fs::path("/") : fs::path();
  for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    fs::path next = built / Bytes(part);
    if (!Exists(next)) {
      std::error_code ec;
      for (const fs::directory_entry& e : fs::directory_iterator(built.empty() ? fs::path(".") : built, ec)) {
        const std::string name = e.path().filename().string();
        if (QFile::decodeName(QByteArray::fromStdString(name)) == part) {
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
