#include "Main.h"

#include <cmath>
#include <fstream>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusTipEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "Colors.h"
#include "LibraryFiles.h"
#include "Tools.h"
#include "Windows1252.h"
#include "components/EnhWave.h"
#include "platform/AudioSink.h"
#include "platform/MidiInput.h"
#include "platform/Prompts.h"

using kalvora::platform::mrCancel;
using kalvora::platform::mrYes;

// ---------------------------------------------------------------------------
// Backgrounds of the client area and the panels

namespace {

// Built-in pictures: a soft tile for the client area and a darker one for
// the panels.
QImage BuiltInMainPicture() {
  QImage img(64, 64, QImage::Format_RGB32);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      int v = 150 + static_cast<int>(12 * std::sin((x + y) * 3.14159265 / 32) + 8 * std::cos((x - y) * 3.14159265 / 16));
      img.setPixelColor(x, y, QColor(v - 30, v - 15, v + 20));
    }
  return img;
}

QImage BuiltInBorderPicture() {
  QImage img(32, 32, QImage::Format_RGB32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      int v = 70 + ((x * 7 + y * 13) % 17) + static_cast<int>(10 * std::sin(y * 3.14159265 / 16));
      img.setPixelColor(x, y, QColor(v - 20, v - 5, v + 40));
    }
  return img;
}

class TBackgroundPainter {
 public:
  TBackgroundPainter(const TBackgroundSetting* setting, QImage builtIn)
      : setting_(setting), builtIn_(std::move(builtIn)) {}

  void Paint(QPainter& p, const QRect& r) {
    if (!setting_ || setting_->Default) return Tile(p, r, builtIn_);
    switch (setting_->TileMode) {
      case tmTile: return Tile(p, r, Picture());
      case tmStretch: p.drawImage(r, Picture()); return;
      case tmCenter: {
        p.fillRect(r, ColorFromBGR(clSilver));
        const QImage& img = Picture();
        p.drawImage(r.x() + (r.width() - img.width()) / 2, r.y() + (r.height() - img.height()) / 2, img);
        return;
      }
      case tmGradient: return Gradient(p, r);
      default: p.fillRect(r, ColorFromBGR(clSilver)); return;
    }
  }

 private:
  // Columns 0..width div picture width and rows 0..height div picture height,
  // so the last partial column and row are covered too.
  static void Tile(QPainter& p, const QRect& r, const QImage& img) {
    if (img.isNull()) return;
    for (int col = 0; col <= r.width() / img.width(); ++col)
      for (int row = 0; row <= r.height() / img.height(); ++row)
        p.drawImage(r.x() + col * img.width(), r.y() + row * img.height(), img);
  }

  void Gradient(QPainter& p, const QRect& r) {
    const QColor from = ColorFromBGR(setting_->ColorFrom), to = ColorFromBGR(setting_->ColorTo);
    const int h = std::max(1, r.height());
    for (int y = 0; y < r.height(); ++y) {
      auto mix = [&](int a, int b) { return a + (b - a) * y / h; };
      p.setPen(QColor(mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue())));
      p.drawLine(r.x(), r.y() + y, r.right(), r.y() + y);
    }
  }

  // The configured picture when it exists, else the built-in one.
  const QImage& Picture() {
    const QString path = FromWindows1252(setting_->Image);
    if (path != loadedPath_) {
      loadedPath_ = path;
      loaded_ = path.isEmpty() ? QImage() : QImage(path);
    }
    return loaded_.isNull() ? builtIn_ : loaded_;
  }

  const TBackgroundSetting* setting_;
  QImage builtIn_;
  QString loadedPath_;
  QImage loaded_;
};

}  // namespace

class TTilePanel : public QWidget {
 public:
  TTilePanel(const TBackgroundSetting* setting, QImage builtIn, QWidget* parent)
      : QWidget(parent), painter_(setting, std::move(builtIn)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    painter_.Paint(p, rect());
  }

 private:
  TBackgroundPainter painter_;
};

