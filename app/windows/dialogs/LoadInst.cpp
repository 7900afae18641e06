#include "windows/dialogs/LoadInst.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>
#include <QStyleHints>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

#include <sys/stat.h>

#include "core/InstrumentFileInfo.h"
#include "formats/ByteStream.h"
#include "formats/InstrumentFile.h"
#include "platform/qt/LocalPaths.h"
#include "views/Windows1252.h"

namespace fs = std::filesystem;
using kalvora::platform::FromQtPath;
using kalvora::platform::ToQtPath;

namespace {
// The entries of a folder by the bytes of their names, as a folder view
// lists them: no hidden entries, sub-folders or regular files whose name
// ends in `suffix` (any case), sorted by their shown names.
std::vector<std::string> FolderEntries(const std::string& folder, bool folders, const QString& suffix) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
    const std::string name = e.path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    std::error_code typeError;
    if (folders ? !e.is_directory(typeError) : !e.is_regular_file(typeError)) continue;
    if (!folders && !ToQtPath(name).endsWith(suffix, Qt::CaseInsensitive)) continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
    return ToQtPath(a).compare(ToQtPath(b), folders ? Qt::CaseSensitive : Qt::CaseInsensitive) < 0;
  });
  return names;
}

void AddEntries(QListWidget* list, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    auto* item = new QListWidgetItem(ToQtPath(name), list);
    item->setData(Qt::UserRole, QByteArray::fromStdString(name));
  }
}

// A file's name or a folder's whole path, as the file system names it.
std::string EntryName(const QListWidgetItem* item) { return item->data(Qt::UserRole).toByteArray().toStdString(); }

constexpr int kDepthRole = Qt::UserRole + 1;

void AddFolder(QListWidget* list, const std::string& shown, const std::string& path, int depth, bool open) {
  const QIcon icon = list->style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon);
  auto* item = new QListWidgetItem(icon, ToQtPath(shown), list);
  item->setData(Qt::UserRole, QByteArray::fromStdString(path));
  item->setData(kDepthRole, depth);
}

// Each folder is indented by its depth under the root, so the list reads as
// the path down to the current folder with its sub-folders under it.
class IndentedFolders : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem o(option);
    o.rect.setLeft(o.rect.left() + Indent(o, index));
    QStyledItemDelegate::paint(p, o, index);
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QStyledItemDelegate::sizeHint(option, index) + QSize(Indent(option, index), 0);
  }

 private:
  static int Indent(const QStyleOptionViewItem& o, const QModelIndex& index) {
    return index.data(kDepthRole).toInt() * o.fontMetrics.height();
  }
};
}  // namespace

