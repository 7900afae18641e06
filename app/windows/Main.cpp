// TfMain: creation, first activation, settings and window places, closing.
#include "windows/Main.h"

#include <cstdio>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusTipEvent>

#include "components/EnhWave.h"
#include "components/MRUList.h"
#include "components/OfficeButton.h"
#include "core/FileAccess.h"
#include "formats/DescriptionFile.h"
#include "formats/LibraryFiles.h"
#include "platform/AudioSink.h"
#include "platform/MidiInput.h"
#include "platform/Prompts.h"
#include "platform/qt/QtPrompts.h"
#include "views/Backgrounds.h"
#include "windows/Tools.h"

using kalvora::platform::mrCancel;
using kalvora::platform::mrYes;

TfMain::TfMain(TMainServices services, QWidget* parent) : QMainWindow(parent), services_(std::move(services)) {
  setObjectName(QStringLiteral("fMain"));
  BuildPanels();
  BuildMenus();
  FormCreate();
}

TfMain::~TfMain() {
  // The child windows, the tool window and the wave output read the document
  // and the settings: they go first, while both still exist.
  const auto children = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  qDeleteAll(children);
  tools_.reset();
  waveOut_.reset();
}

QMdiArea* TfMain::MdiArea() const { return ClientArea; }


// ---------------------------------------------------------------------------
// Creation and first activation

void TfMain::FormCreate() {
  startTime_ = services_.Clock->now();
  lLogoVersion->setText(QStringLiteral("V %1.%2").arg(3).arg(0));
  SetStatus(TDocumentStatus::Working);

  doc_.SetDataFolder(services_.DataFolder);
  // Before any dialog can write Qt's own settings.
  if (!services_.DataFolder.empty()) kalvora::platform::KeepQtSettingsIn(services_.DataFolder.string());
  try {
    ini_ = std::make_unique<TIniFile>(doc_.SettingsPath.string());
  } catch (const EByteFileError& e) {
    ini_ = std::make_unique<TIniFile>(doc_.SettingsPath.string(), false);
    writeSettings_ = false;
    services_.Prompts->message(std::string(e.what()) + kFileLeftAlone);
  }
  RestoreFormPosition(this, "Main");
  RestoreFormSize(this, "Main");

  waveOut_ = std::make_unique<TEnhWaveOut>(this, services_.MakeAudioSink ? services_.MakeAudioSink() : nullptr);
  waveOut_->setSamples(44100);
  waveOut_->setSampleBits(16);
  waveOut_->OnDone = [this](QObject*) { WaveOutDone(); };

  try {
    LoadWavePresets();
    LoadVolumeEnvelopes();
    LoadMacros();
  } catch (const ELibraryFileError& e) {
    // Also on standard error: a box may wait where no one sees it.
    std::fprintf(stderr, "kalvora: %s\n", e.what());
    std::fflush(stderr);
    services_.Prompts->message(e.what());
    throw EStartupAborted(e.what());
  }
  RebuildMacroMenu();

  doc_.Recording = false;
  doc_.RecordingRelative = false;
  doc_.Voice(1).Active = true;
  doc_.ResultBuffer.clear();
  doc_.BuildPitchTables();
  doc_.WavePresetsModified = doc_.VolumeEnvelopesModified = doc_.MacrosModified = false;
  doc_.Work.assign(TInstrumentDocument::kWorkIdle, 0.0f);
  doc_.OnChanged = [this] { SetSampleUpToDate(false); };
  SetSampleUpToDate(false);
  SetInstrumentUpToDate(false);
  SetStatus(TDocumentStatus::Ready);
  doc_.CurrentInstrumentFile.clear();
  setWindowTitle(QString::fromLatin1(kNewInstrumentCaption));
}

void TfMain::CreateTools() {
  tools_ = std::make_unique<TfTools>(doc_, *services_.Prompts,
                                     services_.MakeAudioSink ? services_.MakeAudioSink() : nullptr);
  tools_->setObjectName(QStringLiteral("fTools"));
}

bool TfMain::event(QEvent* e) {
  if (e->type() == QEvent::StatusTip) {
    ShowHint(static_cast<QStatusTipEvent*>(e)->tip());
    return true;
  }
  if (e->type() == QEvent::WindowActivate) FormActivate();
  return QMainWindow::event(e);
}

void TfMain::FormActivate() {
  if (activated_) return;
  activated_ = true;
  LoadDefaultDescription();
  doc_.DefaultVoiceNames.clear();
  LoadSettings();
  if (settings_.MidiEnabled) OpenMidiIn(settings_.MidiDeviceID);
  ApplyHints();
  ApplyBackground();
  repaint();
}

// A missing description file gives an empty description: the activation
// must go on to read the settings, or closing would overwrite them with
// defaults. One that cannot be read is left as it is.
void TfMain::LoadDefaultDescription() {
  try {
    defaultDescription_ = ReadDescriptionFile(doc_.DescriptionPath);
  } catch (const EByteFileError& e) {
    writeDescription_ = false;
    services_.Prompts->message(std::string(e.what()) + kFileLeftAlone);
  }
}

