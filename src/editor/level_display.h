#pragma once
// The View menu's level display items (DM_DISP 1..3): the level bar stacked
// with the parents' headings ("縦"), stacked with the parents' totals
// ("縦計"), or on one line ("横").
namespace kv {

struct ProgramState;
class GridModel;
struct EditorMenus;

// Switches the display mode to item `index` and lays the sheet out again
// (grid, level bar, repaint, objects, path captions). Refused with a warning
// while a non-print marking mode runs.
void DM_Disp_Click(ProgramState& st, EditorMenus& menus, GridModel& sheet, int index);

}  // namespace kv
