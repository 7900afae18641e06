// Fields that show bytes of the system's encoding (a path, a program's
// arguments). Bytes that do not decode show as U+FFFD and would come back
// as EF BF BD: a field whose text is still the one shown gives back the
// bytes it was shown, so storing settings nobody typed changes none of them.
#pragma once

#include <string>

class QLineEdit;
class QString;

// Shows the bytes, decoded as the system does, and remembers them.
void ShowBytes(QLineEdit* field, const std::string& bytes);

// The bytes shown while the text is unchanged; otherwise the text, encoded
// by `encode` (the system's encoding, or a path's bytes as found on disk).
std::string BytesOf(const QLineEdit* field, std::string (*encode)(const QString&));
