#include "windows/AddSynth.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "components/EnhWave.h"
#include "core/Document.h"
#include "platform/AudioSink.h"
#include "platform/Prompts.h"
#include "views/PresetCanvas.h"
#include "views/SingleLineField.h"
#include "views/Windows1252.h"
#include "windows/Tools.h"

using kalvora::platform::mrCancel;

namespace {

constexpr const char* kHelpTopic = "preseteditwindows_addsynthesis";

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);  // Return closes the form, it never presses a button
  return b;
}

QString TwoDigits(int k) { return QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0')); }

}  // namespace

TfAddSynth::TfAddSynth(TPresetWindowHost host, QWidget* parent)
    : QDialog(parent),
      host_(std::move(host)),
      WaveOut_(std::make_unique<TEnhWaveOut>(this, host_.MakeAudioSink ? host_.MakeAudioSink() : nullptr)) {
  setObjectName("fAddSynth");
  setWindowTitle("Wave Synthesis");
  WaveOut_->setObjectName("WaveOut");
  WaveOut_->setSamples(44100);
  WaveOut_->setChannels(1);
  WaveOut_->setSampleBits(8);
  WaveOut_->OnDone = [this](QObject*) { WaveOutDone(); };
  BuildControls();
  // FormCreate
  if (host_.RestorePosition) host_.RestorePosition(this, "AddSynth");
  cbMaximize->setChecked(true);
  if (host_.Ini) memories_.Load(*host_.Ini);
  recompute_ = false;
  SetPositions(InitialSliderPositions());
  recompute_ = true;
  ComputeAdditiveWave();
}

TfAddSynth::~TfAddSynth() {
  if (!closed_) FormClose();
}

void TfAddSynth::BuildControls() {
  auto* outer = new QVBoxLayout(this);

  auto* sourceRow = new QHBoxLayout;
  cbS = new QComboBox(this);
  cbS->setObjectName("cbS");
  cbS->setToolTip("select the source wave for the additional synthesis here");
  cbS->setMinimumContentsLength(30);
  sourceRow->addWidget(new QLabel("Source:", this));
  sourceRow->addWidget(cbS, 1);
  outer->addLayout(sourceRow);

  auto* middle = new QHBoxLayout;
  auto* sliders = new QGroupBox("Harmonics", this);
  auto* sg = new QGridLayout(sliders);
  for (int k = 1; k <= kHarmonics; ++k) {
    QScrollBar* bar = new QScrollBar(Qt::Vertical, sliders);  // position 0 (100 %) at the top
    bar->setObjectName("sb" + TwoDigits(k));
    bar->setRange(0, kSliderMax);
    bar->setPageStep(10);
    bar->setMinimumHeight(150);
    bar->setToolTip(k == 1 ? QStringLiteral("edit the proportion of the base frequency")
                           : QStringLiteral("edit the proportion of the base frequency x %1").arg(k));
    QLabel* label = new QLabel(sliders);
    label->setObjectName("lPerc" + TwoDigits(k));
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(fontMetrics().horizontalAdvance("100") + 4);
    QLabel* number = new QLabel(QString::number(k), sliders);
    number->setAlignment(Qt::AlignCenter);
    sg->addWidget(number, 0, k - 1, Qt::AlignHCenter);
    sg->addWidget(bar, 1, k - 1, Qt::AlignHCenter);
    sg->addWidget(label, 2, k - 1, Qt::AlignHCenter);
    sb[k - 1] = bar;
    lPerc[k - 1] = label;
    connect(bar, &QScrollBar::valueChanged, this, [this, k] { SliderChange(k); });
  }
  middle->addWidget(sliders, 1);

  auto* resultBox = new QVBoxLayout;
  pbR = new TPresetCanvas("pbR", kWaveSamples, kWaveSamples, this);
  cbMaximize = new QCheckBox("Maximize", this);
  cbMaximize->setObjectName("cbMaximize");
  cbMaximize->setToolTip("if this checked, the result wave will always be maximized");
  cbAutoPlay = new QCheckBox("Auto Play", this);
  cbAutoPlay->setObjectName("cbAutoPlay");
  resultBox->addWidget(pbR);
  resultBox->addWidget(cbMaximize);
  resultBox->addWidget(cbAutoPlay);
  resultBox->addStretch();
  middle->addLayout(resultBox);
  outer->addLayout(middle);

  auto* memories = new QGroupBox("Memories", this);
  auto* mg = new QGridLayout(memories);
  for (int m = 1; m <= kSliderMemories; ++m) {
    // The button captioned n uses memory 7 - n; buttons are named after the memory.
    const int caption = kSliderMemories + 1 - m;
    bLoad[m - 1] = Button(memories, QStringLiteral("bLoad%1").arg(m), QStringLiteral("Load %1").arg(caption));
    bSave[m - 1] = Button(memories, QStringLiteral("bSave%1").arg(m), QStringLiteral("Save %1").arg(caption));
    mg->addWidget(bLoad[m - 1], 0, caption - 1);
    mg->addWidget(bSave[m - 1], 1, caption - 1);
    connect(bLoad[m - 1], &QPushButton::clicked, this, [this, m] { LoadClick(m); });
    connect(bSave[m - 1], &QPushButton::clicked, this, [this, m] { SaveClick(m); });
  }
  outer->addWidget(memories);

  auto* dest = new QGridLayout;
  cbD = new QComboBox(this);
  cbD->setObjectName("cbD");
  cbD->setMinimumContentsLength(30);
  eName = new QLineEdit(this);
  eName->setObjectName("eName");
  BoundCharacters(eName, static_cast<int>(TWavePreset::kMaxName));
  dest->addWidget(new QLabel("Destination:", this), 0, 0);
  dest->addWidget(cbD, 0, 1);
  dest->addWidget(new QLabel("Name:", this), 1, 0);
  dest->addWidget(eName, 1, 1);
  outer->addLayout(dest);

  auto* buttons = new QHBoxLayout;
  bAdd = Button(this, "bAdd", "&Add");
  bUpdate = Button(this, "bUpdate", "&Update");
  bDelete = Button(this, "bDelete", "&Delete");
  bPlay = Button(this, "bPlay", "&Play");
  bInit = Button(this, "bInit", "&Init");
  bHelp = Button(this, "bHelp", "&Help");
  bClose = Button(this, "bClose", "&Close");
  for (QPushButton* b : {bAdd, bUpdate, bDelete, bPlay, bInit}) buttons->addWidget(b);
  buttons->addStretch();
  buttons->addWidget(bHelp);
  buttons->addWidget(bClose);
  outer->addLayout(buttons);

  connect(cbS, &QComboBox::activated, this, [this] { cbSChange(); });
  connect(cbD, &QComboBox::activated, this, [this] { cbDChange(); });
  connect(cbMaximize, &QCheckBox::clicked, this, [this] { ComputeAdditiveWave(); });
  connect(cbAutoPlay, &QCheckBox::clicked, this, [this] { cbAutoPlayClick(); });
  connect(bAdd, &QPushButton::clicked, this, [this] { bAddClick(); });
  connect(bUpdate, &QPushButton::clicked, this, [this] { bUpdateClick(); });
  connect(bDelete, &QPushButton::clicked, this, [this] { bDeleteClick(); });
  connect(bPlay, &QPushButton::clicked, this, [this] { PlayResult(); });
  connect(bInit, &QPushButton::clicked, this, [this] { bInitClick(); });
  connect(bHelp, &QPushButton::clicked, this, [this] {
    if (host_.Help) host_.Help->showTopic(kHelpTopic);
  });
  connect(bClose, &QPushButton::clicked, this, [this] { CloseForm(); });
}

