#pragma once
// The calculation of one sheet: every computed value of the rows of a
// level's sheet in `SheetRows` and of the sheet's closing record — formula
// results, running totals of the total rows, the tax and expense rows, the
// row definitions of the total rows, the total definitions and the
// composition ratios — and the "#" masks shown while automatic
// recalculation is off.
#include <string>

namespace kv {

struct ProgramState;

// Recalculates rows 1 .. rowCount of `SheetRows` (never beyond the sheet's
// row limit) as a sheet of `level` and writes its totals into
// `totalRecord`. Formulas are evaluated in the level's own context: its
// columns, its parent row `ParentRows`(level - 1) and `totalRecord`. While
// `RecalcAllRunning` is set every item row is computed first (`RowCalc`).
// Painting happens only while `CalcNoDisplay` is off and `level` is the
// level on screen; the final repaint starts at `firstRow`.
void LevelCalc(ProgramState& st, int level, std::string& totalRecord, int firstRow, int rowCount);

// Fits `value` to the column and stores it into `rec`; shows it in grid row
// `row` when the level is the one on screen, the column is shown in the
// level's mask screen and `CalcNoDisplay` is off.
void StoreColumnValue(ProgramState& st, int level, std::string& rec, const std::string& value, int col, int row);

// What every change of the current sheet calls: with automatic
// recalculation on, `LevelCalc` of `CurrentLevel` and a repaint of the ratio
// column; off, only the total cells are masked (`TotalRowsMask`).
void LevelRecalcAndShow(ProgramState& st, std::string& totalRecord, int firstRow, int rowCount);

// The same for a given level (the recalculation of all levels), from row
// `CurrentRow` + 1.
void LevelRecalcAt(ProgramState& st, int level, std::string& totalRecord, int rowCount);

// Shows "#" across the total-defined columns of the total, tax and expense
// rows 1 .. rowCount and of the totals line of the current level; the
// records keep their values. Nothing while `CalcNoDisplay` is set or for a
// row count of 0.
void TotalRowsMask(ProgramState& st, int rowCount);

}  // namespace kv
