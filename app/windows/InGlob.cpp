#include "windows/InGlob.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "views/DistortionCurve.h"
#include "views/BoundedMemo.h"
#include "views/Windows1252.h"

namespace {

constexpr const char* kBandNames[10] = {"31 Hz", "62 Hz",  "125 Hz", "250 Hz", "500 Hz",
                                        "1 kHz", "2 kHz", "4 kHz",  "8 kHz",  "16 kHz"};
constexpr const char* kEffectNames[6] = {"Graphic EQ", "Distortion", "Volume",
                                         "Lowpass",    "Maximize",   "Fade"};

QScrollBar* VerticalBar(QWidget* parent, const char* name, int min, int max) {
  auto* bar = new QScrollBar(Qt::Vertical, parent);  // minimum at the top
  bar->setObjectName(name);
  bar->setRange(min, max);
  bar->setPageStep(6);
  bar->setMinimumHeight(120);
  return bar;
}

// Pages belong to the window even while their tab is hidden.
QWidget* Page(QWidget* owner, const char* name) {
  auto* page = new QWidget(owner);
  page->setObjectName(name);
  page->hide();
  return page;
}

QLabel* Label(QWidget* parent, const char* name, const QString& text = {}) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  return l;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  return b;
}

// A popup menu of presets on a slider: each item calls `apply` with its value.
void AddPresets(QWidget* control, const std::vector<std::pair<QString, int>>& items,
                const std::function<void(int)>& apply) {
  control->setContextMenuPolicy(Qt::ActionsContextMenu);
  for (const auto& [caption, value] : items) {
    auto* action = new QAction(caption, control);
    QObject::connect(action, &QAction::triggered, control, [apply, value] { apply(value); });
    control->addAction(action);
  }
}

std::vector<std::pair<QString, int>> DbItems(std::initializer_list<int> levels) {
  std::vector<std::pair<QString, int>> items;
  for (int db : levels) items.emplace_back((db > 0 ? QString("+%1 dB") : QString("%1 dB")).arg(db), db);
  return items;
}

}  // namespace

// --- window ---------------------------------------------------------------------------

TfInGlob::TfInGlob(TInGlobSettings& settings, TInGlobHost host, QWidget* parent)
    : QWidget(parent), host_(std::move(host)), settings_(settings) {
  setObjectName("fInGlob");
  setWindowTitle("Global Settings");
  setWindowFlags(windowFlags() | Qt::WindowMinimizeButtonHint);
  setWindowFlag(Qt::WindowMaximizeButtonHint, false);
  settings_.DefaultDescription = host_.DefaultDescription;
  settings_.DefaultQuality = host_.DefaultQuality;
  settings_.OnChanged = [this] {
    if (host_.SampleChanged) host_.SampleChanged();
  };
  settings_.OnInstrumentChanged = [this] {
    if (host_.InstrumentChanged) host_.InstrumentChanged();
  };
  settings_.OnStatusText = [this](const std::string& text) {
    if (host_.ShowStatusText) host_.ShowStatusText(text);
  };
  settings_.OnDisplay = [this] { ShowSettings(); };
  BuildControls();
  FormCreate();
}

TfInGlob::~TfInGlob() {
  // The settings belong to the document and outlive the window.
  settings_.OnChanged = nullptr;
  settings_.OnInstrumentChanged = nullptr;
  settings_.OnStatusText = nullptr;
  settings_.OnDisplay = nullptr;
}

void TfInGlob::FormCreate() {
  if (host_.RestorePosition) host_.RestorePosition(this, "InGlob");
  {
    QSignalBlocker block(cbCalcQuality);
    cbCalcQuality->setCurrentIndex(std::clamp(settings_.DefaultQualityNow(), 0, 2));
  }
  ResetDescription();
  ResetQuality();
  ResetGlobalDetune();
  ResetEffects();
}

void TfInGlob::closeEvent(QCloseEvent* event) {
  if (host_.StorePosition) host_.StorePosition(this, "InGlob");
  QWidget::closeEvent(event);
}

