// TfManagM: views and maintains the macro table: steps in words,
// description, hot key, relative flag, rename, delete, reorder, sort. Every
// change goes into the table at once. TfRenMacro asks for a new name.
#pragma once

#include <string>

#include <QDialog>

#include "views/BoundedMemo.h"

class QCheckBox;
class QKeySequenceEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class TfMain;
class TInstrumentDocument;

class TfRenMacro : public QDialog {
  Q_OBJECT

 public:
  TfRenMacro(TInstrumentDocument& doc, const std::string& name, QWidget* parent);
  bool NameExists() const;
  // Closes with OK only when the name is free.
  void AcceptName();
  std::string NewName() const;

  QLineEdit* eNewName;
  QLabel* lStatus;
  QPushButton *bOK, *bCancel;

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void ShowNameState();
  TInstrumentDocument& doc_;
};

class TfManagM : public QDialog {
  Q_OBJECT

 public:
  explicit TfManagM(TfMain* main);
  ~TfManagM() override;

  void FillMacroList(int selection);
  int SelectedMacro() const;
  void ShowMacroSteps();
  void SwapMacros(int i, int j);
  void MoveMacroUp();
  void MoveMacroDown();
  void SortMacrosUp();
  void SortMacrosDown();
  void RenameMacro();
  void DeleteMacro();

  QListWidget* lbMacros;
  TBoundedMemo* memoDescription;
  QKeySequenceEdit* HotKey;
  QTableWidget* sgCommands;
  QCheckBox* cbRelative;
  QPushButton *bMoveUp, *bMoveDown, *bSortUp, *bSortDown, *bRename, *bDelete, *bOK, *bHelp;

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  TfMain* main_;
  TInstrumentDocument& doc_;
  bool filling_ = false;
};
