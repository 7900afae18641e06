#include "windows/WaveGen.h"

#include "windows/EnvelopeEditors.h"
#include "windows/Managers.h"
#include "windows/PresetWindows.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <random>

#include "components/LrsBmp.h"
#include "platform/Prompts.h"
#include "views/Colors.h"
#include "views/PaintBox.h"
#include "views/SingleLineField.h"
#include "views/Windows1252.h"
#include "windows/Main.h"
#include "windows/dialogs/VoiceDialogs.h"

namespace {

// A list holds a table's names in table order.
template <class Table>
void AddNames(QComboBox* c, const Table& table) {
  c->clear();
  for (const auto& e : table.Entries()) c->addItem(FromWindows1252(e.Name));
}

// The table operations already move each voice with its entry; the list
// keeps that entry and falls back to entry 1 only when it is gone.
template <class Table>
void SelectEntry(QComboBox* c, const Table& table, std::uint8_t& entry) {
  if (entry < 1 || entry > table.Count()) entry = 1;
  c->setCurrentIndex(table.Count() ? entry - 1 : -1);
}

template <class W>
W* Named(W* w, const char* name) {
  w->setObjectName(name);
  return w;
}

QIcon Mark(bool lit) {
  QPixmap pm(10, 10);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(lit ? QColor(255, 0, 0) : QColor(64, 0, 0));
  p.setPen(Qt::black);
  p.drawEllipse(1, 1, 8, 8);
  return QIcon(pm);
}

QImage Arrow(bool up) {
  QImage img(24, 24, QImage::Format_RGB32);
  img.fill(QColor(0xC0, 0xC0, 0xC0));
  QPainter p(&img);
  p.setBrush(Qt::black);
  const QPolygon tri = up ? QPolygon({QPoint(12, 3), QPoint(21, 20), QPoint(3, 20)})
                          : QPolygon({QPoint(3, 3), QPoint(21, 3), QPoint(12, 20)});
  p.drawPolygon(tri);
  return img;
}

void Polyline(QImage& img, const std::vector<TPoint>& pts) {
  img.fill(QColor(0xC0, 0xC0, 0xC0));
  QPainter p(&img);
  p.setPen(Qt::black);
  for (std::size_t i = 1; i < pts.size(); ++i) p.drawLine(pts[i - 1].x, pts[i - 1].y, pts[i].x, pts[i].y);
  if (pts.size() == 1) p.drawPoint(pts[0].x, pts[0].y);
}

// The editor's drawings keep the sizes their point formulas are made for.
TPaintBox* FixedPaintBox(const char* name, int w, int h, QWidget* parent) {
  auto* box = new TPaintBox(parent, name);
  box->setFixedSize(w, h);
  box->NewPicture(clSilver);
  return box;
}

}  // namespace

TVoice& TfWaveGen::V() { return main_.Document().Voice(main_.Document().CurrentVoice); }

QScrollBar* TfWaveGen::Bar(int step, int min, int max, int page, QLabel*& label, const char* name,
                           const char* labelName) {
  auto* b = Named(new QScrollBar(Qt::Horizontal, this), name);
  b->setRange(min, max);
  b->setPageStep(page);
  b->setMinimumWidth(160);
  label = Named(new QLabel(this), labelName);
  label->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("-888 %")) + 4);
  barSteps_[b] = step;
  connect(b, &QScrollBar::valueChanged, this, [this, step](int v) { EditInt(step, v); });
  return b;
}

