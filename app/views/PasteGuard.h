// What a paste brings into a text field, for every field of the program.
// Data that offers no text (nothing copied, the copying program gone, only
// an image or a list of files) brings nothing and changes nothing.
#pragma once

#include <QString>

class QMimeData;
class QObject;

// The text of data that offers text; empty for any other data or none.
QString PastedText(const QMimeData* source);

// Makes a paste key or a middle click that brings no text do nothing in
// every line edit of the application, also those inside spin boxes, table
// cell editors and Qt's own dialogs: left to itself, a line edit deletes
// its selection for an empty paste and takes a list of files as text. The
// guard lives as long as `owner`.
void GuardEmptyPastes(QObject* owner);