TfLoadInst::TfLoadInst(QWidget* parent) : QDialog(parent) {
  setObjectName("fLoadInst");
  setWindowTitle(QStringLiteral("Load A Kalvora Instrument"));
  auto* top = new QVBoxLayout(this);
  auto* groups = new QHBoxLayout;
  top->addLayout(groups);

  auto* sel = new QGroupBox(QStringLiteral(" File Selection "), this);
  sel->setObjectName("gbFileSelection");
  auto* sg = new QGridLayout(sel);
  eFileName = new QLineEdit(QStringLiteral("*.kvi"), sel);
  eFileName->setObjectName("eFileName");
  sg->addWidget(eFileName, 0, 0);
  DriveList = new QComboBox(sel);
  DriveList->setObjectName("DriveList");
  for (const QFileInfo& d : QDir::drives()) DriveList->addItem(d.absoluteFilePath());
  sg->addWidget(DriveList, 0, 1);
  FileList = new QListWidget(sel);
  FileList->setObjectName("FileList");
  FileList->setMinimumSize(180, 200);
  sg->addWidget(FileList, 1, 0);
  DirectoryList = new QListWidget(sel);
  DirectoryList->setObjectName("DirectoryList");
  DirectoryList->setMinimumSize(260, 200);  // room for a path a few folders deep
  DirectoryList->setItemDelegate(new IndentedFolders(DirectoryList));
  DirectoryList->installEventFilter(this);
  DirectoryList->viewport()->installEventFilter(this);
  sg->addWidget(DirectoryList, 1, 1);
  rbInstruments = new QRadioButton(QStringLiteral("Instruments"), sel);
  rbInstruments->setObjectName("rbInstruments");
  rbInstruments->setChecked(true);
  rbAllFiles = new QRadioButton(QStringLiteral("All Files"), sel);
  rbAllFiles->setObjectName("rbAllFiles");
  sg->addWidget(rbInstruments, 2, 0);
  sg->addWidget(rbAllFiles, 2, 1);
  groups->addWidget(sel);

  auto* inf = new QGroupBox(QStringLiteral(" File Info "), this);
  inf->setObjectName("gbFileInfo");
  auto* ig = new QGridLayout(inf);
  ig->addWidget(new QLabel(QStringLiteral("Description:"), inf), 0, 0, 1, 2);
  mDescription = new QPlainTextEdit(inf);
  mDescription->setObjectName("mDescription");
  mDescription->setReadOnly(true);
  mDescription->setMinimumSize(260, 150);
  ig->addWidget(mDescription, 1, 0, 1, 2);
  const char* names[3] = {"Version to load:", "Size:", "Date:"};
  QLabel** values[3] = {&lVersion, &lSize, &lDate};
  const char* objects[3] = {"lVersion", "lSize", "lDate"};
  for (int i = 0; i < 3; ++i) {
    ig->addWidget(new QLabel(QString::fromLatin1(names[i]), inf), 2 + i, 0);
    *values[i] = new QLabel(inf);
    (*values[i])->setObjectName(objects[i]);
    (*values[i])->setMinimumWidth(160);
    ig->addWidget(*values[i], 2 + i, 1);
  }
  groups->addWidget(inf);

  auto* buttons = new QHBoxLayout;
  top->addLayout(buttons);
  auto button = [&](QPushButton*& b, const char* name, const char* text) {
    b = new QPushButton(QString::fromLatin1(text), this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    buttons->addWidget(b);
  };
  button(bLoad, "bLoad", "&Load");
  button(bDelete, "bDelete", "&Delete");
  button(bCancel, "bCancel", "&Cancel");
  button(bHelp, "bHelp", "&Help");
  connect(bLoad, &QPushButton::clicked, this, &TfLoadInst::bLoadClick);
  connect(bDelete, &QPushButton::clicked, this, &TfLoadInst::bDeleteClick);
  connect(bCancel, &QPushButton::clicked, this, [this] { done(2); });
  connect(bHelp, &QPushButton::clicked, this, [this] { if (ShowHelp) ShowHelp("otherwindows_loadaninstrument"); });

  connect(FileList, &QListWidget::currentRowChanged, this, &TfLoadInst::ShowSelection);
  // Also the highlighted file, whose information may have changed on disk.
  connect(FileList, &QListWidget::itemClicked, this, &TfLoadInst::ShowSelection);
  // The name field and the selection name the same file: a typed name that
  // is listed selects it, any other leaves nothing selected.
  connect(eFileName, &QLineEdit::textEdited, this, [this](const QString& typed) {
    const QSignalBlocker block(FileList);
    FileList->clearSelection();
    FileList->setCurrentItem(ListedFile(typed));
    if (FileList->currentItem()) FileList->scrollToItem(FileList->currentItem());
    ShowFileInfo();
  });
  connect(FileList, &QListWidget::itemDoubleClicked, this, [this] {
    ShowFileInfo();
    if (bLoad->isEnabled()) bLoadClick();
  });
  // A click opens the folder, on the path or below it; Return does so
  // through the event filter.
  connect(DirectoryList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    openedByClickAt_ = lastRelease_;
    EnterFolder(EntryName(item));
  });
  connect(DriveList, &QComboBox::activated, this, [this] { SetFolder(DriveList->currentText()); });
  connect(rbInstruments, &QRadioButton::toggled, this, [this] { RereadFiles(); });
  std::error_code ec;
  folderBytes_ = fs::current_path(ec).string();
  bLoad->setEnabled(false);
}

