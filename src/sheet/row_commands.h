#pragma once
// Whole-row commands on the sheet in memory and the editor's sheet grid:
// copy rows into the program's row clipboard, delete the selected rows,
// insert blank rows, paste the row clipboard at the cursor. Byte 1 of a
// record (the record mark) belongs to the row's position: rows move with
// bytes 2 .. DataLen only. Each works on the stored selection (`SelTop` ..
// `SelBottom`, SelRectStore) or the cursor row.
namespace kv {

struct ProgramState;
class GridModel;

inline constexpr const char* kRowLimitMessage = "最大行を越える為、貼り付け出来ません。";
inline constexpr const char* kBreakdownDeleteQuestion = "下階層にデ‐タが有ります.削除しますか?";
inline constexpr const char* kComputedFirstRowMessage = "計算行が第１行目に入るため為、貼り付け出来ません。";

// The rows SelTop .. SelBottom, whole, into `RowClip` (below the used rows
// too).
void RowCopy(ProgramState& st);

// Deletes the selected rows (cut to the used rows) from the sheet and the
// grid; the rows below move up. Asks once, for the first row that owns a
// breakdown, whether to delete; Cancel leaves the sheet as it was. The
// totals follow when automatic recalculation is on.
void RowDelete(ProgramState& st, GridModel& grid);

enum class RowInsertResult {
  Inserted,
  Refused,      // the rows would pass Imax: beep and message
  NothingDone,  // the cursor row lies below the used rows
};

// Inserts SelBottom - SelTop + 1 blank rows at SelTop; the rows below move
// down. The undo copy is taken in every case.
RowInsertResult RowInsert(ProgramState& st, GridModel& grid);

// Inserts the row clipboard at the cursor row (below the used rows: writes
// over the rows there). Pasted rows keep their print mark, kind and columns
// and never a record number, link or page field. Refused, before anything
// changes, when a computed row would become row 1, when the rows would pass
// Imax, or when the cursor lies below the used rows and the clipboard's
// rows would reach past Imax.
void RowPaste(ProgramState& st, GridModel& grid);

}  // namespace kv