TfWaveGen::TfWaveGen(TfMain& main, QWidget* parent) : QWidget(parent), main_(main) {
  setObjectName("fWaveGen");
  setWindowTitle(QStringLiteral("Wave Generation"));
  auto engine = std::make_shared<std::mt19937>(12345);
  Random = [engine] { return std::uniform_int_distribution<int>(0, 148)(*engine); };
  TInstrumentDocument& doc = main_.Document();
  for (int n = 1; n <= TInstrumentDocument::kVoices; ++n) doc.ResetVoice(n);
  doc.Voice(1).Active = true;

  auto* top = new QVBoxLayout(this);
  Notebook = Named(new QStackedWidget(this), "Notebook");
  top->addWidget(Notebook);

  // --- General
  auto* general = new QWidget;
  auto* g = new QGridLayout(general);
  cbActive = Named(new QCheckBox(QStringLiteral(" Voice active"), general), "cbActive");
  g->addWidget(cbActive, 0, 0, 1, 3);
  g->addWidget(new QLabel(QStringLiteral("Name:")), 1, 0);
  ePartName = Named(new QLineEdit(general), "ePartName");
  BoundCharacters(ePartName, static_cast<int>(TVoice::kMaxName));
  g->addWidget(ePartName, 1, 1, 1, 2);
  g->addWidget(new QLabel(QStringLiteral("Note:")), 2, 0);
  cbKey = Named(new QComboBox(general), "cbKey");
  for (int i = 0; i < TInstrumentDocument::kNotes; ++i) cbKey->addItem(QString::fromStdString(NoteName(i)));
  cbKey->setMaxVisibleItems(13);
  g->addWidget(cbKey, 2, 1);
  bFrequency = Named(new QPushButton(general), "bFrequency");
  bFrequency->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("8888.88")) + 24);
  bFrequency->setToolTip(QStringLiteral("set the frequency"));
  g->addWidget(bFrequency, 2, 2);
  g->addWidget(new QLabel(QStringLiteral("Finetune:")), 3, 0);
  sbFTune = Bar(stFinetune, 0, 100, 10, lFTune, "sbFTune", "lFTune");
  g->addWidget(sbFTune, 3, 1);
  g->addWidget(lFTune, 3, 2);
  g->setRowStretch(4, 1);
  Notebook->addWidget(general);

  // --- Source
  auto* source = new QWidget;
  auto* s = new QGridLayout(source);
  cbS = Named(new QComboBox(source), "cbS");
  cbD = Named(new QComboBox(source), "cbD");
  cbNoiseS = Named(new QCheckBox(QStringLiteral("Noise"), source), "cbNoiseS");
  cbNoiseD = Named(new QCheckBox(QStringLiteral("Noise"), source), "cbNoiseD");
  pbS = FixedPaintBox("pbS", 75, 75, source);
  pbD = FixedPaintBox("pbD", 75, 75, source);
  pbU = FixedPaintBox("pbU", 150, 150, source);
  bCopyPresetSD = Named(new QPushButton(QStringLiteral(">"), source), "bCopyPresetSD");
  bCopyPresetSD->setToolTip(QStringLiteral("copy the Source preset to the Destination preset"));
  bCopyPresetDS = Named(new QPushButton(QStringLiteral("<"), source), "bCopyPresetDS");
  bCopyPresetDS->setToolTip(QStringLiteral("copy the Destination preset to the Source preset"));
  s->addWidget(new QLabel(QStringLiteral("Source:")), 0, 0);
  s->addWidget(cbS, 1, 0);
  s->addWidget(cbNoiseS, 2, 0);
  s->addWidget(pbS, 3, 0);
  auto* copies = new QVBoxLayout;
  copies->addWidget(bCopyPresetSD);
  copies->addWidget(bCopyPresetDS);
  s->addLayout(copies, 3, 1);
  s->addWidget(new QLabel(QStringLiteral("Destination:")), 0, 2);
  s->addWidget(cbD, 1, 2);
  s->addWidget(cbNoiseD, 2, 2);
  s->addWidget(pbD, 3, 2);
  s->addWidget(new QLabel(QStringLiteral("Morphing preview control:")), 0, 3, 1, 2);
  s->addWidget(pbU, 1, 3, 3, 2);
  sbU = Bar(stMorphPreview, 0, 100, 10, lPercent, "sbU", "lPercent");
  s->addWidget(sbU, 4, 3);
  s->addWidget(lPercent, 4, 4);
  auto spin = [&](const char* name, int min, int max, int stepSize) {
    auto* e = Named(new QSpinBox(source), name);
    e->setRange(min, max);
    e->setSingleStep(stepSize);
    return e;
  };
  seTime = spin("seTime", 10, 65535, 10);
  seRepeats = spin("seRepeats", 1, 65535, 1);
  seStartDel = spin("seStartDel", 0, 999999, 10);
  s->addWidget(new QLabel(QStringLiteral("Length (ms):")), 5, 0);
  s->addWidget(seTime, 5, 1, 1, 2);
  s->addWidget(new QLabel(QStringLiteral("# Repeats:")), 6, 0);
  s->addWidget(seRepeats, 6, 1, 1, 2);
  s->addWidget(new QLabel(QStringLiteral("Start delay (ms):")), 7, 0);
  s->addWidget(seStartDel, 7, 1, 1, 2);
  lTotalLength = Named(new QLabel(source), "lTotalLength");
  lTotalLength->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("8888888888 ms")));
  s->addWidget(lTotalLength, 8, 1, 1, 2);
  rbRepL = Named(new QRadioButton(QStringLiteral(" --->"), source), "rbRepL");
  rbRepP = Named(new QRadioButton(QStringLiteral("<-->"), source), "rbRepP");
  s->addWidget(rbRepL, 5, 3);
  s->addWidget(rbRepP, 6, 3);
  s->addWidget(new QLabel(QStringLiteral("Phase:")), 7, 3);
  sbPhase = Bar(stPhase, 0, 149, 10, lPhase, "sbPhase", "lPhase");
  s->addWidget(sbPhase, 8, 3);
  s->addWidget(lPhase, 8, 4);
  auto* srcButtons = new QHBoxLayout;
  bEditWaveFree = Named(new QPushButton(QStringLiteral("&Free"), source), "bEditWaveFree");
  bAddSynth = Named(new QPushButton(QStringLiteral("&Add. Synth"), source), "bAddSynth");
  bManageWave = Named(new QPushButton(QStringLiteral("Mana&ge"), source), "bManageWave");
  for (auto* b : {bEditWaveFree, bAddSynth, bManageWave}) srcButtons->addWidget(b);
  s->addLayout(srcButtons, 9, 0, 1, 5);
  Notebook->addWidget(source);

  // --- Volume
  auto* volume = new QWidget;
  auto* vl = new QGridLayout(volume);
  vl->addWidget(new QLabel(QStringLiteral("Volume:")), 0, 0);
  sbVolume = Bar(stVolume, 0, 100, 10, lVolume, "sbVolume", "lVolume");
  vl->addWidget(sbVolume, 0, 1);
  vl->addWidget(lVolume, 0, 2);
  vl->addWidget(new QLabel(QStringLiteral("Envelope:")), 1, 0);
  cbV = Named(new QComboBox(volume), "cbV");
  vl->addWidget(cbV, 1, 1, 1, 2);
  pbV = FixedPaintBox("pbV", 317, 161, volume);
  vl->addWidget(pbV, 2, 0, 1, 3);
  auto* volButtons = new QHBoxLayout;
  bVolumeEditFree = Named(new QPushButton(QStringLiteral("&Free"), volume), "bVolumeEditFree");
  bADSR = Named(new QPushButton(QStringLiteral("&ADSR"), volume), "bADSR");
  bManageEnvelopes = Named(new QPushButton(QStringLiteral("Mana&ge"), volume), "bManageEnvelopes");
  for (auto* b : {bVolumeEditFree, bADSR, bManageEnvelopes}) volButtons->addWidget(b);
  vl->addLayout(volButtons, 3, 0, 1, 3);
  Notebook->addWidget(volume);

  // --- Vibrato
  auto* vibrato = new QWidget;
  auto* vb = new QGridLayout(vibrato);
  auto mult = [&](const char* name, int step) {
    auto* c = Named(new QCheckBox(QStringLiteral("x 100"), vibrato), name);
    connect(c, &QCheckBox::toggled, this, [this, step](bool on) { EditInt(step, on); });
    return c;
  };
  auto* gFrom = new QGroupBox(QStringLiteral("Morphing from"), vibrato);
  auto* gf = new QGridLayout(gFrom);
  sbVibratoSpeedF = Bar(stVibSpeedFrom, 0, 250, 10, lVibratoSpeedF, "sbVibratoSpeedF", "lVibratoSpeedF");
  sbVibratoDepthF = Bar(stVibDepthFrom, 0, 250, 10, lVibratoDepthF, "sbVibratoDepthF", "lVibratoDepthF");
  cbVibSpeedFMult = mult("cbVibSpeedFMult", stVibSpeedFromX100);
  cbVibDepthFMult = mult("cbVibDepthFMult", stVibDepthFromX100);
  gf->addWidget(new QLabel(QStringLiteral("Speed:")), 0, 0);
  gf->addWidget(sbVibratoSpeedF, 0, 1);
  gf->addWidget(lVibratoSpeedF, 0, 2);
  gf->addWidget(cbVibSpeedFMult, 0, 3);
  gf->addWidget(new QLabel(QStringLiteral("Depth:")), 1, 0);
  gf->addWidget(sbVibratoDepthF, 1, 1);
  gf->addWidget(lVibratoDepthF, 1, 2);
  gf->addWidget(cbVibDepthFMult, 1, 3);
  auto* gTo = new QGroupBox(QStringLiteral("Morphing to"), vibrato);
  auto* gt = new QGridLayout(gTo);
  sbVibratoSpeedT = Bar(stVibSpeedTo, 0, 250, 10, lVibratoSpeedT, "sbVibratoSpeedT", "lVibratoSpeedT");
  sbVibratoDepthT = Bar(stVibDepthTo, 0, 250, 10, lVibratoDepthT, "sbVibratoDepthT", "lVibratoDepthT");
  cbVibSpeedTMult = mult("cbVibSpeedTMult", stVibSpeedToX100);
  cbVibDepthTMult = mult("cbVibDepthTMult", stVibDepthToX100);
  gt->addWidget(new QLabel(QStringLiteral("Speed:")), 0, 0);
  gt->addWidget(sbVibratoSpeedT, 0, 1);
  gt->addWidget(lVibratoSpeedT, 0, 2);
  gt->addWidget(cbVibSpeedTMult, 0, 3);
  gt->addWidget(new QLabel(QStringLiteral("Depth:")), 1, 0);
  gt->addWidget(sbVibratoDepthT, 1, 1);
  gt->addWidget(lVibratoDepthT, 1, 2);
  gt->addWidget(cbVibDepthTMult, 1, 3);
  auto link = [&](const char* name, const char* text) {
    auto* b = Named(new QToolButton(this), name);
    b->setText(QString::fromUtf8(text));
    b->setCheckable(true);
    return b;
  };
  bVibCopyDown = link("bVibCopyDown", "\xE2\x86\x93 link");
  bVibCopyUp = link("bVibCopyUp", "\xE2\x86\x91 link");
  vb->addWidget(gFrom, 0, 0, 1, 3);
  auto* vibLinks = new QHBoxLayout;
  vibLinks->addWidget(bVibCopyDown);
  vibLinks->addWidget(bVibCopyUp);
  vibLinks->addStretch();
  vb->addLayout(vibLinks, 1, 0, 1, 3);
  vb->addWidget(gTo, 2, 0, 1, 3);
  auto* gDir = new QGroupBox(QStringLiteral("Vibrato frequency"), vibrato);
  auto* gd = new QHBoxLayout(gDir);
  gd->addWidget(new QLabel(QStringLiteral("first")));
  rbVibUp = Named(new QRadioButton(QStringLiteral("Up"), gDir), "rbVibUp");
  rbVibDown = Named(new QRadioButton(QStringLiteral("Down"), gDir), "rbVibDown");
  iVibUp = Named(new TLrsBmp(gDir), "iVibUp");
  iVibUp->SetBitMap(Arrow(true));
  iVibDown = Named(new TLrsBmp(gDir), "iVibDown");
  iVibDown->SetBitMap(Arrow(false));
  for (TLrsBmp* i : {iVibUp, iVibDown}) {
    i->SetTransparentColor(QColor(0xC0, 0xC0, 0xC0));
    i->SetColor(palette().color(QPalette::Window));
    i->setFixedSize(24, 24);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{rbVibUp, rbVibDown, iVibUp, iVibDown}) gd->addWidget(w);
  gd->addStretch();
  vb->addWidget(gDir, 3, 0, 1, 3);
  Notebook->addWidget(vibrato);

  // --- Lowpass
  auto* lowpass = new QWidget;
  auto* lp = new QGridLayout(lowpass);
  cbFilterActive = Named(new QCheckBox(QStringLiteral("Active"), lowpass), "cbFilterActive");
  lp->addWidget(cbFilterActive, 0, 0, 1, 3);
  auto* lFrom = new QGroupBox(QStringLiteral("Morphing from"), lowpass);
  auto* lf = new QHBoxLayout(lFrom);
  sbFilterF = Bar(stFilterFrom, 0, 250, 10, lFilterF, "sbFilterF", "lFilterF");
  lf->addWidget(new QLabel(QStringLiteral("Intensity:")));
  lf->addWidget(sbFilterF);
  lf->addWidget(lFilterF);
  auto* lTo = new QGroupBox(QStringLiteral("Morphing to"), lowpass);
  auto* lt = new QHBoxLayout(lTo);
  sbFilterT = Bar(stFilterTo, 0, 250, 10, lFilterT, "sbFilterT", "lFilterT");
  lt->addWidget(new QLabel(QStringLiteral("Intensity:")));
  lt->addWidget(sbFilterT);
  lt->addWidget(lFilterT);
  bFilterCopyDown = link("bFilterCopyDown", "\xE2\x86\x93 link");
  bFilterCopyUp = link("bFilterCopyUp", "\xE2\x86\x91 link");
  lp->addWidget(lFrom, 1, 0, 1, 3);
  auto* lpLinks = new QHBoxLayout;
  lpLinks->addWidget(bFilterCopyDown);
  lpLinks->addWidget(bFilterCopyUp);
  lpLinks->addStretch();
  lp->addLayout(lpLinks, 2, 0, 1, 3);
  lp->addWidget(lTo, 3, 0, 1, 3);
  lp->setRowStretch(4, 1);
  Notebook->addWidget(lowpass);

  // --- voice tabs, copy and reset, page tabs
  auto* voices = new QGridLayout;
  voices->setSpacing(1);
  tsParts = new QButtonGroup(this);
  tsParts->setObjectName("tsParts");
  for (int i = 0; i < TInstrumentDocument::kVoices; ++i) {
    auto* b = new QToolButton(this);
    b->setObjectName(QStringLiteral("tsParts%1").arg(i + 1));
    b->setCheckable(true);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setToolTip(QStringLiteral("select the voice; if you see a red point, the voice is active"));
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // Room for a default name; longer names are shortened with an ellipsis.
    b->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Voice 32")) + b->iconSize().width() + 28);
    tsParts->addButton(b, i);
    voices->addWidget(b, i / 8, i % 8);
  }
  top->addLayout(voices);
  auto* bottom = new QHBoxLayout;
  bCopyVoice = Named(new QPushButton(QStringLiteral("&Copy"), this), "bCopyVoice");
  bResetVoice = Named(new QPushButton(QStringLiteral("&Reset"), this), "bResetVoice");
  tsWaveGeneration = Named(new QTabBar(this), "tsWaveGeneration");
  for (const char* t : {"General", "Source", "Volume", "Vibrato", "Lowpass"}) tsWaveGeneration->addTab(QString::fromLatin1(t));
  tsWaveGeneration->setExpanding(false);
  bottom->addWidget(bCopyVoice);
  bottom->addWidget(bResetVoice);
  bottom->addWidget(tsWaveGeneration, 1);
  top->addLayout(bottom);

  // --- handlers
  connect(cbActive, &QCheckBox::toggled, this, [this](bool on) { EditInt(stActive, on); });
  connect(cbFilterActive, &QCheckBox::toggled, this, [this](bool on) { EditInt(stFilterActive, on); });
  connect(ePartName, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (refreshing_) return;
    // Qt signals a selection replaced by the same text too: a name whose
    // stored bytes stay as they were is no edit, marked or recorded.
    const std::string name = CutName(ToWindows1252(text), TVoice::kMaxName);
    if (name == V().Name) return ShowStoredName();
    V().Name = name;
    ShowStoredName();
    PaintVoiceTabs();
    main_.SetInstrumentUpToDate(false);
    RecordTextEdit(main_.Document(), recorder_, stName, V().Name);
  });
  connect(cbKey, &QComboBox::currentIndexChanged, this, [this] { ApplyNote(); });
  connect(bFrequency, &QPushButton::clicked, this, [this] { OpenSetFrequency(); });
  connect(cbS, &QComboBox::currentIndexChanged, this, [this](int i) { EditText(stSourcePreset, i); });
  connect(cbD, &QComboBox::currentIndexChanged, this, [this](int i) { EditText(stDestPreset, i); });
  connect(cbV, &QComboBox::currentIndexChanged, this, [this](int i) { EditText(stEnvelope, i); });
  connect(cbNoiseS, &QCheckBox::toggled, this, [this](bool on) { EditInt(stNoiseSource, on); });
  connect(cbNoiseD, &QCheckBox::toggled, this, [this](bool on) { EditInt(stNoiseDest, on); });
  connect(seTime, &QSpinBox::valueChanged, this, [this](int v) { EditInt(stTime, v); });
  connect(seRepeats, &QSpinBox::valueChanged, this, [this](int v) { EditInt(stRepeats, v); });
  connect(seStartDel, &QSpinBox::valueChanged, this, [this](int v) { EditInt(stStartDelay, v); });
  connect(rbRepL, &QRadioButton::clicked, this, [this] { rbRepP->setChecked(!rbRepL->isChecked()); EditInt(stRepeatMode, rbRepP->isChecked()); });
  connect(rbRepP, &QRadioButton::clicked, this, [this] { rbRepL->setChecked(!rbRepP->isChecked()); EditInt(stRepeatMode, rbRepP->isChecked()); });
  connect(rbVibUp, &QRadioButton::clicked, this, [this] { EditInt(stVibDirection, 1); });
  connect(rbVibDown, &QRadioButton::clicked, this, [this] { EditInt(stVibDirection, 0); });
  connect(bCopyPresetSD, &QPushButton::clicked, this, [this] { cbD->setCurrentIndex(cbS->currentIndex()); EditText(stDestPreset, cbD->currentIndex()); });
  connect(bCopyPresetDS, &QPushButton::clicked, this, [this] { cbS->setCurrentIndex(cbD->currentIndex()); EditText(stSourcePreset, cbS->currentIndex()); });
  Link(sbVibratoSpeedF, sbVibratoSpeedT, bVibCopyDown, bVibCopyUp);
  Link(sbVibratoDepthF, sbVibratoDepthT, bVibCopyDown, bVibCopyUp);
  Link(sbFilterF, sbFilterT, bFilterCopyDown, bFilterCopyUp);
  // The "from" x100 boxes follow down the link; the "to" boxes never copy upwards.
  connect(cbVibSpeedFMult, &QCheckBox::toggled, this, [this](bool on) { if (!refreshing_ && bVibCopyDown->isChecked()) cbVibSpeedTMult->setChecked(on); });
  connect(cbVibDepthFMult, &QCheckBox::toggled, this, [this](bool on) { if (!refreshing_ && bVibCopyDown->isChecked()) cbVibDepthTMult->setChecked(on); });
  auto linkState = [this](QToolButton* b, std::function<void(bool)> store, std::function<void()> onPress) {
    connect(b, &QToolButton::clicked, this, [this, store, onPress](bool on) {
      if (refreshing_) return;
      store(on);
      if (on) onPress();
    });
  };
  linkState(bVibCopyDown, [this](bool on) { V().Vibrato.VibCopyDown = on; }, [this] {
    sbVibratoSpeedT->setValue(sbVibratoSpeedF->value());
    sbVibratoDepthT->setValue(sbVibratoDepthF->value());
    cbVibSpeedTMult->setChecked(cbVibSpeedFMult->isChecked());
    cbVibDepthTMult->setChecked(cbVibDepthFMult->isChecked());
  });
  linkState(bVibCopyUp, [this](bool on) { V().Vibrato.VibCopyUp = on; }, [this] {
    sbVibratoSpeedF->setValue(sbVibratoSpeedT->value());
    sbVibratoDepthF->setValue(sbVibratoDepthT->value());
    cbVibSpeedFMult->setChecked(cbVibSpeedTMult->isChecked());
    cbVibDepthFMult->setChecked(cbVibDepthTMult->isChecked());
  });
  linkState(bFilterCopyDown, [this](bool on) { V().Lowpass.FilterCopyDown = on; }, [this] { sbFilterT->setValue(sbFilterF->value()); });
  linkState(bFilterCopyUp, [this](bool on) { V().Lowpass.FilterCopyUp = on; }, [this] { sbFilterF->setValue(sbFilterT->value()); });
  connect(tsParts, &QButtonGroup::idClicked, this, [this](int i) { SelectVoice(i + 1); });
  connect(tsWaveGeneration, &QTabBar::currentChanged, this, [this](int i) {
    const bool upToDate = main_.IsInstrumentUpToDate();
    Notebook->setCurrentIndex(i);
    main_.SetInstrumentUpToDate(upToDate);
  });
  connect(bCopyVoice, &QPushButton::clicked, this, [this] { OpenCopyVoice(); });
  connect(bResetVoice, &QPushButton::clicked, this, [this] { OpenResetVoice(); });
  connect(bEditWaveFree, &QPushButton::clicked, this, [this] { OpenFreeEdit(); });
  connect(bAddSynth, &QPushButton::clicked, this, [this] { OpenAddSynth(); });
  connect(bManageWave, &QPushButton::clicked, this, [this] { OpenWaveManager(); });
  connect(bVolumeEditFree, &QPushButton::clicked, this, [this] { OpenEditVol(); });
  connect(bADSR, &QPushButton::clicked, this, [this] { OpenADSR(); });
  connect(bManageEnvelopes, &QPushButton::clicked, this, [this] { OpenEnvelopeManager(); });

  // --- popups
  auto intSetter = [](QScrollBar* b) { return [b](int v) { b->setValue(v); }; };
  auto fromVoice = [this](int step, std::function<void(int)> set) {
    return [step, set](const TVoice& v) { set(VoiceIntField(step).get(v)); };
  };
  auto add = [&](const std::string& name, QWidget* c, std::vector<std::pair<QString, int>> items, int step,
                 std::function<void(int)> set) { AddPopup(name, c, items, set, fromVoice(step, set)); };
  auto spinSet = [](QSpinBox* e) { return [e](int v) { e->setValue(v); }; };
  add("pumLength", seTime, {{"50 ms", 50}, {"100 ms", 100}, {"250 ms", 250}, {"500 ms", 500}, {"1 s", 1000}, {"2 s", 2000}, {"5 s", 5000}, {"10 s", 10000}}, stTime, spinSet(seTime));
  add("pumRepeats", seRepeats, {{"1", 1}, {"5", 5}, {"10", 10}, {"25", 25}, {"50", 50}, {"100", 100}}, stRepeats, spinSet(seRepeats));
  add("pumStartDel", seStartDel, {{"0 ms", 0}, {"50 ms", 50}, {"100 ms", 100}, {"250 ms", 250}, {"500 ms", 500}, {"1 s", 1000}, {"2 s", 2000}, {"5 s", 5000}}, stStartDelay, spinSet(seStartDel));
  const std::vector<std::pair<QString, int>> quarters{{"0", 0}, {"25", 25}, {"50", 50}, {"75", 75}, {"100", 100}};
  add("pumVolume", sbVolume, quarters, stVolume, intSetter(sbVolume));
  add("pumMPC", sbU, quarters, stMorphPreview, intSetter(sbU));
  add("pumFT", sbFTune, {{"-50", 0}, {"-10", 40}, {"-5", 45}, {"0", 50}, {"5", 55}, {"10", 60}, {"50", 100}}, stFinetune, intSetter(sbFTune));
  add("pumPhase", sbPhase, {{"0", 0}, {"45", 19}, {"90", 38}, {"135", 56}, {"180", 75}, {"225", 94}, {"270", 113}, {"315", 131}, {"359", 149}}, stPhase, intSetter(sbPhase));
  const std::vector<std::pair<QString, int>> vib{{"0", 0}, {"50", 50}, {"100", 100}, {"150", 150}, {"200", 200}, {"250", 250}};
  add("pumVibratoSpeedF", sbVibratoSpeedF, vib, stVibSpeedFrom, intSetter(sbVibratoSpeedF));
  add("pumVibratoDepthF", sbVibratoDepthF, vib, stVibDepthFrom, intSetter(sbVibratoDepthF));
  add("pumVibratoSpeedT", sbVibratoSpeedT, vib, stVibSpeedTo, intSetter(sbVibratoSpeedT));
  add("pumVibratoDepthT", sbVibratoDepthT, vib, stVibDepthTo, intSetter(sbVibratoDepthT));
  const std::vector<std::pair<QString, int>> flt{{"0", 0}, {"10", 10}, {"25", 25}, {"50", 50}, {"75", 75}, {"100", 100}, {"250", 250}};
  add("pumFilterF", sbFilterF, flt, stFilterFrom, intSetter(sbFilterF));
  add("pumFilterT", sbFilterT, flt, stFilterTo, intSetter(sbFilterT));
  AddPopup("pumPartName", ePartName, {{"Default", 0}},
           [this](int) { ePartName->setText(QStringLiteral("%1").arg(main_.Document().CurrentVoice, 2, 10, QLatin1Char('0'))); },
           [this](const TVoice& v) { ePartName->setText(FromWindows1252(v.Name)); });

  FillPresetLists();
  FillEnvelopeLists();
  doc.Voice(doc.CurrentVoice).Morph.MorphPreview = 50;
  tsWaveGeneration->setCurrentIndex(0);
  doc.CurrentVoice = 1;
  DrawPart();
  main_.SetInstrumentUpToDate(true);
}

