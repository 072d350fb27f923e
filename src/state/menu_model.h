#pragma once
// The menu tree of the editor window as data: the top-level menus in menu-bar
// order, each with its items addressed by control-array name and index, the
// captions exactly as shown (accelerator "&" and trailing blanks kept), the
// shortcut keys and the visible, enabled and checked states. The window draws
// its menu bar from this tree and shows every change made to it; the logic
// changes states here, never on the widgets.
//
// Items without a function stay in their arrays hidden and disabled, so the
// indexes of the used items never move. An item whose command is not built
// yet is shown disabled until a handler is wired to it (`ready`).
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct MenuItem {
  std::string name;      // control name: "Menu_1Sub", "MaskGamen", "HelpIndex", "Menu_1"
  int index = -1;        // index in its control array; -1 for a control of its own
  std::string caption;   // "-" is a separator
  std::string shortcut;  // "Ctrl+Z", "F7", "Shift+F2"; "" for none
  bool visible = true;
  bool enabled = true;
  bool checked = false;
  // A command handler is wired to the item. Submenus and separators need none.
  bool ready = false;
  // The item opens a menu (also one that has no items).
  bool opensMenu = false;
  std::vector<MenuItem> items;  // submenu, in menu order

  bool IsSeparator() const { return caption == "-"; }
  bool HasSubmenu() const { return opensMenu || !items.empty(); }
  // What the user can choose: enabled and, for a command, wired.
  bool Choosable() const { return enabled && (ready || HasSubmenu()); }
};

struct EditorMenus {
  std::vector<MenuItem> bar;  // top-level menus, menu-bar order

  // The item of that control name and index anywhere in the tree; null when
  // there is none. A control of its own is found with index -1.
  MenuItem* Find(std::string_view name, int index = -1);
  const MenuItem* Find(std::string_view name, int index = -1) const;
  // Like Find, for an item the tree is known to hold (throws std::out_of_range).
  MenuItem& At(std::string_view name, int index = -1);
  const MenuItem& At(std::string_view name, int index = -1) const;

  // Every item of a control array, in menu order.
  std::vector<MenuItem*> Array(std::string_view name);

  // Marks the item wired (or not); `index` -2 marks every item of the array.
  // False when no such item exists.
  bool SetReady(std::string_view name, int index, bool ready = true);
};

inline constexpr int kAllItems = -2;

// The tree as the window defines it at design time, before the load sets
// editions, captions and check marks. Every command is unwired; opening a
// top-level menu only gives the sheet grid the focus.
EditorMenus EditorMenuTree();

}  // namespace kv
