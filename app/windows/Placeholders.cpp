#include "windows/Placeholders.h"

#include <QLabel>
#include <QVBoxLayout>

TPlaceholderDialog::TPlaceholderDialog(const char* objectName, const char* caption, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QString::fromLatin1(objectName));
  setWindowTitle(QString::fromLatin1(caption));
  setModal(true);
}

TPlaceholderChild::TPlaceholderChild(const char* objectName, const char* caption, QWidget* parent)
    : QWidget(parent) {
  setObjectName(QString::fromLatin1(objectName));
  setWindowTitle(QString::fromLatin1(caption));
  auto* l = new QVBoxLayout(this);
  auto* text = new QLabel(QStringLiteral("%1\nis not available yet.").arg(QString::fromLatin1(caption)), this);
  text->setAlignment(Qt::AlignCenter);
  l->addWidget(text);
  resize(320, 160);
}
