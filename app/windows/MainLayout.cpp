// TfMain's layout: the three panels with their tool buttons and lights, the
// menus, the hints and the status line.
#include "windows/Main.h"

#include "components/MRUList.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QVBoxLayout>

#include "components/MdiBackground.h"
#include "components/OfficeButton.h"
#include "components/TileControl.h"
#include "components/ToolButtonPictures.h"
#include "views/Backgrounds.h"
#include "views/Colors.h"
#include "views/Windows1252.h"
#include "windows/WaveGen.h"
#include "platform/Prompts.h"
#include "windows/ViewWave.h"

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

// ---------------------------------------------------------------------------
// Layout

void TfMain::BuildPanels() {
  auto* central = new QWidget(this);
  auto* v = new QVBoxLayout(central);
  v->setContentsMargins(0, 0, 0, 0);
  v->setSpacing(0);

  PanelTop = new TZRWTile(central);
  PanelTop->setObjectName(QStringLiteral("PanelTop"));
  PanelTop->setFixedHeight(38);
  // The captions carry no "&": Alt+letter belongs to the menu bar. The hint
  // is set before the picture-only option so that it stays the long text.
  auto makeButton = [this](QWidget* parent, const char* name, TToolPicture picture, const QString& caption,
                           const QString& hint) {
    auto* b = new TOfficeButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->SetBitmap(ToolButtonPicture(picture, 20));
    b->SetCaption(caption);
    const int bar = hint.indexOf('|');
    shortHints_.push_back({b, hint.left(bar)});
    b->SetHint(hint.left(bar));
    b->SetOptions(b->Options() | TExplorerButtonOption::boIconOnly);
    b->setGeometry(0, 4, 30, 30);
    b->setStatusTip(hint.mid(bar + 1));
    return b;
  };
  bPlay = makeButton(PanelTop, "bPlay", TToolPicture::Play, QStringLiteral("Play"),
                     QStringLiteral("calculate and play the sample|shortcut: CTRL+P or Sustain Pedal or MIDI note"));
  bSave = makeButton(PanelTop, "bSave", TToolPicture::SaveSample, QStringLiteral("Save sample"),
                     QStringLiteral("calculate and save the sample|shortcut: CTRL+S"));
  bLoadInstrument = makeButton(PanelTop, "bLoadInstrument", TToolPicture::LoadInstrument, QStringLiteral("Load instrument"),
                               QStringLiteral("load an instrument|shortcut: CTRL+R"));
  bSaveInstrument = makeButton(PanelTop, "bSaveInstrument", TToolPicture::SaveInstrument, QStringLiteral("Save instrument"),
                               QStringLiteral("save the instrument|shortcut: CTRL+W"));
  bOptions = makeButton(PanelTop, "bOptions", TToolPicture::Options, QStringLiteral("Options"),
                        QStringLiteral("open the options window|shortcut: CTRL+Z"));
  bStatistics = makeButton(PanelTop, "bStatistics", TToolPicture::Statistics, QStringLiteral("Statistics"),
                           QStringLiteral("open then statistics window|shortcut: CTRL+T"));
  int x = 6;
  for (TOfficeButton* b : {bPlay, bSave, bLoadInstrument, bSaveInstrument, bOptions, bStatistics}) {
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
  bAbout = makeButton(panAbout, "bAbout", TToolPicture::About, QStringLiteral("About"),
                      QStringLiteral("open the about window|shortcut: CTRL+B"));
  bHelp = makeButton(panHelp, "bHelp", TToolPicture::Help, QStringLiteral("Help"),
                     QStringLiteral("open the help of Kalvora|shortcut: F1"));
  bExit = makeButton(panExit, "bExit", TToolPicture::Exit, QStringLiteral("Exit"),
                     QStringLiteral("close Kalvora|shortcut: ALT+F4"));
  PanelTop->installEventFilter(this);
  v->addWidget(PanelTop);

  auto* middle = new QHBoxLayout;
  middle->setSpacing(0);
  PanelLeft = new TZRWTile(central);
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

  ClientArea = new QMdiArea(central);
  ClientArea->setObjectName(QStringLiteral("ClientArea"));
  // A child out of sight can always be scrolled to.
  ClientArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  ClientArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  middle->addWidget(ClientArea, 1);
  v->addLayout(middle, 1);

  PanelBottom = new TZRWTile(central);
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

  MDIBackground = new TMDIBackground(ClientArea);
  MDIBackground->setObjectName(QStringLiteral("MDIBackground"));
  MDIBackground->SetBevelWidth(0);
  MDIBackground->SetBackgroundColor(ColorFromBGR(clSilver));
  clientPainter_ = std::make_unique<TBackgroundPainter>(&settings_.BackgroundMain, BuiltInMainPicture());
  MDIBackground->OnPaint = [this](QObject*, QPainter& p, const QRect& r) {
    if (clientPainter_) clientPainter_->Paint(p, r);
  };

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
  // Through the voice editor's own openers, so its lists follow the tables.
  const auto viaEditor = [this](void (TfWaveGen::*open)()) {
    return [this, open] {
      if (auto* editor = findChild<TfWaveGen*>()) (editor->*open)();
    };
  };
  AddCommand(presets, QStringLiteral("&Free"), K(Qt::CTRL | Qt::Key_F), viaEditor(&TfWaveGen::OpenFreeEdit));
  AddCommand(presets, QStringLiteral("&Add. Synthesis"), K(Qt::CTRL | Qt::Key_A), viaEditor(&TfWaveGen::OpenAddSynth));
  AddCommand(presets, QStringLiteral("&Manager"), K(Qt::CTRL | Qt::Key_M), viaEditor(&TfWaveGen::OpenWaveManager));
  QMenu* envelopes = MenuEdit->addMenu(QStringLiteral("&Volume Envelopes"));
  AddCommand(envelopes, QStringLiteral("&Free"), K(Qt::CTRL | Qt::Key_V), viaEditor(&TfWaveGen::OpenEditVol));
  AddCommand(envelopes, QStringLiteral("&ADSR"), K(Qt::CTRL | Qt::Key_D), viaEditor(&TfWaveGen::OpenADSR));
  AddCommand(envelopes, QStringLiteral("&Manager"), K(Qt::CTRL | Qt::Key_G),
             viaEditor(&TfWaveGen::OpenEnvelopeManager));

  MenuView = bar->addMenu(QStringLiteral("&View"));
  QMenu* zoom = MenuView->addMenu(QStringLiteral("&Zoom"));
  AddCommand(zoom, QStringLiteral("&In"), K(Qt::CTRL | Qt::Key_I), [this] {
    if (auto* view = findChild<TfViewWave*>()) view->ZoomIn();
  });
  AddCommand(zoom, QStringLiteral("&Out"), K(Qt::CTRL | Qt::Key_O), [this] {
    if (auto* view = findChild<TfViewWave*>()) view->ZoomOut();
  });
  QMenu* page = MenuView->addMenu(QStringLiteral("&Voice Part"));
  const char* pages[] = {"&General", "&Source", "&Volume", "V&ibrato", "&Lowpass"};
  for (int i = 0; i < 5; ++i)
    AddCommand(page, QString::fromLatin1(pages[i]), K(Qt::Key_F2 + i), [this, i] {
      if (auto* editor = findChild<TfWaveGen*>()) editor->SelectPage(i);
    });
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
  AddCommand(MenuVoice, QStringLiteral("&Copy"), K(Qt::CTRL | Qt::Key_C), [this] {
    if (auto* editor = findChild<TfWaveGen*>()) editor->OpenCopyVoice();
  });
  AddCommand(MenuVoice, QStringLiteral("&Reset"), K(Qt::CTRL | Qt::Key_E), [this] {
    if (auto* editor = findChild<TfWaveGen*>()) editor->OpenResetVoice();
  });

  MenuInstrument = bar->addMenu(QStringLiteral("&Instrument"));
  AddCommand(MenuInstrument, QStringLiteral("&Load"), K(Qt::CTRL | Qt::Key_R), [this] { LoadInstrumentCommand(); });
  AddCommand(MenuInstrument, QStringLiteral("&Save"), K(Qt::CTRL | Qt::Key_W), [this] { SaveCurrentInstrument(); });
  AddCommand(MenuInstrument, QStringLiteral("Save &As"), K(Qt::CTRL | Qt::Key_L), [this] { SaveInstrumentAs(); });
  AddCommand(MenuInstrument, QStringLiteral("&New"), K(Qt::CTRL | Qt::Key_N), [this] {
    if (auto* editor = findChild<TfWaveGen*>()) editor->NewInstrument();
  });
  // The recent files follow as a separator and the "Load Again" submenu.
  MRUFileList = new TMRUFileList(this);
  MRUFileList->SetMaximum(10);
  MRUFileList->RemoveOnClick = false;
  MRUFileList->SetUseSubmenu(true);
  MRUFileList->SetSubmenuName("Load Again");
  MRUFileList->SetFileMenu(MenuInstrument);
  MRUFileList->OnMRUItemClick = [this](QAction*, const std::string& file) {
    AtCommandBoundary([&] {
      if (std::filesystem::path(file).is_absolute()) {
        LoadInstrumentFile(file);
        return;
      }
      // An entry of an earlier build may not be a full path: once it has
      // opened a file, that file's full path takes its place. The load lists
      // the full path before the old entry goes, so the list has room for one
      // more meanwhile: a full list loses no other entry. A failed load adds
      // nothing, and the list is as it was.
      struct TRoomForOneMore {
        TMRUFileList* list;
        int maximum = list->Maximum();
        ~TRoomForOneMore() { list->SetMaximum(maximum); }
      } room{MRUFileList};
      MRUFileList->SetMaximum(room.maximum + 1);
      if (LoadInstrumentFile(file)) MRUFileList->RemoveItem(file);
    });
    MenuLoadAgain = MRUFileList->Submenu();
  };
  MenuLoadAgain = nullptr;

  MenuMacro = bar->addMenu(QStringLiteral("&Macro"));
  MenuStartRecording = AddCommand(MenuMacro, QStringLiteral("&Start Recording"), K(Qt::CTRL | Qt::Key_H),
                                  [this] { StartRecordingCommand(); });
  MenuStopRecording = AddCommand(MenuMacro, QStringLiteral("Sto&p Recording"), K(Qt::CTRL | Qt::Key_J),
                                 [this] { StopRecordingCommand(); });
  MenuStopRecording->setEnabled(false);
  AddCommand(MenuMacro, QStringLiteral("&Manager"), K(Qt::CTRL | Qt::Key_K), [this] { MacroManagerCommand(); });
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

  auto click = [this](TOfficeButton* b, std::function<void()> fn) {
    connect(b, &TOfficeButton::clicked, this, [this, fn = std::move(fn)] { AtCommandBoundary(fn); });
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
  const QImage border = BuiltInBorderPicture();
  for (TZRWTile* t : {PanelTop, PanelLeft, PanelBottom}) ApplyTileSetting(*t, settings_.BackgroundBorder, border);
  ClientArea->viewport()->update();
  // Relays out the left panel, as a change of its width does.
  LayoutLeftPanel();
}

void TfMain::RebuildLoadAgainMenu() {
  MRUFileList->SetItems(settings_.RecentFiles);
  MenuLoadAgain = MRUFileList->Submenu();
}


static bool ShortcutIn(const QList<QAction*>& actions, const QKeySequence& key) {
  for (QAction* a : actions) {
    if (a->shortcut() == key) return true;
    if (a->menu() && ShortcutIn(a->menu()->actions(), key)) return true;
  }
  return false;
}

bool TfMain::HotKeyInUse(const QKeySequence& key) const {
  return ShortcutIn(menuBar()->actions(), key) || ShortcutIn(actions(), key);
}

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
    // A hot key that a command or an earlier macro holds is left off, so
    // that key keeps doing what it did.
    const QKeySequence key = HotKeyToKeySequence(m.HotKey);
    if (!key.isEmpty() && !HotKeyInUse(key)) a->setShortcut(key);
    const int number = static_cast<int>(k) + 1;
    connect(a, &QAction::triggered, this, [this, number] { AtCommandBoundary([&] { ExecuteMacro(number); }); });
    MenuMacro->addAction(a);
    macroActions_.push_back(a);
  }
  FreeCommandKeysInChildren();
}

