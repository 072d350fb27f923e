#pragma once
// The arrangement of a toolbar's buttons as the user left it: their order and
// which of them are shown, kept in the program-settings store. The stored
// value lists the button keys in order, separated by ",", a hidden button's
// key marked with a leading "-" ("CUT,-COPY,PASTE,..."). Separators are not
// stored: they keep their places in the toolbar's table, and the buttons fill
// the places between them in the stored order.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/toolbars/toolbar_tables.h"

namespace kv {

class RegistryStore;
class ToolbarModel;

struct ArrangedButton {
  std::string key;
  bool visible = true;
  bool operator==(const ArrangedButton&) const = default;
};
// Every button of a table once, in toolbar order.
using ToolbarArrangement = std::vector<ArrangedButton>;

// Where an arrangement is stored: application, section and key of the store.
struct ArrangementName {
  std::string_view app;
  std::string_view section;
  std::string_view key;
};
inline constexpr ArrangementName kBasicArrangement{"1", "KV32Tbar1", "True"};
inline constexpr ArrangementName kExtendedArrangement{"2", "KV32Tbar2", "True"};

// The table's buttons in table order, every one shown.
ToolbarArrangement DefaultArrangement(std::span<const ToolButtonDef> table);
// A stored value read against the table: unknown keys are ignored, a repeated
// key counts where it first stands, a button the value does not name is put
// back shown at its table place (after the buttons that precede it in the
// table), and an empty value gives the table's order.
ToolbarArrangement ParseArrangement(std::span<const ToolButtonDef> table, std::string_view stored);
std::string FormatArrangement(const ToolbarArrangement& arrangement);

// The table's entries (indexes into the table) in the order they stand on the
// toolbar: separators at their table places, the buttons in arranged order.
std::vector<size_t> ArrangedEntries(std::span<const ToolButtonDef> table, const ToolbarArrangement& arrangement);

// The model's current order and shown flags, and the reverse.
ToolbarArrangement ArrangementOf(const ToolbarModel& model);
void ApplyArrangement(ToolbarModel& model, const ToolbarArrangement& arrangement);

// Stores the model's arrangement; false when the store cannot be written.
bool ArrangementSave(const RegistryStore& store, const ArrangementName& name, const ToolbarModel& model);
// Reads the stored arrangement and applies it to the model (nothing stored
// gives the table's order).
void ArrangementRestore(const RegistryStore& store, const ArrangementName& name, ToolbarModel& model);

}  // namespace kv
