#include "windows/ManagM.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/Macros.h"
#include "platform/Prompts.h"
#include "views/BoundedMemo.h"
#include "views/SingleLineField.h"
#include "views/Windows1252.h"
#include "windows/MacroRec.h"
#include "windows/Main.h"

using kalvora::platform::mrCancel;
using kalvora::platform::mrOk;
using kalvora::platform::mrYes;

// --- rename

TfRenMacro::TfRenMacro(TInstrumentDocument& doc, const std::string& name, QWidget* parent)
    : QDialog(parent), doc_(doc) {
  setObjectName(QStringLiteral("fRenMacro"));
  setWindowTitle(QStringLiteral("Rename The Macro"));
  setModal(true);
  auto* v = new QVBoxLayout(this);
  v->addWidget(new QLabel(QStringLiteral("Type in the new name of the selected macro:"), this));
  eNewName = new QLineEdit(FromWindows1252(name), this);
  eNewName->setObjectName(QStringLiteral("eNewName"));
  eNewName->setToolTip(QStringLiteral("type in the new name of the macro"));
  BoundCharacters(eNewName, static_cast<int>(TMacro::kMaxName));
  v->addWidget(eNewName);
  lStatus = new QLabel(QStringLiteral("Name is already in use."), this);
  lStatus->setObjectName(QStringLiteral("lStatus"));
  QPalette pal = lStatus->palette();
  pal.setColor(QPalette::WindowText, Qt::red);
  lStatus->setPalette(pal);
  // Keeps its place when hidden, so the dialog does not jump.
  QSizePolicy sp = lStatus->sizePolicy();
  sp.setRetainSizeWhenHidden(true);
  lStatus->setSizePolicy(sp);
  v->addWidget(lStatus);
  auto* buttons = new QHBoxLayout;
  bOK = new QPushButton(QStringLiteral("&OK"), this);
  bCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  buttons->addStretch(1);
  buttons->addWidget(bOK);
  buttons->addWidget(bCancel);
  v->addLayout(buttons);
  connect(bOK, &QPushButton::clicked, this, [this] { AcceptName(); });
  connect(bCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
  connect(eNewName, &QLineEdit::textChanged, this, [this] { ShowNameState(); });
  ShowNameState();
  setFixedSize(sizeHint().expandedTo(QSize(320, 0)));
}

bool TfRenMacro::NameExists() const {
  const std::string name = NewName();
  for (const TMacro& m : doc_.Macros)
    if (m.Name == name) return true;
  return false;
}

std::string TfRenMacro::NewName() const { return ToWindows1252(eNewName->text()); }

void TfRenMacro::ShowNameState() { lStatus->setVisible(NameExists()); }

void TfRenMacro::AcceptName() {
  if (!NameExists()) done(mrOk);
}

void TfRenMacro::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) return AcceptName();
  if (e->key() == Qt::Key_Escape) return done(mrCancel);
  QDialog::keyPressEvent(e);
}

// --- manager

