#pragma once
// Copying cells and embedded objects from the reference window into the
// estimate being edited: the sheet in memory (`SheetRows` of `CurrentLevel`)
// at the editor's cursor, painted into the editor's grid.
//
// Every byte position comes from the estimate's column tables, read at the
// reference's level for the source and at the estimate's level for the
// destination (the copy menu only runs while both share one layout).
#include <string>

namespace kv {

struct ProgramState;
class GridModel;

inline constexpr const char* kRefOneColumnOnly = "１欄の指定のみ有効です";
inline constexpr const char* kRefBadDestination = "複写先の指定が無効です";
inline constexpr const char* kRefSourceDiffers = "複写元と複写先の指定が違います";
inline constexpr const char* kRefOleFileLimit = "本体側見積データにこれ以上 OLE Data File は作れません。";
inline constexpr const char* kRefOlePicLimit = "本体側見積データの明細にこれ以上 オブジェクトを挿入することが出来ません。";

// "ﾃﾞｰﾀが 200行を越えますので複写出来ません." (cell copy) and
// "見積ﾃﾞｰﾀが 200行を越えますので複写出来ません." (row copies) for Imax.
std::string RefCellRowsMessage(int imax);
std::string RefRowsMessage(int imax);

// The total row kinds ("#", "%", "$", "ｱ", "ｲ", "ｳ"): no number is copied into them.
bool IsRefTotalKind(char kind);

// Copies the one-column block selected in the reference grid (column
// `RefSelStart` or the selection's column) into the editor's current column
// from `CurrentRow` down. Only pairs of plain item rows are copied; the
// others still use up their destination row. Refused with a message, nothing
// changed, for a block wider than one column, a computed destination column,
// a number into a total row, a source column of another type or width, and
// a block that would pass Imax. Afterwards each destination row is followed
// up by the destination column's type (numbers evaluated, fitted and the row
// recalculated; formula texts recalculated; the column links applied), the
// totals recalculated and the cursor advanced. Both grids are refreshed.
void RefCellCopy(ProgramState& st, GridModel& ref, GridModel& edt);

// Moves a copy of the object selected in the reference grid into the
// editor's grid at its cursor cell, within the estimate's two object limits
// (each refused with its own message). Nothing without a selected object.
void RefOLEObjectCopy(ProgramState& st, GridModel& ref, GridModel& edt);

}  // namespace kv
