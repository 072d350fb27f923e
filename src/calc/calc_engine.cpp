#include "calc/calc_engine.h"

#include "calc/equipment/equipment_aggregation.h"
#include "calc/equipment/equipment_definitions.h"
#include "calc/equipment/equipment_recalc.h"
#include "calc/formula_evaluate.h"
#include "calc/formula_order.h"
#include "calc/level_calc.h"
#include "calc/recalc_all_levels.h"
#include "calc/row_calc.h"
#include "calc/special_rows.h"
#include "calc/zoku_unit_round.h"
#include "state/program_state.h"

namespace kv {
namespace {

// The sheet on screen: `CurrentLevel`, its parent row and its closing record.
LevelContext CurrentLevelContext(const ProgramState& st) {
  const int level = st.CurrentLevel;
  const bool hasParent = level >= 2 && level <= 8;
  return {level, hasParent ? std::string_view(st.ParentRows[static_cast<size_t>(level - 1)]) : std::string_view(),
          st.SheetTotalRecord};
}

}  // namespace

bool CalcEngine::RowFormulaOrderBuild(ProgramState& st, int level) { return kv::RowFormulaOrderBuild(st, level); }

bool CalcEngine::TotalFormulaOrderBuild(ProgramState& st, int level) {
  return kv::TotalFormulaOrderBuild(st, level);
}

void CalcEngine::LevelCalc(ProgramState& st, int level, std::string& closingRecord, int row, int usedRows) {
  kv::LevelCalc(st, level, closingRecord, row, usedRows);
}

void CalcEngine::RowFormulaCalc(ProgramState& st, const LevelContext& ctx, std::string& rowRecord, int changedCol) {
  kv::RowFormulaCalc(st, ctx, 0, rowRecord, changedCol, false);
}

std::string CalcEngine::FormulaEvaluate(ProgramState& st, std::string_view record, std::string_view formula) {
  return kv::FormulaEvaluate(st, CurrentLevelContext(st), record, formula);
}

bool CalcEngine::IsFormulaError(std::string_view result) { return kv::IsFormulaError(result); }

void CalcEngine::RowCalc(ProgramState& st, std::string& rowRecord) {
  kv::RowCalc(st, CurrentLevelContext(st), rowRecord);
}

void CalcEngine::RowFormulaCalcAt(ProgramState& st, int gridRow, std::string& rowRecord, int changedCol, bool paint) {
  kv::RowFormulaCalc(st, CurrentLevelContext(st), gridRow, rowRecord, changedCol, paint);
}

void CalcEngine::LevelRecalcAndShow(ProgramState& st, std::string& totalRecord, int firstRow, int rowCount) {
  kv::LevelRecalcAndShow(st, totalRecord, firstRow, rowCount);
}

void CalcEngine::TotalRowsMask(ProgramState& st, int rowCount) { kv::TotalRowsMask(st, rowCount); }

bool CalcEngine::InsertSpecialRow(ProgramState& st, GridModel& grid, int index) {
  return kv::InsertSpecialRow(st, grid, index);
}

bool CalcEngine::ZokuPairUpdate(ProgramState& st, std::string& rowRecord, int level, int col, int row) {
  return kv::ZokuPairUpdate(st, rowRecord, level, col, row);
}

std::string CalcEngine::ZokuUnitRoundAt(ProgramState& st, std::string_view rowRecord, std::string value, int col,
                                        int level) {
  return kv::ZokuUnitRoundAt(st, rowRecord, std::move(value), col, level);
}

bool CalcEngine::IsSikiRuleColumn(ProgramState& st, int col) {
  if (st.SystemKind != 1) return false;
  for (int i = 1; i <= st.SikiCount && i <= kMaxEquipEntries; ++i)
    if (SikiRuleParse(st.SikiRules[static_cast<size_t>(i)]).ruleCol == col) return true;
  return false;
}

bool CalcEngine::IsZokuUnitColumn(ProgramState& st, int col) {
  if (st.SystemKind != 1) return false;
  for (int i = 1; i <= st.ZokuCount && i <= kMaxEquipEntries; ++i)
    if (st.ZokuUnitCols[static_cast<size_t>(i)] == col) return true;
  return false;
}

bool CalcEngine::IsEquipmentSiwakeFile(ProgramState&, const std::string& workBase) {
  return kv::IsEquipmentSiwakeFile(workBase);
}

void CalcEngine::SbClearDefinitions(ProgramState& st) { kv::SbClearDefinitions(st); }

void CalcEngine::SbLoadDefinitions(ProgramState& st, const std::string& path) { kv::SbLoadDefinitions(st, path); }

void CalcEngine::RecalcFromTopLevel(ProgramState& st, const std::string& workBase) {
  kv::RecalcFromTopLevel(st, workBase);
}

void CalcEngine::RecalcEquipmentTotals(ProgramState& st, bool paint) { kv::RecalcEquipmentTotals(st, paint); }

}  // namespace kv
