#pragma once
// Special rows of the sheet in memory: the total rows, the consumption-tax
// row, expense rows, the equipment edition's overhead and consumables rows,
// memo and special memo rows, each opened at the cursor by the calculation-
// row command of its index; and the switch of automatic recalculation.
#include <string>

namespace kv {

struct ProgramState;
class GridModel;

// Command index 0 switches automatic recalculation (`ReCalcFlag`, with the
// check mark of "Menu_3Sub"(0)): off masks the total cells, on recalculates
// at once. Any other index opens a blank row at the cursor (below the used
// rows: the cursor row is used) and writes its kind and texts:
//   2 "#", 3 "$", 4 "%", 13 "ｱ", 14 "ｲ" (names SUBTOTALNAME(1..5)), 15 "ｳ",
//   16 "ｼ" (SUBTOTALNAME(6)), with their labels in ToTalNameColmun2;
//   17 "Z", 18 "S" (SetubiRowNames(0), (1)); 19 "ｹ": equipment edition with
//   SetubiRowNames(2), kinds 2 and 4 with the rate asked (AskExpenseRate)
//   into the formula column as "[@" + rate; 5 "ﾒ"; 20 "Q"; every other
//   index only the blank row.
// Refused with a message: a second tax or consumables row, an expense row
// without a formula column (kinds 2 and 4), a memo row on a full sheet.
// Then the sheet is recounted, the row painted and the level recalculated
// (or masked). True when a memo row was made: the caller opens the memo
// editor on `CurrentRow`.
bool InsertSpecialRow(ProgramState& st, GridModel& grid, int index);

// Asks for an expense rate in `Z_InputBox` until it is an operator "*" or
// "/" followed by an expression the calculation evaluates, at most 8 bytes
// in all ("正しく入力して下さい" otherwise). True with the rate; false when
// the user cancels or enters nothing.
bool AskExpenseRate(ProgramState& st, GridModel& grid, std::string& rate);

}  // namespace kv
