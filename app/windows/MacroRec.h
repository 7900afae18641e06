// TfMacroRec: the "Macro Recording" dialog that starts a recording, and the
// recorder the voice editor and the copy-voice dialog send their steps to.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QDialog>
#include <QKeySequence>

#include "core/MacroRecorder.h"
#include "core/Macros.h"
#include "views/BoundedMemo.h"

class QCheckBox;
class QKeySequenceEdit;
class QLineEdit;
class QPushButton;
class TfMain;

// The macro hot-key code (key code in the low byte, +$2000 Shift, +$4000
// Ctrl, +$8000 Alt) of a key sequence's first key; 0 for none or a key the
// code cannot hold. The inverse of HotKeyToKeySequence.
std::uint16_t KeySequenceToHotKey(const QKeySequence& key);
// A hot key is one key: later keys typed into the field are dropped.
void KeepFirstKeyOnly(QKeySequenceEdit* edit);

class TfMacroRec : public QDialog, public IMacroRecorder {
  Q_OBJECT

 public:
  explicit TfMacroRec(TfMain* main);
  ~TfMacroRec() override;

  // The dialog's OK: starts recording, or shows why not and stays open.
  void StartRecording();
  // The main window's "Stop Recording".
  void StopRecording();
  bool MacroNameExists(const std::string& name) const { return recorder_->MacroNameExists(name); }
  TMacroRecorder& Recorder() { return *recorder_; }

  void RecordIntStep(int code, std::int32_t value) override { recorder_->RecordIntStep(code, value); }
  void RecordBoolStep(int code, bool value) override { recorder_->RecordBoolStep(code, value); }
  void RecordTextStep(int code, const std::string& text) override { recorder_->RecordTextStep(code, text); }

  QLineEdit* eName;
  TBoundedMemo* memoDescription;
  QKeySequenceEdit* HotKey;
  QCheckBox* cbRelative;
  QPushButton *bOK, *bHelp, *bCancel;

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  TfMain* main_;
  // The menus after a stop, by the command or by a full macro.
  void RecordingEnded(bool stored);

  std::unique_ptr<TMacroRecorder> recorder_;
};
