#include "windows/Options.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "components/TileControl.h"
#include "platform/MidiInput.h"
#include "platform/Prompts.h"
#include "platform/qt/LocalPaths.h"
#include "views/Backgrounds.h"
#include "views/Colors.h"
#include "views/BoundedMemo.h"
#include "views/ShownBytes.h"
#include "views/SingleLineField.h"
#include "views/Windows1252.h"
#include "windows/Main.h"

using kalvora::platform::FromQtPath;
using kalvora::platform::mrCancel;
using kalvora::platform::mrOk;
using kalvora::platform::ToLocalBytes;

namespace {

QColor FromBGR(std::uint32_t c) { return ColorFromBGR(c); }
std::uint32_t ToBGR(const QColor& c) {
  return static_cast<std::uint32_t>(c.red()) | static_cast<std::uint32_t>(c.green()) << 8 |
         static_cast<std::uint32_t>(c.blue()) << 16;
}

}  // namespace

TfOptions::TfOptions(TfMain* main, kalvora::platform::FileDialogs* dialogs, kalvora::platform::MidiInput* midi)
    : QDialog(main), mainWindow_(main), dialogs_(dialogs), midi_(midi) {
  setObjectName(QStringLiteral("fOptions"));
  setWindowTitle(QStringLiteral("Kalvora Options"));
  setModal(true);
  auto* v = new QVBoxLayout(this);
  pcOptions = new QTabWidget(this);
  pcOptions->setObjectName(QStringLiteral("pcOptions"));
  v->addWidget(pcOptions);

  // General
  auto* general = new QWidget;
  auto* g = new QGridLayout(general);
  cbShowHints = new QCheckBox(QStringLiteral("Show Hints"), general);
  cbShowHints->setToolTip(QStringLiteral("if this box is checked, you will see hints - like this one - for all elements of Kalvora"));
  cbAutoConvert = new QCheckBox(QStringLiteral("Auto-convert saved .WAV files with"), general);
  cbAutoConvert->setToolTip(QStringLiteral("with the auto-convert option you can give Kalvora a program that will be executed direct after you saved a .WAV file"));
  eAutoConvertProgram = new QLineEdit(general);
  eAutoConvertProgram->setToolTip(QStringLiteral("type in or select the name of the auto-convert program"));
  bSelectProgram = new QPushButton(QStringLiteral("..."), general);
  bSelectProgram->setToolTip(QStringLiteral("select the auto-convert program"));
  eAutoConvertOptions = new QLineEdit(general);
  eAutoConvertOptions->setToolTip(QStringLiteral("here you can set additional options for the program above"));
  KeepOnOneLine(eAutoConvertProgram);
  KeepOnOneLine(eAutoConvertOptions);
  rbNormal = new QRadioButton(QStringLiteral("Normal"), general);
  rbMinimized = new QRadioButton(QStringLiteral("Minimized"), general);
  rbMaximized = new QRadioButton(QStringLiteral("Maximized"), general);
  for (QRadioButton* r : {rbNormal, rbMinimized, rbMaximized})
    r->setToolTip(QStringLiteral("select the execution kind of the program above"));
  g->addWidget(cbShowHints, 0, 0, 1, 3);
  g->addWidget(cbAutoConvert, 1, 0, 1, 3);
  g->addWidget(eAutoConvertProgram, 2, 0, 1, 2);
  g->addWidget(bSelectProgram, 2, 2);
  g->addWidget(new QLabel(QStringLiteral("Options after .WAV file name:"), general), 3, 0, 1, 3);
  g->addWidget(eAutoConvertOptions, 4, 0, 1, 3);
  auto* modes = new QHBoxLayout;
  for (QRadioButton* r : {rbNormal, rbMinimized, rbMaximized}) modes->addWidget(r);
  g->addLayout(modes, 5, 0, 1, 3);
  g->setRowStretch(6, 1);
  pcOptions->addTab(general, QStringLiteral("General"));

  // Background
  auto* back = new QWidget;
  auto* b = new QGridLayout(back);
  cbElement = new QComboBox(back);
  cbElement->addItems({QStringLiteral("Main Background"), QStringLiteral("Border Background")});
  cbDefaultDesign = new QCheckBox(QStringLiteral("Default design"), back);
  rbGradient = new QRadioButton(QStringLiteral("Gradient"), back);
  rbGradient->setToolTip(QStringLiteral("gradient mode - select two colors"));
  rbImage = new QRadioButton(QStringLiteral("Image"), back);
  rbImage->setToolTip(QStringLiteral("image mode - select a image"));
  auto* modeGroup = new QButtonGroup(this);
  modeGroup->addButton(rbGradient);
  modeGroup->addButton(rbImage);
  bFrom = new QPushButton(QStringLiteral("&From"), back);
  bTo = new QPushButton(QStringLiteral("&To"), back);
  shFrom = new QFrame(back);
  shTo = new QFrame(back);
  for (QFrame* f : {shFrom, shTo}) {
    f->setFrameShape(QFrame::Box);
    f->setFixedSize(40, 20);
    f->setAutoFillBackground(true);
  }
  eImage = new QLineEdit(back);
  KeepOnOneLine(eImage);
  bSelectImage = new QPushButton(QStringLiteral("..."), back);
  rbTile = new QRadioButton(QStringLiteral("Tile"), back);
  rbStretch = new QRadioButton(QStringLiteral("Stretch"), back);
  rbCenter = new QRadioButton(QStringLiteral("Center"), back);
  auto* imageGroup = new QButtonGroup(this);
  for (QRadioButton* r : {rbTile, rbStretch, rbCenter}) {
    r->setToolTip(QStringLiteral("the image mode"));
    imageGroup->addButton(r);
  }
  b->addWidget(new QLabel(QStringLiteral("Element:"), back), 0, 0);
  b->addWidget(cbElement, 0, 1, 1, 3);
  b->addWidget(cbDefaultDesign, 1, 0, 1, 4);
  b->addWidget(rbGradient, 2, 0);
  b->addWidget(bFrom, 2, 1);
  b->addWidget(shFrom, 2, 2);
  b->addWidget(bTo, 3, 1);
  b->addWidget(shTo, 3, 2);
  b->addWidget(rbImage, 4, 0);
  b->addWidget(eImage, 4, 1, 1, 2);
  b->addWidget(bSelectImage, 4, 3);
  auto* imageModes = new QHBoxLayout;
  for (QRadioButton* r : {rbTile, rbStretch, rbCenter}) imageModes->addWidget(r);
  b->addLayout(imageModes, 5, 1, 1, 3);
  b->addWidget(new QLabel(QStringLiteral("Preview:"), back), 0, 4);
  auto* preview = new QFrame(back);
  preview->setFrameShape(QFrame::StyledPanel);
  preview->setFixedSize(124, 104);
  tPreviewTop = new TZRWTile(preview);
  tPreviewTop->setGeometry(2, 2, 120, 14);
  tPreviewLeft = new TZRWTile(preview);
  tPreviewLeft->setGeometry(2, 16, 26, 74);
  tPreviewMain = new TZRWTile(preview);
  tPreviewMain->setGeometry(28, 16, 94, 74);
  tPreviewBottom = new TZRWTile(preview);
  tPreviewBottom->setGeometry(2, 90, 120, 12);
  b->addWidget(preview, 1, 4, 5, 1, Qt::AlignTop);
  b->setRowStretch(6, 1);
  b->setColumnStretch(1, 1);
  pcOptions->addTab(back, QStringLiteral("Background"));

  // Defaults
  auto* defaults = new QWidget;
  auto* d = new QGridLayout(defaults);
  memoDescription = new TBoundedMemo(static_cast<int>(TInGlobSettings::kMaxDescription), defaults);
  memoDescription->setToolTip(QStringLiteral("type in the default description for new instrument"));
  sgVoiceNames = new QTableWidget(32, 2, defaults);
  sgVoiceNames->setHorizontalHeaderLabels({QStringLiteral("Nr"), QStringLiteral("Name")});
  sgVoiceNames->verticalHeader()->hide();
  sgVoiceNames->horizontalHeader()->setStretchLastSection(true);
  sgVoiceNames->setColumnWidth(0, 40);
  // A default name becomes a voice's name, which holds 50 characters.
  sgVoiceNames->setItemDelegateForColumn(1, new TSingleLineDelegate(static_cast<int>(TVoice::kMaxName), sgVoiceNames));
  cbQuality = new QComboBox(defaults);
  cbQuality->addItems({QStringLiteral("11025 Hz"), QStringLiteral("22050 Hz"), QStringLiteral("44100 Hz")});
  d->addWidget(new QLabel(QStringLiteral("Default instrument description:"), defaults), 0, 0);
  d->addWidget(memoDescription, 1, 0);
  d->addWidget(new QLabel(QStringLiteral("Default voice names:"), defaults), 0, 1);
  d->addWidget(sgVoiceNames, 1, 1, 3, 1);
  d->addWidget(new QLabel(QStringLiteral("Default calculation quality:"), defaults), 2, 0);
  d->addWidget(cbQuality, 3, 0);
  pcOptions->addTab(defaults, QStringLiteral("Defaults"));

  // MIDI
  auto* midiPage = new QWidget;
  auto* m = new QVBoxLayout(midiPage);
  cbMidiEnabled = new QCheckBox(QStringLiteral("Enable MIDI input"), midiPage);
  lbMidiDevices = new QListWidget(midiPage);
  cbUseVelocity = new QCheckBox(QStringLiteral("Use velocity for note events"), midiPage);
  cbUseSustainPedal = new QCheckBox(QStringLiteral("Use Sustain Pedal to start the sample playing"), midiPage);
  m->addWidget(cbMidiEnabled);
  m->addWidget(new QLabel(QStringLiteral("MIDI input devices:"), midiPage));
  m->addWidget(lbMidiDevices);
  m->addWidget(cbUseVelocity);
  m->addWidget(cbUseSustainPedal);
  pcOptions->addTab(midiPage, QStringLiteral("MIDI Input"));

  auto* buttons = new QHBoxLayout;
  bHelp = new QPushButton(QStringLiteral("&Help"), this);
  bHelp->setToolTip(QStringLiteral("open the help"));
  bHelp->setStatusTip(QStringLiteral("shortcut: F1"));
  bCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  bCancel->setToolTip(QStringLiteral("close the window"));
  bCancel->setStatusTip(QStringLiteral("shortcut: Escape"));
  bOK = new QPushButton(QStringLiteral("&OK"), this);
  bOK->setToolTip(QStringLiteral("close the window and update all changed options"));
  bOK->setStatusTip(QStringLiteral("shortcut: Return"));
  for (QPushButton* p : {bHelp, bCancel, bOK}) p->setAutoDefault(false);
  buttons->addStretch(1);
  for (QPushButton* p : {bHelp, bCancel, bOK}) buttons->addWidget(p);
  v->addLayout(buttons);

  // Activation: copies of the settings into the controls.
  const TMainSettings& s = main->Settings();
  main_ = s.BackgroundMain;
  border_ = s.BackgroundBorder;
  cbShowHints->setChecked(s.ShowHints);
  cbAutoConvert->setChecked(s.AutoConvert);
  // The converter's path and options are the system's bytes, as it is started with them.
  ShowBytes(eAutoConvertProgram, s.AutoConvertProgram);
  ShowBytes(eAutoConvertOptions, s.AutoConvertOptions);
  (s.AutoConvertMode == 1 ? rbNormal : s.AutoConvertMode == 3 ? rbMaximized : rbMinimized)->setChecked(true);
  EnableAutoConvert();
  QStringList lines;
  for (const std::string& line : main->DefaultDescription()) lines << FromWindows1252(line);
  memoDescription->setPlainText(lines.join('\n'));
  for (int r = 0; r < 32; ++r) {
    auto* nr = new QTableWidgetItem(QStringLiteral("%1").arg(r + 1, 2, 10, QLatin1Char('0')));
    nr->setFlags(Qt::ItemIsEnabled);
    sgVoiceNames->setItem(r, 0, nr);
    const std::string name = r < static_cast<int>(s.DefaultVoiceNames.size()) ? s.DefaultVoiceNames[r] : std::string();
    sgVoiceNames->setItem(r, 1, new QTableWidgetItem(FromWindows1252(name)));
  }
  cbQuality->setCurrentIndex(std::clamp(s.DefaultCalculationQuality, 0, 2));
  cbMidiEnabled->setChecked(s.MidiEnabled);
  cbUseVelocity->setChecked(s.MidiUseVelocity);
  cbUseSustainPedal->setChecked(s.MidiUseSustainPedal);
  FillMidiDevices();
  if (s.MidiDeviceID < lbMidiDevices->count()) lbMidiDevices->setCurrentRow(s.MidiDeviceID);
  EnableMidi();
  ShowBackgroundElement();
  pcOptions->setCurrentIndex(0);

  connect(cbAutoConvert, &QCheckBox::clicked, this, [this] { EnableAutoConvert(); });
  connect(cbMidiEnabled, &QCheckBox::clicked, this, [this] { EnableMidi(); });
  connect(bSelectProgram, &QPushButton::clicked, this, [this] {
    kalvora::platform::FileDialogOptions o;
    o.title = "Select The Auto-Convert Program";
    o.filter = "All Files|*";
    o.initialFile = BytesOf(eAutoConvertProgram, FromQtPath);
    if (dialogs_)
      if (auto chosen = dialogs_->openFile(o)) ShowBytes(eAutoConvertProgram, *chosen);
  });
  connect(cbElement, &QComboBox::currentIndexChanged, this, [this] { ShowBackgroundElement(); });
  for (QAbstractButton* w : std::initializer_list<QAbstractButton*>{cbDefaultDesign, rbGradient, rbImage, rbTile, rbStretch, rbCenter})
    connect(w, &QAbstractButton::clicked, this, [this] { PageChanged(); });
  connect(eImage, &QLineEdit::textEdited, this, [this] { PageChanged(); });
  connect(bSelectImage, &QPushButton::clicked, this, [this] {
    kalvora::platform::FileDialogOptions o;
    o.title = "Load A Bitmap";
    o.filter = "Bitmaps|*.bmp|All Files|*.*";
    o.defaultExt = "bmp";
    if (dialogs_)
      if (auto chosen = dialogs_->openFile(o)) {
        ShowBytes(eImage, *chosen);
        PageChanged();
      }
  });
  for (bool from : {true, false})
    connect(from ? bFrom : bTo, &QPushButton::clicked, this, [this, from] {
      const QColor c = QColorDialog::getColor(FromBGR(from ? Element().ColorFrom : Element().ColorTo), this);
      if (c.isValid()) SetElementColor(from, c);
    });
  connect(bOK, &QPushButton::clicked, this, [this] { StoreOptions(); });
  connect(bCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
  connect(bHelp, &QPushButton::clicked, this, [this] { ShowHelp(); });

  resize(sizeHint().expandedTo(QSize(560, 380)));
  setFixedSize(size());
  main->RestoreFormPosition(this, "Options");
}

TBackgroundSetting& TfOptions::Element() { return cbElement->currentIndex() == 1 ? border_ : main_; }

void TfOptions::EnableAutoConvert() {
  const bool on = cbAutoConvert->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{eAutoConvertProgram, bSelectProgram, eAutoConvertOptions, rbNormal,
                                                    rbMinimized, rbMaximized})
    w->setEnabled(on);
}