// A folder whose name is not UTF-8 reaches Qt's text altered: it is listed
// by its bytes.
void TfLoadInst::SetFolder(const QString& folder) { EnterFolder(FromQtPath(QDir(folder).absolutePath())); }

void TfLoadInst::EnterFolder(const std::string& folder) {
  folderBytes_ = fs::path(folder).lexically_normal().string();
  if (folderBytes_.size() > 1 && folderBytes_.back() == '/') folderBytes_.pop_back();
  {
    const QSignalBlocker block(FileList);
    FileList->clear();  // nothing to keep: the new folder starts at its first file
  }
  ListFolder();
}

// The path from the root down to the current folder, which is highlighted,
// then its sub-folders; every entry holds its whole path.
void TfLoadInst::ListFolder() {
  DirectoryList->clear();
  int depth = 0;
  fs::path path;
  for (const fs::path& part : fs::path(folderBytes_)) {
    if (part.empty()) continue;
    path /= part;
    AddFolder(DirectoryList, part.string(), path.string(), depth++, true);
  }
  if (QListWidgetItem* current = DirectoryList->item(DirectoryList->count() - 1)) {
    QFont bold = DirectoryList->font();
    bold.setBold(true);
    current->setFont(bold);
    DirectoryList->setCurrentItem(current);
  }
  for (const std::string& name : FolderEntries(folderBytes_, true, {}))
    AddFolder(DirectoryList, name, (fs::path(folderBytes_) / name).string(), depth, false);
  if (DirectoryList->currentItem()) DirectoryList->scrollToItem(DirectoryList->currentItem());
  RereadFiles();
}

// The file highlighted before stays highlighted; when it went (Delete), the
// one now in its place; else the first.
void TfLoadInst::RereadFiles() {
  const int row = FileList->currentRow();
  const QByteArray kept = FileList->currentItem() ? FileList->currentItem()->data(Qt::UserRole).toByteArray() : QByteArray();
  {
    const QSignalBlocker block(FileList);
    FileList->clear();
    AddEntries(FileList, FolderEntries(folderBytes_, false, rbInstruments->isChecked() ? QStringLiteral(".kvi") : QString()));
    int at = FileList->count() > 0 ? std::clamp(row, 0, FileList->count() - 1) : -1;
    for (int i = 0; i < FileList->count() && !kept.isEmpty(); ++i)
      if (FileList->item(i)->data(Qt::UserRole).toByteArray() == kept) at = i;
    FileList->setCurrentRow(at);
  }
  ShowSelection();
}

// With nothing highlighted the name field shows the mask, as when the dialog
// was made.
void TfLoadInst::ShowSelection() {
  if (FileList->currentItem()) {
    eFileName->setText(FileList->currentItem()->text());
  } else {
    eFileName->setText(rbInstruments->isChecked() ? QStringLiteral("*.kvi") : QStringLiteral("*.*"));
  }
  ShowFileInfo();
}

// The selected file first: two names that are not UTF-8 may show alike.
QListWidgetItem* TfLoadInst::ListedFile(const QString& name) const {
  if (FileList->currentItem() && FileList->currentItem()->text() == name) return FileList->currentItem();
  const auto found = FileList->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
  return found.isEmpty() ? nullptr : found.first();
}

std::string TfLoadInst::SelectedPath() const {
  if (!FileList->currentItem()) return {};
  return (fs::path(folderBytes_) / EntryName(FileList->currentItem())).string();
}

QString TfLoadInst::SelectedFile() const { return ToQtPath(SelectedPath()); }