// A child window's system menu has the platform's keys (on X11 "Close" has
// Ctrl+W as well as Ctrl+F4). Two actions on one key run neither, so the
// menu keeps only the keys that no command or macro answers to; the
// platform's keys are kept aside to be given back when a macro lets go.
void TfMain::FreeCommandKeysInChildren() {
  static const char* const kPlatformKeys = "kalvoraPlatformKeys";
  for (QMdiSubWindow* frame : ClientArea->subWindowList()) {
    QMenu* menu = frame->systemMenu();
    if (!menu) continue;
    for (QAction* a : menu->actions()) {
      if (!a->property(kPlatformKeys).isValid()) a->setProperty(kPlatformKeys, QVariant::fromValue(a->shortcuts()));
      QList<QKeySequence> keys;
      for (const QKeySequence& key : a->property(kPlatformKeys).value<QList<QKeySequence>>())
        if (!HotKeyInUse(key)) keys << key;
      a->setShortcuts(keys);
    }
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

void TfMain::ShowStatusText(const std::string& text) { ShowStatusLine(FromWindows1252(text)); }

void TfMain::ShowStatusLine(const QString& text) {
  lStatus->setText(text);
  lStatus->repaint();
}

void TfMain::ShowHint(const QString& longHint) { ShowStatusLine(longHint); }

QString TfMain::StatusText() const { return lStatus->text(); }