void TfOptions::EnableMidi() {
  const bool on = cbMidiEnabled->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{lbMidiDevices, cbUseVelocity, cbUseSustainPedal}) w->setEnabled(on);
}

void TfOptions::FillMidiDevices() {
  lbMidiDevices->clear();
  if (!midi_) return;
  const int n = midi_->deviceCount();
  for (int i = 0; i < n; ++i) lbMidiDevices->addItem(QString::fromStdString(midi_->deviceName(i)));
}

void TfOptions::ShowSwatch(QFrame* f, const QColor& c) {
  QPalette pal = f->palette();
  pal.setColor(QPalette::Window, c);
  f->setPalette(pal);
}

void TfOptions::ShowBackgroundElement() {
  showing_ = true;
  const TBackgroundSetting& e = Element();
  cbDefaultDesign->setChecked(e.Default);
  const bool gradient = e.TileMode == tmGradient;
  rbGradient->setChecked(gradient);
  rbImage->setChecked(!gradient);
  (e.TileMode == tmCenter ? rbCenter : e.TileMode == tmStretch ? rbStretch : rbTile)->setChecked(true);
  ShowBytes(eImage, e.Image);
  const bool free = !e.Default;
  for (QWidget* w : std::initializer_list<QWidget*>{rbGradient, rbImage}) w->setEnabled(free);
  for (QWidget* w : std::initializer_list<QWidget*>{bFrom, bTo, shFrom, shTo}) w->setEnabled(free && gradient);
  for (QWidget* w : std::initializer_list<QWidget*>{eImage, bSelectImage, rbTile, rbStretch, rbCenter})
    w->setEnabled(free && !gradient);
  ShowSwatch(shFrom, gradient ? FromBGR(e.ColorFrom) : FromBGR(clSilver));
  ShowSwatch(shTo, gradient ? FromBGR(e.ColorTo) : FromBGR(clSilver));
  showing_ = false;
  ApplyBorderPreview();
}

