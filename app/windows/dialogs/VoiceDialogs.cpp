#include "windows/dialogs/VoiceDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

#include <array>
#include <cmath>

#include "core/Macros.h"
#include "core/VoiceEdit.h"
#include "platform/Prompts.h"
#include "views/Windows1252.h"
#include "windows/Main.h"
#include "windows/Tools.h"
#include "windows/WaveGen.h"

namespace {

template <class W>
W* Named(W* w, const char* name) {
  w->setObjectName(name);
  return w;
}

void FillVoiceNames(QComboBox* c, const TInstrumentDocument& doc) {
  c->clear();
  for (int n = 1; n <= TInstrumentDocument::kVoices; ++n) {
    c->addItem(FromWindows1252(doc.Voice(n).Name));
  }
}

QPushButton* Button(QWidget* parent, const char* name, const char* text) {
  auto* b = Named(new QPushButton(QString::fromLatin1(text), parent), name);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

TfSetFrequency::TfSetFrequency(TfMain& main, TfWaveGen& editor, QWidget* parent)
    : QDialog(parent), main_(main), editor_(editor) {
  setObjectName("fSetFrequency");
  setWindowTitle(QStringLiteral("Set Frequency"));
  auto* v = new QGridLayout(this);
  v->addWidget(new QLabel(QStringLiteral("New frequency:")), 0, 0);
  seNewFrequency = Named(new QSpinBox(this), "seNewFrequency");
  seNewFrequency->setRange(32, 2155);
  v->addWidget(seNewFrequency, 0, 1);
  bOK = Button(this, "bOK", "&OK");
  bOK->setDefault(true);
  bCancel = Button(this, "bCancel", "&Cancel");
  v->addWidget(bOK, 1, 0);
  v->addWidget(bCancel, 1, 1);
  connect(bOK, &QPushButton::clicked, this, &TfSetFrequency::bOKClick);
  connect(bCancel, &QPushButton::clicked, this, [this] { done(2); });
  main_.RestoreFormPosition(this, "SetFrequency");
  // The start value comes from the voice, not from the formatted read-out.
  const TInstrumentDocument& doc = main_.Document();
  const TVoice& voice = doc.Voice(doc.CurrentVoice);
  seNewFrequency->setValue(static_cast<int>(RoundHalfEven(VoiceFrequency(doc.NoteFrequency, voice.Pitch.Note, voice.Pitch.Finetune))));
}

void TfSetFrequency::bOKClick() {
  if (const auto fit = NoteForFrequency(main_.Document().NoteFrequency, seNewFrequency->value())) {
    editor_.cbKey->setCurrentIndex(fit->first);  // runs ApplyNote
    editor_.sbFTune->setValue(fit->second);      // stores and records the fine-tune
    editor_.ShowFrequency();
  }
  done(1);
}

TfResVoice::TfResVoice(TfMain& main, TfWaveGen& editor, QWidget* parent) : QDialog(parent), main_(main), editor_(editor) {
  setObjectName("fResVoice");
  setWindowTitle(QStringLiteral("Reset Voices"));
  auto* outer = new QVBoxLayout(this);
  auto* options = new QGroupBox(QStringLiteral("Reset Options "), this);
  outer->addWidget(options);
  auto* g = new QGridLayout(options);
  rbOne = Named(new QRadioButton(QStringLiteral("Selected Voice Only"), options), "rbOne");
  rbAll = Named(new QRadioButton(QStringLiteral("All Voices"), options), "rbAll");
  rbSome = Named(new QRadioButton(QStringLiteral("Voices From"), options), "rbSome");
  cobSV = Named(new QComboBox(options), "cobSV");
  cobFr = Named(new QComboBox(options), "cobFr");
  cobTo = Named(new QComboBox(options), "cobTo");
  g->addWidget(rbOne, 0, 0);
  g->addWidget(cobSV, 0, 1, 1, 3);
  g->addWidget(rbAll, 1, 0);
  g->addWidget(rbSome, 2, 0);
  g->addWidget(cobFr, 2, 1);
  g->addWidget(new QLabel(QStringLiteral("To")), 2, 2);
  g->addWidget(cobTo, 2, 3);
  bOK = Button(this, "bOK", "&OK");
  bCancel = Button(this, "bCancel", "&Cancel");
  bOK->setDefault(true);
  bHelp = Button(this, "bHelp", "&Help");
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {bOK, bCancel, bHelp}) buttons->addWidget(b);
  outer->addLayout(buttons);
  connect(bHelp, &QPushButton::clicked, this, [this] { main_.Help().showTopic("otherwindows_resetvoice"); });
  main_.RestoreFormPosition(this, "ResVoice");
  rbOne->setChecked(true);
  connect(cobFr, &QComboBox::activated, this, [this] { rbSome->setChecked(true); });
  connect(cobTo, &QComboBox::activated, this, [this] { rbSome->setChecked(true); });
  connect(cobSV, &QComboBox::activated, this, [this] { rbOne->setChecked(true); });
  connect(bOK, &QPushButton::clicked, this, &TfResVoice::bOKClick);
  connect(bCancel, &QPushButton::clicked, this, [this] { done(2); });
  Refill();
}

void TfResVoice::Refill() {
  const TInstrumentDocument& doc = main_.Document();
  for (QComboBox* c : {cobSV, cobFr, cobTo}) FillVoiceNames(c, doc);
  cobFr->setCurrentIndex(0);
  cobTo->setCurrentIndex(0);
  cobSV->setCurrentIndex(doc.CurrentVoice - 1);
}

void TfResVoice::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Refill();
}