class TMainClientArea : public QMdiArea {
 public:
  TMainClientArea(const TBackgroundSetting* setting, QWidget* parent)
      : QMdiArea(parent), painter_(setting, BuiltInMainPicture()) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(viewport());
    painter_.Paint(p, viewport()->rect());
  }

 private:
  TBackgroundPainter painter_;
};

// ---------------------------------------------------------------------------

QKeySequence HotKeyToKeySequence(std::uint16_t hotKey) {
  const int code = hotKey & 0xFF;
  int key = 0;
  if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) key = code;  // same codes in Qt
  else if (code >= 0x70 && code <= 0x87) key = Qt::Key_F1 + (code - 0x70);      // F1..F24
  if (key == 0) return {};
  Qt::KeyboardModifiers mods;
  if (hotKey & 0x2000) mods |= Qt::ShiftModifier;
  if (hotKey & 0x4000) mods |= Qt::ControlModifier;
  if (hotKey & 0x8000) mods |= Qt::AltModifier;
  return QKeySequence(QKeyCombination(mods, static_cast<Qt::Key>(key)));
}

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

QMdiArea* TfMain::MdiArea() const { return MDIBackground; }

// ---------------------------------------------------------------------------
// Layout

void TfMain::BuildPanels() {
  auto* central = new QWidget(this);
  auto* v = new QVBoxLayout(central);
  v->setContentsMargins(0, 0, 0, 0);
  v->setSpacing(0);

  PanelTop = new TTilePanel(&settings_.BackgroundBorder, BuiltInBorderPicture(), central);
  PanelTop->setObjectName(QStringLiteral("PanelTop"));
  PanelTop->setFixedHeight(38);
  auto makeButton = [this](QWidget* parent, const char* name, QStyle::StandardPixmap icon, const QString& hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(style()->standardIcon(icon));
    b->setIconSize(QSize(20, 20));
    b->setAutoRaise(true);
    b->setGeometry(0, 4, 30, 30);
    const int bar = hint.indexOf('|');
    shortHints_.push_back({b, hint.left(bar)});
    b->setToolTip(hint.left(bar));
    b->setStatusTip(hint.mid(bar + 1));
    return b;
  };
  bPlay = makeButton(PanelTop, "bPlay", QStyle::SP_MediaPlay,
                     QStringLiteral("calculate and play the sample|shortcut: CTRL+P or Sustain Pedal or MIDI note"));
  bSave = makeButton(PanelTop, "bSave", QStyle::SP_DriveFDIcon,
                     QStringLiteral("calculate and save the sample|shortcut: CTRL+S"));
  bLoadInstrument = makeButton(PanelTop, "bLoadInstrument", QStyle::SP_DialogOpenButton,
                               QStringLiteral("load an instrument|shortcut: CTRL+R"));
  bSaveInstrument = makeButton(PanelTop, "bSaveInstrument", QStyle::SP_DialogSaveButton,
                               QStringLiteral("save the instrument|shortcut: CTRL+W"));
  bOptions = makeButton(PanelTop, "bOptions", QStyle::SP_FileDialogDetailedView,
                        QStringLiteral("open the options window|shortcut CTRL+O"));
  bStatistics = makeButton(PanelTop, "bStatistics", QStyle::SP_FileDialogInfoView,
                           QStringLiteral("open then statistics window|shortcut: CTRL+T"));
  int x = 6;
  for (QToolButton* b : {bPlay, bSave, bLoadInstrument, bSaveInstrument, bOptions, bStatistics}) {
    b->move(x, 4);
    x += (b == bSave || b == bSaveInstrument) ? 40 : 32;
  }
  auto makeHolder = [this](const char* name) {
    auto* w = new QWidget(PanelTop);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(0, 0, 32, 38);
    return w;
  };
  panAbout = makeHolder("panAbout");
  panHelp = makeHolder("panHelp");
  panExit = makeHolder("panExit");
  bAbout = makeButton(panAbout, "bAbout", QStyle::SP_MessageBoxInformation,
                      QStringLiteral("open the about window|shortcut: CTRL+B"));
  bHelp = makeButton(panHelp, "bHelp", QStyle::SP_DialogHelpButton,
                     QStringLiteral("open the help of Kalvora|shortcut: F1"));
  bExit = makeButton(panExit, "bExit", QStyle::SP_DialogCloseButton,
                     QStringLiteral("close Kalvora|shortcut: ALT+F4"));
  PanelTop->installEventFilter(this);
  v->addWidget(PanelTop);

  auto* middle = new QHBoxLayout;
  middle->setSpacing(0);
  PanelLeft = new TTilePanel(&settings_.BackgroundBorder, BuiltInBorderPicture(), central);
  PanelLeft->setObjectName(QStringLiteral("PanelLeft"));
  PanelLeft->setFixedWidth(104);
  PanelLeft->setMinimumHeight(230);
  auto label = [this](const QString& text, const char* name = nullptr) {
    auto* l = new QLabel(text, PanelLeft);
    if (name) l->setObjectName(QString::fromLatin1(name));
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(pal);
    l->resize(96, 18);
    return l;
  };
  QLabel* logo = label(QStringLiteral("Kalvora"), "lLogo");
  QFont f = logo->font();
  f.setPointSize(14);
  f.setBold(true);
  logo->setFont(f);
  logo->setGeometry(8, 8, 96, 26);
  lLogoVersion = label(QString(), "lLogoVersion");
  lLogoVersion->move(10, 34);
  label(QStringLiteral("Instrument:"), "lInstrumentCaption");
  lInstrumentUpToDate = label(QStringLiteral("up to date"), "lInstrumentUpToDate");
  label(QStringLiteral("Sample:"), "lSampleCaption");
  lSampleUpToDate = label(QStringLiteral("up to date"), "lSampleUpToDate");
  label(QStringLiteral("Status:"), "lStatusCaption");
  lWorking = label(QStringLiteral("Working"), "lWorking");
  lPlaying = label(QStringLiteral("Playing"), "lPlaying");
  lReady = label(QStringLiteral("Ready"), "lReady");
  // The lights sit on a light strip so that black and blue both read well.
  for (QLabel* l : {lInstrumentUpToDate, lSampleUpToDate, lWorking, lPlaying, lReady}) {
    l->setAutoFillBackground(true);
    QPalette pal = l->palette();
    pal.setColor(QPalette::Window, ColorFromBGR(clSilver));
    l->setPalette(pal);
    l->setIndent(4);
  }
  PanelLeft->installEventFilter(this);
  middle->addWidget(PanelLeft);

  MDIBackground = new TMainClientArea(&settings_.BackgroundMain, central);
  MDIBackground->setObjectName(QStringLiteral("MDIBackground"));
  middle->addWidget(MDIBackground, 1);
  v->addLayout(middle, 1);

  PanelBottom = new TTilePanel(&settings_.BackgroundBorder, BuiltInBorderPicture(), central);
  PanelBottom->setObjectName(QStringLiteral("PanelBottom"));
  PanelBottom->setFixedHeight(26);
  auto* hb = new QHBoxLayout(PanelBottom);
  hb->setContentsMargins(6, 3, 6, 3);
  lStatus = new QLabel(PanelBottom);
  lStatus->setObjectName(QStringLiteral("lStatus"));
  lStatus->setAutoFillBackground(true);
  lStatus->setFrameShape(QFrame::Panel);
  lStatus->setFrameShadow(QFrame::Sunken);
  lStatus->setIndent(4);
  QPalette sp = lStatus->palette();
  sp.setColor(QPalette::Window, ColorFromBGR(clSilver));
  sp.setColor(QPalette::WindowText, Qt::black);
  lStatus->setPalette(sp);
  hb->addWidget(lStatus);
  v->addWidget(PanelBottom);

  setCentralWidget(central);
  resize(900, 640);
}

