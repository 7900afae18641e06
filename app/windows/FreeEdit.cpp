#include "windows/FreeEdit.h"

#include <chrono>
#include <stdexcept>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/Document.h"
#include "core/Parser.h"
#include "formats/PresetImport.h"
#include "platform/Prompts.h"
#include "platform/qt/LocalPaths.h"
#include "views/PresetCanvas.h"
#include "views/SingleLineField.h"
#include "views/Windows1252.h"
#include "windows/Tools.h"

using kalvora::platform::mrCancel;
using kalvora::platform::mrOk;

namespace {

constexpr const char* kHelpTopic = "preseteditwindows_free";
constexpr const char* kImportFilter = "Text files (*.txt)|*.txt|Wave files (*.wav)|*.wav|All files (*.*)|*.*";
constexpr int kSpectrumWidth = 256, kSpectrumHeight = 65;

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QPushButton(QString::fromLatin1(caption), parent);
  b->setObjectName(name);
  b->setAutoDefault(false);  // Return closes the form, it never presses a button
  return b;
}

QSpinBox* Spin(QWidget* parent, const char* name, int min, int max, int value) {
  auto* s = new QSpinBox(parent);
  s->setObjectName(name);
  s->setRange(min, max);
  s->setValue(value);
  return s;
}

QScrollBar* VerticalBar(QWidget* parent, const char* name, int min, int max, int value, int page) {
  auto* b = new QScrollBar(Qt::Vertical, parent);  // minimum at the top
  b->setObjectName(name);
  b->setRange(min, max);
  b->setValue(value);
  b->setPageStep(page);
  b->setMinimumHeight(110);
  return b;
}

QRadioButton* Radio(QWidget* parent, const char* name, const char* caption) {
  auto* r = new QRadioButton(QString::fromLatin1(caption), parent);
  r->setObjectName(name);
  return r;
}

void Uncheck(QRadioButton* r) {
  r->setAutoExclusive(false);
  r->setChecked(false);
  r->setAutoExclusive(true);
}

}  // namespace

// ---- TfMixWavePreset ----------------------------------------------------------------

TfMixWavePreset::TfMixWavePreset(const TInstrumentDocument& document, QWidget* parent)
    : QDialog(parent), doc_(document) {
  setObjectName("fMixWavePreset");
  setWindowTitle("Mix Wave Presets");
  auto* v = new QVBoxLayout(this);
  lMix = new QLabel("Mix the current preset with:", this);
  lMix->setObjectName("lMix");
  cbD = new QComboBox(this);
  cbD->setObjectName("cbD");
  cbD->setMinimumContentsLength(30);
  auto* buttons = new QHBoxLayout;
  bOK = Button(this, "bOK", "&OK");
  bCancel = Button(this, "bCancel", "&Cancel");
  buttons->addStretch();
  buttons->addWidget(bOK);
  buttons->addWidget(bCancel);
  v->addWidget(lMix);
  v->addWidget(cbD);
  v->addLayout(buttons);
  connect(bOK, &QPushButton::clicked, this, [this] { done(mrOk); });
  connect(bCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
  FormActivate();
}

void TfMixWavePreset::FormActivate() {
  cbD->clear();
  for (int i = 1; i <= doc_.WavePresets.Count(); ++i) cbD->addItem(FromWindows1252(doc_.WavePresets[i].Name));
  if (cbD->count() > 0) cbD->setCurrentIndex(0);
}

void TfMixWavePreset::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) return done(mrOk);
  if (e->key() == Qt::Key_Escape) return done(mrCancel);
  QDialog::keyPressEvent(e);
}

// ---- TfFreeEdit ---------------------------------------------------------------------

TfFreeEdit::TfFreeEdit(TPresetWindowHost host, QWidget* parent) : QDialog(parent), host_(std::move(host)) {
  setObjectName("fFreeEdit");
  setWindowTitle("Edit The Wave Presets");
  setMouseTracking(true);
  BuildControls();
  // FormCreate
  if (host_.RestorePosition) host_.RestorePosition(this, "FreeEdit");
}

TfFreeEdit::~TfFreeEdit() = default;

