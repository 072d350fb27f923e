#pragma once
// The calculation-row menu (`Menu_3Sub`) and the extended-functions menu
// (`Tokusyusub`) of the editor window, over the editor's grids.
namespace kv {

struct EditorGrids;

// Item indexes of the calculation-row menu.
inline constexpr int kCalcTotalsSwitchItem = 0;
inline constexpr int kCalcYItem = 1;
inline constexpr int kCalcEquipmentRecalcItem = 20;
inline constexpr int kCalcAllLevelsItem = 22;
inline constexpr int kCalcMenuItems[] = {0, 1, 2, 3, 4, 13, 14, 16, 17, 18, 19, 20, 22};

// Item indexes of the extended-functions menu built so far (with the two
// marking modes of edit_menu.h).
inline constexpr int kMemoRowItem = 2;
inline constexpr int kSpecialMemoRowItem = 3;
inline constexpr int kClassifyFileItem = 11;
inline constexpr int kEvenSpacingItem = 13;
inline constexpr int kSeriesFillItem = 14;
inline constexpr int kSearchItem = 18;
inline constexpr int kLevelMarksClearItem = 21;
inline constexpr int kSpecialPrintSetupItem = 22;
// The items wired to the menu.
inline constexpr int kExtendedMenuItems[] = {1,  kMemoRowItem,         kSpecialMemoRowItem, kClassifyFileItem,
                                             kEvenSpacingItem,       kSeriesFillItem,     kSearchItem,
                                             20,                     kLevelMarksClearItem, kSpecialPrintSetupItem};

// The calculation-row command `index`, after the marking modes are off.
// On an equipment classification file 16 .. 20 are refused. The selection
// is stored (not for Ｙ計算). The rows 2, 3, 4, 13, 14, 16, 18 and 19 are
// refused on row 1, on the totals line and on a full sheet. Then: 0
// switches the automatic totals, 1 runs Ｙ計算 (the grid takes the focus
// again), 20 recalculates the equipment totals, 22 recalculates every level
// (the automatic totals switched on, with their check mark); the others
// make their special row, and a memo row opens the memo editor.
void Menu_3Sub_Click(EditorGrids& g, int index);

// The extended-functions command `index`: the selection stored, the other
// marking mode ended (1 and 20 switch their own mode on or off; the other
// items end both). The items 7 .. 11 run on a named estimate at level 1
// only: otherwise the user is told which, and nothing happens. 2 makes a
// memo row and opens the memo editor on it, 3 a special memo row, 13 spreads
// the cursor column's text evenly, 14 fills the selected text column as a
// series, 18 opens the search window when the search may start (SchPreCheck),
// 21 clears every non-print
// level-row mark of the estimate and 22 shows the special print set-up
// (refused below level 1; the search and reference windows are closed
// first and the floating windows raised after it); 11 makes a
// classification file (SiwakeFileCreate).
void Tokusyusub_Click(EditorGrids& g, int index);

}  // namespace kv