void TfMain::LayoutLeftPanel() {
  const int h = PanelLeft->height();
  struct Place {
    const char* name;
    int fromBottom;
  } places[] = {{"lInstrumentCaption", 192}, {"lInstrumentUpToDate", 172}, {"lSampleCaption", 140},
                {"lSampleUpToDate", 120},    {"lStatusCaption", 88},       {"lWorking", 68},
                {"lPlaying", 48},            {"lReady", 28}};
  for (const Place& p : places)
    if (auto* l = PanelLeft->findChild<QLabel*>(QString::fromLatin1(p.name))) l->move(8, h - p.fromBottom);
}

void TfMain::LayoutTopPanel() {
  const int w = PanelTop->width();
  panAbout->move(w - 103, 0);
  panHelp->move(w - 71, 0);
  panExit->move(w - 39, 0);
}

bool TfMain::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::Resize) {
    if (watched == PanelLeft) LayoutLeftPanel();
    if (watched == PanelTop) LayoutTopPanel();
  }
  return QMainWindow::eventFilter(watched, e);
}

QAction* TfMain::AddCommand(QMenu* menu, const QString& caption, const QKeySequence& key,
                            std::function<void()> handler) {
  QAction* a = menu->addAction(caption);
  if (!key.isEmpty()) a->setShortcut(key);
  connect(a, &QAction::triggered, this, [this, handler = std::move(handler)] { AtCommandBoundary(handler); });
  return a;
}

