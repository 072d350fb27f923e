#pragma once
// The calculation of one row: the quantity formulas of the formula-text
// ("S") columns into their answer ("A") columns and the row definitions
// (`RowCalc`); the incremental recalculation after one numeric cell of a row
// changed (`RowFormulaCalc`); the composition ratio of a row
// (`RatioCellCalc`). Every formula is evaluated in the given level context:
// that level's columns, its parent row and its sheet's closing record.
#include <string>
#include <string_view>
#include <vector>

#include "calc/fixed_sum.h"
#include "state/level_context.h"

namespace kv {

struct ProgramState;

// Computes an item row (kind " ") in place; any other row is left as it is.
// First the formula-text pass: each "A" column takes the result of the
// nearest non-empty "S" column to its left (an "A" column without one keeps
// its text); then every row definition of `RowFormulaOrder`(ctx.level) but
// the ratio's, each reading the values stored before it. A formula that
// fails stores the column's zero form.
void RowCalc(ProgramState& st, const LevelContext& ctx, std::string& rec);

// RowCalc, telling whether the column right of the "S" column `formulaCol`
// took that column's answer, an answer that did not fail of a formula that
// reads nothing but its own text (FormulaReadsNothing): then evaluating
// the formula again and fitting its answer to that column gives the bytes
// stored, unless a row definition wrote the column afterwards
// (RowDefinitionWrites).
// `overwrittenAnswers` (AnswersOverwrittenUnread) names "A" columns whose
// answer it need not store: a definition overwrites it before it is read.
bool RowCalcNotingAnswer(ProgramState& st, const LevelContext& ctx, std::string& rec, int formulaCol,
                         std::uint64_t overwrittenAnswers = 0);

// The "A" columns of the level (bit c for column c) that a row definition
// RowCalc evaluates overwrites before any definition reads them: what the
// formula-text pass stores there, unless it failed, leaves no trace.
std::uint64_t AnswersOverwrittenUnread(const ProgramState& st, int level);

// True when RowCalc evaluates a row definition of column `col` of the level.
bool RowDefinitionWrites(const ProgramState& st, int level, int col);

// After column `changedCol` of `rec` changed: the row's numeric cells become
// "[[X" variables of the arithmetic library, and every row definition that
// refers to the changed column is evaluated again, stored and propagated
// further, depth first; a definition that fails leaves its column in the
// zero form and propagates nothing. No column is evaluated again while it
// is on the chain being propagated, so a definition that refers to itself
// ends. With `paint`, the cells are shown in grid row `gridRow` of the
// editor's grid (only when ctx.level is the level on screen). In the
// customer variant a result of column 8 goes into column 11 when column 10
// holds "1", else into column 12, the other blanked. With
// `numbersRepainted` the caller repaints the row's numeric cells from the
// stored record afterwards: only its other cells are painted here.
void RowFormulaCalc(ProgramState& st, const LevelContext& ctx, int gridRow, std::string& rec, int changedCol,
                    bool paint, bool numbersRepainted = false);

// The first step of RowFormulaCalc alone: the row's numeric cells become
// the "[[X" variables of the arithmetic library.
void RowVariablesSet(ProgramState& st, int level, std::string_view rec);
// The same for the level's numeric columns found once (NumericColumns), for
// many rows of one calculation.
void RowVariablesSet(ProgramState& st, int level, std::string_view rec, const std::vector<int>& numericColumns);
// The numeric columns of the level, in column order.
std::vector<int> NumericColumns(const ProgramState& st, int level);

// True when RowFormulaCalc for `changedCol`, on an item row that RowCalc has
// just computed and that nothing changed since (the answer stored into
// `changedCol` equal to the cell's bytes), would store the same bytes again:
// every row definition RowCalc evaluates is pure (PureFormulaColumns) and
// reads no column that RowCalc or the definition itself writes at or after
// it, so each stored value is what its definition answers for the row as it
// stands; and every definition the propagation from `changedCol` reaches is
// one of them. False in the customer variant and the equipment edition
// (their propagation stores more than the definition's answer).
bool RowRecalcSettled(const ProgramState& st, int level, int changedCol);

// The composition ratio of `SheetRows`(row): the value of column `refCol`
// x 100 / `total`, to four decimals (0 when either is 0), fitted into column
// `ratioCol` of the level.
void RatioCellCalc(ProgramState& st, int row, int level, int ratioCol, int refCol, FixedSum total);

// False for the rows "#", "$", "%", "ｱ", "ｲ", "ｳ", "S", "ﾒ", "Q" and for
// non-print ("U") rows; true otherwise.
bool IsItemRow(std::string_view rec);

}  // namespace kv