// The editors and managers are modal; afterwards the lists and drawings
// show what they changed. The main menu opens them through these too.
void TfWaveGen::OpenLibraryWindow(const std::function<void()>& open) {
  open();
  FillPresetLists();
  FillEnvelopeLists();
  DrawPart();
}

int TfWaveGen::CurrentEnvelopeItem() { return std::max(0, V().Volume.Envelope - 1); }

void TfWaveGen::OpenFreeEdit() { OpenLibraryWindow([this] { ShowFreeEdit(main_, this); }); }
void TfWaveGen::OpenAddSynth() { OpenLibraryWindow([this] { ShowAddSynth(main_, this); }); }
void TfWaveGen::OpenWaveManager() { OpenLibraryWindow([this] { ShowWavePresetManager(main_); }); }
void TfWaveGen::OpenEditVol() { OpenLibraryWindow([this] { ShowVolumeEnvelopeEditor(main_, CurrentEnvelopeItem()); }); }
void TfWaveGen::OpenADSR() { OpenLibraryWindow([this] { ShowAdsrEditor(main_, CurrentEnvelopeItem()); }); }
void TfWaveGen::OpenEnvelopeManager() { OpenLibraryWindow([this] { ShowVolumeEnvelopeManager(main_); }); }

void TfWaveGen::OpenSetFrequency() {
  TfSetFrequency d(main_, *this, this);
  d.exec();
}