// Run-time errors end the command they happen in: shown, and the program goes on.
template <class Fn>
void TfMain::AtCommandBoundary(Fn fn) {
  try {
    fn();
  } catch (const std::exception& e) {
    services_.Prompts->message(e.what());
  }
}

void TfMain::BuildMenus() {
  QMenuBar* bar = menuBar();
  using K = QKeySequence;
  MenuKalvora = bar->addMenu(QStringLiteral("&Kalvora"));
  AddCommand(MenuKalvora, QStringLiteral("&Play Wave"), K(Qt::CTRL | Qt::Key_P), [this] { PlayCommand(); });
  AddCommand(MenuKalvora, QStringLiteral("&Save Wave"), K(Qt::CTRL | Qt::Key_S), [this] { SaveSampleCommand(); });
  MenuKalvora->addSeparator();
  AddCommand(MenuKalvora, QStringLiteral("&Options"), K(Qt::CTRL | Qt::Key_Z), [this] { RunOptions(); });
  AddCommand(MenuKalvora, QStringLiteral("S&tatistics"), K(Qt::CTRL | Qt::Key_T), [this] { ShowStatistics(); });
  MenuKalvora->addSeparator();
  AddCommand(MenuKalvora, QStringLiteral("&Exit"), K(Qt::ALT | Qt::Key_F4), [this] { close(); });

  MenuEdit = bar->addMenu(QStringLiteral("&Edit"));
  QMenu* presets = MenuEdit->addMenu(QStringLiteral("&Wave Presets"));
  AddCommand(presets, QStringLiteral("&Free"), K(Qt::CTRL | Qt::Key_F), [this] { NotAvailable("The wave preset editor"); });
  AddCommand(presets, QStringLiteral("&Add. Synthesis"), K(Qt::CTRL | Qt::Key_A),
             [this] { NotAvailable("The additive synthesis window"); });
  AddCommand(presets, QStringLiteral("&Manager"), K(Qt::CTRL | Qt::Key_M), [this] { NotAvailable("The wave preset manager"); });
  QMenu* envelopes = MenuEdit->addMenu(QStringLiteral("&Volume Envelopes"));
  AddCommand(envelopes, QStringLiteral("&Free"), K(Qt::CTRL | Qt::Key_V), [this] { NotAvailable("The volume envelope editor"); });
  AddCommand(envelopes, QStringLiteral("&ADSR"), K(Qt::CTRL | Qt::Key_D), [this] { NotAvailable("The ADSR editor"); });
  AddCommand(envelopes, QStringLiteral("&Manager"), K(Qt::CTRL | Qt::Key_G),
             [this] { NotAvailable("The volume envelope manager"); });

  MenuView = bar->addMenu(QStringLiteral("&View"));
  QMenu* zoom = MenuView->addMenu(QStringLiteral("&Zoom"));
  AddCommand(zoom, QStringLiteral("&In"), K(Qt::CTRL | Qt::Key_I), [this] { NotAvailable("Zooming the waveform view"); });
  AddCommand(zoom, QStringLiteral("&Out"), K(Qt::CTRL | Qt::Key_O), [this] { NotAvailable("Zooming the waveform view"); });
  QMenu* page = MenuView->addMenu(QStringLiteral("&Voice Part"));
  const char* pages[] = {"&General", "&Source", "&Volume", "V&ibrato", "&Lowpass"};
  for (int i = 0; i < 5; ++i)
    AddCommand(page, QString::fromLatin1(pages[i]), K(Qt::Key_F2 + i), [this] { NotAvailable("The voice editor"); });
  MenuView->addSeparator();
  auto panelItem = [&](const char* caption, QWidget* panel) {
    QAction* a = MenuView->addAction(QString::fromLatin1(caption));
    a->setCheckable(true);
    a->setChecked(true);
    connect(a, &QAction::toggled, panel, &QWidget::setVisible);
    return a;
  };
  MenuTopPanel = panelItem("&Top Panel", PanelTop);
  MenuLeftPanel = panelItem("&Left Panel", PanelLeft);
  MenuBottomPanel = panelItem("&Bottom Panel", PanelBottom);

  MenuVoice = bar->addMenu(QStringLiteral("V&oice"));
  AddCommand(MenuVoice, QStringLiteral("&Copy"), K(Qt::CTRL | Qt::Key_C), [this] { NotAvailable("Copying voices"); });
  AddCommand(MenuVoice, QStringLiteral("&Reset"), K(Qt::CTRL | Qt::Key_E), [this] { NotAvailable("Resetting voices"); });

  MenuInstrument = bar->addMenu(QStringLiteral("&Instrument"));
  AddCommand(MenuInstrument, QStringLiteral("&Load"), K(Qt::CTRL | Qt::Key_R), [this] { LoadInstrumentCommand(); });
  AddCommand(MenuInstrument, QStringLiteral("&Save"), K(Qt::CTRL | Qt::Key_W), [this] { SaveCurrentInstrument(); });
  AddCommand(MenuInstrument, QStringLiteral("Save &As"), K(Qt::CTRL | Qt::Key_L), [this] { SaveInstrumentAs(); });
  AddCommand(MenuInstrument, QStringLiteral("&New"), K(Qt::CTRL | Qt::Key_N), [this] { NotAvailable("A new instrument"); });
  MenuInstrument->addSeparator();
  MenuLoadAgain = MenuInstrument->addMenu(QStringLiteral("Load Again"));
  MenuLoadAgain->setObjectName(QStringLiteral("MRUFileList"));

  MenuMacro = bar->addMenu(QStringLiteral("&Macro"));
  AddCommand(MenuMacro, QStringLiteral("&Start Recording"), K(Qt::CTRL | Qt::Key_H), [this] { NotAvailable("Macro recording"); });
  AddCommand(MenuMacro, QStringLiteral("Sto&p Recording"), K(Qt::CTRL | Qt::Key_J), [this] { NotAvailable("Macro recording"); });
  AddCommand(MenuMacro, QStringLiteral("&Manager"), K(Qt::CTRL | Qt::Key_K), [this] { NotAvailable("The macro manager"); });
  MenuMacro->addSeparator();

  MenuHelp = bar->addMenu(QStringLiteral("&Help"));
  AddCommand(MenuHelp, QStringLiteral("&About"), K(Qt::CTRL | Qt::Key_B), [this] { ShowAbout(); });
  AddCommand(MenuHelp, QStringLiteral("&Help Contents"), K(Qt::Key_F1), [this] { ShowHelpContents(); });
  QMenu* voiceHelp = MenuHelp->addMenu(QStringLiteral("&Voice parameters"));
  const std::pair<const char*, const char*> topics[] = {
      {"&Overview", "voiceparameters_overview"}, {"&General tab", "voiceparameters_general"},
      {"&Source tab", "voiceparameters_source"}, {"&Volume tab", "voiceparameters_volume"},
      {"&Vibrato tab", "voiceparameters_vibrato"}, {"&Lowpass tab", "voiceparameters_lowpass"}};
  for (const auto& [caption, keyword] : topics) {
    std::string k = keyword;
    AddCommand(voiceHelp, QString::fromLatin1(caption), {}, [this, k] { services_.Help->showTopic(k); });
  }

  auto click = [this](QToolButton* b, std::function<void()> fn) {
    connect(b, &QToolButton::clicked, this, [this, fn = std::move(fn)] { AtCommandBoundary(fn); });
  };
  click(bPlay, [this] { PlayCommand(); });
  click(bSave, [this] { SaveSampleCommand(); });
  click(bLoadInstrument, [this] { LoadInstrumentCommand(); });
  click(bSaveInstrument, [this] { SaveCurrentInstrument(); });
  click(bOptions, [this] { RunOptions(); });
  click(bStatistics, [this] { ShowStatistics(); });
  click(bAbout, [this] { ShowAbout(); });
  click(bHelp, [this] { ShowHelpContents(); });
  click(bExit, [this] { close(); });
}

