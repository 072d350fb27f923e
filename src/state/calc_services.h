#pragma once
// What storage and start-up ask of the calculation engine (`CalcEngine`).
// While `ProgramState::calc` is null (tests of other parts) callers skip the
// calculation: the sheet is stored as it stands.
#include <string>
#include <string_view>

#include "state/level_context.h"

namespace kv {

struct ProgramState;
class GridModel;

class CalcServices {
 public:
  virtual ~CalcServices() = default;

  // True when [VEZ_File] FileType of workBase + ".INI" is exactly "SetubiSiwakeFile".
  virtual bool IsEquipmentSiwakeFile(ProgramState& st, const std::string& workBase) = 0;
  // Equipment edition: empties the six definition tables / loads VEZ_SIKI.DAT.
  virtual void SbClearDefinitions(ProgramState& st) = 0;
  virtual void SbLoadDefinitions(ProgramState& st, const std::string& path) = 0;
  // Evaluation orders of the row and total definitions of a level. False when
  // the definitions refer to each other in a cycle or too deeply: the caller
  // refuses the layout and keeps the previous tables.
  virtual bool RowFormulaOrderBuild(ProgramState& st, int level) = 0;
  virtual bool TotalFormulaOrderBuild(ProgramState& st, int level) = 0;
  // Calculates the sheet in memory as the sheet of `level` (its columns, its
  // parent row `ParentRows`(level - 1)) and writes its totals into
  // `closingRecord`; `row` is where a repaint would start.
  virtual void LevelCalc(ProgramState& st, int level, std::string& closingRecord, int row, int usedRows) = 0;
  // Re-evaluates the columns of `rowRecord`, a row of the level `ctx` names,
  // that depend on `changedCol`; nothing is painted.
  virtual void RowFormulaCalc(ProgramState& st, const LevelContext& ctx, std::string& rowRecord,
                              int changedCol) = 0;
  // Recalculates every level of the estimate from level 1.
  virtual void RecalcFromTopLevel(ProgramState& st, const std::string& workBase) = 0;

  // What the editing of the sheet in memory asks. Each works in the context
  // of `CurrentLevel`: its columns, its parent row and `SheetTotalRecord`.
  // The defaults do nothing, for fakes that never edit.

  // The answer of the quantity formula `formula` with the row record
  // `record` (empty: the "[[" references read blanks); an error text of the
  // evaluator on failure ("" without an evaluator).
  virtual std::string FormulaEvaluate(ProgramState&, std::string_view /*record*/, std::string_view /*formula*/) {
    return {};
  }
  // True when `result` is one of the evaluator's error texts.
  virtual bool IsFormulaError(std::string_view /*result*/) { return false; }
  // Computes the item row `rowRecord` in place (formula texts, row definitions).
  virtual void RowCalc(ProgramState&, std::string& /*rowRecord*/) {}
  // Re-evaluates the row definitions of `rowRecord` that depend on
  // `changedCol`; with `paint` the computed cells are shown in grid row `gridRow`.
  virtual void RowFormulaCalcAt(ProgramState&, int /*gridRow*/, std::string& /*rowRecord*/, int /*changedCol*/,
                                bool /*paint*/) {}
  // Recalculates the level's totals into `totalRecord` and repaints from
  // `firstRow` (automatic recalculation on), or masks the total cells (off).
  virtual void LevelRecalcAndShow(ProgramState&, std::string& /*totalRecord*/, int /*firstRow*/, int /*rowCount*/) {}
  // Shows "#" over the total cells of the sheet in memory (automatic
  // recalculation off); the records keep their values.
  virtual void TotalRowsMask(ProgramState&, int /*rowCount*/) {}
  // Equipment edition: recalculates the equipment totals of the sheet in
  // memory (`paint`: the computed cells are shown). Nothing in the other
  // editions.
  virtual void RecalcEquipmentTotals(ProgramState&, bool /*paint*/) {}
  // Equipment edition: keeps a unit/value column pair of `rowRecord` in step
  // after column `col` of sheet row `row` changed; true when `col` was the
  // unit column of a pair.
  virtual bool ZokuPairUpdate(ProgramState&, std::string& /*rowRecord*/, int /*level*/, int /*col*/, int /*row*/) {
    return false;
  }
  // Equipment edition: `value` about to be stored in column `col` of
  // `rowRecord`, a row of `level`, rounded up to the unit its row gives that
  // column; any other value unchanged.
  virtual std::string ZokuUnitRoundAt(ProgramState&, std::string_view /*rowRecord*/, std::string value, int /*col*/,
                                      int /*level*/) {
    return value;
  }

  // Equipment edition: `col` of the current level is the totals column of
  // an aggregation rule / a unit column of a unit pair (the series fill
  // refuses both). False in the other editions and until the definitions
  // are loaded.
  virtual bool IsSikiRuleColumn(ProgramState&, int /*col*/) { return false; }
  virtual bool IsZokuUnitColumn(ProgramState&, int /*col*/) { return false; }

  // The calculation-row command `index` on the sheet in memory and the
  // editor's sheet grid: 0 switches automatic recalculation, the others
  // make a special row (total, tax, expense, equipment, memo rows) at the
  // cursor. True when a memo row was made at `CurrentRow`: the caller opens
  // the memo editor on it.
  virtual bool InsertSpecialRow(ProgramState&, GridModel&, int /*index*/) { return false; }
};

}  // namespace kv
