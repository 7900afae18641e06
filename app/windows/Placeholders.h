// Long-lived windows whose own units are not built yet. Each is a minimal,
// named window created in its place in the start-up order, so the order and
// the main window's wiring are already those of the finished program; the
// commands that need them say in the status line that they are not
// available yet.
#pragma once

#include <QDialog>
#include <QWidget>

// Windows built since, kept reachable from here for the start-up code.
#include "windows/LibraryReports.h"
#include "windows/ViewWave.h"

class TfMain;

// A modal dialog kept for the whole run and not shown yet.
class TPlaceholderDialog : public QDialog {
  Q_OBJECT

 public:
  TPlaceholderDialog(const char* objectName, const char* caption, QWidget* parent);
};

// An MDI child with a caption and a short note.
class TPlaceholderChild : public QWidget {
  Q_OBJECT

 public:
  TPlaceholderChild(const char* objectName, const char* caption, QWidget* parent = nullptr);
};

