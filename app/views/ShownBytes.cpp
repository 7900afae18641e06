#include "views/ShownBytes.h"

#include <QByteArray>
#include <QLineEdit>
#include <QVariant>

#include "platform/qt/LocalPaths.h"

namespace {

const char* const kBytes = "shownBytes";
const char* const kText = "shownText";

}  // namespace

void ShowBytes(QLineEdit* field, const std::string& bytes) {
  // The same text again would move the cursor of a field being typed in.
  const QString text = kalvora::platform::FromLocalBytes(bytes);
  if (field->text() != text) field->setText(text);
  field->setProperty(kBytes, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  // As the field holds it (a line edit may cut a long text).
  field->setProperty(kText, field->text());
}

std::string BytesOf(const QLineEdit* field, std::string (*encode)(const QString&)) {
  const QVariant shown = field->property(kText);
  if (shown.isValid() && shown.toString() == field->text()) return field->property(kBytes).toByteArray().toStdString();
  return encode(field->text());
}
