#include "calc/calc_engine.h"

#include "calc/formula_order.h"
#include "calc/level_calc.h"
#include "calc/row_calc.h"

namespace kv {

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

bool CalcEngine::IsEquipmentSiwakeFile(ProgramState&, const std::string&) { return false; }

void CalcEngine::SbClearDefinitions(ProgramState&) {}

void CalcEngine::SbLoadDefinitions(ProgramState&, const std::string&) {}

void CalcEngine::RecalcFromTopLevel(ProgramState&, const std::string&) {}

}  // namespace kv
