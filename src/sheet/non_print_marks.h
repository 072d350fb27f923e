#pragma once
// The non-print marks of a row (byte 2 of its record): "U" leaves the row
// out of the sums and of the print, "I" leaves a row's breakdown out of the
// print. A row carries at most one of them. And the check, before a
// classification file is made, that every level has its two code columns.
namespace kv {

struct ProgramState;
class GridModel;

// Sets or removes the "U" mark of sheet row `row`: a plain or "I" row
// becomes "U", a "U" row plain again (each shown cell of it back to the
// default colour). The cursor then stands on the row in the column
// `CurrentCol` held; the row is repainted and, with automatic recalculation
// on, the level's totals follow. A row below the used rows only beeps.
void NotPrintLineToggle(ProgramState& st, GridModel& grid, int row);

// The same for the "I" mark: a plain or "U" row that owns a breakdown (a
// child link of 1 or more) becomes "I"; an "I" row becomes plain whatever
// its link says; any other row keeps its mark but is repainted. A change
// of what the sums take in (a "U" row becoming "I") recalculates the
// level's totals when automatic recalculation is on.
void NotPrintLvlLineToggle(ProgramState& st, GridModel& grid, int row);

// True, after one message, when a level 1 .. `LevelCount` has no column of
// classification code 1 (type "I1...") or, every level having one, no
// column of code 2; false when all levels have both.
bool CheckSiwakeCodes(ProgramState& st);

}  // namespace kv