TfManagM::TfManagM(TfMain* main) : QDialog(main), main_(main), doc_(main->Document()) {
  setObjectName(QStringLiteral("fManagM"));
  setWindowTitle(QStringLiteral("The Macro Manager"));
  setModal(true);
  auto* grid = new QGridLayout(this);
  lbMacros = new QListWidget(this);
  lbMacros->setObjectName(QStringLiteral("lbMacros"));
  lbMacros->setToolTip(QStringLiteral("select an item"));
  lbMacros->setMinimumWidth(170);
  memoDescription = new TBoundedMemo(static_cast<int>(TMacro::kMaxDescription), this);
  memoDescription->setObjectName(QStringLiteral("memoDescription"));
  memoDescription->setToolTip(QStringLiteral("read or write the description for the selected macro"));
  memoDescription->setTabChangesFocus(true);
  memoDescription->setFixedHeight(60);
  HotKey = new QKeySequenceEdit(this);
  HotKey->setObjectName(QStringLiteral("HotKey"));
  HotKey->setToolTip(QStringLiteral("read or type in a shortcut for the macro"));
  sgCommands = new QTableWidget(0, 2, this);
  sgCommands->setObjectName(QStringLiteral("sgCommands"));
  sgCommands->setToolTip(QStringLiteral("these are the commands of the selected macro"));
  sgCommands->setHorizontalHeaderLabels({QStringLiteral("Parameter"), QStringLiteral("Value")});
  sgCommands->setSelectionBehavior(QAbstractItemView::SelectRows);
  sgCommands->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sgCommands->verticalHeader()->hide();
  sgCommands->horizontalHeader()->setStretchLastSection(true);
  sgCommands->setColumnWidth(0, 200);
  sgCommands->setMinimumSize(340, 200);
  cbRelative = new QCheckBox(QStringLiteral("Relative parameters"), this);
  cbRelative->setObjectName(QStringLiteral("cbRelative"));
  cbRelative->setToolTip(QStringLiteral("if this box is checked, all parameters works relatively"));

  auto button = [this](const char* caption, const char* name, const char* hint) {
    auto* b = new QPushButton(QString::fromLatin1(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    if (hint) b->setToolTip(QString::fromLatin1(hint));
    return b;
  };
  bMoveUp = button("Move &Up", "bMoveUp", "exchange the selected item with the previous one");
  bMoveDown = button("Move &Dw", "bMoveDown", "exchange the selected item with the next one");
  bSortUp = button("Sort U&p", "bSortUp", "sort the macros by name");
  bSortDown = button("Sort D&own", "bSortDown", "sort the macros by name");
  bRename = button("&Rename", "bRename", "rename the selected macro");
  bDelete = button("De&lete", "bDelete", "delete the selected macro");
  bOK = button("&OK", "bOK", nullptr);
  bHelp = button("&Help", "bHelp", nullptr);

  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel(QStringLiteral("Macros:"), this));
  left->addWidget(lbMacros, 1);
  auto* moves = new QGridLayout;
  moves->addWidget(bMoveUp, 0, 0);
  moves->addWidget(bMoveDown, 0, 1);
  moves->addWidget(bSortUp, 1, 0);
  moves->addWidget(bSortDown, 1, 1);
  moves->addWidget(bRename, 2, 0);
  moves->addWidget(bDelete, 2, 1);
  left->addLayout(moves);
  grid->addLayout(left, 0, 0, 2, 1);
  auto* right = new QGridLayout;
  right->addWidget(new QLabel(QStringLiteral("Description:"), this), 0, 0, Qt::AlignTop);
  right->addWidget(memoDescription, 0, 1);
  right->addWidget(new QLabel(QStringLiteral("Short Cut:"), this), 1, 0);
  right->addWidget(HotKey, 1, 1);
  right->addWidget(cbRelative, 2, 1);
  right->addWidget(sgCommands, 3, 0, 1, 2);
  grid->addLayout(right, 0, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(bOK);
  buttons->addWidget(bHelp);
  grid->addLayout(buttons, 1, 1);

  auto selected = [this]() -> TMacro* {
    const int i = SelectedMacro();
    return i >= 1 ? &doc_.Macros[i - 1] : nullptr;
  };
  connect(memoDescription, &QPlainTextEdit::textChanged, this, [this, selected] {
    if (TMacro* m = selected(); m && !filling_) m->Description = ToWindows1252(memoDescription->Text());
  });
  // The hot key is taken on every change, not only when the field is left,
  // so closing the window with the field focused keeps the new key.
  KeepFirstKeyOnly(HotKey);
  connect(HotKey, &QKeySequenceEdit::keySequenceChanged, this, [this, selected](const QKeySequence& k) {
    if (TMacro* m = selected(); m && !filling_ && k.count() <= 1) m->HotKey = KeySequenceToHotKey(k);
  });
  connect(cbRelative, &QCheckBox::clicked, this, [this, selected](bool on) {
    if (TMacro* m = selected()) {
      m->Relative = on;
      ShowMacroSteps();
    }
  });
  connect(lbMacros, &QListWidget::currentRowChanged, this, [this] {
    if (!filling_) ShowMacroSteps();
  });
  connect(bMoveUp, &QPushButton::clicked, this, [this] { MoveMacroUp(); });
  connect(bMoveDown, &QPushButton::clicked, this, [this] { MoveMacroDown(); });
  connect(bSortUp, &QPushButton::clicked, this, [this] { SortMacrosUp(); });
  connect(bSortDown, &QPushButton::clicked, this, [this] { SortMacrosDown(); });
  connect(bRename, &QPushButton::clicked, this, [this] { RenameMacro(); });
  connect(bDelete, &QPushButton::clicked, this, [this] { DeleteMacro(); });
  connect(bOK, &QPushButton::clicked, this, [this] { done(mrOk); });
  connect(bHelp, &QPushButton::clicked, this, [this] { main_->Help().showTopic("otherwindows_macromanager"); });

  setFixedSize(sizeHint().expandedTo(QSize(600, 380)));
  main->RestoreFormPosition(this, "ManageM");
  FillMacroList(1);
  ShowMacroSteps();
}

TfManagM::~TfManagM() = default;

void TfManagM::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) return main_->Help().showTopic("otherwindows_macromanager");
  if (e->key() == Qt::Key_Escape || ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !HotKey->hasFocus()))
    return done(mrOk);
  QDialog::keyPressEvent(e);
}