// After the copy and reset dialogs the editor shows what they did, and the
// sample is out of date whatever the user chose.
void TfWaveGen::OpenCopyVoice() {
  TfCpVoice d(main_, *this, recorder_, this);
  d.exec();
  DrawPart();
  Changed();
}

void TfWaveGen::OpenResetVoice() {
  TfResVoice d(main_, *this, this);
  d.exec();
  DrawPart();
  Changed();
}

void TfWaveGen::Changed() { main_.SetSampleUpToDate(false); }

void TfWaveGen::Link(QScrollBar* from, QScrollBar* to, QToolButton* down, QToolButton* up) {
  connect(from, &QScrollBar::valueChanged, this, [this, to, down](int v) { if (!refreshing_ && down->isChecked()) to->setValue(v); });
  connect(to, &QScrollBar::valueChanged, this, [this, from, up](int v) { if (!refreshing_ && up->isChecked()) from->setValue(v); });
}

void TfWaveGen::EditInt(int step, int value) {
  if (refreshing_) return;
  TInstrumentDocument& doc = main_.Document();
  if (step == stFilterFrom || step == stFilterTo) {
    // The lowpass is on exactly when either bar is away from 0.
    const int other = step == stFilterFrom ? sbFilterT->value() : sbFilterF->value();
    cbFilterActive->setChecked(value != 0 || other != 0);
  }
  const TVoiceIntField& f = VoiceIntField(step);
  const int old = f.get(V());
  f.set(V(), value);
  const int now = f.get(V());
  UpdateLabels();
  switch (step) {
    case stActive: PaintVoiceTabs(); break;
    case stNoiseSource: cbS->setEnabled(!now); DrawPresets(); break;
    case stNoiseDest: cbD->setEnabled(!now); DrawPresets(); break;
    case stPhase: case stMorphPreview: DrawPresets(); break;
    case stVolume: DrawEnvelope(); break;
    case stVibDirection:
      iVibUp->setVisible(!V().Vibrato.VibDirection);
      iVibDown->setVisible(V().Vibrato.VibDirection);
      break;
    default: break;
  }
  if (step != stMorphPreview) Changed();
  if (f.kind == TStepKind::Boolean) RecordBoolEdit(doc, recorder_, step, now != 0);
  else RecordIntEdit(doc, recorder_, step, old, now);
}

