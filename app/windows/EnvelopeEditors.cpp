#include "windows/EnvelopeEditors.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "formats/ByteStream.h"
#include "formats/EnvelopeImport.h"
#include "platform/Prompts.h"
#include "views/Colors.h"
#include "views/PaintBox.h"
#include "views/SingleLineField.h"
#include "views/Windows1252.h"
#include "windows/Main.h"
#include "windows/Tools.h"

namespace {

QPushButton* Button(QWidget* parent, const char* name, const QString& text, const QString& hint = {}) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  if (!hint.isEmpty()) b->setToolTip(hint);
  return b;
}

QLabel* Label(QWidget* parent, const char* name, const QString& text = {}) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  return l;
}

QLineEdit* NameEdit(QWidget* parent, const QString& hint) {
  auto* e = new QLineEdit(parent);
  e->setObjectName("eName");
  BoundCharacters(e, static_cast<int>(TVolumeEnvelope::kMaxName));
  e->setToolTip(hint);
  return e;
}

// Silver picture, black polyline; `dots` marks every point in blue.
void PaintEnvelope(TPaintBox* box, const TVolumeEnvelope& e, bool dots, int movedPoint = 0, QPoint moved = {}) {
  box->NewPicture(clSilver);
  QPainter p(&box->Picture);
  const int w = box->width(), h = box->height();
  QPolygon line;
  for (int i = 1; i <= e.Count; ++i) {
    QPoint pt(EnvelopeX(e.X[i - 1], w), EnvelopeY(e.Y[i - 1], h));
    if (i == movedPoint) pt = moved;
    line << pt;
  }
  p.setPen(ColorFromBGR(clBlack));
  p.drawPolyline(line);
  if (dots) {
    p.setPen(ColorFromBGR(clBlue));
    p.setBrush(ColorFromBGR(clBlue));
    for (const QPoint& pt : line) p.drawEllipse(QRect(pt.x() - 3, pt.y() - 3, 7, 7));
  }
  p.end();
  box->update();
}

// Return and Escape close the editors; F1 opens their help topic.
bool EditorKey(QDialog* d, QKeyEvent* e, const std::function<void()>& help) {
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: d->close(); return true;
    case Qt::Key_F1: help(); return true;
    default: return false;
  }
}

std::string Text(QLineEdit* e) { return CutName(ToWindows1252(e->text()), TVolumeEnvelope::kMaxName); }

}  // namespace

// --- TfEditVol ----------------------------------------------------------------