void TfFreeEdit::BuildControls() {
  auto* outer = new QVBoxLayout(this);

  // The wave box with the position under it, the list and its buttons beside.
  auto* top = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  pbR = new TPresetCanvas("pbR", kWaveSamples, kWaveSamples, this);
  pbR->setCursor(Qt::CrossCursor);
  pbR->setMouseTracking(true);
  lPos = new QLabel(this);
  lPos->setObjectName("lPos");
  lPos->setMinimumWidth(fontMetrics().horizontalAdvance("-888--888") + 6);
  left->addWidget(pbR);
  left->addWidget(lPos);
  left->addStretch();
  top->addLayout(left);

  auto* right = new QVBoxLayout;
  cbD = new QComboBox(this);
  cbD->setObjectName("cbD");
  cbD->setToolTip("select a preset");
  cbD->setMinimumContentsLength(30);
  eName = new QLineEdit(this);
  eName->setObjectName("eName");
  BoundCharacters(eName, static_cast<int>(TWavePreset::kMaxName));
  auto* presetLabel = new QLabel("Preset:", this);
  auto* nameLabel = new QLabel("Name:", this);
  auto* grid = new QGridLayout;
  grid->addWidget(presetLabel, 0, 0);
  grid->addWidget(cbD, 0, 1);
  grid->addWidget(nameLabel, 1, 0);
  grid->addWidget(eName, 1, 1);
  right->addLayout(grid);
  auto* tableButtons = new QHBoxLayout;
  bAdd = Button(this, "bAdd", "&Add");
  bUpdate = Button(this, "bUpdate", "&Update");
  bDelete = Button(this, "bDelete", "&Delete");
  bPlay = Button(this, "bPlay", "&Play");
  for (QPushButton* b : {bAdd, bUpdate, bDelete, bPlay}) tableButtons->addWidget(b);
  tableButtons->addStretch();
  right->addLayout(tableButtons);
  pbFFT = new TPresetCanvas("pbFFT", kSpectrumWidth, kSpectrumHeight, this);
  right->addWidget(new QLabel("Spectrum:", this));
  right->addWidget(pbFFT);
  right->addStretch();
  top->addLayout(right, 1);
  outer->addLayout(top);

  pcPages = new QTabWidget(this);
  pcPages->setObjectName("pcPages");
  outer->addWidget(pcPages);

  // Page "Create".
  tsCreate = new QWidget(pcPages);
  tsCreate->setObjectName("tsCreate");
  tsCreate->setMouseTracking(true);
  pcPages->addTab(tsCreate, "Create");
  {
    auto* v = new QVBoxLayout(tsCreate);
    auto* row = new QHBoxLayout;
    bSilence = Button(tsCreate, "bSilence", "Si&lence");
    bRandom = Button(tsCreate, "bRandom", "&Random");
    bImport = Button(tsCreate, "bImport", "&Import");
    for (QPushButton* b : {bSilence, bRandom, bImport}) row->addWidget(b);
    row->addStretch();
    v->addLayout(row);

    auto* box = new QGroupBox("Function", tsCreate);
    auto* g = new QGridLayout(box);
    eFunction = new QLineEdit(box);
    eFunction->setObjectName("eFunction");
    bInsertTerm = Button(box, "bInsertTerm", "Insert");
    pumInsertTerm = new QMenu(this);
    pumInsertTerm->setObjectName("pumInsertTerm");
    for (const TInsertTerm& t : kInsertTerms) {
      const std::string text = t.Text;
      pumInsertTerm->addAction(QString::fromLatin1(t.Caption), this, [this, text] { InsertTerm(text); });
    }
    g->addWidget(new QLabel("y =", box), 0, 0);
    g->addWidget(eFunction, 0, 1, 1, 6);
    g->addWidget(bInsertTerm, 0, 7);

    eFunctionXMin = new QLineEdit("0", box);
    eFunctionXMin->setObjectName("eFunctionXMin");
    eFunctionXMax = new QLineEdit("1", box);
    eFunctionXMax->setObjectName("eFunctionXMax");
    g->addWidget(new QLabel("x from", box), 1, 0);
    g->addWidget(eFunctionXMin, 1, 1, 1, 2);
    g->addWidget(new QLabel("to", box), 1, 3);
    g->addWidget(eFunctionXMax, 1, 4, 1, 2);

    eWindowLeft = Spin(box, "eWindowLeft", 1, 149, 1);
    eWindowRight = Spin(box, "eWindowRight", 2, 150, 150);
    eWindowBottom = Spin(box, "eWindowBottom", 1, 149, 1);
    eWindowTop = Spin(box, "eWindowTop", 2, 150, 150);
    g->addWidget(new QLabel("Window left", box), 2, 0);
    g->addWidget(eWindowLeft, 2, 1);
    g->addWidget(new QLabel("right", box), 2, 2);
    g->addWidget(eWindowRight, 2, 3);
    g->addWidget(new QLabel("bottom", box), 2, 4);
    g->addWidget(eWindowBottom, 2, 5);
    g->addWidget(new QLabel("top", box), 2, 6);
    g->addWidget(eWindowTop, 2, 7);

    cbShowWindow = new QCheckBox("Show window", box);
    cbShowWindow->setObjectName("cbShowWindow");
    bTakeFunction = Button(box, "bTakeFunction", "&Take");
    bPlayFunction = Button(box, "bPlayFunction", "Pla&y");
    bClearFunction = Button(box, "bClearFunction", "Cl&ear");
    auto* actions = new QHBoxLayout;
    actions->addWidget(cbShowWindow);
    actions->addStretch();
    for (QPushButton* b : {bTakeFunction, bPlayFunction, bClearFunction}) {
      b->setEnabled(false);
      actions->addWidget(b);
    }
    g->addLayout(actions, 3, 0, 1, 8);
    lFunctionErrorMessage = new QLabel(box);
    lFunctionErrorMessage->setObjectName("lFunctionErrorMessage");
    lFunctionErrorMessage->setMinimumWidth(
        fontMetrics().horizontalAdvance(QString::fromLatin1(FunctionErrorText(TMathParser::kExpectedOperatorOrClose).c_str())) + 8);
    g->addWidget(lFunctionErrorMessage, 4, 0, 1, 8);
    v->addWidget(box);
    v->addStretch();
  }

  // Page "Modify".
  tsModify = new QWidget(pcPages);
  tsModify->setObjectName("tsModify");
  tsModify->setMouseTracking(true);
  pcPages->addTab(tsModify, "Modify");
  {
    auto* h = new QHBoxLayout(tsModify);
    auto* ops = new QVBoxLayout;
    bMix = Button(tsModify, "bMix", "&Mix");
    bSmooth = Button(tsModify, "bSmooth", "&Smooth");
    bMaximize = Button(tsModify, "bMaximize", "Ma&xmize");
    bMirrorH = Button(tsModify, "bMirrorH", "Mirr&or H.");
    bMirrorV = Button(tsModify, "bMirrorV", "Mirror &V.");
    bDoubleFreq = Button(tsModify, "bDoubleFreq", "Dou&ble F.");
    bHalfFreq = Button(tsModify, "bHalfFreq", "Hal&f Freq.");
    for (QPushButton* b : {bMix, bSmooth, bMaximize, bMirrorH, bMirrorV, bDoubleFreq, bHalfFreq}) ops->addWidget(b);
    ops->addStretch();
    h->addLayout(ops);

    auto* volume = new QGroupBox("Volume", tsModify);
    auto* vg = new QGridLayout(volume);
    sbChangeVolume = VerticalBar(volume, "sbChangeVolume", kVolumeBarMin, kVolumeBarMax, kVolumeBarDefault, 10);
    lVolume = new QLabel("100 %", volume);
    lVolume->setObjectName("lVolume");
    lVolume->setMinimumWidth(fontMetrics().horizontalAdvance("500 %") + 6);
    bTakeVolume = Button(volume, "bTakeVolume", "&Take");
    bCancelVolume = Button(volume, "bCancelVolume", "Ca&ncel");
    vg->addWidget(sbChangeVolume, 0, 0, 3, 1);
    vg->addWidget(lVolume, 0, 1);
    vg->addWidget(bTakeVolume, 1, 1);
    vg->addWidget(bCancelVolume, 2, 1);
    h->addWidget(volume);

    auto* filter = new QGroupBox("Filter", tsModify);
    auto* fg = new QGridLayout(filter);
    rbLowpass = Radio(filter, "rbLowpass", "Lowpass");
    rbBandpass = Radio(filter, "rbBandpass", "Bandpass");
    rbHighpass = Radio(filter, "rbHighpass", "Highpass");
    sbFilterF1 = VerticalBar(filter, "sbFilterF1", 0, 100, kFilterBarDefault, 10);
    sbFilterF2 = VerticalBar(filter, "sbFilterF2", 0, 100, kFilterBarDefault, 10);
    sbFilterF1->setToolTip("lower edge of the pass band");
    sbFilterF2->setToolTip("upper edge of the pass band");
    bTakeFilter = Button(filter, "bTakeFilter", "&Take");
    bCancelFilter = Button(filter, "bCancelFilter", "Ca&ncel");
    bPlayFilter = Button(filter, "bPlayFilter", "Pla&y");
    fg->addWidget(rbLowpass, 0, 0);
    fg->addWidget(rbBandpass, 1, 0);
    fg->addWidget(rbHighpass, 2, 0);
    fg->addWidget(sbFilterF1, 0, 1, 4, 1);
    fg->addWidget(sbFilterF2, 0, 2, 4, 1);
    fg->addWidget(bTakeFilter, 0, 3);
    fg->addWidget(bCancelFilter, 1, 3);
    fg->addWidget(bPlayFilter, 2, 3);
    h->addWidget(filter);
    h->addStretch();
  }

  auto* bottom = new QHBoxLayout;
  bHelp = Button(this, "bHelp", "&Help");
  bClose = Button(this, "bClose", "&Close");
  bottom->addStretch();
  bottom->addWidget(bHelp);
  bottom->addWidget(bClose);
  outer->addLayout(bottom);

  // Wiring: user actions only (activated, clicked), so filling a list or
  // setting a control from code does not run a handler.
  connect(cbD, &QComboBox::activated, this, [this] { cbDChange(); });
  connect(bAdd, &QPushButton::clicked, this, [this] { bAddClick(); });
  connect(bUpdate, &QPushButton::clicked, this, [this] { bUpdateClick(); });
  connect(bDelete, &QPushButton::clicked, this, [this] { bDeleteClick(); });
  connect(bPlay, &QPushButton::clicked, this, [this] { bPlayClick(); });
  connect(bClose, &QPushButton::clicked, this, [this] { CloseForm(); });
  connect(bHelp, &QPushButton::clicked, this, [this] {
    if (host_.Help) host_.Help->showTopic(kHelpTopic);
  });
  pbR->OnMouseDown = [this](Qt::MouseButton b, int x, int y) { pbRMouseDown(b, x, y); };
  pbR->OnMouseMove = [this](int x, int y) { pbRMouseMove(x, y); };
  pbR->OnMouseUp = [this](Qt::MouseButton, int, int) { pbRMouseUp(); };

  connect(bSilence, &QPushButton::clicked, this, [this] { bSilenceClick(); });
  connect(bRandom, &QPushButton::clicked, this, [this] { bRandomClick(); });
  connect(bImport, &QPushButton::clicked, this, [this] { bImportClick(); });
  auto functionTextChanged = [this](QLineEdit* edit) {
    if (edit->text().isEmpty()) lFunctionErrorMessage->clear();
    RedrawWave();
  };
  for (QLineEdit* e : {eFunction, eFunctionXMin, eFunctionXMax})
    connect(e, &QLineEdit::textChanged, this, [functionTextChanged, e] { functionTextChanged(e); });
  // Keep Left < Right and Bottom < Top: the edit just changed gives way.
  connect(eWindowLeft, &QSpinBox::valueChanged, this, [this] {
    if (eWindowLeft->value() >= eWindowRight->value()) eWindowLeft->setValue(eWindowRight->value() - 1);
    RedrawWave();
  });
  connect(eWindowRight, &QSpinBox::valueChanged, this, [this] {
    if (eWindowLeft->value() >= eWindowRight->value()) eWindowRight->setValue(eWindowLeft->value() + 1);
    RedrawWave();
  });
  connect(eWindowBottom, &QSpinBox::valueChanged, this, [this] {
    if (eWindowBottom->value() >= eWindowTop->value()) eWindowBottom->setValue(eWindowTop->value() - 1);
    RedrawWave();
  });
  connect(eWindowTop, &QSpinBox::valueChanged, this, [this] {
    if (eWindowBottom->value() >= eWindowTop->value()) eWindowTop->setValue(eWindowBottom->value() + 1);
    RedrawWave();
  });
  connect(cbShowWindow, &QCheckBox::clicked, this, [this] { RedrawWave(); });
  connect(bTakeFunction, &QPushButton::clicked, this, [this] { bTakeFunctionClick(); });
  connect(bPlayFunction, &QPushButton::clicked, this, [this] { bPlayFunctionClick(); });
  connect(bClearFunction, &QPushButton::clicked, this, [this] { eFunction->clear(); });
  connect(bInsertTerm, &QPushButton::clicked, this, [this] {
    pumInsertTerm->popup(bInsertTerm->mapToGlobal(QPoint(5, 5)));
  });

  connect(bMix, &QPushButton::clicked, this, [this] { bMixClick(); });
  connect(bSmooth, &QPushButton::clicked, this, [this] { ApplyWaveOperation(SmoothWave); });
  connect(bMaximize, &QPushButton::clicked, this, [this] { ApplyWaveOperation(MaximizeWave); });
  connect(bMirrorH, &QPushButton::clicked, this, [this] { ApplyWaveOperation(MirrorWaveH); });
  connect(bMirrorV, &QPushButton::clicked, this, [this] { ApplyWaveOperation(MirrorWaveV); });
  connect(bDoubleFreq, &QPushButton::clicked, this, [this] { ApplyWaveOperation(DoubleWaveFrequency); });
  connect(bHalfFreq, &QPushButton::clicked, this, [this] { ApplyWaveOperation(HalveWaveFrequency); });
  connect(sbChangeVolume, &QScrollBar::valueChanged, this, [this](int position) {
    volumePreviewOn_ = true;
    lVolume->setText(QString::fromStdString(VolumeLabel(VolumePercent(position))));
    RedrawWave();
    bTakeVolume->setEnabled(true);
    bCancelVolume->setEnabled(true);
  });
  connect(bTakeVolume, &QPushButton::clicked, this, [this] { bTakeVolumeClick(); });
  connect(bCancelVolume, &QPushButton::clicked, this, [this] { bCancelVolumeClick(); });
  connect(rbLowpass, &QRadioButton::clicked, this, [this] { rbLowpassClick(); });
  connect(rbBandpass, &QRadioButton::clicked, this, [this] { rbBandpassClick(); });
  connect(rbHighpass, &QRadioButton::clicked, this, [this] { rbHighpassClick(); });
  connect(sbFilterF1, &QScrollBar::valueChanged, this, [this] {
    SetFilterBars(FilterBarsAfterF1Change({sbFilterF1->value(), sbFilterF2->value()}, rbBandpass->isChecked()));
    RedrawWave();
  });
  connect(sbFilterF2, &QScrollBar::valueChanged, this, [this] {
    SetFilterBars(FilterBarsAfterF2Change({sbFilterF1->value(), sbFilterF2->value()}, rbBandpass->isChecked()));
    RedrawWave();
  });
  connect(bTakeFilter, &QPushButton::clicked, this, [this] { bTakeFilterClick(); });
  connect(bCancelFilter, &QPushButton::clicked, this, [this] { bCancelFilterClick(); });
  connect(bPlayFilter, &QPushButton::clicked, this, [this] { bPlayFilterClick(); });
}