// ---- life cycle ---------------------------------------------------------------------

void TfAddSynth::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!activated_) FormActivate();
}

void TfAddSynth::FormActivate() {
  activated_ = true;
  FillDestinationList();
  FillSourceList();
  std::vector<std::string> names;
  for (const TWavePreset& p : host_.Document->WavePresets.Entries()) names.push_back(p.Name);
  if (cbS->count() > 0) cbS->setCurrentIndex(DefaultSourceIndex(names));
  const int d = DestinationEntry();
  if (d >= 1) eName->setText(FromWindows1252(host_.Document->WavePresets[d].Name));
  BuildHarmonicTables(cbS->currentIndex());
}

void TfAddSynth::CloseForm() {
  if (!isVisible()) {
    FormClose();
    return;
  }
  done(mrCancel);
}

void TfAddSynth::closeEvent(QCloseEvent* e) {
  FormClose();
  QDialog::closeEvent(e);
}

void TfAddSynth::FormClose() {
  if (closed_) return;
  closed_ = true;
  // The loop ends with the box; what is still queued is dropped at once
  // rather than waited for, so closing never runs a nested event loop.
  cbAutoPlay->setChecked(false);
  WaveOut_->Close();
  if (host_.Ini) memories_.Save(*host_.Ini);
  if (host_.StorePosition) host_.StorePosition(this, "AddSynth");
}