TfEditVol::TfEditVol(TfMain& main, int envelopeItem, QWidget* parent)
    : QDialog(parent), main_(main), tools_(*main.Tools()), envelopeItem_(envelopeItem) {
  setObjectName("fEditVol");
  setWindowTitle("Edit Volume Envelope");
  setModal(true);
  setMouseTracking(true);

  pbV = new TPaintBox(this, "pbV");
  pbV->setFixedSize(561, 255);
  pbV->setMouseTracking(true);
  cbV = new QComboBox(this);
  cbV->setObjectName("cbV");
  cbV->setToolTip("select a volume envelope preset here");
  cbV->setMinimumContentsLength(20);
  eName = NameEdit(this, "type in a name for the preset here");
  bAdd = Button(this, "bAdd", "&Add");
  bUpdate = Button(this, "bUpdate", "&Update");
  bDelete = Button(this, "bDelete", "&Delete");
  bPlay = Button(this, "bPlay", "&Play");
  bRandom = Button(this, "bRandom", "&Random");
  bImport = Button(this, "bImport", "&Import");
  bMirrorHorizontal = Button(this, "bMirrorHorizontal", "Mirror &H.", "reverse the envelope in time");
  bMirrorVertical = Button(this, "bMirrorVertical", "Mirror &V.", "turn the levels upside down");
  bHelp = Button(this, "bHelp", "&Help");
  bClose = Button(this, "bClose", "&Close");
  lPos = Label(this, "lPos");
  lPos->setMinimumWidth(lPos->fontMetrics().horizontalAdvance("100% - 100%") + 8);
  iInstruction = Label(this, "iInstruction",
                       "Left button: add a point or drag one.  Right button: delete a point.");
  iInstruction->setWordWrap(true);

  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {bAdd, bUpdate, bDelete, bPlay, bRandom, bImport, bMirrorHorizontal, bMirrorVertical})
    buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(bHelp);
  buttons->addWidget(bClose);
  auto* names = new QHBoxLayout;
  names->addWidget(Label(this, "lPreset", "Preset:"));
  names->addWidget(cbV, 1);
  names->addWidget(Label(this, "lName", "Name:"));
  names->addWidget(eName, 1);
  names->addWidget(lPos);
  auto* left = new QVBoxLayout;
  left->addWidget(pbV);
  left->addLayout(names);
  left->addWidget(iInstruction);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  pbV->OnPaint = [this] {
    if (pbV->Picture.size() != pbV->size()) DrawEnvelope();
  };
  pbV->OnMouseDown = [this](int x, int y, Qt::MouseButton button) {
    lPos->setText(QString::fromStdString(EnvelopePositionText(x, y, Editor.Width, Editor.Height)));
    Editor.MouseDown(x, y, button == Qt::RightButton);
    DrawEnvelope();
  };
  pbV->OnMouseMove = [this](int x, int y) {
    lPos->setText(QString::fromStdString(EnvelopePositionText(x, y, Editor.Width, Editor.Height)));
    if (Editor.ButtonDown && Editor.Dragging) {
      Editor.MouseMove(x, y);
      DrawEnvelope();
    }
  };
  pbV->OnMouseUp = [this](int, int) {
    Editor.MouseUp();
    DrawEnvelope();
  };
  connect(cbV, &QComboBox::currentIndexChanged, this, [this] { cbVChange(); });
  connect(eName, &QLineEdit::textEdited, this, [this] { Editor.Envelope.Name = Text(eName); });
  connect(bAdd, &QPushButton::clicked, this, [this] { bAddClick(); });
  connect(bUpdate, &QPushButton::clicked, this, [this] { bUpdateClick(); });
  connect(bDelete, &QPushButton::clicked, this, [this] { bDeleteClick(); });
  connect(bPlay, &QPushButton::clicked, this, [this] { bPlayClick(); });
  connect(bRandom, &QPushButton::clicked, this, [this] { bRandomClick(); });
  connect(bImport, &QPushButton::clicked, this, [this] { bImportClick(); });
  connect(bMirrorHorizontal, &QPushButton::clicked, this, [this] { bMirrorHorizontalClick(); });
  connect(bMirrorVertical, &QPushButton::clicked, this, [this] { bMirrorVerticalClick(); });
  connect(bHelp, &QPushButton::clicked, this, [this] { bHelpClick(); });
  connect(bClose, &QPushButton::clicked, this, [this] { close(); });
  ShowFormatError = [this](const std::string& text) {
    QMessageBox box(QMessageBox::Critical, kEnvelopeImportCaption, QString::fromStdString(text), QMessageBox::Ok, this);
    box.exec();
  };
  main_.RestoreFormPosition(this, "EditVol");
}

TfEditVol::~TfEditVol() { main_.SaveFormPosition(this, "EditVol"); }

void TfEditVol::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!activated_) {
    activated_ = true;
    FormActivate();
  }
}

void TfEditVol::FormActivate() {
  {
    const QSignalBlocker block(cbV);
    eName->setText(FromWindows1252(tools_.FillVolumeEnvelopeCombo(cbV, envelopeItem_)));
  }
  LoadSelected();
}

void TfEditVol::LoadSelected() {
  const auto& table = main_.Document().VolumeEnvelopes;
  const int n = cbV->currentIndex() + 1;
  if (n >= 1 && n <= table.Count()) Editor.Load(table[n]);
  else Editor.Load(TVolumeEnvelope{});
  Editor.Width = pbV->width();
  Editor.Height = pbV->height();
  DrawEnvelope();
}

void TfEditVol::cbVChange() {
  LoadSelected();
  eName->setText(FromWindows1252(Editor.Envelope.Name));
}

