#include "editor/toolbars/toolbar_arrangement.h"

#include <algorithm>

#include "editor/toolbars/toolbar_model.h"
#include "platform/registry_store.h"

namespace kv {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.remove_suffix(1);
  return s;
}

bool Contains(const ToolbarArrangement& a, std::string_view key) {
  return std::any_of(a.begin(), a.end(), [&](const ArrangedButton& b) { return b.key == key; });
}

}  // namespace

ToolbarArrangement DefaultArrangement(std::span<const ToolButtonDef> table) {
  ToolbarArrangement out;
  for (const std::string& key : ToolbarKeys(table)) out.push_back({key, true});
  return out;
}

ToolbarArrangement ParseArrangement(std::span<const ToolButtonDef> table, std::string_view stored) {
  ToolbarArrangement named;
  while (!stored.empty()) {
    const size_t comma = stored.find(',');
    std::string_view item = Trim(stored.substr(0, comma));
    stored = comma == std::string_view::npos ? std::string_view{} : stored.substr(comma + 1);
    bool visible = true;
    if (!item.empty() && item.front() == '-') {
      visible = false;
      item = Trim(item.substr(1));
    }
    if (item.empty() || FindToolButton(table, item) == nullptr || Contains(named, item)) continue;
    named.push_back({std::string(item), visible});
  }
  // Buttons the value leaves out go back after the button that precedes them
  // in the table (at the front when none does).
  const std::vector<std::string> keys = ToolbarKeys(table);
  for (size_t i = 0; i < keys.size(); ++i) {
    if (Contains(named, keys[i])) continue;
    auto at = named.begin();
    for (size_t j = i; j-- > 0;) {
      auto prev = std::find_if(named.begin(), named.end(), [&](const ArrangedButton& b) { return b.key == keys[j]; });
      if (prev != named.end()) {
        at = prev + 1;
        break;
      }
    }
    named.insert(at, {keys[i], true});
  }
  return named;
}

std::string FormatArrangement(const ToolbarArrangement& arrangement) {
  std::string out;
  for (const ArrangedButton& b : arrangement) {
    if (!out.empty()) out += ',';
    if (!b.visible) out += '-';
    out += b.key;
  }
  return out;
}

std::vector<size_t> ArrangedEntries(std::span<const ToolButtonDef> table, const ToolbarArrangement& arrangement) {
  std::vector<size_t> out;
  size_t next = 0;
  for (size_t i = 0; i < table.size(); ++i) {
    if (table[i].style == ToolButtonStyle::Separator || next >= arrangement.size()) {
      out.push_back(i);
      continue;
    }
    const std::string& key = arrangement[next++].key;
    for (size_t j = 0; j < table.size(); ++j)
      if (table[j].style != ToolButtonStyle::Separator && table[j].key == key) out.push_back(j);
  }
  return out;
}

ToolbarArrangement ArrangementOf(const ToolbarModel& model) {
  ToolbarArrangement out;
  for (const std::string& key : model.Order()) out.push_back({key, model.Visible(key)});
  return out;
}

void ApplyArrangement(ToolbarModel& model, const ToolbarArrangement& arrangement) {
  // Read against the table, so the model gets every button once.
  const ToolbarArrangement full = ParseArrangement(model.Table(), FormatArrangement(arrangement));
  std::vector<std::string> order;
  for (const ArrangedButton& b : full) {
    order.push_back(b.key);
    model.SetVisible(b.key, b.visible);
  }
  model.SetOrder(order);
}

bool ArrangementSave(const RegistryStore& store, const ArrangementName& name, const ToolbarModel& model) {
  return store.SaveSetting(name.app, name.section, name.key, FormatArrangement(ArrangementOf(model)));
}

void ArrangementRestore(const RegistryStore& store, const ArrangementName& name, ToolbarModel& model) {
  const std::string stored = store.GetSetting(name.app, name.section, name.key);
  ApplyArrangement(model, ParseArrangement(model.Table(), stored));
}

}  // namespace kv
