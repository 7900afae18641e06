// Paths between Qt and the rest of the program. The program keeps a path as
// the bytes the file system names it by; Qt keeps text, and a name that is
// not UTF-8 does not survive the way there and back. These two are the only
// crossings.
#pragma once

#include <QString>

#include <string>

namespace kalvora::platform {

// The path as Qt shows and opens it.
QString ToQtPath(const std::string& path);

// The path's bytes. Where Qt's text does not name an existing entry
// (a name that is not UTF-8 reaches Qt altered), each folder is searched for
// the entry Qt shows under that text; a part that names nothing yet (a new
// file to save) is taken as it is.
std::string FromQtPath(const QString& path);

}  // namespace kalvora::platform