void TfEditVol::DrawEnvelope() {
  Editor.Width = pbV->width();
  Editor.Height = pbV->height();
  const bool dragging = Editor.ButtonDown && Editor.Dragging && Editor.Selected != 0;
  PaintEnvelope(pbV, Editor.Envelope, true, dragging ? Editor.Selected : 0, QPoint(Editor.DragX, Editor.DragY));
}

void TfEditVol::bAddClick() {
  tools_.AddVolumeEnvelope(Editor.Envelope);
  const QSignalBlocker block(cbV);
  eName->setText(FromWindows1252(tools_.FillVolumeEnvelopeCombo(cbV, -1)));
}

void TfEditVol::bUpdateClick() {
  if (cbV->currentIndex() < 0) return;  // nothing to update in an empty table
  tools_.ReplaceVolumeEnvelope(cbV->currentIndex() + 1, Editor.Envelope);
  const QSignalBlocker block(cbV);
  eName->setText(FromWindows1252(tools_.FillVolumeEnvelopeCombo(cbV, -2)));
}

void TfEditVol::bDeleteClick() {
  if (cbV->currentIndex() < 0) return;
  tools_.DeleteVolumeEnvelope(cbV->currentIndex() + 1);
  {
    const QSignalBlocker block(cbV);
    eName->setText(FromWindows1252(tools_.FillVolumeEnvelopeCombo(cbV, -2)));
  }
  LoadSelected();
}

void TfEditVol::bPlayClick() { tools_.PlayVolumeEnvelope(Editor.Envelope); }

void TfEditVol::bRandomClick() {
  RandomEnvelope(Editor.Envelope, Random);
  Editor.Selected = 0;
  DrawEnvelope();
}

void TfEditVol::bMirrorHorizontalClick() {
  MirrorEnvelopeTime(Editor.Envelope);
  DrawEnvelope();
}

void TfEditVol::bMirrorVerticalClick() {
  MirrorEnvelopeLevel(Editor.Envelope);
  DrawEnvelope();
}

void TfEditVol::bImportClick() {
  auto& doc = main_.Document();
  if (doc.VolumeEnvelopes.Full()) return;
  kalvora::platform::FileDialogOptions o;
  o.title = "Import A Volume Envelope";
  o.filter = "Text files|*.txt|All files|*.*";
  const auto file = main_.FileDialogs().openFile(o);
  if (!file) return;
  TVolumeEnvelope e;
  try {
    e = ReadEnvelopeText(ReadFileBytes(*file, 1 << 20));
  } catch (const EEnvelopeImportError& err) {
    if (err.WrongFormat) {
      ShowFormatError(err.what());
    } else {
      main_.Prompts().message(err.what());
    }
    return;
  } catch (const std::exception& err) {
    main_.Prompts().message(err.what());
    return;
  }
  if (tools_.AddVolumeEnvelope(e) != TTableResult::Added) return;
  {
    const QSignalBlocker block(cbV);
    eName->setText(FromWindows1252(tools_.FillVolumeEnvelopeCombo(cbV, -1)));
  }
  LoadSelected();
}

void TfEditVol::bHelpClick() { main_.Help().showTopic("volumeenvelopeeditwindows_free"); }

void TfEditVol::keyPressEvent(QKeyEvent* e) {
  if (!EditorKey(this, e, [this] { bHelpClick(); })) QDialog::keyPressEvent(e);
}

void TfEditVol::mouseMoveEvent(QMouseEvent* e) {
  lPos->clear();
  QDialog::mouseMoveEvent(e);
}

int ShowVolumeEnvelopeEditor(TfMain& main, int envelopeItem) {
  TfEditVol d(main, envelopeItem, &main);
  return d.exec() == QDialog::Accepted ? kalvora::platform::mrOk : kalvora::platform::mrCancel;
}

// --- TfADSR -------------------------------------------------------------------