void TfWaveGen::EditText(int step, int index) {
  if (refreshing_ || index < 0) return;
  TInstrumentDocument& doc = main_.Document();
  const int entry = index + 1;
  std::string name;  // the step names the entry as the table holds it
  if (step == stEnvelope) {
    V().Volume.Envelope = static_cast<std::uint8_t>(entry);
    DrawEnvelope();
    if (entry <= doc.VolumeEnvelopes.Count()) name = doc.VolumeEnvelopes[entry].Name;
  } else {
    (step == stSourcePreset ? V().Morph.SourcePreset : V().Morph.DestPreset) = static_cast<std::uint8_t>(entry);
    DrawPresets();
    if (entry <= doc.WavePresets.Count()) name = doc.WavePresets[entry].Name;
  }
  Changed();
  RecordTextEdit(doc, recorder_, step, name);
}

void TfWaveGen::ApplyNote() {
  if (refreshing_ || cbKey->currentIndex() < 0) return;
  const int old = V().Pitch.Note;
  V().Pitch.Note = static_cast<std::uint8_t>(cbKey->currentIndex());
  ShowFrequency();
  Changed();
  RecordIntEdit(main_.Document(), recorder_, stNote, old, V().Pitch.Note);
}

void TfWaveGen::ShowFrequency() {
  bFrequency->setText(QString::fromStdString(FormatFrequency(VoiceFrequency(main_.Document().NoteFrequency, V().Pitch.Note, V().Pitch.Finetune))));
}

