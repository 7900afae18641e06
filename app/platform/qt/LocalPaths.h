// Paths and program arguments between Qt and the rest of the program. The
// program keeps them as the bytes the system uses (the locale's 8-bit
// encoding); Qt keeps text, and a name that is not in that encoding does not
// survive the way there and back. These are the only crossings; none lets a
// NUL through, which no path or argument can hold.
#pragma once

#include <QString>

#include <string>

namespace kalvora::platform {

// Text that the system takes as bytes (a program's arguments) and back.
std::string ToLocalBytes(const QString& text);
QString FromLocalBytes(const std::string& bytes);

// The path as Qt shows and opens it.
QString ToQtPath(const std::string& path);

// The path's bytes. Where Qt's text does not name an existing entry
// (a name that is not UTF-8 reaches Qt altered), each folder is searched for
// the entry Qt shows under that text; a part that names nothing yet (a new
// file to save) is taken as it is.
std::string FromQtPath(const QString& path);

}  // namespace kalvora::platform
