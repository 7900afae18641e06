#include "windows/Managers.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/EnvelopeEdit.h"
#include "platform/Prompts.h"
#include "views/Colors.h"
#include "views/PaintBox.h"
#include "views/SingleLineField.h"
#include "views/Windows1252.h"
#include "windows/LibraryReports.h"
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

}  // namespace

// --- rename dialog --------------------------------------------------------------

TRenameDialog::TRenameDialog(const TLibraryManager& manager, const std::string& current, const char* objectName,
                             const char* caption, QWidget* parent)
    : QDialog(parent), manager_(manager) {
  setObjectName(objectName);
  setWindowTitle(caption);
  setModal(true);
  auto* prompt = new QLabel("Please enter a new name for the selected wave preset:", this);
  prompt->setObjectName("lPrompt");
  eNewName = new QLineEdit(FromWindows1252(current), this);
  eNewName->setObjectName("eNewName");
  BoundCharacters(eNewName, static_cast<int>(manager.MaxName()));
  lStatus = new QLabel("Name is already in use.", this);
  lStatus->setObjectName("lStatus");
  lStatus->setStyleSheet("color: red");
  bOK = Button(this, "bOK", "&OK");
  bCancel = Button(this, "bCancel", "&Cancel");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(lStatus, 1);
  buttons->addWidget(bOK);
  buttons->addWidget(bCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  layout->addWidget(eNewName);
  layout->addLayout(buttons);
  auto refresh = [this] { lStatus->setVisible(NameExists()); };
  connect(eNewName, &QLineEdit::textChanged, this, refresh);
  connect(bOK, &QPushButton::clicked, this, [this] { AcceptIfNew(); });
  connect(bCancel, &QPushButton::clicked, this, [this] { reject(); });
  refresh();
  setMinimumWidth(sizeHint().width() + 40);
}

bool TRenameDialog::NameExists() const { return manager_.NameExists(ToWindows1252(eNewName->text())); }

void TRenameDialog::AcceptIfNew() {
  if (!NameExists()) accept();
}

std::string TRenameDialog::NewName() const { return ToWindows1252(eNewName->text()); }

void TRenameDialog::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) return AcceptIfNew();
  if (e->key() == Qt::Key_Escape) return reject();
  QDialog::keyPressEvent(e);
}

// --- manager window -----------------------------------------------------------

TLibraryManagerWindow::TLibraryManagerWindow(TfMain& main, TLibraryKind kind, QWidget* parent)
    : QDialog(parent), Manager(main.Document(), kind), main_(main), kind_(kind) {
  const bool presets = kind == TLibraryKind::WavePresets;
  setObjectName(presets ? "fManagW" : "fManagV");
  setWindowTitle(presets ? "The Wave Preset Manager" : "The Volume Envelope Preset Manager");
  setModal(true);
  key_ = presets ? "ManageW" : "ManageV";
  help_ = presets ? "preseteditwindows_manager" : "volumeenvelopeeditwindows_manager";

  list = new QListWidget(this);
  list->setObjectName(presets ? "lbPresets" : "lbEnvelopes");
  list->setToolTip("select an item");
  list->setMinimumSize(list->fontMetrics().horizontalAdvance(QString(presets ? 30 : 22, QChar('n'))), 260);
  box = new TPaintBox(this, presets ? "pbWave" : "pbEnvelope");
  box->setFixedSize(75, 75);
  if (presets) box->setToolTip("the graphic representation of the selected wave");
  bMoveUp = Button(this, "bMoveUp", "Move &Up", "exchange the selected item with the previous one");
  bMoveDown = Button(this, "bMoveDown", "Move &Dw", "exchange the selected item with the next one");
  bSortUp = Button(this, "bSortUp", "Sort U&p", "sort the names ascending");
  bSortDown = Button(this, "bSortDown", "Sort D&own", "sort the names descending");
  bDelete = Button(this, "bDelete", "De&lete");
  bRename = Button(this, "bRename", "&Rename");
  bPlay = Button(this, "bPlay", "P&lay");
  bReport = Button(this, "bReport", "Repor&t", "print a report of the whole library");
  bHelp = Button(this, "bHelp", "&Help");
  bOK = Button(this, "bOK", "&OK");

  auto* right = new QVBoxLayout;
  right->addWidget(box, 0, Qt::AlignHCenter);
  for (QPushButton* b : {bMoveUp, bMoveDown, bSortUp, bSortDown, bDelete, bRename, bPlay, bReport}) right->addWidget(b);
  right->addStretch(1);
  right->addWidget(bHelp);
  right->addWidget(bOK);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(list, 1);
  layout->addLayout(right);

  box->OnPaint = [this] {
    if (box->Picture.isNull()) DrawSelected();
  };
  connect(list, &QListWidget::currentRowChanged, this, [this] { DrawSelected(); });
  connect(bMoveUp, &QPushButton::clicked, this, [this] { MoveUp(); });
  connect(bMoveDown, &QPushButton::clicked, this, [this] { MoveDown(); });
  connect(bSortUp, &QPushButton::clicked, this, [this] { SortUp(); });
  connect(bSortDown, &QPushButton::clicked, this, [this] { SortDown(); });
  connect(bDelete, &QPushButton::clicked, this, [this] { bDeleteClick(); });
  connect(bRename, &QPushButton::clicked, this, [this] { bRenameClick(); });
  connect(bPlay, &QPushButton::clicked, this, [this] { bPlayClick(); });
  connect(bReport, &QPushButton::clicked, this, [this] { bReportClick(); });
  connect(bHelp, &QPushButton::clicked, this, [this] { bHelpClick(); });
  connect(bOK, &QPushButton::clicked, this, [this] { accept(); });

  AskNewName = [this](const std::string& current) -> std::optional<std::string> {
    std::unique_ptr<TRenameDialog> d;
    if (kind_ == TLibraryKind::WavePresets) d = std::make_unique<TfRenWPreset>(Manager, current, this);
    else d = std::make_unique<TfRenEnvelope>(Manager, current, this);
    if (d->exec() != QDialog::Accepted) return std::nullopt;
    return d->NewName();
  };
  ShowReport = [this](const TLibraryReport& report) { report.Preview(main_.Document(), this); };
  main_.RestoreFormPosition(this, key_);
}