// ---- life cycle ---------------------------------------------------------------------

void TfFreeEdit::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!activated_) FormActivate();
}

void TfFreeEdit::FormActivate() {
  activated_ = true;
  eName->setText(FromWindows1252(host_.Tools->FillWavePresetCombo(cbD, -2)));
  if (cbD->count() > 0) cbD->setCurrentIndex(0);
  ShowEntry(SelectedEntry());
  drawing_ = false;
  volumePreviewOn_ = false;
  ResetVolumeControls();
  filterPreviewOn_ = false;
  ResetFilterControls();
}

void TfFreeEdit::CloseForm() {
  if (!isVisible()) {
    // Never shown (tests call the handlers directly): only the closing steps.
    QCloseEvent e;
    closeEvent(&e);
    return;
  }
  done(mrCancel);
}

void TfFreeEdit::closeEvent(QCloseEvent* e) {
  if (!closed_ && host_.StorePosition) host_.StorePosition(this, "FreeEdit");
  closed_ = true;
  QDialog::closeEvent(e);
}

void TfFreeEdit::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      CloseForm();
      return;
    case Qt::Key_F1:
      if (host_.Help) host_.Help->showTopic(kHelpTopic);
      return;
    default:
      QDialog::keyPressEvent(e);
  }
}

void TfFreeEdit::contextMenuEvent(QContextMenuEvent* e) {
  // The form's (empty) popup menu: a right click anywhere plays.
  PlayCurrentWave();
  e->accept();
}

