#pragma once
// Copying whole rows from the reference sheet into the sheet in memory: the
// selected rows at the editor's cursor, or every reference row after the
// estimate's last used row. Rows are inserted, not written over; byte 1 (the
// record mark) stays with its position. The copied rows arrive without
// record numbers, links or page field; a closing record arrives as a blank
// row. Rows that own breakdowns in the reference offer the copy of their
// lower levels afterwards (reference/ref_lower_copy.h).
#include <string>

namespace kv {

struct ProgramState;
class GridModel;

inline constexpr const char* kRefRangeInvalid = "範囲指定が無効です";

// "見積ﾃﾞｰﾀが 200行を越えるため、参考の 3行は複写されませんでした."
std::string RefRowsLeftOutMessage(int imax, int leftOut);

struct RefRowRange {
  bool ok = false;
  int used = 0;    // the estimate's last used row
  int top = 0;     // reference rows top .. top + count - 1
  int count = 0;
};

// The rows of a copy of the selected rows (the reference cursor row when
// nothing is selected), cut to the reference's used rows. Refused with its
// message when the selection lies below the used rows or the rows would pass
// Imax.
RefRowRange RefRowRangeCheck(ProgramState& st, const GridModel& ref);

// kind 1: the selected rows inserted at the editor's cursor row; kind 2:
// every reference row after the estimate's last used row, as many as fit
// (the rows left out are told). Each row is read from the reference level
// file by its own record number; a number the file does not hold, or a
// damaged file, refuses the copy with the level-file message before the
// sheet changes. Takes the undo copy first.
void RefRowCopy(ProgramState& st, GridModel& ref, GridModel& edt, int kind);

}  // namespace kv