char TfInGlob::DecimalSeparator() const {
  const QString sep = QLocale().decimalPoint();
  return sep.size() == 1 && sep[0].unicode() < 0x80 ? static_cast<char>(sep[0].unicode()) : '.';
}

void TfInGlob::SetEffectOrder(std::string_view order) {
  settings_.SetEffectOrder(order);
  pcInGlob->setCurrentWidget(tsGeneral);
}

void TfInGlob::ResetEffects() {
  settings_.ResetEffects();
  pcInGlob->setCurrentWidget(tsGeneral);
}

void TfInGlob::SetDescription(std::vector<std::string> lines) {
  settings_.Description = std::move(lines);
  ShowSettings();
}

void TfInGlob::DrawDistortionCurve() { pbDistortion->update(); }

void TfInGlob::BuildControls() {
  auto* outer = new QVBoxLayout(this);
  pcInGlob = new QTabWidget(this);
  pcInGlob->setObjectName("pcInGlob");
  outer->addWidget(pcInGlob);

  // General: description, quality, detune.
  tsGeneral = Page(pcInGlob, "tsGeneral");
  {
    auto* g = new QGridLayout(tsGeneral);
    memoDescription = new TBoundedMemo(static_cast<int>(TInGlobSettings::kMaxDescription), tsGeneral);
    memoDescription->setObjectName("memoDescription");
    memoDescription->setLineWrapMode(QPlainTextEdit::NoWrap);
    cbCalcQuality = new QComboBox(tsGeneral);
    cbCalcQuality->setObjectName("cbCalcQuality");
    cbCalcQuality->addItems({"11025 Hz", "22050 Hz", "44100 Hz"});
    seGlobalDetuneOctave = new QSpinBox(tsGeneral);
    seGlobalDetuneOctave->setObjectName("seGlobalDetuneOctave");
    seGlobalDetuneOctave->setRange(-5, 5);
    seGlobalDetuneNote = new QSpinBox(tsGeneral);
    seGlobalDetuneNote->setObjectName("seGlobalDetuneNote");
    seGlobalDetuneNote->setRange(-11, 11);
    g->addWidget(new QLabel("Description:"), 0, 0, 1, 2);
    g->addWidget(memoDescription, 1, 0, 1, 2);
    g->addWidget(new QLabel("Calculation quality:"), 2, 0);
    g->addWidget(cbCalcQuality, 2, 1);
    g->addWidget(new QLabel("Global detune, octaves:"), 3, 0);
    g->addWidget(seGlobalDetuneOctave, 3, 1);
    g->addWidget(new QLabel("Global detune, notes:"), 4, 0);
    g->addWidget(seGlobalDetuneNote, 4, 1);
  }
  // Only the person's edits arrive here: the program fills the memo with its
  // signals blocked, so a load, a reset or a refresh marks nothing.
  connect(memoDescription, &QPlainTextEdit::textChanged, this, [this] {
    std::vector<std::string> lines;
    for (const QString& line : memoDescription->Text().split('\n'))
      lines.push_back(ToWindows1252(line));
    settings_.EditDescription(std::move(lines));
  });
  connect(cbCalcQuality, &QComboBox::currentIndexChanged, this,
          [this](int i) { settings_.SelectQuality(i); });
  connect(seGlobalDetuneOctave, &QSpinBox::valueChanged, this,
          [this](int v) { settings_.SetDetuneOctave(v); });
  connect(seGlobalDetuneNote, &QSpinBox::valueChanged, this,
          [this](int v) { settings_.SetDetuneNote(v); });

  // Effects: the six check boxes, the order list and its buttons.
  tsEffects = Page(pcInGlob, "tsEffects");
  {
    auto* h = new QHBoxLayout(tsEffects);
    auto* boxes = new QVBoxLayout;
    QCheckBox** targets[6] = {&cbEQ, &cbDistortion, &cbVolume, &cbLowpass, &cbMaximize, &cbFade};
    const char* names[6] = {"cbEQ", "cbDistortion", "cbVolume", "cbLowpass", "cbMaximize", "cbFade"};
    for (int k = 0; k < 6; ++k) {
      auto* box = new QCheckBox(kEffectNames[k], tsEffects);
      box->setObjectName(names[k]);
      *targets[k] = box;
      boxes->addWidget(box);
      const char letter = TInGlobSettings::kEffectLetters[k];
      connect(box, &QCheckBox::clicked, this,
              [this, letter](bool on) { settings_.SetEffectEnabled(letter, on); });
    }
    boxes->addStretch();
    lbEffectRouting = new QListWidget(tsEffects);
    lbEffectRouting->setObjectName("lbEffectRouting");
    bMoveUp = Button(tsEffects, "bMoveUp", "Move &Up");
    bMoveUp->setToolTip("exchange the selected item with the previous one");
    bMoveDown = Button(tsEffects, "bMoveDown", "Move &Down");
    bMoveDown->setToolTip("exchange the selected item with the next one");
    auto* order = new QVBoxLayout;
    order->addWidget(lbEffectRouting);
    order->addWidget(bMoveUp);
    order->addWidget(bMoveDown);
    h->addLayout(boxes);
    h->addLayout(order);
  }
  connect(bMoveUp, &QPushButton::clicked, this, [this] {
    const int moved = settings_.MoveEffectUp(lbEffectRouting->currentRow());
    lbEffectRouting->setCurrentRow(moved);
  });
  connect(bMoveDown, &QPushButton::clicked, this, [this] {
    const int moved = settings_.MoveEffectDown(lbEffectRouting->currentRow());
    lbEffectRouting->setCurrentRow(moved);
  });

  // Graphic EQ.
  tsEQ = Page(pcInGlob, "tsEQ");
  {
    auto* g = new QGridLayout(tsEQ);
    for (int k = 0; k < 10; ++k) {
      const std::string name = "sbEQ" + std::to_string(k + 1);
      sbEQ[k] = VerticalBar(tsEQ, name.c_str(), -60, 60);
      g->addWidget(sbEQ[k], 0, k, Qt::AlignHCenter);
      g->addWidget(new QLabel(kBandNames[k]), 1, k, Qt::AlignHCenter);
      const int band = k + 1;
      connect(sbEQ[k], &QScrollBar::valueChanged, this,
              [this, band](int p) { settings_.SetEqPosition(band, p); });
      AddPresets(sbEQ[k], DbItems({60, 30, 24, 18, 12, 6, 3, 0, -3, -6, -12, -18, -24, -30, -60}),
                 [this, band](int db) { settings_.SetEqPosition(band, -db); });
    }
    bEQInit = Button(tsEQ, "bEQInit", "I&nit");
    bEQMem = Button(tsEQ, "bEQMem", "Mem");
    g->addWidget(bEQInit, 2, 0, 1, 2);
    g->addWidget(bEQMem, 2, 2, 1, 2);
  }
  pumEQMem = new QMenu(this);
  pumEQMem->setObjectName("pumEQMem");
  {
    struct Kind { const char* caption; TEqMemory kind; int first, last; };
    const Kind kinds[] = {{"Lowpass", TEqMemory::Lowpass, 1, 9},
                          {"Bandpass (narrow)", TEqMemory::BandpassNarrow, 1, 10},
                          {"Bandpass (wide)", TEqMemory::BandpassWide, 1, 10},
                          {"Highpass", TEqMemory::Highpass, 2, 10}};
    for (const Kind& kind : kinds) {
      QMenu* sub = pumEQMem->addMenu(kind.caption);
      for (int k = kind.first; k <= kind.last; ++k) {
        const TEqMemory which = kind.kind;
        connect(sub->addAction(kBandNames[k - 1]), &QAction::triggered, this,
                [this, which, k] { settings_.ApplyEqMemory(which, k); });
      }
    }
  }
  connect(bEQInit, &QPushButton::clicked, this, [this] { settings_.EqInit(); });
  connect(bEQMem, &QPushButton::clicked, this, [this] { bEQMemClick(); });

  // Distortion.
  tsDistortion = Page(pcInGlob, "tsDistortion");
  {
    auto* g = new QGridLayout(tsDistortion);
    QScrollBar** bars[4] = {&sbDistortionDry, &sbDistortionDistorted, &sbDistortionThreshold,
                            &sbDistortionClamp};
    QLabel** labels[4] = {&lDistortionDry, &lDistortionDistorted, &lDistortionThreshold,
                          &lDistortionClamp};
    const char* barNames[4] = {"sbDistortionDry", "sbDistortionDistorted", "sbDistortionThreshold",
                               "sbDistortionClamp"};
    const char* labelNames[4] = {"lDistortionDry", "lDistortionDistorted", "lDistortionThreshold",
                                 "lDistortionClamp"};
    const char* captions[4] = {"Dry", "Distorted", "Threshold", "Clamp"};
    for (int k = 0; k < 4; ++k) {
      *bars[k] = VerticalBar(tsDistortion, barNames[k], 0, 60);
      *labels[k] = Label(tsDistortion, labelNames[k]);
      g->addWidget(new QLabel(captions[k]), 0, k, Qt::AlignHCenter);
      g->addWidget(*bars[k], 1, k, Qt::AlignHCenter);
      g->addWidget(*labels[k], 2, k, Qt::AlignHCenter);
      const auto slider = static_cast<TDistortionSlider>(k);
      connect(*bars[k], &QScrollBar::valueChanged, this,
              [this, slider](int p) { settings_.SetDistortionPosition(slider, p); });
      AddPresets(*bars[k], DbItems({0, -3, -6, -9, -12, -15, -18, -24, -30, -60}),
                 [this, slider](int db) { settings_.SetDistortionPosition(slider, -db); });
    }
    pbDistortion = new TDistortionCurveBox(tsDistortion, settings_);
    g->addWidget(pbDistortion, 0, 4, 3, 1);
    bDistortionTC = Button(tsDistortion, "bDistortionTC", "T = C");
    bDistortionTC->setCheckable(true);
    bDistortionInit = Button(tsDistortion, "bDistortionInit", "I&nit");
    bDistortionMem = Button(tsDistortion, "bDistortionMem", "Mem");
    g->addWidget(bDistortionTC, 3, 2, 1, 2);
    g->addWidget(bDistortionInit, 3, 0);
    g->addWidget(bDistortionMem, 3, 1);
  }
  pumDistortionMem = new QMenu(this);
  pumDistortionMem->setObjectName("pumDistortionMem");
  {
    struct Entry { const char* caption; int clampDb; bool clampIsThreshold; };
    const Entry families[] = {{"Limiter", 0, true},
                              {"Set To Maximum Above", 0, false},
                              {"Set To Minimum Above", -60, false}};
    for (const Entry& e : families) {
      QMenu* sub = pumDistortionMem->addMenu(e.caption);
      for (int x : {-3, -6, -9, -12, -18, -24, -30}) {
        const int clampDb = e.clampIsThreshold ? x : e.clampDb;
        connect(sub->addAction(QString("%1 dB").arg(x)), &QAction::triggered, this,
                [this, x, clampDb] { settings_.ApplyDistortionMemory(-60, 0, x, clampDb); });
      }
    }
    struct Fixed { const char* caption; int dry, distorted, threshold, clamp; };
    const Fixed fixed[] = {{"Dirty", -6, 0, -6, -6}, {"Fuzz", -3, 0, -12, -60}, {"Grunge", -60, 0, -12, 0}};
    for (const Fixed& f : fixed)
      connect(pumDistortionMem->addAction(f.caption), &QAction::triggered, this, [this, f] {
        settings_.ApplyDistortionMemory(f.dry, f.distorted, f.threshold, f.clamp);
      });
  }
  connect(bDistortionTC, &QPushButton::toggled, this, [this](bool down) { settings_.SetLink(down); });
  connect(bDistortionInit, &QPushButton::clicked, this, [this] { settings_.DistortionInit(); });
  connect(bDistortionMem, &QPushButton::clicked, this, [this] { bDistortionMemClick(); });

  // Volume.
  tsVolume = Page(pcInGlob, "tsVolume");
  {
    auto* g = new QGridLayout(tsVolume);
    sbVolume = VerticalBar(tsVolume, "sbVolume", -60, 60);
    lVolume = Label(tsVolume, "lVolume");
    bVolumeInit = Button(tsVolume, "bVolumeInit", "I&nit");
    g->addWidget(sbVolume, 0, 0, Qt::AlignHCenter);
    g->addWidget(lVolume, 1, 0, Qt::AlignHCenter);
    g->addWidget(bVolumeInit, 2, 0);
    AddPresets(sbVolume, DbItems({60, 30, 24, 18, 12, 6, 3, 0, -3, -6, -12, -18, -24, -30, -60}),
               [this](int db) { settings_.SetVolumePosition(-db); });
  }
  connect(sbVolume, &QScrollBar::valueChanged, this, [this](int p) { settings_.SetVolumePosition(p); });
  connect(bVolumeInit, &QPushButton::clicked, this, [this] { settings_.VolumeInit(); });

  // Lowpass.
  tsLowpass = Page(pcInGlob, "tsLowpass");
  {
    auto* g = new QGridLayout(tsLowpass);
    const char* names[6] = {"rbLowpass6", "rbLowpass12", "rbLowpass18",
                            "rbLowpass24", "rbLowpass36", "rbLowpassInf"};
    const char* captions[6] = {"6 dB", "12 dB", "18 dB", "24 dB", "36 dB", "infinite"};
    auto* slopes = new QGroupBox("Slope", tsLowpass);
    auto* sv = new QVBoxLayout(slopes);
    for (int k = 0; k < 6; ++k) {
      rbLowpass[k] = new QRadioButton(captions[k], slopes);
      rbLowpass[k]->setObjectName(names[k]);
      sv->addWidget(rbLowpass[k]);
      connect(rbLowpass[k], &QRadioButton::toggled, this, [this, k](bool on) {
        if (on) settings_.SetSlope(k);
      });
    }
    sbLowpassCF = VerticalBar(tsLowpass, "sbLowpassCF", 20, 22050);
    sbLowpassCF->setPageStep(100);
    lLowpassCF = Label(tsLowpass, "lLowpassCF");
    sbLowpassResonance = VerticalBar(tsLowpass, "sbLowpassResonance", 0, 60);
    lLowpassResonance = Label(tsLowpass, "lLowpassResonance");
    g->addWidget(slopes, 0, 0, 2, 1);
    g->addWidget(new QLabel("Cut-off"), 0, 1, Qt::AlignHCenter);
    g->addWidget(sbLowpassCF, 1, 1, Qt::AlignHCenter);
    g->addWidget(lLowpassCF, 2, 1, Qt::AlignHCenter);
    g->addWidget(new QLabel("Resonance"), 0, 2, Qt::AlignHCenter);
    g->addWidget(sbLowpassResonance, 1, 2, Qt::AlignHCenter);
    g->addWidget(lLowpassResonance, 2, 2, Qt::AlignHCenter);
    std::vector<std::pair<QString, int>> cutOffs;
    for (int hz : {20, 50, 75, 100, 150, 200, 250, 300, 400, 500, 750})
      cutOffs.emplace_back(QString("%1 Hz").arg(hz), hz);
    for (int khz : {1, 2, 4}) cutOffs.emplace_back(QString("%1 kHz").arg(khz), khz * 1000);
    AddPresets(sbLowpassCF, cutOffs, [this](int hz) { settings_.SetCutOffFrequency(hz); });
    std::vector<std::pair<QString, int>> resonances;
    for (int db : {60, 30, 24, 18, 12, 9, 6, 3, 0}) resonances.emplace_back(QString("%1 dB").arg(db), db);
    AddPresets(sbLowpassResonance, resonances,
               [this](int db) { settings_.SetResonancePosition(60 - db); });
  }
  connect(sbLowpassCF, &QScrollBar::valueChanged, this,
          [this](int p) { settings_.SetCutOffPosition(p); });
  connect(sbLowpassResonance, &QScrollBar::valueChanged, this,
          [this](int p) { settings_.SetResonancePosition(p); });

  // Maximize and fade.
  tsMaximize = Page(pcInGlob, "tsMaximize");
  (new QVBoxLayout(tsMaximize))->addWidget(new QLabel("No settings."));
  tsFade = Page(pcInGlob, "tsFade");
  {
    auto* g = new QGridLayout(tsFade);
    seFadeIn = new QSpinBox(tsFade);
    seFadeIn->setObjectName("seFadeIn");
    seFadeOut = new QSpinBox(tsFade);
    seFadeOut->setObjectName("seFadeOut");
    std::vector<std::pair<QString, int>> fades;
    for (int ms : {5, 10, 20, 50, 100, 200, 500}) fades.emplace_back(QString("%1 ms").arg(ms), ms);
    fades.emplace_back("1 s", 1000);
    for (QSpinBox* se : {seFadeIn, seFadeOut}) {
      se->setRange(0, 65535);
      se->setSingleStep(10);
    }
    AddPresets(seFadeIn, fades, [this](int ms) { settings_.SetFadeIn(ms); });
    AddPresets(seFadeOut, fades, [this](int ms) { settings_.SetFadeOut(ms); });
    g->addWidget(new QLabel("Fade in (ms):"), 0, 0);
    g->addWidget(seFadeIn, 0, 1);
    g->addWidget(new QLabel("Fade out (ms):"), 1, 0);
    g->addWidget(seFadeOut, 1, 1);
  }
  connect(seFadeIn, &QSpinBox::valueChanged, this, [this](int v) { settings_.SetFadeIn(v); });
  connect(seFadeOut, &QSpinBox::valueChanged, this, [this](int v) { settings_.SetFadeOut(v); });

  pcInGlob->addTab(tsGeneral, "General");
  pcInGlob->addTab(tsEffects, "Effects");
  // The window is as large as its largest page needs, whichever effect
  // pages the order shows: a page that comes in later never finds its
  // labels and buttons squeezed.
  {
    QWidget* pages[6] = {tsEQ, tsDistortion, tsVolume, tsLowpass, tsMaximize, tsFade};
    for (int k = 0; k < 6; ++k) pcInGlob->addTab(pages[k], kEffectNames[k]);
    pcInGlob->tabBar()->setUsesScrollButtons(false);  // every tab in full view
    pcInGlob->setMinimumSize(pcInGlob->sizeHint());
    while (pcInGlob->count() > 2) pcInGlob->removeTab(2);
  }
  {
    QSignalBlocker block(bDistortionTC);
    bDistortionTC->setChecked(settings_.LinkDown());
  }
}

