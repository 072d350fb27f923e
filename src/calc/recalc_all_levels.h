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
// whole walk succeeded are the changed images written back, all together. A
// damaged chain or a file that cannot be read stops the command with a
// message before anything is written.
#include <string>

#include "platform/file_set_replace.h"

namespace kv {

struct ProgramState;

// The walk over the level files of `workBase` followed by level 1 read and
// recorded again as the level writer records it; level 1 is then the sheet in
// memory. `RecordLinkState` -99 switches the carry off. Every rewritten level
// file and the layout file replace the old ones all together, also under a
// kill (the next start finishes or discards an interrupted set). False after
// a message: the files are as they were (or, when the renames could not all
// be made, are finished at the next start), and the sheet in memory is as it
// was (`SheetRows`, `RowRecNos`, `UsedRows`, `SheetTotalRecord`,
// `ParentRows`, `PathTotalRecords`). `observer` sees the renames.
bool RecalcFromTopLevel(ProgramState& st, const std::string& workBase);
bool RecalcFromTopLevel(ProgramState& st, const std::string& workBase, const fs::RenameObserver& observer);

// The command: nothing for an empty sheet; refused for an untitled estimate;
// a modified sheet is recorded first (after the user agrees); the walk runs
// with the busy window; the current sheet, the parent rows of the path and
// their sheets' closing records are read again from the recalculated files
// and shown; when the current sheet cannot be read again, the sheet it was
// stays in memory (never another level's rows). Callers set the busy lock
// (and, from the menu, `ReCalcFlag` and `RecalcAllRunning`) around it.
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
