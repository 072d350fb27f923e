#pragma once
// The state of one toolbar's buttons by key: shown or hidden, enabled by the
// locks, pressed (the auto-advance group), and wired (its command exists).
// A button whose command is not built is shown disabled whatever a lock
// says. The window's toolbar views draw this model; commands and locks change
// it and then ask the views to refresh.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/toolbars/toolbar_tables.h"

namespace kv {

struct ToolButtonState {
  std::string key;
  ToolButtonStyle style = ToolButtonStyle::Push;
  bool visible = true;
  bool enabled = true;  // what the locks set
  bool pressed = false;
  bool wired = false;
};

class ToolbarModel {
 public:
  explicit ToolbarModel(std::span<const ToolButtonDef> table);

  std::span<const ToolButtonDef> Table() const { return table_; }
  bool Has(std::string_view key) const { return Find(key) != nullptr; }
  // The button as the user sees it: locks and wiring both allow it.
  bool Usable(std::string_view key) const;
  bool Visible(std::string_view key) const;
  bool Enabled(std::string_view key) const;  // the lock's setting alone
  bool Pressed(std::string_view key) const;
  bool Wired(std::string_view key) const;

  // Unknown keys are ignored.
  void SetVisible(std::string_view key, bool visible);
  void SetEnabled(std::string_view key, bool enabled);
  void SetWired(std::string_view key, bool wired = true);
  // Presses a group button and releases the others of its run of group
  // buttons; a push button is not changed.
  void Press(std::string_view key);
  // The pressed member of the group run holding `key` ("" when none).
  std::string PressedInGroup(std::string_view key) const;

  const std::vector<ToolButtonState>& Buttons() const { return buttons_; }

  // The keys of the buttons in the order they stand on the toolbar (the
  // table's order until the toolbar is rearranged).
  const std::vector<std::string>& Order() const { return order_; }
  // A new order: every key of the table once (anything else is ignored).
  void SetOrder(const std::vector<std::string>& keys);

 private:
  const ToolButtonState* Find(std::string_view key) const;
  ToolButtonState* Find(std::string_view key);

  std::span<const ToolButtonDef> table_;
  std::vector<ToolButtonState> buttons_;  // table order, separators left out
  std::vector<int> groupRun_;             // per button: its group run, -1 none
  std::vector<std::string> order_;
};

}  // namespace kv
