#pragma once
// Painting the sheet in memory onto the editor's sheet grid: row headers,
// colours by print mark and row kind, cell texts from the row records, memo
// rows as one text, the totals line, and the page-break lines.
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;
class GridModel;

// Paints the sheet rows first .. last (none below 1 or above Imax): the
// header ("  ." for a non-print row, else the row number; then a blank in
// colour 14 for a row with a breakdown, else the row kind in colour 0);
// memo-type rows (kinds "1", "2", "3", "H", "D", "ﾒ") as one text of
// `MemoRowMax` bytes from byte 20; other rows cell by cell, numbers with
// thousands separators (not on "Q" rows), "W" texts without trailing blanks,
// in colour 2 for "U" rows, 5 for "I" rows, 3 for total and special rows, 4
// for "Q" rows and 0 for every other row. A row that is no longer a memo row
// leaves memo mode. When `UsedRows` is not 0, the headers of the rows below
// it turn grey (7). The busy pointer shows meanwhile.
void RowDisplay(ProgramState& st, GridModel& grid, int first, int last);

// Repaints rows top .. last so that the block the user sees first is painted
// first: 51 rows from `top`, the grid scrolled to `top` (not when top is 1 and
// the range is shorter), the rest, then the rows above `top`. Rows below
// `UsedRows` show their plain number and no text. The totals line shows the
// closing record: total columns the mask screen shows with thousands
// separators, or, while `ReCalcFlag` is off, a run of "#" as wide as the
// column where a total is stored; other columns as stored ("W" columns their
// first line). Status panel 2 shows the used-row count (" 12 行").
// With top = Imax + 1 it instead stores the totals-line cell just edited (the
// grid's current text, cut to the column's bytes without splitting a
// double-byte character) into `SheetTotalRecord` and marks the sheet
// modified.
void SheetRedisplay(ProgramState& st, GridModel& grid, int top, int last);

// After a level calculation: the numeric cells of item rows with a formula,
// of total and special rows (with their colours), and the totals line's
// total columns, whatever `ReCalcFlag` and the mask screen say.
void CalcRowsDisplay(ProgramState& st, GridModel& grid, int first, int last);

// The numeric cells of sheet row `row` from its record, as RowDisplay shows
// them (with thousands separators).
void RowNumbersDisplay(ProgramState& st, GridModel& grid, int row);

// Marks a page-break line under every row that ends a page of the current
// print form (`PrintRows`(`PrnTypeNo`)); a form without a row count has none.
void PageLinesDraw(const ProgramState& st, GridModel& grid);

// The header text of a row for its record: "  ." for a non-print row, else
// its number; then a blank for a row with a breakdown (whose header turns
// colour 14 here), else the row-kind character.
std::string RowHeaderLabel(const ProgramState& st, GridModel& grid, int row,
                           std::string_view record);

}  // namespace kv
