#pragma once
// Loading the sheet of a level from its level work file into the sheet in
// memory.
namespace kv {

struct ProgramState;
struct SheetChain;

// Rows a sheet holds: `Imax` (200 when not set), at most 1000.
int SheetRowLimit(const ProgramState& st);

// The editor's caption for the open estimate: "< " + the path shortened to 48
// characters + " > 内訳書 ", or "< 無題 > " while untitled.
void EditorCaptionSet(ProgramState& st);

// Sets the caption, shows "データ 読み込み中" in status panel 1 while
// LevelRowsRead runs, then clears the panel. False when the sheet could not
// be read (the user has been told; the sheet in memory is as it was).
bool LevelRead(ProgramState& st, int level);

// Fills `SheetRows`, `UsedRows`, `RowRecNos`, `SheetTotalRecord`,
// `SheetObjNo` and `PathTotalRecords`(level) from the level work file: level
// 1 in record order, a deeper level from the chain named by the child link of
// `ParentRows`(level - 1). A level file that does not exist holds no sheet.
// A damaged level file (length not a whole number of records, a bad stored
// number, a record that does not name itself, a link past the end, a loop, a
// sheet of more records than `Imax` rows and the closing record) is reported
// and gives false, leaving the sheet in memory as it was.
bool LevelRowsRead(ProgramState& st, int level);

// The sheet of `level` read as LevelRowsRead reads it, and nothing kept:
// false after the level file's message when it cannot be read.
bool LevelChainCheck(ProgramState& st, int level);

// Makes the records of `chain`, read as the sheet of `level` from the chain
// that begins at `first` (level 1: 1), the sheet in memory as LevelRowsRead
// does once it has read them.
void SheetFromChain(ProgramState& st, int level, int first, const SheetChain& chain);

// Converts an old row kind in byte 3 of `SheetRows`(row): "D" and "B" become
// "%"; "K" becomes "ｼ" in system kind 2 and "ｹ" otherwise; "}" becomes "ｹ".
void RowKindFix(ProgramState& st, int row);

}  // namespace kv