void TfResVoice::bOKClick() {
  if (rbAll->isChecked()) {
    editor_.NewInstrument();
  } else {
    const int from = rbOne->isChecked() ? cobSV->currentIndex() + 1 : cobFr->currentIndex() + 1;
    const int to = rbOne->isChecked() ? from : cobTo->currentIndex() + 1;
    for (int n = from; n <= to; ++n) main_.ResetVoice(n);
  }
  done(1);
}

TfCpVoice::TfCpVoice(TfMain& main, TfWaveGen& editor, IMacroRecorder* recorder, QWidget* parent)
    : QDialog(parent), main_(main), editor_(editor), recorder_(recorder) {
  setObjectName("fCpVoice");
  setWindowTitle(QStringLiteral("Copy Voices"));
  auto* top = new QVBoxLayout(this);
  auto* selection = new QGroupBox(QStringLiteral("Voice Selection "), this);
  auto* lists = new QGridLayout(selection);
  top->addWidget(selection);
  cobS = Named(new QComboBox(this), "cobS");
  cobD = Named(new QComboBox(this), "cobD");
  lists->addWidget(new QLabel(QStringLiteral("Source:")), 0, 0);
  lists->addWidget(cobS, 1, 0, 1, 2);
  lists->addWidget(new QLabel(QStringLiteral("Destination:")), 0, 2);
  lists->addWidget(cobD, 1, 2, 1, 2);
  cbAutoIncrementSource = Named(new QCheckBox(QStringLiteral("Auto increment source"), this), "cbAutoIncrementSource");
  cbAutoDecrementSource = Named(new QCheckBox(QStringLiteral("Auto decrement source"), this), "cbAutoDecrementSource");
  cbAutoIncrementDestination = Named(new QCheckBox(QStringLiteral("Auto increment destination"), this), "cbAutoIncrementDestination");
  cbAutoDecrementDestination = Named(new QCheckBox(QStringLiteral("Auto decrement destination"), this), "cbAutoDecrementDestination");
  lists->addWidget(cbAutoIncrementSource, 2, 0);
  lists->addWidget(cbAutoDecrementSource, 3, 0);
  lists->addWidget(cbAutoIncrementDestination, 2, 2);
  lists->addWidget(cbAutoDecrementDestination, 3, 2);
  auto exclude = [this](QCheckBox* a, QCheckBox* b) {
    connect(a, &QCheckBox::toggled, this, [b](bool on) { if (on) b->setChecked(false); });
    connect(b, &QCheckBox::toggled, this, [a](bool on) { if (on) a->setChecked(false); });
  };
  exclude(cbAutoIncrementSource, cbAutoDecrementSource);
  exclude(cbAutoIncrementDestination, cbAutoDecrementDestination);
  auto* parts = new QGroupBox(QStringLiteral("Copy Options "), this);
  auto* pg = new QGridLayout(parts);
  cbGeneral = Named(new QCheckBox(QStringLiteral("General without name"), parts), "cbGeneral");
  cbName = Named(new QCheckBox(QStringLiteral("General - the name"), parts), "cbName");
  cbSource = Named(new QCheckBox(QStringLiteral("Source"), parts), "cbSource");
  cbVolume = Named(new QCheckBox(QStringLiteral("Volume"), parts), "cbVolume");
  cbVibrato = Named(new QCheckBox(QStringLiteral("Vibrato"), parts), "cbVibrato");
  cbLowpass = Named(new QCheckBox(QStringLiteral("Lowpass"), parts), "cbLowpass");
  int i = 0;
  for (QCheckBox* c : {cbGeneral, cbName, cbSource, cbVolume, cbVibrato, cbLowpass}) pg->addWidget(c, i / 2, i % 2), ++i;
  bAll = Button(parts, "bAll", "&All");
  bNone = Button(parts, "bNone", "&None");
  bInvert = Button(parts, "bInvert", "&Invert");
  pg->addWidget(bAll, 3, 0);
  pg->addWidget(bNone, 3, 1);
  pg->addWidget(bInvert, 4, 0);
  top->addWidget(parts);
  auto* buttons = new QHBoxLayout;
  bCopy = Button(this, "bCopy", "&Copy");
  bClose = Button(this, "bClose", "Close");
  bCopy->setDefault(true);
  buttons->addWidget(bCopy);
  buttons->addWidget(bClose);
  bHelp = Button(this, "bHelp", "&Help");
  buttons->addWidget(bHelp);
  connect(bHelp, &QPushButton::clicked, this, [this] { main_.Help().showTopic("otherwindows_copyvoice"); });
  main_.RestoreFormPosition(this, "CpVoice");
  top->addLayout(buttons);
  auto boxes = [this] { return std::array<QCheckBox*, 6>{cbGeneral, cbName, cbSource, cbVolume, cbVibrato, cbLowpass}; };
  connect(bAll, &QPushButton::clicked, this, [boxes] { for (auto* c : boxes()) c->setChecked(true); });
  connect(bNone, &QPushButton::clicked, this, [boxes] { for (auto* c : boxes()) c->setChecked(false); });
  connect(bInvert, &QPushButton::clicked, this, [boxes] { for (auto* c : boxes()) c->setChecked(!c->isChecked()); });
  connect(bCopy, &QPushButton::clicked, this, &TfCpVoice::bCopyClick);
  connect(bClose, &QPushButton::clicked, this, [this] { done(2); });
  Refill();
}

