#include "editor/toolbars/toolbar_customize.h"

#include <utility>

namespace kv {

ToolbarCustomizeList::ToolbarCustomizeList(std::span<const ToolButtonDef> table, ToolbarArrangement current)
    : table_(table),
      original_(ParseArrangement(table, FormatArrangement(current))),
      items_(original_) {}

std::string ToolbarCustomizeList::Caption(int row) const {
  if (row < 0 || row >= static_cast<int>(items_.size())) return {};
  const ToolButtonDef* d = FindToolButton(table_, items_[size_t(row)].key);
  return d ? std::string(d->tooltip) : items_[size_t(row)].key;
}

void ToolbarCustomizeList::SetCurrent(int row) {
  if (row >= 0 && row < static_cast<int>(items_.size())) current_ = row;
}

bool ToolbarCustomizeList::MoveUp() {
  if (current_ <= 0 || current_ >= static_cast<int>(items_.size())) return false;
  std::swap(items_[size_t(current_)], items_[size_t(current_ - 1)]);
  --current_;
  return true;
}

bool ToolbarCustomizeList::MoveDown() {
  if (current_ < 0 || current_ + 1 >= static_cast<int>(items_.size())) return false;
  std::swap(items_[size_t(current_)], items_[size_t(current_ + 1)]);
  ++current_;
  return true;
}

void ToolbarCustomizeList::SetVisible(int row, bool visible) {
  if (row >= 0 && row < static_cast<int>(items_.size())) items_[size_t(row)].visible = visible;
}

void ToolbarCustomizeList::Reset() {
  items_ = DefaultArrangement(table_);
  current_ = 0;
}

}  // namespace kv