void TfLoadInst::ShowFileInfo() {
  const std::string name = SelectedPath();
  struct stat st;
  if (name.empty() || ::stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    lDate->clear();
    lSize->clear();
    lVersion->clear();
    mDescription->clear();
    bLoad->setEnabled(false);
    return;
  }
  lDate->setText(QLocale().toString(QDateTime::fromSecsSinceEpoch(st.st_mtime), QLocale::ShortFormat));
  lSize->setText(QStringLiteral("%1 Bytes").arg(static_cast<qint64>(st.st_size)));
  mDescription->setEnabled(false);
  TInstrumentFileInfo info;
  try {
    info = ReadInstrumentFileInfo(ReadFileBytes(name, kMaxInstrumentFileSize));
  } catch (const std::exception&) {
    // An unreadable or oversized file is no instrument this program wrote.
  }
  mDescription->clear();
  if (!info.RightHeader) {
    bLoad->setEnabled(false);
    mDescription->appendPlainText(QStringLiteral("              wrong file format"));
    mDescription->appendPlainText(QStringLiteral("              --------------------------"));
    lVersion->clear();
  } else {
    bLoad->setEnabled(true);
    lVersion->setText(QString::fromStdString(info.Version));
    QStringList lines;
    for (const std::string& line : info.Description) lines << FromWindows1252(line);
    mDescription->setPlainText(lines.join(QLatin1Char('\n')));
  }
  mDescription->setEnabled(true);
}

// Loads the file the name field names, never another: a name that is not
// listed loads nothing, is said so and leaves the dialog open.
void TfLoadInst::bLoadClick() {
  const QString typed = eFileName->text();
  QListWidgetItem* file = ListedFile(typed);
  if (!file) {
    if (ShowMessage)
      ShowMessage(typed.isEmpty() ? std::string("No file is chosen; nothing was loaded.")
                                  : "There is no file \"" + typed.toStdString() + "\" in the file list; nothing was loaded.");
    return;
  }
  if (file != FileList->currentItem()) FileList->setCurrentItem(file);
  if (Load) Load(SelectedPath());
  done(1);
}

void TfLoadInst::bDeleteClick() {
  const std::string name = SelectedPath();
  if (name.empty() || !Confirm || !Confirm()) return;
  std::error_code ec;
  fs::remove(name, ec);
  RereadFiles();
  // A file that stays (a folder the user may not write) is said so.
  if (ec && ShowMessage) ShowMessage("Can not delete the file \"" + name + "\": " + ec.message());
}

void TfLoadInst::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  ListFolder();
}

void TfLoadInst::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return bLoadClick();
    case Qt::Key_Escape: return done(2);
    case Qt::Key_F1:
      if (ShowHelp) ShowHelp("otherwindows_loadaninstrument");
      return;
    default: QDialog::keyPressEvent(e);
  }
}

bool TfLoadInst::eventFilter(QObject* watched, QEvent* e) {
  if (watched == DirectoryList && e->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(e)->key();
    // The list would pass Return on to the dialog, which loads a file.
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (QListWidgetItem* item = DirectoryList->currentItem()) EnterFolder(EntryName(item));
      return true;
    }
  } else if (watched == DirectoryList->viewport()) {
    switch (e->type()) {
      case QEvent::MouseButtonPress: {
        const qint64 since = qint64(static_cast<QMouseEvent*>(e)->timestamp()) - openedByClickAt_;
        swallowClick_ = openedByClickAt_ >= 0 && since >= 0 && since < QGuiApplication::styleHints()->mouseDoubleClickInterval();
        return swallowClick_;
      }
      case QEvent::MouseButtonDblClick: return true;  // its first click opened the folder
      case QEvent::MouseButtonRelease:
        lastRelease_ = qint64(static_cast<QMouseEvent*>(e)->timestamp());
        if (swallowClick_) {
          swallowClick_ = false;
          return true;
        }
        break;
      default: break;
    }
  }
  return QDialog::eventFilter(watched, e);
}
