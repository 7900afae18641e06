// Texts of the model are Windows-1252 bytes; the user interface shows Unicode.
// These two are the only crossings between them.
#pragma once

#include <string>
#include <string_view>

#include <QString>

QString FromWindows1252(std::string_view bytes);
// Characters without a Windows-1252 code become '?'. A NUL is dropped: the
// files end a text at a zero byte, so the model never holds one.
std::string ToWindows1252(const QString& text);