TfADSR::TfADSR(TfMain& main, int envelopeItem, QWidget* parent)
    : QDialog(parent), main_(main), tools_(*main.Tools()), envelopeItem_(envelopeItem) {
  setObjectName("fADSR");
  setWindowTitle("The ADSR Editor");
  setModal(true);

  pbV = new TPaintBox(this, "pbV");
  pbV->setFixedSize(405, 157);
  pbV->setToolTip("the resulting volume envelope");
  cbV = new QComboBox(this);
  cbV->setObjectName("cbV");
  cbV->setToolTip("select a preset");
  cbV->setMinimumContentsLength(20);
  eName = NameEdit(this, "type in a preset name here");
  auto bar = [this](const char* name, const char* hint, int min) {
    auto* b = new QScrollBar(Qt::Horizontal, this);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setRange(min, 255);
    b->setPageStep(25);
    b->setMinimumWidth(255);
    connect(b, &QScrollBar::valueChanged, this, [this, b](int v) { BarMoved(b, v); });
    return b;
  };
  sbA = bar("sbA", "the Attack time", 1);
  sbD = bar("sbD", "the Decay time", 1);
  sbS = bar("sbS", "the Sustain level", 0);
  sbR = bar("sbR", "the Release time", 1);
  lA = Label(this, "lA");
  lD = Label(this, "lD");
  lS = Label(this, "lS");
  lR = Label(this, "lR");
  for (QLabel* l : {lA, lD, lS, lR}) {
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance("100 %") + 6);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  bAdd = Button(this, "bAdd", "&Add");
  bUpdate = Button(this, "bUpdate", "&Update");
  bDelete = Button(this, "bDelete", "&Delete");
  bPlay = Button(this, "bPlay", "&Play");
  bRandom = Button(this, "bRandom", "&Random");
  bInit = Button(this, "bInit", "&Init");
  bHelp = Button(this, "bHelp", "&Help");
  bClose = Button(this, "bClose", "&Close");

  auto* bars = new QGridLayout;
  const char* names[4] = {"Attack:", "Decay:", "Sustain:", "Release:"};
  QScrollBar* all[4] = {sbA, sbD, sbS, sbR};
  QLabel* labels[4] = {lA, lD, lS, lR};
  for (int i = 0; i < 4; ++i) {
    bars->addWidget(Label(this, QByteArray("lCaption").append(char('A' + i)).constData(), names[i]), i, 0);
    bars->addWidget(all[i], i, 1);
    bars->addWidget(labels[i], i, 2);
  }
  auto* names2 = new QHBoxLayout;
  names2->addWidget(Label(this, "lPreset", "Preset:"));
  names2->addWidget(cbV, 1);
  names2->addWidget(Label(this, "lName", "Name:"));
  names2->addWidget(eName, 1);
  auto* left = new QVBoxLayout;
  left->addWidget(pbV);
  left->addLayout(bars);
  left->addLayout(names2);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {bAdd, bUpdate, bDelete, bPlay, bRandom, bInit}) buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(bHelp);
  buttons->addWidget(bClose);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  pbV->OnPaint = [this] {
    if (pbV->Picture.size() != pbV->size()) DrawEnvelope();
  };
  connect(cbV, &QComboBox::currentIndexChanged, this, [this] { cbVChange(); });
  connect(eName, &QLineEdit::textEdited, this, [this] { Adsr.Envelope.Name = Text(eName); });
  connect(bAdd, &QPushButton::clicked, this, [this] { bAddClick(); });
  connect(bUpdate, &QPushButton::clicked, this, [this] { bUpdateClick(); });
  connect(bDelete, &QPushButton::clicked, this, [this] { bDeleteClick(); });
  connect(bPlay, &QPushButton::clicked, this, [this] { bPlayClick(); });
  connect(bRandom, &QPushButton::clicked, this, [this] { bRandomClick(); });
  connect(bInit, &QPushButton::clicked, this, [this] { bInitClick(); });
  connect(bHelp, &QPushButton::clicked, this, [this] { bHelpClick(); });
  connect(bClose, &QPushButton::clicked, this, [this] { close(); });
  main_.RestoreFormPosition(this, "ADSR");
  bInitClick();
}

TfADSR::~TfADSR() { main_.SaveFormPosition(this, "ADSR"); }