void TfAddSynth::keyPressEvent(QKeyEvent* e) {
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

void TfAddSynth::contextMenuEvent(QContextMenuEvent* e) {
  PlayResult();  // the form's empty popup menu plays
  e->accept();
}

// ---- lists --------------------------------------------------------------------------

void TfAddSynth::FillDestinationList() {
  cbD->clear();
  for (const TWavePreset& p : host_.Document->WavePresets.Entries()) cbD->addItem(FromWindows1252(p.Name));
  if (cbD->count() > 0) cbD->setCurrentIndex(0);
}

void TfAddSynth::FillSourceList() {
  cbS->clear();
  for (const TWavePreset& p : host_.Document->WavePresets.Entries()) cbS->addItem(FromWindows1252(p.Name));
  if (cbS->count() > 0) cbS->setCurrentIndex(0);
}

int TfAddSynth::DestinationEntry() const {
  const int i = cbD->currentIndex();
  return i >= 0 && i < host_.Document->WavePresets.Count() ? i + 1 : 0;
}

void TfAddSynth::cbDChange() {
  const int d = DestinationEntry();
  if (d >= 1) eName->setText(FromWindows1252(host_.Document->WavePresets[d].Name));
}

void TfAddSynth::cbSChange() {
  if (!recompute_) return;
  BuildHarmonicTables(cbS->currentIndex());
}

// ---- synthesis ----------------------------------------------------------------------

void TfAddSynth::BuildHarmonicTables(int sourceIndex) {
  if (sourceIndex >= 0 && sourceIndex < host_.Document->WavePresets.Count())
    harmonics_ = ::BuildHarmonicTables(host_.Document->WavePresets[sourceIndex + 1].Data);
  else
    harmonics_ = {};
  ComputeAdditiveWave();
}

TSliderPositions TfAddSynth::Positions() const {
  TSliderPositions p{};
  for (int k = 0; k < kHarmonics; ++k) p[k] = static_cast<std::uint8_t>(sb[k]->value());
  return p;
}

void TfAddSynth::SetPositions(const TSliderPositions& p) {
  for (int k = 0; k < kHarmonics; ++k) {
    sb[k]->setValue(p[k]);
    // A bar already at its place reports no change; its label is set anyway.
    lPerc[k]->setText(QString::number(kSliderMax - sb[k]->value()));
  }
}

void TfAddSynth::SliderChange(int k) {
  if (recompute_) ComputeAdditiveWave();
  lPerc[k - 1]->setText(QString::number(kSliderMax - sb[k - 1]->value()));
}

void TfAddSynth::ComputeAdditiveWave() {
  result_ = ::ComputeAdditiveWave(harmonics_, Positions(), cbMaximize->isChecked());
  TWavePicture picture;
  picture.Wave = &result_;
  pbR->SetPicture(DrawWavePicture(picture, pbR->width(), pbR->height()));
}

void TfAddSynth::bInitClick() {
  recompute_ = false;
  SetPositions(InitialSliderPositions());
  recompute_ = true;
  ComputeAdditiveWave();
}

void TfAddSynth::LoadClick(int memory) {
  recompute_ = false;
  SetPositions(memories_.Memory(memory));
  recompute_ = true;
  ComputeAdditiveWave();
}

void TfAddSynth::SaveClick(int memory) { memories_.Store(memory, Positions()); }

// ---- playing ------------------------------------------------------------------------

void TfAddSynth::PlayResult() {
  if (closed_) return;
  const std::vector<std::uint8_t> buffer = SynthesisPlayBuffer(result_, cbAutoPlay->isChecked());
  if (!WaveOut_->IsOpen() && !WaveOut_->Open()) return;
  WaveOut_->Write(buffer.data(), buffer.size());
}

void TfAddSynth::WaveOutDone() {
  if (cbAutoPlay->isChecked()) PlayResult();
}

void TfAddSynth::cbAutoPlayClick() {
  // Two buffers, so one always waits behind the one playing.
  if (cbAutoPlay->isChecked() && !WaveOut_->IsPlaying()) {
    PlayResult();
    PlayResult();
  }
}

// ---- destination --------------------------------------------------------------------

TWavePreset TfAddSynth::ResultPreset() const {
  TWavePreset p;
  p.Name = CutName(ToWindows1252(eName->text()), TWavePreset::kMaxName);
  p.Data = result_;
  return p;
}

void TfAddSynth::bAddClick() {
  if (host_.Document->WavePresets.Full()) {
    host_.Prompts->message(kTooManyPresets);
    return;
  }
  host_.Tools->AddWavePreset(ResultPreset());
  eName->setText(FromWindows1252(host_.Tools->FillWavePresetCombo(cbD, -1)));
  eName->setText(FromWindows1252(host_.Tools->FillWavePresetCombo(cbS, -2)));
}

void TfAddSynth::bUpdateClick() {
  const int d = DestinationEntry();
  if (d < 1) return;
  host_.Tools->ReplaceWavePreset(d, ResultPreset());
  eName->setText(FromWindows1252(host_.Tools->FillWavePresetCombo(cbD, -2)));
}

void TfAddSynth::bDeleteClick() {
  const int d = DestinationEntry();
  if (d < 1) return;
  host_.Tools->DeleteWavePreset(d);
  eName->setText(FromWindows1252(host_.Tools->FillWavePresetCombo(cbD, -2)));
  eName->setText(FromWindows1252(host_.Tools->FillWavePresetCombo(cbS, -2)));
  if (recompute_) BuildHarmonicTables(cbS->currentIndex());
}
