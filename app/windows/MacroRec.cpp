#include "windows/MacroRec.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/Prompts.h"
#include "views/BoundedMemo.h"
#include "views/SingleLineField.h"
#include "views/Windows1252.h"
#include "windows/Main.h"

std::uint16_t KeySequenceToHotKey(const QKeySequence& key) {
  if (key.isEmpty()) return 0;
  const QKeyCombination combo = key[0];
  const int k = combo.key();
  int code = 0;
  if ((k >= Qt::Key_0 && k <= Qt::Key_9) || (k >= Qt::Key_A && k <= Qt::Key_Z)) code = k;
  else if (k >= Qt::Key_F1 && k <= Qt::Key_F24) code = 0x70 + (k - Qt::Key_F1);
  if (code == 0) return 0;
  const Qt::KeyboardModifiers mods = combo.keyboardModifiers();
  if (mods & Qt::ShiftModifier) code |= 0x2000;
  if (mods & Qt::ControlModifier) code |= 0x4000;
  if (mods & Qt::AltModifier) code |= 0x8000;
  return static_cast<std::uint16_t>(code);
}

// A hot key is one key: later keys of a typed sequence are dropped.
void KeepFirstKeyOnly(QKeySequenceEdit* edit) {
  QObject::connect(edit, &QKeySequenceEdit::keySequenceChanged, edit, [edit](const QKeySequence& k) {
    if (k.count() > 1) edit->setKeySequence(QKeySequence(k[0]));
  });
}

TfMacroRec::TfMacroRec(TfMain* main)
    : QDialog(main), main_(main), recorder_(std::make_unique<TMacroRecorder>(main->Document())) {
  setObjectName(QStringLiteral("fMacroRec"));
  setWindowTitle(QStringLiteral("Macro Recording"));
  setModal(true);
  auto* grid = new QGridLayout(this);
  eName = new QLineEdit(this);
  eName->setObjectName(QStringLiteral("eName"));
  eName->setToolTip(QStringLiteral("type in a unique name for the macro"));
  BoundCharacters(eName, static_cast<int>(TMacro::kMaxName));
  memoDescription = new TBoundedMemo(static_cast<int>(TMacro::kMaxDescription), this);
  memoDescription->setObjectName(QStringLiteral("memoDescription"));
  memoDescription->setTabChangesFocus(true);
  memoDescription->setFixedHeight(70);
  HotKey = new QKeySequenceEdit(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A), this);
  HotKey->setObjectName(QStringLiteral("HotKey"));
  KeepFirstKeyOnly(HotKey);
  cbRelative = new QCheckBox(QStringLiteral("Relative parameters"), this);
  cbRelative->setObjectName(QStringLiteral("cbRelative"));
  cbRelative->setToolTip(QStringLiteral("if this box is checked, all parameters will be recorded relatively"));
  grid->addWidget(new QLabel(QStringLiteral("Name:"), this), 0, 0);
  grid->addWidget(eName, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Description:"), this), 1, 0, Qt::AlignTop);
  grid->addWidget(memoDescription, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("Short Cut:"), this), 2, 0);
  grid->addWidget(HotKey, 2, 1);
  grid->addWidget(cbRelative, 3, 1);
  auto* buttons = new QHBoxLayout;
  bOK = new QPushButton(QStringLiteral("&OK"), this);
  bHelp = new QPushButton(QStringLiteral("&Help"), this);
  bCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  bOK->setDefault(true);
  buttons->addStretch(1);
  for (QPushButton* b : {bOK, bHelp, bCancel}) buttons->addWidget(b);
  grid->addLayout(buttons, 4, 0, 1, 2);
  connect(bOK, &QPushButton::clicked, this, [this] { StartRecording(); });
  connect(bCancel, &QPushButton::clicked, this, [this] { done(kalvora::platform::mrCancel); });
  connect(bHelp, &QPushButton::clicked, this, [this] { main_->Help().showTopic("otherwindows_macrorecording"); });
  setFixedSize(sizeHint().expandedTo(QSize(360, 0)));
  recorder_->OnStepsFull = [this](bool stored) {
    RecordingEnded(stored);
    main_->Prompts().message(MacroStepsFullMessage(stored));
  };
  main->SetMacroRec(this);
}

TfMacroRec::~TfMacroRec() = default;

void TfMacroRec::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) return main_->Help().showTopic("otherwindows_macrorecording");
  if (e->key() == Qt::Key_Escape) return done(kalvora::platform::mrCancel);
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !HotKey->hasFocus()) return StartRecording();
  QDialog::keyPressEvent(e);
}

void TfMacroRec::StartRecording() {
  TMacro pending;
  pending.Name = ToWindows1252(eName->text());
  pending.Description = ToWindows1252(memoDescription->Text());
  pending.HotKey = KeySequenceToHotKey(HotKey->keySequence());
  pending.Relative = cbRelative->isChecked();
  switch (recorder_->Start(pending)) {
    case TStartRecording::NameExists: return main_->Prompts().message(kMacroNameExists);
    case TStartRecording::NameEmpty: return main_->Prompts().message(kMacroNameEmpty);
    case TStartRecording::Started: break;
  }
  main_->MenuStartRecording->setEnabled(false);
  main_->MenuStopRecording->setEnabled(true);
  done(kalvora::platform::mrOk);
}

void TfMacroRec::StopRecording() { RecordingEnded(recorder_->Stop()); }

void TfMacroRec::RecordingEnded(bool stored) {
  main_->MenuStartRecording->setEnabled(true);
  main_->MenuStopRecording->setEnabled(false);
  if (stored) main_->RebuildMacroMenu();
}
