#pragma once
// The editor's menu tree drawn on a QMenuBar: one QAction per item (a submenu's
// own action for an item with a submenu), found again by control name and
// index. Apply shows the tree's current captions, shortcuts and states.
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

class QAction;
class QMenu;
class QMenuBar;

namespace kv {

struct EditorMenus;
struct MenuItem;

class MenuBarView {
 public:
  // `chosen` is called with the control name and index of an item the user
  // chose, and of a top-level menu the user opened.
  using Chosen = std::function<void(const std::string& name, int index)>;

  MenuBarView(QMenuBar& bar, const EditorMenus& menus, Chosen chosen);

  // Shows every item's caption, shortcut, visibility, enabled state and check.
  void Apply(const EditorMenus& menus);

  // The action of an item; null when the tree has no such item.
  QAction* Action(const std::string& name, int index = -1) const;

 private:
  using Key = std::pair<std::string, int>;
  // An item's action and the caption and shortcut last given to it: Apply
  // runs after every command, and converting and parsing ~200 unchanged
  // texts each time is most of its cost.
  struct Entry {
    QAction* action = nullptr;
    std::optional<std::string> caption;
    std::optional<std::string> shortcut;
  };
  void Build(QMenu* parent, const MenuItem& item);
  void ApplyItem(const MenuItem& item);

  QMenuBar& bar_;
  Chosen chosen_;
  std::map<Key, Entry> actions_;
};

}  // namespace kv