void TfFreeEdit::mouseMoveEvent(QMouseEvent* e) {
  lPos->clear();
  QDialog::mouseMoveEvent(e);
}

// ---- presets ------------------------------------------------------------------------

int TfFreeEdit::SelectedEntry() const {
  const int i = cbD->currentIndex();
  return i >= 0 && i < host_.Document->WavePresets.Count() ? i + 1 : 0;
}

void TfFreeEdit::ShowEntry(int entry) {
  if (entry < 1) return;
  const TWavePreset& p = host_.Document->WavePresets[entry];
  eName->setText(FromWindows1252(p.Name));
  wave_ = p.Data;
}

void TfFreeEdit::cbDChange() {
  ResetVolumeControls();
  volumePreviewOn_ = false;
  ShowEntry(SelectedEntry());
  RedrawWave();
}

void TfFreeEdit::bAddClick() {
  // A full table is said, not passed over in silence.
  if (host_.Document->WavePresets.Full()) {
    host_.Prompts->message(kTooManyPresets);
    return;
  }
  TWavePreset p;
  p.Name = CutName(ToWindows1252(eName->text()), TWavePreset::kMaxName);
  p.Data = wave_;
  host_.Tools->AddWavePreset(p);
  eName->setText(FromWindows1252(host_.Tools->FillWavePresetCombo(cbD, -1)));
}

