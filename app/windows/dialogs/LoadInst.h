// TfLoadInst: the instrument open dialog with a preview of the chosen file
// (header check, version and description), created once and reused. Its
// folder list shows the folder's path from the root, then its sub-folders.
#pragma once

#include <QDialog>

#include <filesystem>
#include <functional>
#include <string>

#include "platform/qt/LocalPaths.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class TfLoadInst : public QDialog {
  Q_OBJECT

 public:
  explicit TfLoadInst(QWidget* parent = nullptr);

  // Set by the program: loads through the instrument reader, asks "Are you
  // sure?" (true = Yes), opens a help topic, shows a message.
  std::function<void(const std::filesystem::path&)> Load;
  std::function<bool()> Confirm;
  std::function<void(const std::string&)> ShowHelp;
  std::function<void(const std::string&)> ShowMessage;

  void SetFolder(const QString& folder);
  QString Folder() const { return kalvora::platform::ToQtPath(folderBytes_); }
  void RereadFiles();           // the file list of the folder and mask
  void ShowFileInfo();          // of the selected file
  QString SelectedFile() const;  // full path, empty when none
  std::string SelectedPath() const;  // the same as the file system's bytes

  QComboBox* DriveList;
  QListWidget *DirectoryList, *FileList;
  QLineEdit* eFileName;
  QRadioButton *rbInstruments, *rbAllFiles;
  QPlainTextEdit* mDescription;
  QLabel *lVersion, *lSize, *lDate;
  QPushButton *bLoad, *bDelete, *bCancel, *bHelp;

  void bLoadClick();  // loads the file the name field names
  void bDeleteClick();

 protected:
  void showEvent(QShowEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void EnterFolder(const std::string& folder);  // lists it with its first file chosen
  void ListFolder();
  void ShowSelection();  // the name field and the information follow the highlight
  QListWidgetItem* ListedFile(const QString& name) const;  // shown exactly so, or null
  std::string folderBytes_;  // as the file system names it
  // A click opens a folder; the second click of a double click would land
  // on the list that click made and open another.
  qint64 lastRelease_ = 0, openedByClickAt_ = -1;
  bool swallowClick_ = false;
};
