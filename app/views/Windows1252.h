// Texts of the model are Windows-1252 bytes; the user interface shows Unicode.
// These two are the only crossings between them.
#pragma once

#include <string>
#include <string_view>

#include <QString>

QString FromWindows1252(std::string_view bytes);
// Characters without a Windows-1252 code become '?', one for each character
// (a character beyond 16 bits included; so is half of one that lost its
// other half). A NUL is dropped: the files end a text at a zero byte, so the
// model never holds one.
std::string ToWindows1252(QStringView text);

// The characters of a text as the files count them: a character beyond 16
// bits, two UTF-16 units, is one.
qsizetype CharacterCount(QStringView text);
// The first `count` characters of a text; a character beyond 16 bits is
// never cut in half.
QStringView FirstCharacters(QStringView text, qsizetype count);
