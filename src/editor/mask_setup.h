#pragma once
// The mask set-up window's logic over its one-row grid: the columns of the
// current level with their captions (row 0) and a mark row (row 1) where a
// column's cell holds "X" × its width when the column is hidden in the screen
// the level shows, else as many blanks. Registration stores the marks and the
// screen's name in the estimate (and in the current settings when the estimate
// uses them) and lays the editor's sheet out again.
#include <string>

namespace kv {

struct ProgramState;
class GridModel;

// The window's caption: "マスク設定画面 [ " + the current screen's name + " ]".
std::string MskSheetCaption(const ProgramState& st);

// Fills the grid: one data row, ColCount(CurrentLevel) columns in the sheet
// font, the captions (a "W" caption trimmed and fitted to one line), the marks,
// zoom 100 %, the mouse mode EditCursor and the cursor at ToTalNameColmun, row 1.
void MskSheetLoad(ProgramState& st, GridModel& grid);

// Toggles the mark of column `col` (1-based): a blank cell becomes "X" × the
// column's width, any other one that many blanks.
void MskSheetToggle(const ProgramState& st, GridModel& grid, int col);

// A key in the grid: Enter on row 1 toggles the current column's mark, Delete
// is swallowed (key set to 0); other keys pass unchanged.
void MskSheetKeyDown(const ProgramState& st, GridModel& grid, int& key);

// A left-button press: on the cell that is already current it toggles the mark
// (and the grid's own handling is cancelled); elsewhere the grid moves the cursor.
void MskSheetLButtonDown(const ProgramState& st, GridModel& grid, int col, int row, bool& ignore);

// "ﾏｽｸ開放": blanks every mark; nothing is stored.
void MaskOpen_Click(const ProgramState& st, GridModel& grid);

// "ﾍﾙﾌﾟ": the manual at its page on masks.
void MaskHelp_Click(ProgramState& st);

// What the window does after a registration attempt.
struct MaskRecOutcome {
  bool unload = false;   // registered: the window closes
  std::string caption;   // a new window caption, "" for none
};

// "登録": refuses when every column is marked, asks for the screen's name
// (Z_InputBox), stores it, asks whether every level takes the marks (only when
// the levels have equal column counts), stores the marks for the chosen levels
// and lays the editor's sheet out again. Stops with the window open at an
// empty or cancelled name and at Cancel in the levels question (the name
// stays stored). A named estimate is marked for packing once its name is
// written, so the next save keeps the registered screen.
MaskRecOutcome MaskRec_Click(ProgramState& st, GridModel& grid);

}  // namespace kv