void TfWaveGen::UpdateLabels() {
  const TVoice& v = V();
  lFTune->setText(QString::number(v.Pitch.Finetune - 50));
  ShowFrequency();
  lPhase->setText(QString::fromUtf8(PhaseLabel(v.Morph.Phase).c_str()));
  lPercent->setText(QStringLiteral("%1 %").arg(v.Morph.MorphPreview));
  lVolume->setText(QStringLiteral("%1 %").arg(v.Volume.Volume));
  lVibratoSpeedF->setText(QString::number(v.Vibrato.VibSpeedFrom));
  lVibratoDepthF->setText(QString::number(v.Vibrato.VibDepthFrom));
  lVibratoSpeedT->setText(QString::number(v.Vibrato.VibSpeedTo));
  lVibratoDepthT->setText(QString::number(v.Vibrato.VibDepthTo));
  lFilterF->setText(QString::number(v.Lowpass.FilterFrom));
  lFilterT->setText(QString::number(v.Lowpass.FilterTo));
  lTotalLength->setText(QString::fromStdString(TotalLengthLabel(v.Timing)));
}

void TfWaveGen::DrawPresets() {
  const TInstrumentDocument& doc = main_.Document();
  const TVoice& v = V();
  TWavePreset empty;
  auto preset = [&](int n) -> const TWavePreset& {
    return n >= 1 && n <= doc.WavePresets.Count() ? doc.WavePresets[n] : empty;
  };
  Polyline(pbS->Picture, PresetPoints(preset(v.Morph.SourcePreset), v.Morph.NoiseSource, Random));
  Polyline(pbD->Picture, PresetPoints(preset(v.Morph.DestPreset), v.Morph.NoiseDest, Random));
  Polyline(pbU->Picture, MorphPoints(preset(v.Morph.SourcePreset), preset(v.Morph.DestPreset), v.Morph, Random));
  for (QWidget* w : {pbS, pbD, pbU}) w->update();
}

