#include "editor/toolbars/toolbar_model.h"

namespace kv {

ToolbarModel::ToolbarModel(std::span<const ToolButtonDef> table) : table_(table) {
  int run = -1;
  bool inRun = false;
  for (const ToolButtonDef& d : table) {
    const bool group = d.style == ToolButtonStyle::Group;
    if (group && !inRun) ++run;
    inRun = group;
    if (d.style == ToolButtonStyle::Separator) continue;
    ToolButtonState b;
    b.key = std::string(d.key);
    b.style = d.style;
    buttons_.push_back(std::move(b));
    groupRun_.push_back(group ? run : -1);
  }
  for (const ToolButtonState& b : buttons_) order_.push_back(b.key);
}

void ToolbarModel::SetOrder(const std::vector<std::string>& keys) {
  if (keys.size() != buttons_.size()) return;
  for (const ToolButtonState& b : buttons_) {
    int n = 0;
    for (const std::string& k : keys) n += k == b.key ? 1 : 0;
    if (n != 1) return;
  }
  order_ = keys;
}

const ToolButtonState* ToolbarModel::Find(std::string_view key) const {
  for (const ToolButtonState& b : buttons_)
    if (b.key == key) return &b;
  return nullptr;
}

ToolButtonState* ToolbarModel::Find(std::string_view key) {
  return const_cast<ToolButtonState*>(static_cast<const ToolbarModel*>(this)->Find(key));
}

bool ToolbarModel::Usable(std::string_view key) const {
  const ToolButtonState* b = Find(key);
  return b && b->enabled && b->wired;
}

bool ToolbarModel::Visible(std::string_view key) const {
  const ToolButtonState* b = Find(key);
  return b && b->visible;
}

bool ToolbarModel::Enabled(std::string_view key) const {
  const ToolButtonState* b = Find(key);
  return b && b->enabled;
}

bool ToolbarModel::Pressed(std::string_view key) const {
  const ToolButtonState* b = Find(key);
  return b && b->pressed;
}

bool ToolbarModel::Wired(std::string_view key) const {
  const ToolButtonState* b = Find(key);
  return b && b->wired;
}

void ToolbarModel::SetVisible(std::string_view key, bool visible) {
  if (ToolButtonState* b = Find(key)) b->visible = visible;
}

void ToolbarModel::SetEnabled(std::string_view key, bool enabled) {
  if (ToolButtonState* b = Find(key)) b->enabled = enabled;
}

void ToolbarModel::SetWired(std::string_view key, bool wired) {
  if (ToolButtonState* b = Find(key)) b->wired = wired;
}

void ToolbarModel::Press(std::string_view key) {
  const ToolButtonState* hit = Find(key);
  if (!hit) return;
  const int run = groupRun_[static_cast<size_t>(hit - buttons_.data())];
  if (run < 0) return;
  for (size_t i = 0; i < buttons_.size(); ++i)
    if (groupRun_[i] == run) buttons_[i].pressed = buttons_[i].key == key;
}

std::string ToolbarModel::PressedInGroup(std::string_view key) const {
  const ToolButtonState* hit = Find(key);
  if (!hit) return {};
  const int run = groupRun_[static_cast<size_t>(hit - buttons_.data())];
  if (run < 0) return {};
  for (size_t i = 0; i < buttons_.size(); ++i)
    if (groupRun_[i] == run && buttons_[i].pressed) return buttons_[i].key;
  return {};
}

}  // namespace kv
