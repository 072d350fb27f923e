#pragma once
// The recalculation of all levels (全階層再計算): every sheet of the estimate
// recalculated from the deepest breakdowns up, each breakdown's totals carried
// into its parent row through the columns' carry definitions ("->"), every
// record written back at its own record number, and level 1 rewritten through
// the level writer.
//
// The walk runs on in-memory images of the level files: each file is read
// once, the walk reads and writes records of the images exactly as it would
// the files (a record written is what the next read sees), and only when the
// whole walk succeeded is each changed image written back, as a complete file
// renamed over the old one. A damaged chain or a file that cannot be read
// stops the command with a message before anything is written.
#include <string>

namespace kv {

struct ProgramState;

// The walk over the level files of `workBase` followed by level 1 read and
// written again (`LevelRowsRead`(1), `LevelWrite`(1)); level 1 is then the
// sheet in memory. `RecordLinkState` -99 switches the carry off. False after
// a message: the files are as they were and so is the sheet in memory
// (`SheetRows`, `UsedRows`, `SheetTotalRecord`, `ParentRows`,
// `PathTotalRecords`).
bool RecalcFromTopLevel(ProgramState& st, const std::string& workBase);

// The command: nothing for an empty sheet; refused for an untitled estimate;
// a modified sheet is recorded first (after the user agrees); the walk runs
// with the busy window; the current sheet, the parent rows of the path and
// their sheets' closing records are read again from the recalculated files
// and shown. Callers set the busy lock (and, from the menu, `ReCalcFlag` and
// `RecalcAllRunning`) around it.
void RecalcAllLevels(ProgramState& st);

// The calculation-row menu's 全階層再計算: automatic recalculation switched on
// (`ReCalcFlag`; the caller sets the check mark of 合計表示), the busy lock
// (`ToolBarStateSet`) and `RecalcAllRunning` held around the path label
// refresh and `RecalcAllLevels`, released on every way out.
void RecalcAllLevelsMenuCommand(ProgramState& st);

// The grid's key for the same command: nothing while `CommandBusy` is set;
// otherwise `RecalcAllLevels` under the busy lock.
void RecalcAllLevelsKeyCommand(ProgramState& st);

}  // namespace kv
