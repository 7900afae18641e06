#include "components/MRUList.h"

#include <QAction>
#include <QMenu>

#include <algorithm>
#include <filesystem>
#include <system_error>


namespace {

const char* const kNumberProperty = "MRUItemNumber";

// Names that differ only in letter case are two files here; on a folder that
// ignores case (or through a link) two spellings can still be one file.
// A name that does not exist (yet) matches only itself, and so does one that
// is not a full path (written by earlier builds): the folder it was typed in
// is not known, and the current one may hold another file of that name.
bool SameFile(const std::string& a, const std::string& b) {
  const std::filesystem::path pa(a), pb(b);
  if (!pa.is_absolute() || !pb.is_absolute()) return false;
  std::error_code ec;
  return std::filesystem::equivalent(pa, pb, ec) && !ec;
}

}  // namespace

int MRUItemNumber(const QAction* action) {
  const QVariant v = action ? action->property(kNumberProperty) : QVariant();
  return v.isValid() ? v.toInt() : 0;
}

TMRUFileList::TMRUFileList(QObject* owner) : QObject(owner) {}

TMRUFileList::~TMRUFileList() { RemoveMenuItems(); }

void TMRUFileList::SetMaximum(int maximum) {
  maximum_ = std::clamp(maximum, 0, 255);
  if (static_cast<int>(items_.size()) > maximum_) items_.resize(static_cast<std::size_t>(maximum_));
  BuildMenu();
}

void TMRUFileList::SetUseSubmenu(bool on) {
  if (on == useSubmenu_) return;
  useSubmenu_ = on;
  BuildMenu();
}

void TMRUFileList::SetSubmenuName(const std::string& name) {
  if (name == submenuName_) return;
  submenuName_ = name;
  BuildMenu();
}

void TMRUFileList::SetFileMenu(QMenu* menu) {
  RemoveMenuItems();
  fileMenu_ = menu;
  BuildMenu();
}

void TMRUFileList::AddItem(const std::string& fileName) {
  // The entry spelled alike moves, before another spelling of the same file.
  auto found = std::find(items_.begin(), items_.end(), fileName);
  if (found == items_.end())
    found = std::find_if(items_.begin(), items_.end(), [&](const std::string& s) { return SameFile(s, fileName); });
  if (found != items_.end()) {
    std::string kept = *found;
    items_.erase(found);
    items_.insert(items_.begin(), kept);
  } else {
    items_.insert(items_.begin(), fileName);
    if (static_cast<int>(items_.size()) > maximum_) items_.resize(static_cast<std::size_t>(maximum_));
  }
  BuildMenu();
}

void TMRUFileList::RemoveItem(const std::string& fileName) {
  const auto found = std::find(items_.begin(), items_.end(), fileName);
  if (found == items_.end()) return;
  items_.erase(found);
  BuildMenu();
}

void TMRUFileList::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  if (static_cast<int>(items_.size()) > maximum_) items_.resize(static_cast<std::size_t>(maximum_));
  BuildMenu();
}

void TMRUFileList::RemoveMenuItems() {
  // Deleted later: the click that rebuilds the menu runs inside an item's signal.
  for (const QPointer<QAction>& a : created_)
    if (a) {
      if (fileMenu_) fileMenu_->removeAction(a);
      a->deleteLater();
    }
  created_.clear();
  if (submenu_) submenu_->deleteLater();
  submenu_ = nullptr;
}

// Items are appended to the file menu: a separator, then the submenu or the
// numbered items themselves.
void TMRUFileList::BuildMenu() {
  if (!fileMenu_) return;
  RemoveMenuItems();
  if (items_.empty()) return;
  auto tag = [this](QAction* a, int number) {
    a->setProperty(kNumberProperty, number);
    created_.push_back(a);
  };
  tag(fileMenu_->addSeparator(), 0);
  QMenu* target = fileMenu_;
  if (useSubmenu_) {
    submenu_ = new QMenu(QString::fromStdString(submenuName_), fileMenu_);
    submenu_->setObjectName(QStringLiteral("MRUFileList"));
    tag(fileMenu_->addMenu(submenu_), 0);
    target = submenu_;
  }
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    QAction* a = target->addAction(QStringLiteral("&%1 ").arg(number) + QString::fromLocal8Bit(items_[i]));
    tag(a, number);
    connect(a, &QAction::triggered, this, [this, number] { ItemClick(number); });
  }
}

void TMRUFileList::ItemClick(int number) {
  if (number < 1 || number > static_cast<int>(items_.size())) return;
  const std::string file = items_[static_cast<std::size_t>(number - 1)];
  QAction* sender = nullptr;
  for (const QPointer<QAction>& a : created_)
    if (a && MRUItemNumber(a) == number) sender = a;
  if (RemoveOnClick) {
    items_.erase(items_.begin() + (number - 1));
    BuildMenu();
    sender = nullptr;  // rebuilt: the clicked item is gone
  }
  if (OnMRUItemClick) OnMRUItemClick(sender, file);
}
