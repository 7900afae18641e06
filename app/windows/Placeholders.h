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

class TfLoadInst : public TPlaceholderDialog {
  Q_OBJECT
 public:
  explicit TfLoadInst(QWidget* parent) : TPlaceholderDialog("fLoadInst", "Load A Kalvora Instrument", parent) {}
};

class TfSure : public TPlaceholderDialog {
  Q_OBJECT
 public:
  explicit TfSure(QWidget* parent) : TPlaceholderDialog("fSure", "Kalvora", parent) {}
};

class TfQuestion : public TPlaceholderDialog {
  Q_OBJECT
 public:
  explicit TfQuestion(QWidget* parent) : TPlaceholderDialog("fQuestion", "A Kalvora Question", parent) {}
};

class TfMessage : public TPlaceholderDialog {
  Q_OBJECT
 public:
  explicit TfMessage(QWidget* parent) : TPlaceholderDialog("fMessage", "A Kalvora Message", parent) {}
};

class TfWaveGen : public TPlaceholderChild {
  Q_OBJECT
 public:
  TfWaveGen() : TPlaceholderChild("fWaveGen", "Voice Editor") {}
};