void TfManagM::FillMacroList(int selection) {
  filling_ = true;
  lbMacros->clear();
  for (const TMacro& m : doc_.Macros) lbMacros->addItem(FromWindows1252(m.Name));
  if (selection >= 1 && selection <= lbMacros->count()) lbMacros->setCurrentRow(selection - 1);
  filling_ = false;
}

int TfManagM::SelectedMacro() const {
  const int row = lbMacros->currentRow();
  return row >= 0 && row < static_cast<int>(doc_.Macros.size()) ? row + 1 : 0;
}

void TfManagM::ShowMacroSteps() {
  filling_ = true;
  const int i = SelectedMacro();
  const TMacro* m = i >= 1 ? &doc_.Macros[i - 1] : nullptr;
  for (QWidget* w : std::initializer_list<QWidget*>{memoDescription, HotKey, cbRelative, bRename, bDelete})
    w->setEnabled(m != nullptr);
  memoDescription->setPlainText(m ? FromWindows1252(m->Description) : QString());
  HotKey->setKeySequence(m ? HotKeyToKeySequence(m->HotKey) : QKeySequence());
  cbRelative->setChecked(m && m->Relative);
  sgCommands->setRowCount(m ? static_cast<int>(m->Steps.size()) : 0);
  if (m)
    for (std::size_t r = 0; r < m->Steps.size(); ++r) {
      const TMacroStepRow row = MacroStepRow(m->Steps[r], m->Relative);
      sgCommands->setItem(static_cast<int>(r), 0, new QTableWidgetItem(FromWindows1252(row.Parameter)));
      sgCommands->setItem(static_cast<int>(r), 1, new QTableWidgetItem(FromWindows1252(row.Value)));
    }
  filling_ = false;
}

void TfManagM::SwapMacros(int i, int j) { std::swap(doc_.Macros.at(i - 1), doc_.Macros.at(j - 1)); }

void TfManagM::MoveMacroUp() {
  const int i = SelectedMacro();
  if (i < 2) return;
  SwapMacros(i, i - 1);
  FillMacroList(i - 1);
  ShowMacroSteps();
}

void TfManagM::MoveMacroDown() {
  const int i = SelectedMacro();
  if (i < 1 || i >= static_cast<int>(doc_.Macros.size())) return;
  SwapMacros(i, i + 1);
  FillMacroList(i + 1);
  ShowMacroSteps();
}

void TfManagM::SortMacrosUp() {
  SortMacros(doc_.Macros, true);
  FillMacroList(1);
  ShowMacroSteps();
}

void TfManagM::SortMacrosDown() {
  SortMacros(doc_.Macros, false);
  FillMacroList(1);
  ShowMacroSteps();
}

void TfManagM::RenameMacro() {
  const int i = SelectedMacro();
  if (i < 1) return;
  TfRenMacro dialog(doc_, doc_.Macros[i - 1].Name, this);
  if (dialog.exec() != mrOk) return;
  doc_.Macros[i - 1].Name = dialog.NewName();
  FillMacroList(i);
  ShowMacroSteps();
}

void TfManagM::DeleteMacro() {
  const int i = SelectedMacro();
  if (main_->Prompts().confirm("Are you sure?") != mrYes || i < 1) return;
  doc_.Macros.erase(doc_.Macros.begin() + (i - 1));
  FillMacroList(i > 1 ? i - 1 : 1);
  ShowMacroSteps();
}