void TfMain::SaveDefaultDescription() {
  if (writeDescription_) WriteDescriptionFile(doc_.DescriptionPath, defaultDescription_);
}

// ---------------------------------------------------------------------------
// Settings and places

void TfMain::LoadSettings() {
  LoadMainSettings(*ini_, settings_);
  if (settings_.RecentFiles.size() > 10) settings_.RecentFiles.resize(10);
  RebuildLoadAgainMenu();
  doc_.DefaultVoiceNames = settings_.DefaultVoiceNames;
  ApplyPanelChecks();
}

void TfMain::SaveSettings() {
  settings_.TopPanel = MenuTopPanel->isChecked();
  settings_.LeftPanel = MenuLeftPanel->isChecked();
  settings_.BottomPanel = MenuBottomPanel->isChecked();
  settings_.RecentFiles = MRUFileList->Items();
  SaveMainSettings(*ini_, settings_);
  SaveFormPosition(this, "Main");
  SaveFormSize(this, "Main");
  for (const PlacedWindow& p : placed_) {
    if (!p.window) continue;
    SaveFormPosition(p.window, p.key);
    if (p.withSize) SaveFormSize(p.window, p.key);
  }
  if (writeSettings_) ini_->UpdateFile();
}

void TfMain::RegisterPlacedWindow(const std::string& key, QWidget* window, bool withSize) {
  placed_.push_back({key, window, withSize});
}

namespace {
// An MDI child is placed through its frame.
QWidget* Frame(QWidget* w) {
  if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget())) return sub;
  return w;
}
}  // namespace

// A stored place may lie off the screen (another monitor, a hand-edited
// file): each window is kept where it can still be reached and moved.
void TfMain::RestoreFormPosition(QWidget* window, const std::string& key) {
  QWidget* w = Frame(window);
  TFormPlace p = ReadFormPlace(*ini_, key);
  int x = p.x != -1 ? p.x : w->x(), y = p.y != -1 ? p.y : w->y();
  TPlaceArea area;
  if (!w->isWindow() && w->parentWidget()) {
    const QRect r = w->parentWidget()->rect();  // an MDI frame lives in the client area
    area = {r.x(), r.y(), r.width(), r.height()};
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect r = screen->availableVirtualGeometry();
    area = {r.x(), r.y(), r.width(), r.height()};
  }
  KeepReachable(x, y, w->width(), w->height(), area);
  w->move(x, y);
}

void TfMain::RestoreFormSize(QWidget* window, const std::string& key) {
  QWidget* w = Frame(window);
  TFormPlace p = ReadFormPlace(*ini_, key);
  w->resize(p.w != -1 ? p.w : w->width(), p.h != -1 ? p.h : w->height());
}

void TfMain::SaveFormPosition(QWidget* window, const std::string& key) {
  QWidget* w = Frame(window);
  WriteFormPosition(*ini_, key, w->x(), w->y());
}

void TfMain::SaveFormSize(QWidget* window, const std::string& key) {
  QWidget* w = Frame(window);
  WriteFormSize(*ini_, key, w->width(), w->height());
}

// ---------------------------------------------------------------------------
// Closing

bool TfMain::FormCloseQuery() {
  if (closed_) return true;
  // The calculation processes window messages in its loop: freeing the
  // buffers under it would pull them from under the running loop.
  if (doc_.Busy()) {
    ShowStatusText(kCanNotClose);
    return false;
  }
  if (!IsInstrumentUpToDate()) {
    const int answer = services_.Prompts->question(kSaveChangesQuestion);
    if (answer == mrCancel) return false;
    // An instrument that could not be saved is not given up silently.
    if (answer == mrYes && !SaveCurrentInstrument()) return false;
  }
  return true;
}

void TfMain::FormClose() {
  if (closed_) return;
  closed_ = true;
  // Each step reports its own failure and the others still run, so one
  // unwritable file does not lose the rest.
  if (doc_.VolumeEnvelopesModified) AtCommandBoundary([&] { SaveVolumeEnvelopes(); });
  if (doc_.WavePresetsModified) AtCommandBoundary([&] { SaveWavePresets(); });
  if (doc_.MacrosModified) AtCommandBoundary([&] { SaveMacros(); });
  CloseMidiIn();
  const std::chrono::duration<double> open = services_.Clock->now() - startTime_;
  settings_.OpenTime += open.count() / 86400.0;
  AtCommandBoundary([&] { SaveSettings(); });
  doc_.ResultBuffer.clear();
  doc_.ResultBuffer.shrink_to_fit();
  waveOut_->Close();
  AtCommandBoundary([&] { SaveDefaultDescription(); });
}

void TfMain::closeEvent(QCloseEvent* e) {
  if (closing_) return e->ignore();  // a second close while the question is open
  closing_ = true;
  const bool go = FormCloseQuery();
  closing_ = false;
  if (!go) return e->ignore();
  FormClose();
  e->accept();
}

