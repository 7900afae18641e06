// TfWaveGen: the voice editor. Thin over the document: every control writes
// its field of the current voice, marks the sample out of date and records a
// macro step while recording is on.
#pragma once

#include <QWidget>

#include <functional>
#include <map>
#include <string>

#include "core/VoiceEdit.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSpinBox;
class QStackedWidget;
class QTabBar;
class QToolButton;
class TfMain;
class TLrsBmp;
class TPaintBox;

class TfWaveGen : public QWidget {
  Q_OBJECT

 public:
  explicit TfWaveGen(TfMain& main, QWidget* parent = nullptr);
  void SetRecorder(IMacroRecorder* recorder) { recorder_ = recorder; }
  // A random integer 0..148 for the noise drawings (tests fix it).
  TNoiseSource Random;

  void DrawPart();
  void ApplyNote();
  void ShowFrequency();
  void FillPresetLists();
  void FillEnvelopeLists();
  void ShowLoadedInstrument();  // after a load: lists refilled, the voice shown as stored
  void NewInstrument();
  void SelectVoice(int n);  // 1..32, as clicking its tab
  void SelectPage(int i);   // 0..4
  QMenu* Popup(const std::string& name) const { return popups_.at(name); }

  // Controls (named as the window's).
  QTabBar* tsWaveGeneration;
  QStackedWidget* Notebook;
  QButtonGroup* tsParts;
  QCheckBox *cbActive, *cbNoiseS, *cbNoiseD, *cbVibSpeedFMult, *cbVibDepthFMult, *cbVibSpeedTMult, *cbVibDepthTMult,
      *cbFilterActive;
  QLineEdit* ePartName;
  QComboBox *cbKey, *cbS, *cbD, *cbV;
  QScrollBar *sbFTune, *sbPhase, *sbU, *sbVolume, *sbVibratoSpeedF, *sbVibratoDepthF, *sbVibratoSpeedT,
      *sbVibratoDepthT, *sbFilterF, *sbFilterT;
  QLabel *lFTune, *lPhase, *lPercent, *lVolume, *lVibratoSpeedF, *lVibratoDepthF, *lVibratoSpeedT, *lVibratoDepthT,
      *lFilterF, *lFilterT, *lTotalLength;
  QSpinBox *seTime, *seRepeats, *seStartDel;
  QRadioButton *rbRepL, *rbRepP, *rbVibUp, *rbVibDown;
  QPushButton *bFrequency, *bCopyPresetSD, *bCopyPresetDS, *bEditWaveFree, *bAddSynth, *bManageWave,
      *bVolumeEditFree, *bADSR, *bManageEnvelopes, *bCopyVoice, *bResetVoice;
  QToolButton *bVibCopyDown, *bVibCopyUp, *bFilterCopyDown, *bFilterCopyUp;
  TLrsBmp *iVibUp, *iVibDown;
  TPaintBox *pbS, *pbD, *pbU, *pbV;

  // The voice dialogs, modal; the editor shows what the copy and reset did.
  void OpenCopyVoice();
  void OpenResetVoice();
  void OpenSetFrequency();
  // The wave-preset and volume-envelope editors and managers, modal; the
  // lists and drawings follow what they changed in the tables.
  void OpenFreeEdit();
  void OpenAddSynth();
  void OpenWaveManager();
  void OpenEditVol();
  void OpenADSR();
  void OpenEnvelopeManager();

 private:
  TVoice& V();
  void EditInt(int step, int value);  // a numeric or boolean field's handler
  void EditText(int step, int index);  // presets and envelope
  void UpdateLabels();
  void DrawPresets();
  void DrawEnvelope();
  void PaintVoiceTabs();
  QScrollBar* Bar(int step, int min, int max, int page, QLabel*& label, const char* name, const char* labelName);
  void Link(QScrollBar* from, QScrollBar* to, QToolButton* down, QToolButton* up);
  void AddPopup(const std::string& name, QWidget* control, const std::vector<std::pair<QString, int>>& items,
                std::function<void(int)> set, std::function<void(const TVoice&)> getFrom);
  void Changed();
  void ShowStoredName();
  void OpenLibraryWindow(const std::function<void()>& open);
  int CurrentEnvelopeItem();

  TfMain& main_;
  IMacroRecorder* recorder_ = nullptr;
  bool refreshing_ = false;
  std::map<std::string, QMenu*> popups_;
  std::map<QScrollBar*, int> barSteps_;
};
