#pragma once
// The buttons of the two toolbars, in creation order: the basic toolbar
// (file commands, undo, auto-advance, undocking, zoom and paper) and the
// extended toolbar (clipboard and row commands, total rows, accessory
// windows, non-print rows, memo rows, search, tree, split view, undocking).
// One table per toolbar serves the docked toolbars and their floating copies,
// so both show the same buttons with the same keys and tooltips.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

enum class ToolButtonStyle {
  Push,         // a push button
  Group,        // one of a run of buttons of which one is pressed
  Separator,    // a gap; no key
  Placeholder,  // an empty slot of a set width for a control laid over it
};

struct ToolButtonDef {
  std::string_view key;      // "" for separators; compared case-sensitively
  ToolButtonStyle style;
  std::string_view tooltip;  // UTF-8; also the button's description
  int widthTw;               // placeholders only, twips
  int step;                  // title-screen progress step after the entry, 0 none
};

// 19 entries: the basic toolbar.
std::span<const ToolButtonDef> BasicToolbarTable();
// 32 entries: the extended toolbar (23 buttons and 9 separators).
std::span<const ToolButtonDef> ExtendedToolbarTable();

// The keys of the table's buttons in table order (placeholders included,
// separators left out).
std::vector<std::string> ToolbarKeys(std::span<const ToolButtonDef> table);
// The entry with this key, or null.
const ToolButtonDef* FindToolButton(std::span<const ToolButtonDef> table, std::string_view key);

// The 18 items of the zoom list: " 200%", " 190%", ..., " 30%".
std::vector<std::string> ZoomListItems();
// The item to select for a stored zoom: a missing or non-positive zoom counts
// as 100, one below 30 as 30, one above 200 as 200, any other value as the
// nearest listed one (the smaller at equal distance: 125 gives 120).
int ZoomListIndex(int kvZoom);
// The zoom of a list item's text (" 90%" gives 90; 0 when there is none).
int ZoomOfItem(std::string_view item);

}  // namespace kv