void TfFreeEdit::bUpdateClick() {
  const int entry = SelectedEntry();
  if (entry < 1) return;
  TWavePreset p;
  p.Name = CutName(ToWindows1252(eName->text()), TWavePreset::kMaxName);
  p.Data = wave_;
  host_.Tools->ReplaceWavePreset(entry, p);
  eName->setText(FromWindows1252(host_.Tools->FillWavePresetCombo(cbD, -2)));
}

void TfFreeEdit::bDeleteClick() {
  const int entry = SelectedEntry();
  if (entry < 1) return;
  host_.Tools->DeleteWavePreset(entry);
  eName->setText(FromWindows1252(host_.Tools->FillWavePresetCombo(cbD, -2)));
  const int now = SelectedEntry();
  if (now >= 1) wave_ = host_.Document->WavePresets[now].Data;
  RedrawWave();
}

void TfFreeEdit::PlayCycle(const TWaveCycle& cycle) {
  TWavePreset p;
  p.Data = PreviewCycle(cycle);
  host_.Tools->PlayWavePreset(p);
}

void TfFreeEdit::PlayCurrentWave() { PlayCycle(wave_); }
void TfFreeEdit::bPlayFunctionClick() { PlayCycle(function_); }
void TfFreeEdit::bPlayFilterClick() { PlayCycle(filterPreview_); }