void TfWaveGen::DrawEnvelope() {
  const TInstrumentDocument& doc = main_.Document();
  const TVoice& v = V();
  TVolumeEnvelope empty;
  const TVolumeEnvelope& e = v.Volume.Envelope >= 1 && v.Volume.Envelope <= doc.VolumeEnvelopes.Count()
                                 ? doc.VolumeEnvelopes[v.Volume.Envelope] : empty;
  Polyline(pbV->Picture, EnvelopePoints(e, v.Volume.Volume, pbV->width(), pbV->height()));
  pbV->update();
}

void TfWaveGen::PaintVoiceTabs() {
  const TInstrumentDocument& doc = main_.Document();
  for (int i = 0; i < TInstrumentDocument::kVoices; ++i) {
    QAbstractButton* b = tsParts->button(i);
    const TVoice& v = doc.Voice(i + 1);
    const int room = b->minimumWidth() - b->iconSize().width() - 28;
    b->setText(b->fontMetrics().elidedText(FromWindows1252(v.Name), Qt::ElideRight, room));
    b->setIcon(Mark(v.Active));
    b->setChecked(i + 1 == doc.CurrentVoice);
  }
}

// A pure view update: the controls take the voice's values with their
// handlers held off, so nothing is stored back, recorded or marked changed
// and a link button cannot overwrite a stored value.
void TfWaveGen::DrawPart() {
  refreshing_ = true;
  const TVoice& v = V();
  cbS->setCurrentIndex(v.Morph.SourcePreset - 1);
  cbD->setCurrentIndex(v.Morph.DestPreset - 1);
  sbU->setValue(v.Morph.MorphPreview);
  cbNoiseS->setChecked(v.Morph.NoiseSource);
  cbNoiseD->setChecked(v.Morph.NoiseDest);
  cbS->setEnabled(!v.Morph.NoiseSource);
  cbD->setEnabled(!v.Morph.NoiseDest);
  cbActive->setChecked(v.Active);
  ePartName->setText(FromWindows1252(v.Name));
  cbKey->setCurrentIndex(v.Pitch.Note);
  sbFTune->setValue(v.Pitch.Finetune);
  seTime->setValue(v.Timing.Time);
  seRepeats->setValue(v.Timing.Repeats);
  seStartDel->setValue(v.Timing.StartDelay);
  rbRepL->setChecked(!v.Timing.RepeatMode);
  rbRepP->setChecked(v.Timing.RepeatMode);
  sbPhase->setValue(v.Morph.Phase);
  sbVolume->setValue(v.Volume.Volume);
  cbV->setCurrentIndex(v.Volume.Envelope - 1);
  bVibCopyDown->setChecked(v.Vibrato.VibCopyDown);
  bVibCopyUp->setChecked(v.Vibrato.VibCopyUp);
  sbVibratoSpeedF->setValue(v.Vibrato.VibSpeedFrom);
  sbVibratoDepthF->setValue(v.Vibrato.VibDepthFrom);
  sbVibratoSpeedT->setValue(v.Vibrato.VibSpeedTo);
  sbVibratoDepthT->setValue(v.Vibrato.VibDepthTo);
  cbVibSpeedFMult->setChecked(v.Vibrato.VibSpeedFromX100);
  cbVibDepthFMult->setChecked(v.Vibrato.VibDepthFromX100);
  cbVibSpeedTMult->setChecked(v.Vibrato.VibSpeedToX100);
  cbVibDepthTMult->setChecked(v.Vibrato.VibDepthToX100);
  rbVibUp->setChecked(!v.Vibrato.VibDirection);
  rbVibDown->setChecked(v.Vibrato.VibDirection);
  iVibUp->setVisible(!v.Vibrato.VibDirection);
  iVibDown->setVisible(v.Vibrato.VibDirection);
  cbFilterActive->setChecked(v.Lowpass.FilterActive);
  bFilterCopyDown->setChecked(v.Lowpass.FilterCopyDown);
  bFilterCopyUp->setChecked(v.Lowpass.FilterCopyUp);
  sbFilterF->setValue(v.Lowpass.FilterFrom);
  sbFilterT->setValue(v.Lowpass.FilterTo);
  refreshing_ = false;
  UpdateLabels();
  DrawPresets();
  DrawEnvelope();
  PaintVoiceTabs();
}