void TfCpVoice::Refill() {
  const TInstrumentDocument& doc = main_.Document();
  FillVoiceNames(cobS, doc);
  FillVoiceNames(cobD, doc);
  cobS->setCurrentIndex(doc.CurrentVoice - 1);
  cobD->setCurrentIndex(doc.CurrentVoice % TInstrumentDocument::kVoices);
  for (QCheckBox* c : {cbGeneral, cbSource, cbVolume, cbVibrato, cbLowpass}) c->setChecked(true);
  for (QCheckBox* c : {cbName, cbAutoIncrementSource, cbAutoDecrementSource, cbAutoIncrementDestination, cbAutoDecrementDestination}) c->setChecked(false);
}

void TfCpVoice::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Refill();
}

void TfCpVoice::bCopyClick() {
  TInstrumentDocument& doc = main_.Document();
  const int source = cobS->currentIndex() + 1, dest = cobD->currentIndex() + 1;
  const TVoiceParts parts{cbGeneral->isChecked(), cbName->isChecked(), cbSource->isChecked(),
                          cbVolume->isChecked(),  cbVibrato->isChecked(), cbLowpass->isChecked()};
  if (TfTools* tools = main_.Tools())
    tools->CopyVoiceParts(source, dest, parts.General, parts.Name, parts.Source, parts.Volume, parts.Vibrato, parts.Lowpass);
  // Offsets from the current voice; one below -9 takes the wider form.
  if (doc.Recording && recorder_)
    recorder_->RecordTextStep(stCopyVoice, MacroCopyVoiceText(source - doc.CurrentVoice, dest - doc.CurrentVoice, parts));
  if (cbAutoIncrementSource->isChecked() && cobS->currentIndex() < 31) cobS->setCurrentIndex(cobS->currentIndex() + 1);
  if (cbAutoIncrementDestination->isChecked() && cobD->currentIndex() < 31) cobD->setCurrentIndex(cobD->currentIndex() + 1);
  if (cbAutoDecrementSource->isChecked() && cobS->currentIndex() >= 1) cobS->setCurrentIndex(cobS->currentIndex() - 1);
  if (cbAutoDecrementDestination->isChecked() && cobD->currentIndex() >= 1) cobD->setCurrentIndex(cobD->currentIndex() - 1);
}

// Each dialog keeps its place; F1 opens the help of the two that have one.
void TfSetFrequency::done(int r) {
  main_.SaveFormPosition(this, "SetFrequency");
  QDialog::done(r);
}

void TfResVoice::done(int r) {
  main_.SaveFormPosition(this, "ResVoice");
  QDialog::done(r);
}

void TfResVoice::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) return bHelp->click();
  QDialog::keyPressEvent(e);
}

void TfCpVoice::done(int r) {
  main_.SaveFormPosition(this, "CpVoice");
  QDialog::done(r);
}

void TfCpVoice::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) return bHelp->click();
  QDialog::keyPressEvent(e);
}