// ---- import -------------------------------------------------------------------------

void TfFreeEdit::bImportClick() {
  if (host_.Document->WavePresets.Count() > TWavePresetTable::kCapacity - 1) {
    host_.Prompts->message(kTooManyPresets);
    return;
  }
  kalvora::platform::FileDialogOptions o;
  o.title = "Import A Wave Preset";
  o.filter = kImportFilter;
  const auto chosen = host_.FileDialogs->openFile(o);
  if (!chosen) return;
  TImportedPreset p;
  try {
    p = ImportPresetFile(*chosen);
  } catch (const EPresetImportError& e) {
    host_.Prompts->message(e.what());
    return;
  }
  if (!IsPresetTextFileName(*chosen)) {
    // The name is the file's, as the user reads it, in the table's code page.
    p.Name = CutName(ToWindows1252(QFileInfo(kalvora::platform::ToQtPath(*chosen)).fileName()), TWavePreset::kMaxName);
  }
  AddImported(p.Name, p.Data);
}

void TfFreeEdit::AddImported(const std::string& name, const TWaveCycle& data) {
  TWavePreset p;
  p.Name = name;
  p.Data = data;
  host_.Tools->AddWavePreset(p);
  eName->setText(FromWindows1252(host_.Tools->FillWavePresetCombo(cbD, -1)));
  wave_ = data;
  RedrawWave();
}

// ---- drawing ------------------------------------------------------------------------

void TfFreeEdit::ShowPosition(int x, int y) { lPos->setText(QString::fromStdString(MousePositionText(x, y))); }

