// Another program that owns the X clipboard and the selection, as a copy made
// elsewhere does: the pasting program then sees the formats the X server
// names, not the data it set itself. Sets both to one kind of data, says
// "ready" and waits to be ended.
//   clipboard_owner text|text-utf8|image|none TEXT
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <cstdio>
#include <cstring>

namespace {

QMimeData* Data(const char* kind, const QString& text) {
  auto* d = new QMimeData;
  if (!std::strcmp(kind, "text")) d->setText(text);
  else if (!std::strcmp(kind, "text-utf8")) d->setData(QStringLiteral("text/plain;charset=utf-8"), text.toUtf8());
  else if (!std::strcmp(kind, "image")) d->setImageData(QImage(8, 8, QImage::Format_RGB32));
  return d;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  QGuiApplication app(argc, argv);
  const QString text = QString::fromUtf8(argv[2]);
  QGuiApplication::clipboard()->setMimeData(Data(argv[1], text), QClipboard::Clipboard);
  QGuiApplication::clipboard()->setMimeData(Data(argv[1], text), QClipboard::Selection);
  std::puts("ready");
  std::fflush(stdout);
  return app.exec();
}