TLibraryManagerWindow::~TLibraryManagerWindow() { main_.SaveFormPosition(this, key_); }

void TLibraryManagerWindow::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!activated_) {
    activated_ = true;
    FillList(Manager.Count() > 0 ? 1 : 0);
  }
}

int TLibraryManagerWindow::Selected() const { return list->currentRow() + 1; }

void TLibraryManagerWindow::FillList(int number) {
  {
    const QSignalBlocker block(list);
    list->clear();
    for (const std::string& name : Manager.Names()) list->addItem(FromWindows1252(name));
    list->setCurrentRow(number >= 1 && number <= list->count() ? number - 1 : -1);
  }
  DrawSelected();
}

void TLibraryManagerWindow::DrawSelected() {
  box->NewPicture(clSilver);
  const int n = Selected();
  const auto& doc = main_.Document();
  if (n >= 1 && n <= Manager.Count()) {
    QPainter p(&box->Picture);
    p.setPen(ColorFromBGR(clBlack));
    QPolygon line;
    if (kind_ == TLibraryKind::WavePresets) {
      const TWavePreset& w = doc.WavePresets[n];
      for (int i = 0; i < TWavePreset::kSamples; ++i) line << QPoint(i / 2, (149 - w.Data[i]) / 2);
    } else {
      const TVolumeEnvelope& e = doc.VolumeEnvelopes[n];
      for (int i = 0; i < e.Count; ++i) line << QPoint(EnvelopeX(e.X[i], box->width()), EnvelopeY(e.Y[i], box->height()));
    }
    p.drawPolyline(line);
  }
  box->update();
}

void TLibraryManagerWindow::MoveUp() {
  const int n = Selected();
  const int to = Manager.MoveUp(n);
  if (to != n) FillList(to);
}

void TLibraryManagerWindow::MoveDown() {
  const int n = Selected();
  const int to = Manager.MoveDown(n);
  if (to != n) FillList(to);
}

void TLibraryManagerWindow::SortUp() { FillList(Manager.Sort(true)); }
void TLibraryManagerWindow::SortDown() { FillList(Manager.Sort(false)); }

void TLibraryManagerWindow::bDeleteClick() {
  if (main_.Prompts().confirm(kAreYouSure) != kalvora::platform::mrYes) return;
  const int n = Selected();
  if (n < 1 || n > Manager.Count()) return;
  FillList(Manager.Delete(n));
}

void TLibraryManagerWindow::bRenameClick() {
  const int n = Selected();
  if (n < 1 || n > Manager.Count()) return;
  const std::string current = Manager.Names()[static_cast<std::size_t>(n - 1)];
  const auto name = AskNewName(current);
  if (!name) return;
  if (Manager.Rename(n, *name)) FillList(n);
}

void TLibraryManagerWindow::bPlayClick() {
  const int n = Selected();
  if (n < 1 || n > Manager.Count()) return;
  if (kind_ == TLibraryKind::WavePresets) main_.Tools()->PlayWavePreset(main_.Document().WavePresets[n]);
  else main_.Tools()->PlayVolumeEnvelope(main_.Document().VolumeEnvelopes[n]);
}

void TLibraryManagerWindow::bReportClick() {
  // The report forms live for the whole run beside the main window.
  TLibraryReport* report = nullptr;
  if (kind_ == TLibraryKind::WavePresets) report = main_.findChild<TfWavePresetReport*>();
  else report = main_.findChild<TfVolumeEnvelopeReport*>();
  if (report) return ShowReport(*report);
  if (kind_ == TLibraryKind::WavePresets) ShowReport(TfWavePresetReport(nullptr));
  else ShowReport(TfVolumeEnvelopeReport(nullptr));
}

void TLibraryManagerWindow::bHelpClick() { main_.Help().showTopic(help_); }

void TLibraryManagerWindow::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: accept(); return;
    case Qt::Key_F1: bHelpClick(); return;
    default: QDialog::keyPressEvent(e);
  }
}

TfManagW::TfManagW(TfMain& main, QWidget* parent)
    : TLibraryManagerWindow(main, TLibraryKind::WavePresets, parent), lbPresets(list), pbWave(box) {}

TfManagV::TfManagV(TfMain& main, QWidget* parent)
    : TLibraryManagerWindow(main, TLibraryKind::VolumeEnvelopes, parent), lbEnvelopes(list), pbEnvelope(box) {}

int ShowWavePresetManager(TfMain& main) {
  TfManagW d(main, &main);
  d.exec();
  return kalvora::platform::mrOk;
}

int ShowVolumeEnvelopeManager(TfMain& main) {
  TfManagV d(main, &main);
  d.exec();
  return kalvora::platform::mrOk;
}
