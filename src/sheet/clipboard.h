#pragma once
// Cells between the sheet and the system clipboard as plain text: rows as
// lines ended by CR LF, cells separated by Tab, a two-line cell as line 1,
// LF, line 2. The cell texts are built and read in Shift-JIS bytes; the
// conversion to and from display text happens at the clipboard call.
#include <string>

namespace kv {

struct ProgramState;
class GridModel;

inline constexpr const char* kPasteRangeMessage = "編集画面の範囲をｵｰﾊﾞｰしてます.";

// The message that ends a paste in which `cells` pasted formulas of numeric
// columns could not be evaluated (those cells were left blank).
std::string PasteFormulaFailedMessage(int cells);

// Puts the selection SelLeft .. SelRight x SelTop .. SelBottom of the
// current level on the clipboard, each cell its field as stored (blanks
// kept, an all-blank field empty). An error is reported with its
// description and "(ClipboardPutErr ｴﾗｰNo n)"; the clipboard is then left
// empty.
void ClipboardPut(ProgramState& st);

// Pastes the clipboard's text at the cursor cell: numbers fitted to their
// columns (a text of a numeric column that is no number as a whole is
// evaluated as a typed formula; those that fail are left blank and counted
// in one message at the end), two-line cells split, codes looked up, links and row formulas
// brought up to date; memo-type rows, closing records and computed columns
// are passed over. One line with several rows selected fills every
// selected row. A text that reaches below the sheet or right of the
// level's last column is refused before anything is written. A text with
// LF line ends and no CR (from another program) takes each LF as a line
// end; control characters other than Tab, CR and LF paste as blanks.
void ClipboardPaste(ProgramState& st, GridModel& grid);

}  // namespace kv