void TfFreeEdit::pbRMouseDown(Qt::MouseButton button, int x, int y) {
  if (button != Qt::LeftButton) return;
  if (x < 0 || x > kWaveTop || y < 0 || y > kWaveTop) return;
  ShowPosition(x, y);
  lastX_ = x;
  lastY_ = y;
  drawing_ = true;
  SetSampleAtPoint(wave_, x, y);
  RedrawWave();
}

void TfFreeEdit::pbRMouseMove(int x, int y) {
  if (drawing_ && x >= 0 && x <= kWaveTop && y >= 0 && y <= kWaveTop) {
    DrawSampleLine(wave_, lastX_, lastY_, x, y, [this](int column, std::uint8_t oldValue, std::uint8_t newValue) {
      pbR->SetPixel(column, kWaveTop - oldValue, kPictureBackground);
      pbR->SetPixel(column, kWaveTop - newValue, kPictureWave);
    });
    lastX_ = x;
    lastY_ = y;
  }
  ShowPosition(x, y);
}

void TfFreeEdit::pbRMouseUp() {
  drawing_ = false;
  RedrawWave();
}

TFunctionWindow TfFreeEdit::Window() const {
  return {eWindowLeft->value(), eWindowRight->value(), eWindowBottom->value(), eWindowTop->value()};
}

void TfFreeEdit::RedrawWave() {
  TWavePicture picture;
  picture.Wave = &wave_;
  if (volumePreviewOn_) {
    volumePreview_ = ApplyVolume(wave_, VolumePercent(sbChangeVolume->value()));
    picture.VolumePreview = &volumePreview_;
  }
  picture.Window = Window();
  const bool haveFunction = !eFunction->text().isEmpty();
  if (haveFunction) {
    picture.ShowFunctionWindow = cbShowWindow->isChecked();
    EvaluateFunction();
    if (!functionError_) picture.Function = &function_;
  }
  bTakeFunction->setEnabled(haveFunction && !functionError_);
  bPlayFunction->setEnabled(haveFunction && !functionError_);
  bClearFunction->setEnabled(haveFunction);
  if (filterPreviewOn_) {
    ComputeFilteredWave();
    picture.FilterPreview = &filterPreview_;
  }
  pbR->SetPicture(DrawWavePicture(picture));
  DrawSpectrum();
}

void TfFreeEdit::DrawSpectrum() {
  const TPassBand band = FilterPassBand(FilterKind(), sbFilterF1->value(), sbFilterF2->value(), pbFFT->width());
  pbFFT->SetPicture(DrawSpectrumPicture(SpectrumBars(wave_), band, pbFFT->width(), pbFFT->height()));
}

void TfFreeEdit::EvaluateFunction() {
  TFunctionEvaluation r;
  try {
    r = ::EvaluateFunction(ToWindows1252(eFunction->text()), ToWindows1252(eFunctionXMin->text()),
                           ToWindows1252(eFunctionXMax->text()), Window(), wave_, function_);
  } catch (const std::invalid_argument&) {
    r.Failed = true;  // a window the spin edits are still putting right
  }
  functionError_ = r.Failed;
  if (r.ParseError != 0) lFunctionErrorMessage->setText(QString::fromStdString(FunctionErrorText(r.ParseError)));
  if (!r.Failed) lFunctionErrorMessage->clear();
}

void TfFreeEdit::InsertTerm(const std::string& term) {
  const QString text = eFunction->text();
  const int at = eFunction->cursorPosition();
  eFunction->setText(text.left(at) + QString::fromLatin1(term.c_str()) + text.mid(at));
}

void TfFreeEdit::bTakeFunctionClick() {
  const TFunctionWindow w = Window();
  for (int c = w.Left - 1; c <= w.Right - 1; ++c) wave_[c] = function_[c];
  RedrawWave();
}

// ---- reshaping ----------------------------------------------------------------------

void TfFreeEdit::ApplyWaveOperation(TWaveCycle (*op)(const TWaveCycle&)) {
  wave_ = op(wave_);
  RedrawWave();
}

void TfFreeEdit::bSilenceClick() {
  SilenceWave(wave_);
  RedrawWave();
}

void TfFreeEdit::bRandomClick() {
  const auto now = std::chrono::system_clock::now().time_since_epoch().count();
  RandomWave(wave_, static_cast<std::uint64_t>(now));
  RedrawWave();
}

