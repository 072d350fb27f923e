#pragma once
// The split view of the sheet grid, switched on and off per level: joining
// the panes remembers where the split was, splitting again puts it back.
namespace kv {

struct ProgramState;
class GridModel;

// On the current level: not split (GamenX and GamenY both 0) → split at the
// remembered GamenCX/GamenCY (the grid's split notification records the
// split). Split → remember it in GamenCX/GamenCY, join the panes, scroll back
// to column 1 on the same top row and put the cursor on the first column the
// level's mask screen shows; when it hides every column the cursor column
// stays as it is.
void ToggleSheetDivide(ProgramState& st, GridModel& sheet);

}  // namespace kv