void TfWaveGen::SelectVoice(int n) {
  TInstrumentDocument& doc = main_.Document();
  const int old = doc.CurrentVoice;
  doc.CurrentVoice = std::clamp(n, 1, TInstrumentDocument::kVoices);
  RecordIntEdit(doc, recorder_, stCurrentVoice, old, doc.CurrentVoice);
  DrawPart();
}

void TfWaveGen::SelectPage(int i) { tsWaveGeneration->setCurrentIndex(i); }

void TfWaveGen::FillPresetLists() {
  const TInstrumentDocument& doc = main_.Document();
  const bool was = refreshing_;
  refreshing_ = true;
  AddNames(cbS, doc.WavePresets);
  AddNames(cbD, doc.WavePresets);
  SelectEntry(cbS, doc.WavePresets, V().Morph.SourcePreset);
  SelectEntry(cbD, doc.WavePresets, V().Morph.DestPreset);
  refreshing_ = was;
  DrawPresets();
}

void TfWaveGen::FillEnvelopeLists() {
  const TInstrumentDocument& doc = main_.Document();
  const bool was = refreshing_;
  refreshing_ = true;
  AddNames(cbV, doc.VolumeEnvelopes);
  SelectEntry(cbV, doc.VolumeEnvelopes, V().Volume.Envelope);
  refreshing_ = was;
  DrawEnvelope();
}

void TfWaveGen::ShowLoadedInstrument() {
  // The voices keep the entries the file gave them.
  const TInstrumentDocument& doc = main_.Document();
  const bool was = refreshing_;
  refreshing_ = true;
  AddNames(cbS, doc.WavePresets);
  AddNames(cbD, doc.WavePresets);
  AddNames(cbV, doc.VolumeEnvelopes);
  refreshing_ = was;
  DrawPart();
}

void TfWaveGen::ShowStoredName() {
  // A character without a Windows-1252 code is kept as '?': show that.
  const QString stored = FromWindows1252(V().Name);
  if (ePartName->text() == stored) return;
  const int at = std::min<int>(ePartName->cursorPosition(), static_cast<int>(stored.size()));
  const bool was = refreshing_;
  refreshing_ = true;
  ePartName->setText(stored);
  ePartName->setCursorPosition(at);
  refreshing_ = was;
}

void TfWaveGen::AddPopup(const std::string& name, QWidget* control, const std::vector<std::pair<QString, int>>& items,
                         std::function<void(int)> set, std::function<void(const TVoice&)> getFrom) {
  auto* menu = new QMenu(control);
  menu->setObjectName(QString::fromStdString(name));
  popups_[name] = menu;
  for (const auto& [caption, value] : items) {
    QAction* a = menu->addAction(caption);
    connect(a, &QAction::triggered, this, [set, value] { set(value); });
  }
  menu->addSeparator();
  QMenu* sub = menu->addMenu(QStringLiteral("Get from ..."));
  for (int i = 0; i < TInstrumentDocument::kVoices; ++i) {
    QAction* a = sub->addAction(QString::number(i));
    connect(a, &QAction::triggered, this, [this, getFrom, i] { getFrom(main_.Document().Voice(i + 1)); });
  }
  connect(menu, &QMenu::aboutToShow, this, [this, menu, sub, name] {
    const auto acts = sub->actions();
    for (int i = 0; i < acts.size() && i < TInstrumentDocument::kVoices; ++i) acts[i]->setText(FromWindows1252(main_.Document().Voice(i + 1).Name));
    if (name == "pumPartName")
      menu->actions().front()->setText(QStringLiteral("Default: %1").arg(main_.Document().CurrentVoice, 2, 10, QLatin1Char('0')));
  });
  control->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(control, &QWidget::customContextMenuRequested, this,
          [menu, control](const QPoint& p) { menu->popup(control->mapToGlobal(p)); });
}

void TfWaveGen::NewInstrument() {
  if (main_.Prompts().confirm("Are you sure?") != 6) return;
  TInstrumentDocument& doc = main_.Document();
  for (int n = 1; n <= TInstrumentDocument::kVoices; ++n) doc.ResetVoice(n);
  doc.Voice(1).Active = true;
  doc.GlobalSettings().ResetDescription();
  doc.GlobalSettings().ResetQuality();
  doc.GlobalSettings().ResetEffects();
  doc.GlobalSettings().ResetGlobalDetune();
  main_.ClearWaveView();
  DrawPart();
  Changed();
  doc.CurrentInstrumentFile.clear();
  main_.setWindowTitle(QString::fromLatin1(kNewInstrumentCaption));
  main_.SetStatus(TDocumentStatus::Ready);
}
