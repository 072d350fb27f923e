#pragma once
// The File menu's print set-up and print items: what is checked and prepared
// before the print dialogs take over (a printer, data to print, the estimate
// saved with its page numbers, the first page number and the row range), and
// the paper lists refreshed after them, since a dialog may change the print
// form.
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;

// The File menu's print set-up and print items.
inline constexpr int kPrintSetUpItem = 14;
inline constexpr int kPrintItem = 15;

// The print dialogs: the print set-up and the print dialog proper. Until the
// program has them, the two items do nothing of their own.
inline constexpr std::string_view kPrintSetUpWindow = "frmP2SetUp";
inline constexpr std::string_view kPrintWindow = "frmP1SetUp";
// The print dialog's own caption: while a window of this caption is open the
// print dialog is not shown a second time.
inline constexpr std::string_view kPrintWindowCaption = "印刷";

// The first page number a sheet's first record carries, as decimal text:
// bytes 16..18 are the number (blanks around it ignored) and byte 19 its
// base mark, "P" decimal and "h" hexadecimal ("  A" + "h" -> "10",
// " 12" + "P" -> "12"). An empty number, or any other mark, gives "1": a page
// from an earlier print is never carried over.
std::string PrintRequestOf(std::string_view firstRecord);

// Reads the sheet's first record again from its level file, where it carries
// the page number last written: record 1 on level 1, else the first-child
// link of the parent row. False (row 1 as it was) when it cannot be read.
bool SheetFirstRecordReread(ProgramState& st);

// The print range from the selected rows `top`..`bottom`: more than one row
// selected gives the row range (`PrintRangeMode` 2) over them; otherwise the
// whole sheet, rows 1..`UsedRows`, with a row-range mode turned into the
// level mode (a page-range mode stays).
void PrintRangeSet(ProgramState& st, int top, int bottom);

// Print set-up: without a printer a message and nothing else; otherwise the
// search and reference windows closed, the set-up dialog shown modally, the
// page-break lines and the paper menu and combos refreshed and the floating
// windows raised. False when the File menu's epilogue is skipped.
bool PrintSetUpRun(ProgramState& st);

// Print: without a printer, or without rows to print ("印刷するデータがあり
// ません。"), a message and nothing else. A modified or untitled estimate is
// saved first when the user agrees ("編集中のﾌｧｲﾙを保存後に印刷をします"), its
// page numbers written and the sheet's first record read back with its page;
// a cancel or a failed save ends the command. Then the search and reference
// windows are closed, `PrintRequest` and the print range set, and the print
// dialog shown modally unless it is open already; afterwards the paper lists
// are refreshed and the busy lock released. False when the epilogue is
// skipped.
bool PrintRun(ProgramState& st);

}  // namespace kv
