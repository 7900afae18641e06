// TMRUFileList: the recently used files as numbered items of a menu (or of a
// submenu of it), most recent first; a click reports the file. The list is
// kept by its owner (the settings file); nothing is saved by the component.
#pragma once

#include <QObject>
#include <QAction>
#include <QMenu>
#include <QPointer>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;

class TMRUFileList : public QObject {
  Q_OBJECT

 public:
  explicit TMRUFileList(QObject* owner = nullptr);
  ~TMRUFileList() override;

  int Maximum() const { return maximum_; }
  void SetMaximum(int maximum);  // 0..255; keeps the first entries
  bool RemoveOnClick = true;
  bool UseSubmenu() const { return useSubmenu_; }
  void SetUseSubmenu(bool on);
  const std::string& SubmenuName() const { return submenuName_; }
  void SetSubmenuName(const std::string& name);
  QMenu* FileMenu() const { return fileMenu_; }
  void SetFileMenu(QMenu* menu);
  // (clicked item, file name)
  std::function<void(QAction*, const std::string&)> OnMRUItemClick;

  // Adds the name at the top, or moves it there when the list holds it: the
  // same bytes, or another full path of the same existing file (that entry
  // keeps its own spelling); then rebuilds the menu.
  void AddItem(const std::string& fileName);
  // Drops the entry of exactly these bytes, if any.
  void RemoveItem(const std::string& fileName);
  const std::vector<std::string>& Items() const { return items_; }
  // Replaces the list (entry 0 first), cut to Maximum.
  void SetItems(std::vector<std::string> items);

  void BuildMenu();
  void RemoveMenuItems();
  // The submenu holding the items, while there is one.
  QMenu* Submenu() const { return submenu_; }
  void ItemClick(int number);  // 1-based

 private:
  std::vector<std::string> items_;
  int maximum_ = 5;
  bool useSubmenu_ = false;
  std::string submenuName_ = "Reopen";
  QPointer<QMenu> fileMenu_;
  QPointer<QMenu> submenu_;
  std::vector<QPointer<QAction>> created_;
};

// The item's number, 0 for the separator and the submenu item.
int MRUItemNumber(const QAction* action);