void TfADSR::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!activated_) {
    activated_ = true;
    FormActivate();
  }
}

void TfADSR::FormActivate() {
  {
    const QSignalBlocker block(cbV);
    eName->setText(FromWindows1252(tools_.FillVolumeEnvelopeCombo(cbV, envelopeItem_)));
  }
  Adsr.Envelope.Name = Text(eName);
  UpdateControls();
}

void TfADSR::UpdateControls() {
  QScrollBar* bars[4] = {sbA, sbD, sbS, sbR};
  const int values[4] = {Adsr.A, Adsr.D, Adsr.S, Adsr.R};
  QLabel* labels[4] = {lA, lD, lS, lR};
  for (int i = 0; i < 4; ++i) {
    const QSignalBlocker block(bars[i]);
    bars[i]->setValue(values[i]);
    labels[i]->setText(QString::fromStdString(TAdsrEditor::BarLabel(bars[i]->value())));
  }
  DrawEnvelope();
}

void TfADSR::BarMoved(QScrollBar* bar, int value) {
  if (bar == sbA) Adsr.A = value, Adsr.SetAttack(value);
  if (bar == sbD) Adsr.D = value, Adsr.SetDecay(value);
  if (bar == sbS) Adsr.S = value, Adsr.SetSustain(value);
  if (bar == sbR) Adsr.R = value, Adsr.SetRelease(value);
  UpdateControls();
}

void TfADSR::DrawEnvelope() { PaintEnvelope(pbV, Adsr.Envelope, false); }

void TfADSR::cbVChange() {
  const auto& table = main_.Document().VolumeEnvelopes;
  const int n = cbV->currentIndex() + 1;
  if (n < 1 || n > table.Count()) return;
  eName->setText(FromWindows1252(table[n].Name));
  Adsr.Envelope.Name = table[n].Name;
  if (TAdsrEditor::HasAdsrShape(table[n])) {
    Adsr.Envelope = table[n];
    Adsr.UpdateControls();
    UpdateControls();
  }
}

void TfADSR::bAddClick() {
  tools_.AddVolumeEnvelope(Adsr.Envelope);
  const QSignalBlocker block(cbV);
  eName->setText(FromWindows1252(tools_.FillVolumeEnvelopeCombo(cbV, -1)));
}

void TfADSR::bUpdateClick() {
  if (cbV->currentIndex() < 0) return;
  tools_.ReplaceVolumeEnvelope(cbV->currentIndex() + 1, Adsr.Envelope);
  const QSignalBlocker block(cbV);
  eName->setText(FromWindows1252(tools_.FillVolumeEnvelopeCombo(cbV, -2)));
}

void TfADSR::bDeleteClick() {
  if (cbV->currentIndex() < 0) return;
  tools_.DeleteVolumeEnvelope(cbV->currentIndex() + 1);
  {
    const QSignalBlocker block(cbV);
    eName->setText(FromWindows1252(tools_.FillVolumeEnvelopeCombo(cbV, -2)));
  }
  const auto& table = main_.Document().VolumeEnvelopes;
  const int n = cbV->currentIndex() + 1;
  if (n >= 1 && n <= table.Count()) Adsr.Envelope = table[n];  // whatever its shape
  DrawEnvelope();
}

void TfADSR::bPlayClick() { tools_.PlayVolumeEnvelope(Adsr.Envelope); }

void TfADSR::bRandomClick() {
  Adsr.Random(Random);
  UpdateControls();
}

void TfADSR::bInitClick() {
  Adsr.InitDefaultEnvelope();
  UpdateControls();
}

void TfADSR::bHelpClick() { main_.Help().showTopic("volumeenvelopeeditwindows_adsr"); }

void TfADSR::keyPressEvent(QKeyEvent* e) {
  if (!EditorKey(this, e, [this] { bHelpClick(); })) QDialog::keyPressEvent(e);
}

int ShowAdsrEditor(TfMain& main, int envelopeItem) {
  TfADSR d(main, envelopeItem, &main);
  return d.exec() == QDialog::Accepted ? kalvora::platform::mrOk : kalvora::platform::mrCancel;
}