// ---------------------------------------------------------------------------
// Creation and first activation

void TfMain::FormCreate() {
  startTime_ = services_.Clock->now();
  lLogoVersion->setText(QStringLiteral("V %1.%2").arg(3).arg(0));
  SetStatus(TDocumentStatus::Working);

  doc_.SetDataFolder(services_.DataFolder);
  ini_ = std::make_unique<TIniFile>(doc_.SettingsPath.string());
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
// defaults.
void TfMain::LoadDefaultDescription() {
  defaultDescription_.clear();
  std::ifstream in(doc_.DescriptionPath, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    defaultDescription_.push_back(line);
  }
}

void TfMain::SaveDefaultDescription() {
  std::ofstream out(doc_.DescriptionPath, std::ios::binary | std::ios::trunc);
  for (const std::string& l : defaultDescription_) out << l << "\r\n";
  out.flush();
  if (!out) throw std::runtime_error("Can not write the file \"" + doc_.DescriptionPath.string() + "\"");
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
  SaveMainSettings(*ini_, settings_);
  SaveFormPosition(this, "Main");
  SaveFormSize(this, "Main");
  for (const PlacedWindow& p : placed_) {
    SaveFormPosition(p.window, p.key);
    if (p.withSize) SaveFormSize(p.window, p.key);
  }
  ini_->UpdateFile();
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

void TfMain::RestoreFormPosition(QWidget* window, const std::string& key) {
  QWidget* w = Frame(window);
  TFormPlace p = ReadFormPlace(*ini_, key);
  w->move(p.x != -1 ? p.x : w->x(), p.y != -1 ? p.y : w->y());
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

void TfMain::ApplyPanelChecks() {
  MenuTopPanel->setChecked(settings_.TopPanel);
  MenuLeftPanel->setChecked(settings_.LeftPanel);
  MenuBottomPanel->setChecked(settings_.BottomPanel);
  PanelTop->setVisible(settings_.TopPanel);
  PanelLeft->setVisible(settings_.LeftPanel);
  PanelBottom->setVisible(settings_.BottomPanel);
}

void TfMain::ApplyHints() {
  for (auto& [button, hint] : shortHints_) button->setToolTip(settings_.ShowHints ? hint : QString());
}

void TfMain::ApplyBackground() {
  for (QWidget* w : {static_cast<QWidget*>(PanelTop), static_cast<QWidget*>(PanelLeft),
                     static_cast<QWidget*>(PanelBottom)})
    w->update();
  MDIBackground->viewport()->update();
  // Relays out the left panel, as a change of its width does.
  LayoutLeftPanel();
}

void TfMain::RebuildLoadAgainMenu() {
  MenuLoadAgain->clear();
  for (const std::string& file : settings_.RecentFiles) {
    QAction* a = MenuLoadAgain->addAction(FromWindows1252(file));
    std::filesystem::path path = file;
    connect(a, &QAction::triggered, this, [this, path] {
      AtCommandBoundary([&] {
        if (LoadInstrumentFile) LoadInstrumentFile(path);
        else NotAvailable("Loading instrument files");
      });
    });
  }
  MenuLoadAgain->setEnabled(!settings_.RecentFiles.empty());
}

// ---------------------------------------------------------------------------
// Libraries

void TfMain::LoadWavePresets() { ::LoadWavePresets(doc_.WavePresetPath, doc_.WavePresets); }
void TfMain::LoadVolumeEnvelopes() { ::LoadVolumeEnvelopes(doc_.VolumeEnvelopePath, doc_.VolumeEnvelopes); }
void TfMain::LoadMacros() { ::LoadMacros(doc_.MacroPath, doc_.Macros); }
void TfMain::SaveWavePresets() { ::SaveWavePresets(doc_.WavePresetPath, doc_.WavePresets); }
void TfMain::SaveVolumeEnvelopes() { ::SaveVolumeEnvelopes(doc_.VolumeEnvelopePath, doc_.VolumeEnvelopes); }
void TfMain::SaveMacros() { ::SaveMacros(doc_.MacroPath, doc_.Macros); }

void TfMain::RebuildMacroMenu() {
  for (QAction* a : macroActions_) {
    MenuMacro->removeAction(a);
    delete a;
  }
  macroActions_.clear();
  for (size_t k = 0; k < doc_.Macros.size(); ++k) {
    const TMacro& m = doc_.Macros[k];
    auto* a = new QAction(FromWindows1252(m.Name), MenuMacro);
    a->setStatusTip(FromWindows1252(m.Description));
    a->setShortcut(HotKeyToKeySequence(m.HotKey));
    const int number = static_cast<int>(k) + 1;
    connect(a, &QAction::triggered, this, [this, number] { AtCommandBoundary([&] { ExecuteMacro(number); }); });
    MenuMacro->addAction(a);
    macroActions_.push_back(a);
  }
}

// ---------------------------------------------------------------------------
// Document services

void TfMain::SetSampleUpToDate(bool flag) {
  doc_.SetSampleUpToDate(flag);
  QPalette pal = lSampleUpToDate->palette();
  pal.setColor(QPalette::WindowText, ColorFromBGR(flag ? clBlue : clBlack));
  lSampleUpToDate->setPalette(pal);
  if (!flag) SetInstrumentUpToDate(false);
  const bool any = doc_.AnyVoiceActive();
  bPlay->setEnabled(any);
  bSave->setEnabled(any);
}

void TfMain::SetInstrumentUpToDate(bool flag) {
  doc_.SetInstrumentUpToDate(flag);
  QPalette pal = lInstrumentUpToDate->palette();
  pal.setColor(QPalette::WindowText, ColorFromBGR(flag ? clBlue : clBlack));
  lInstrumentUpToDate->setPalette(pal);
}

void TfMain::SetStatus(TDocumentStatus status) {
  doc_.Status = status;
  const std::pair<QLabel*, TDocumentStatus> lights[] = {
      {lWorking, TDocumentStatus::Working}, {lPlaying, TDocumentStatus::Playing}, {lReady, TDocumentStatus::Ready}};
  for (const auto& [label, s] : lights) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, ColorFromBGR(s == status ? clBlue : clBlack));
    label->setPalette(pal);
    label->repaint();
  }
}

void TfMain::ShowStatusText(const std::string& text) {
  lStatus->setText(FromWindows1252(text));
  lStatus->repaint();
}

void TfMain::ShowHint(const QString& longHint) {
  lStatus->setText(longHint);
  lStatus->repaint();
}

QString TfMain::StatusText() const { return lStatus->text(); }

void TfMain::NotAvailable(const std::string& what) { ShowStatusText(what + " is not available yet."); }

// ---------------------------------------------------------------------------
// Commands

void TfMain::PlayCommand() {
  if (doc_.Status != TDocumentStatus::Ready) return ShowStatusText(kCanNotPlay);
  NotAvailable("Playing the sample");
}

void TfMain::SaveSampleCommand() {
  if (doc_.Status != TDocumentStatus::Ready) return ShowStatusText(kCanNotSave);
  NotAvailable("Saving the sample");
}

void TfMain::LoadInstrumentCommand() {
  if (doc_.Status != TDocumentStatus::Ready) return ShowStatusText(kCanNotLoad);
  NotAvailable("Loading an instrument");
}

namespace {
kalvora::platform::FileDialogOptions InstrumentSaveDialog(const std::filesystem::path& current) {
  kalvora::platform::FileDialogOptions o;
  o.title = "Save Instrument";
  o.filter = "Kalvora Instruments|*.kvi|All Files|*.*";
  o.defaultExt = "kvi";
  o.askOverwrite = true;
  if (!current.empty()) {
    o.initialDir = current.parent_path().string();
    o.initialFile = current.filename().string();
  }
  return o;
}
}  // namespace

bool TfMain::SaveCurrentInstrument() {
  if (!SaveInstrumentFile || !services_.FileDialogs) {
    NotAvailable("Saving instruments");
    return false;
  }
  if (doc_.CurrentInstrumentFile.empty()) {
    auto chosen = services_.FileDialogs->saveFile(InstrumentSaveDialog({}));
    if (!chosen) return false;
    doc_.CurrentInstrumentFile = *chosen;
  }
  return SaveInstrumentFile(doc_.CurrentInstrumentFile);
}

bool TfMain::SaveInstrumentAs() {
  if (!SaveInstrumentFile || !services_.FileDialogs) {
    NotAvailable("Saving instruments");
    return false;
  }
  auto chosen = services_.FileDialogs->saveFile(InstrumentSaveDialog(doc_.CurrentInstrumentFile));
  if (!chosen) return false;
  doc_.CurrentInstrumentFile = *chosen;
  return SaveInstrumentFile(doc_.CurrentInstrumentFile);
}

void TfMain::ExecuteMacro(int) { NotAvailable("Running macros"); }
void TfMain::RunOptions() { NotAvailable("The options window"); }
void TfMain::ShowStatistics() { NotAvailable("The statistics window"); }
void TfMain::ShowAbout() { NotAvailable("The about window"); }
void TfMain::ShowHelpContents() { services_.Help->showContents(); }

void TfMain::LoadCommandLineInstrument(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) return;
  std::error_code ec;
  const std::filesystem::path file = arguments[0];
  if (!std::filesystem::is_regular_file(file, ec)) return;
  AtCommandBoundary([&] {
    if (LoadInstrumentFile) LoadInstrumentFile(file);
    else NotAvailable("Loading instrument files");
  });
}

void TfMain::WaveOutDone() {
  waveOut_->Close();
  SetStatus(TDocumentStatus::Ready);
}

void TfMain::OpenMidiIn(int device) {
  if (!services_.Midi) return;
  // Notes and the sustain pedal reach the playing commands once they exist;
  // until then the input is opened and its messages are ignored.
  services_.Midi->open(device, this, [](std::uint8_t, std::uint8_t, std::uint8_t) {});
}

void TfMain::CloseMidiIn() {
  if (services_.Midi && services_.Midi->isOpen()) services_.Midi->close();
}

// ---------------------------------------------------------------------------
// Closing

bool TfMain::FormCloseQuery() {
  if (closed_) return true;
  // The calculation processes window messages in its loop: freeing the
  // buffers under it would pull them from under the running loop.
  if (Computing) {
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
