#pragma once
// What the toolbar customise dialog edits: the toolbar's buttons in order,
// each shown or hidden, one of them chosen. The dialog's buttons move the
// chosen one up or down, its check boxes show or hide a button, and its reset
// gives the table's order with every button shown.
#include <span>
#include <string>

#include "editor/toolbars/toolbar_arrangement.h"

namespace kv {

class ToolbarCustomizeList {
 public:
  ToolbarCustomizeList(std::span<const ToolButtonDef> table, ToolbarArrangement current);

  const ToolbarArrangement& Items() const { return items_; }
  // The tooltip of the item's button, as the list shows it.
  std::string Caption(int row) const;
  int Current() const { return current_; }
  void SetCurrent(int row);  // rows outside the list are ignored

  // Move the chosen item one place; false (nothing changed) at the end.
  bool MoveUp();
  bool MoveDown();
  void SetVisible(int row, bool visible);
  void Reset();
  // The list differs from the arrangement it started with.
  bool Changed() const { return items_ != original_; }

 private:
  std::span<const ToolButtonDef> table_;
  ToolbarArrangement original_;
  ToolbarArrangement items_;
  int current_ = 0;
};

}  // namespace kv