void TfOptions::PageChanged() {
  if (showing_) return;
  TBackgroundSetting& e = Element();
  e.Default = cbDefaultDesign->isChecked();
  if (rbGradient->isChecked()) e.TileMode = tmGradient;
  else e.TileMode = rbStretch->isChecked() ? tmStretch : rbCenter->isChecked() ? tmCenter : tmTile;
  e.Image = BytesOf(eImage, FromQtPath);
  ShowBackgroundElement();
}

void TfOptions::SetElementColor(bool from, const QColor& c) {
  (from ? Element().ColorFrom : Element().ColorTo) = ToBGR(c);
  ShowBackgroundElement();
}

void TfOptions::ApplyBorderPreview() {
  const QImage border = BuiltInBorderPicture();
  for (TZRWTile* t : {tPreviewTop, tPreviewLeft, tPreviewBottom}) ApplyTileSetting(*t, border_, border);
  ApplyTileSetting(*tPreviewMain, main_, BuiltInMainPicture());
}

void TfOptions::ShowHelp() { mainWindow_->Help().showTopic("otherwindows_options"); }

void TfOptions::StoreOptions() {
  TMainSettings& s = mainWindow_->Settings();
  s.BackgroundMain = main_;
  s.BackgroundBorder = border_;
  s.ShowHints = cbShowHints->isChecked();
  s.AutoConvert = cbAutoConvert->isChecked();
  s.AutoConvertProgram = BytesOf(eAutoConvertProgram, FromQtPath);
  s.AutoConvertOptions = BytesOf(eAutoConvertOptions, ToLocalBytes);
  s.AutoConvertMode = rbMinimized->isChecked() ? 2 : rbMaximized->isChecked() ? 3 : 1;
  std::vector<std::string>& description = mainWindow_->DefaultDescription();
  description.clear();
  const QString text = memoDescription->Text();
  if (!text.isEmpty())
    for (const QString& line : text.split('\n')) description.push_back(ToWindows1252(line));
  s.DefaultVoiceNames.assign(32, std::string());
  for (int r = 0; r < 32; ++r)
    if (QTableWidgetItem* item = sgVoiceNames->item(r, 1)) s.DefaultVoiceNames[r] = ToWindows1252(item->text());
  s.DefaultCalculationQuality = cbQuality->currentIndex();
  s.MidiEnabled = cbMidiEnabled->isChecked();
  s.MidiUseVelocity = cbUseVelocity->isChecked();
  s.MidiUseSustainPedal = cbUseSustainPedal->isChecked();
  // With devices but none chosen the first is taken.
  s.MidiDeviceID = static_cast<std::uint8_t>(std::clamp(lbMidiDevices->currentRow(), 0, 255));
  done(mrOk);
}

void TfOptions::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) return ShowHelp();
  if (e->key() == Qt::Key_Escape) return done(mrCancel);
  // The memo takes its own Return (a new line) before the dialog sees it.
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) return StoreOptions();
  QDialog::keyPressEvent(e);
}