void TfInGlob::bEQMemClick() { pumEQMem->popup(bEQMem->mapToGlobal(QPoint(30, 50))); }

void TfInGlob::bDistortionMemClick() {
  pumDistortionMem->popup(bDistortionMem->mapToGlobal(QPoint(30, 50)));
}

void TfInGlob::ShowEffectPages() {
  const std::string& order = settings_.GetEffectOrder();
  if (order == shownPages_) return;
  shownPages_ = order;
  QWidget* pages[6] = {tsEQ, tsDistortion, tsVolume, tsLowpass, tsMaximize, tsFade};
  QWidget* current = pcInGlob->currentWidget();
  while (pcInGlob->count() > 2) pcInGlob->removeTab(2);
  for (char c : order) {
    const int k = c - 'a';
    pcInGlob->addTab(pages[k], kEffectNames[k]);
  }
  if (pcInGlob->indexOf(current) >= 0) pcInGlob->setCurrentWidget(current);
}

void TfInGlob::FillEffectOrderList() {
  const std::string& order = settings_.GetEffectOrder();
  const int row = lbEffectRouting->currentRow();
  QSignalBlocker block(lbEffectRouting);
  lbEffectRouting->clear();
  for (char c : order) lbEffectRouting->addItem(kEffectNames[c - 'a']);
  if (row >= 0 && row < lbEffectRouting->count()) lbEffectRouting->setCurrentRow(row);
}