void TfFreeEdit::bMixClick() {
  TfMixWavePreset mix(*host_.Document, this);
  int index = -1;
  if (RunMixDialog) {
    index = RunMixDialog(mix);
  } else if (mix.exec() == mrOk) {
    index = mix.cbD->currentIndex();
  }
  if (index < 0 || index >= host_.Document->WavePresets.Count()) return;
  wave_ = MixWaves(host_.Document->WavePresets[index + 1].Data, wave_);
  RedrawWave();
}

// ---- volume -------------------------------------------------------------------------

void TfFreeEdit::ResetVolumeControls() {
  {
    const QSignalBlocker block(sbChangeVolume);
    sbChangeVolume->setValue(kVolumeBarDefault);
  }
  lVolume->setText(QString::fromStdString(VolumeLabel(VolumePercent(kVolumeBarDefault))));
  bTakeVolume->setEnabled(false);
  bCancelVolume->setEnabled(false);
}

void TfFreeEdit::bTakeVolumeClick() {
  wave_ = ApplyVolume(wave_, VolumePercent(sbChangeVolume->value()));
  ResetVolumeControls();
  volumePreviewOn_ = false;
  RedrawWave();
}

void TfFreeEdit::bCancelVolumeClick() {
  volumePreviewOn_ = false;
  ResetVolumeControls();
  RedrawWave();
}

// ---- filter -------------------------------------------------------------------------

TFilterKind TfFreeEdit::FilterKind() const {
  if (rbLowpass->isChecked()) return TFilterKind::kLowpass;
  if (rbBandpass->isChecked()) return TFilterKind::kBandpass;
  if (rbHighpass->isChecked()) return TFilterKind::kHighpass;
  return TFilterKind::kNone;
}

void TfFreeEdit::SetFilterBars(TFilterBars bars) {
  const QSignalBlocker b1(sbFilterF1), b2(sbFilterF2);
  sbFilterF1->setValue(bars.F1);
  sbFilterF2->setValue(bars.F2);
}

void TfFreeEdit::ComputeFilteredWave() {
  const TFilterKind kind = FilterKind();
  if (kind == TFilterKind::kNone) {
    filterPreview_ = {};
    return;
  }
  try {
    filterPreview_ = FilteredWave(wave_, FilterTaps(kind, sbFilterF1->value(), sbFilterF2->value()));
  } catch (const std::runtime_error& e) {
    filterPreviewOn_ = false;
    host_.Prompts->message(e.what());
  }
}

void TfFreeEdit::rbLowpassClick() {
  filterPreviewOn_ = true;
  sbFilterF1->setEnabled(true);
  sbFilterF2->setEnabled(false);
  for (QPushButton* b : {bTakeFilter, bCancelFilter, bPlayFilter}) b->setEnabled(true);
  RedrawWave();
}

void TfFreeEdit::rbHighpassClick() {
  filterPreviewOn_ = true;
  sbFilterF1->setEnabled(false);
  sbFilterF2->setEnabled(true);
  for (QPushButton* b : {bTakeFilter, bCancelFilter, bPlayFilter}) b->setEnabled(true);
  RedrawWave();
}

void TfFreeEdit::rbBandpassClick() {
  SetFilterBars(FilterBarsForBandpass({sbFilterF1->value(), sbFilterF2->value()}));
  sbFilterF1->setEnabled(true);
  sbFilterF2->setEnabled(true);
  for (QPushButton* b : {bTakeFilter, bCancelFilter, bPlayFilter}) b->setEnabled(true);
  filterPreviewOn_ = true;
  RedrawWave();
}

void TfFreeEdit::ResetFilterControls() {
  SetFilterBars({kFilterBarDefault, kFilterBarDefault});
  sbFilterF1->setEnabled(false);
  sbFilterF2->setEnabled(false);
  for (QPushButton* b : {bTakeFilter, bCancelFilter, bPlayFilter}) b->setEnabled(false);
  for (QRadioButton* r : {rbLowpass, rbBandpass, rbHighpass}) Uncheck(r);
  RedrawWave();
}

void TfFreeEdit::bTakeFilterClick() {
  if (filterPreviewOn_) {
    ComputeFilteredWave();
    wave_ = filterPreview_;
  }
  filterPreviewOn_ = false;
  ResetFilterControls();
}

void TfFreeEdit::bCancelFilterClick() {
  filterPreviewOn_ = false;
  ResetFilterControls();
}
