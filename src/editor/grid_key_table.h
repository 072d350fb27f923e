#pragma once
// The sheet grid's key commands: an ordered table of rows, each a test of
// the key, its modifiers and the editor's state, and an action. The first
// row whose test holds decides; an action consumes the key by setting it to
// 0, and an unconsumed key goes on to the grid's own handling.
#include <string>
#include <vector>

#include "editor/grid_events.h"

namespace kv {

struct KeyPress {
  int& key;  // set to 0 to consume
  bool shift;
  bool ctrl;
};

struct KeyTableRow {
  std::string id;  // the row's label: "1", "2", ... "18a", "21"
  bool (*matches)(const EditorGrids& g, const KeyPress& k);
  void (*action)(EditorGrids& g, KeyPress& k);
};

// The rows in their order.
const std::vector<KeyTableRow>& EditorKeyTable();

// The grid's key event; answers the id of the row that decided.
std::string EdtSheet_KeyDown2(EditorGrids& g, int& key, bool shift, bool ctrl);

// Shift+Home: the cursor cell's text as shown becomes the held text.
void HoldCellText(EditorGrids& g);
// Home: the held text is written into the cursor cell.
void WriteHeldText(EditorGrids& g);

}  // namespace kv
