#pragma once
// Cells of row records as the calculation reads, stores and paints them. A
// computed value is stored in the column's fitted form (`NumFitColumn`:
// right-aligned, the column's decimals, blanks for zero, a run of "+" or "-"
// when it does not fit) over exactly the column's bytes.
#include <string>
#include <string_view>

#include "calc/fixed_sum.h"

namespace kv {

struct ProgramState;
class GridModel;

// The columns of a level (`ColCount` within 0..52; 0 outside levels 1..8).
int CalcColumns(const ProgramState& st, int level);
// True when `col` is one of the level's columns.
bool IsColumnOf(const ProgramState& st, int level, int col);

// The column's bytes of a record ("" outside the record or the tables).
std::string_view CellBytes(const ProgramState& st, std::string_view rec, int level, int col);
// The same without blanks at either end.
std::string_view CellTrimmed(const ProgramState& st, std::string_view rec, int level, int col);
// The column's value; a text that is no number (blanks, an overflow mark,
// letters) reads 0.
FixedSum CellValue(const ProgramState& st, std::string_view rec, int level, int col);

// The text fitted to the column of the level.
std::string FitToColumn(const ProgramState& st, int level, int col, std::string text);
// The same, but an overflow mark (of any width) becomes the column's mark.
std::string RefitToColumn(const ProgramState& st, int level, int col, std::string text);
// What column `col` stores for `answer`, the answer of the last
// FormulaEvaluate: the value fitted; after an error the column's zero form,
// but the column's overflow mark (which the sums read as 0) when the value
// lay beyond the calculable range, and then `CalcRangeExceeded` is set.
std::string FitAnswer(ProgramState& st, int level, int col, std::string answer);
// Writes a fitted text over the column's bytes.
void StoreCell(const ProgramState& st, std::string& rec, int level, int col, std::string_view fitted);
// Writes a fitted text of another column of the level over the column's
// bytes, fitted again to this column (the overflow mark when the value does
// not fit it; a number is never cut to its last digits).
void StoreRefitted(const ProgramState& st, std::string& rec, int level, int col, std::string_view fitted);
// True for a fitted text that is an overflow mark (all "+" or all "-").
bool IsOverflowMark(std::string_view fitted);

// The editor's sheet grid when the calculated level is the one on screen
// and a grid exists; else null (nothing is painted).
GridModel* PaintGrid(ProgramState& st, int level);
// Paints a number text (ASCII) into a cell of the grid, when there is one.
void PaintCell(GridModel* grid, int col, int row, const std::string& text);

}  // namespace kv
