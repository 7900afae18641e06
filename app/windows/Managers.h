// The library managers: TfManagW ("The Wave Preset Manager") and TfManagV
// ("The Volume Envelope Preset Manager"), twins over the document's two
// tables, and their rename dialogs TfRenWPreset and TfRenEnvelope.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QDialog>

#include "core/LibraryManager.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TLibraryReport;
class TPaintBox;
class TfMain;

// Open each manager modally over the main window's document; these are the
// entries the voice editor and the main menu call.
int ShowWavePresetManager(TfMain& main);
int ShowVolumeEnvelopeManager(TfMain& main);

// The rename dialog: OK only while the name is free.
class TRenameDialog : public QDialog {
  Q_OBJECT

 public:
  TRenameDialog(const TLibraryManager& manager, const std::string& current, const char* objectName,
                const char* caption, QWidget* parent);
  bool NameExists() const;
  void AcceptIfNew();
  std::string NewName() const;

  QLabel* lStatus;
  QLineEdit* eNewName;
  QPushButton *bOK, *bCancel;

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  const TLibraryManager& manager_;
};

class TfRenWPreset : public TRenameDialog {
  Q_OBJECT
 public:
  TfRenWPreset(const TLibraryManager& m, const std::string& current, QWidget* parent)
      : TRenameDialog(m, current, "fRenWPreset", "Rename The Wave Preset", parent) {}
};

class TfRenEnvelope : public TRenameDialog {
  Q_OBJECT
 public:
  TfRenEnvelope(const TLibraryManager& m, const std::string& current, QWidget* parent)
      : TRenameDialog(m, current, "fRenEnvelope", "Rename The Volume Envelope", parent) {}
};

class TLibraryManagerWindow : public QDialog {
  Q_OBJECT

 public:
  TLibraryManagerWindow(TfMain& main, TLibraryKind kind, QWidget* parent);
  ~TLibraryManagerWindow() override;

  int Selected() const;  // 1-based, 0 for none
  void FillList(int number);
  void DrawSelected();
  void MoveUp();
  void MoveDown();
  void SortUp();
  void SortDown();
  void bDeleteClick();
  void bRenameClick();
  void bPlayClick();
  void bReportClick();
  void bHelpClick();

  TLibraryManager Manager;
  // Asks for the new name; nothing when cancelled. The default opens the
  // rename dialog.
  std::function<std::optional<std::string>(const std::string& current)> AskNewName;
  // Shows the report; the default opens the print preview.
  std::function<void(const TLibraryReport&)> ShowReport;

  QListWidget* list;
  TPaintBox* box;
  QPushButton *bMoveUp, *bMoveDown, *bSortUp, *bSortDown, *bDelete, *bRename, *bPlay, *bReport, *bHelp, *bOK;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  TfMain& main_;
  TLibraryKind kind_;
  const char* key_;
  const char* help_;
  bool activated_ = false;
};

class TfManagW : public TLibraryManagerWindow {
  Q_OBJECT
 public:
  TfManagW(TfMain& main, QWidget* parent = nullptr);
  QListWidget* lbPresets;
  TPaintBox* pbWave;
};

class TfManagV : public TLibraryManagerWindow {
  Q_OBJECT
 public:
  TfManagV(TfMain& main, QWidget* parent = nullptr);
  QListWidget* lbEnvelopes;
  TPaintBox* pbEnvelope;
};