void TfInGlob::ShowSettings() {
  const char sep = DecimalSeparator();
  auto level = [sep](int db, float factor) {
    return QString::fromStdString(std::to_string(db) + " dB / " +
                                  TInGlobSettings::Percentage(factor, sep) + " %");
  };

  // Description: only when it differs, so typing keeps the cursor.
  QString description;
  for (std::size_t i = 0; i < settings_.Description.size(); ++i) {
    if (i) description += '\n';
    description += FromWindows1252(settings_.Description[i]);
  }
  if (memoDescription->Text() != description) {
    QSignalBlocker block(memoDescription);
    memoDescription->setPlainText(description);
  }

  {
    QSignalBlocker b1(cbCalcQuality), b2(seGlobalDetuneOctave), b3(seGlobalDetuneNote);
    cbCalcQuality->setCurrentIndex(settings_.GetQuality());
    seGlobalDetuneOctave->setValue(settings_.GetGlobalDetune().first);
    seGlobalDetuneNote->setValue(settings_.GetGlobalDetune().second);
  }

  QCheckBox* boxes[6] = {cbEQ, cbDistortion, cbVolume, cbLowpass, cbMaximize, cbFade};
  for (int k = 0; k < 6; ++k) {
    QSignalBlocker block(boxes[k]);
    boxes[k]->setChecked(settings_.EffectEnabled(TInGlobSettings::kEffectLetters[k]));
  }
  FillEffectOrderList();
  ShowEffectPages();

  const auto& eq = settings_.GetEqFactorTable();
  for (int k = 0; k < 10; ++k) {
    QSignalBlocker block(sbEQ[k]);
    sbEQ[k]->setValue(settings_.EqPosition(k + 1));
    sbEQ[k]->setEnabled(settings_.EqBandEnabled(k + 1));
    sbEQ[k]->setToolTip(level(-settings_.EqPosition(k + 1), eq[k]));
  }

  const TDistortionFactors df = settings_.GetDistortionFactors();
  const float dFactors[4] = {df.Dry, df.Distorted, df.Threshold, df.Clamp};
  QScrollBar* bars[4] = {sbDistortionDry, sbDistortionDistorted, sbDistortionThreshold,
                         sbDistortionClamp};
  QLabel* labels[4] = {lDistortionDry, lDistortionDistorted, lDistortionThreshold, lDistortionClamp};
  for (int k = 0; k < 4; ++k) {
    const int p = settings_.DistortionPosition(static_cast<TDistortionSlider>(k));
    QSignalBlocker block(bars[k]);
    bars[k]->setValue(p);
    labels[k]->setText(QString("%1 dB").arg(-p));
    bars[k]->setToolTip(level(-p, dFactors[k]));
  }
  {
    QSignalBlocker block(bDistortionTC);
    bDistortionTC->setChecked(settings_.LinkDown());
  }
  DrawDistortionCurve();

  {
    QSignalBlocker block(sbVolume);
    sbVolume->setValue(settings_.VolumePosition());
  }
  lVolume->setText(QString("%1 dB").arg(-settings_.VolumePosition()));
  sbVolume->setToolTip(level(-settings_.VolumePosition(), settings_.GetVolumeFactor()));

  const TLowpassFactors lf = settings_.GetLowpassFactors();
  for (int k = 0; k < 6; ++k) {
    QSignalBlocker block(rbLowpass[k]);
    rbLowpass[k]->setChecked(k == settings_.SlopeIndex());
  }
  {
    QSignalBlocker b1(sbLowpassCF), b2(sbLowpassResonance);
    sbLowpassCF->setRange(20, settings_.CutOffMax());
    sbLowpassCF->setValue(settings_.CutOffPosition());
    sbLowpassResonance->setValue(settings_.ResonancePosition());
  }
  lLowpassCF->setText(QString::fromStdString(TInGlobSettings::CutOffText(lf.CutOff, sep)));
  lLowpassResonance->setText(QString("%1 dB").arg(60 - settings_.ResonancePosition()));
  sbLowpassResonance->setToolTip(level(60 - settings_.ResonancePosition(), lf.Resonance));

  {
    QSignalBlocker b1(seFadeIn), b2(seFadeOut);
    seFadeIn->setValue(settings_.GetFade().first);
    seFadeOut->setValue(settings_.GetFade().second);
  }
}
