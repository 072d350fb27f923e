#pragma once
// The calculation engine as storage and start-up reach it (`st.calc`).
#include <string>

#include "state/calc_services.h"

namespace kv {

class CalcEngine : public CalcServices {
 public:
  bool RowFormulaOrderBuild(ProgramState& st, int level) override;
  bool TotalFormulaOrderBuild(ProgramState& st, int level) override;
  void LevelCalc(ProgramState& st, int level, std::string& closingRecord, int row, int usedRows) override;
  void RowFormulaCalc(ProgramState& st, const LevelContext& ctx, std::string& rowRecord, int changedCol) override;

  // The editing of the sheet in memory, in the context of `CurrentLevel`.
  std::string FormulaEvaluate(ProgramState& st, std::string_view record, std::string_view formula) override;
  bool IsFormulaError(std::string_view result) override;
  void RowCalc(ProgramState& st, std::string& rowRecord) override;
  void RowFormulaCalcAt(ProgramState& st, int gridRow, std::string& rowRecord, int changedCol, bool paint) override;
  void LevelRecalcAndShow(ProgramState& st, std::string& totalRecord, int firstRow, int rowCount) override;
  void TotalRowsMask(ProgramState& st, int rowCount) override;
  bool InsertSpecialRow(ProgramState& st, GridModel& grid, int index) override;

  // The equipment edition (calc/equipment/) and the recalculation of all
  // levels (calc/recalc_all_levels.h).
  bool IsEquipmentSiwakeFile(ProgramState& st, const std::string& workBase) override;
  void SbClearDefinitions(ProgramState& st) override;
  void SbLoadDefinitions(ProgramState& st, const std::string& path) override;
  void RecalcFromTopLevel(ProgramState& st, const std::string& workBase) override;
  void RecalcEquipmentTotals(ProgramState& st, bool paint) override;
  bool ZokuPairUpdate(ProgramState& st, std::string& rowRecord, int level, int col, int row) override;
  std::string ZokuUnitRoundAt(ProgramState& st, std::string_view rowRecord, std::string value, int col,
                              int level) override;
  // From the loaded definitions: a rule's totals column / a pair's unit column.
  bool IsSikiRuleColumn(ProgramState& st, int col) override;
  bool IsZokuUnitColumn(ProgramState& st, int col) override;
};

}  // namespace kv
