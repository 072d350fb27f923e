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

  // The equipment edition and the recalculation of all levels are not built
  // yet: no estimate is an equipment classification file, and the rest does
  // nothing.
  bool IsEquipmentSiwakeFile(ProgramState& st, const std::string& workBase) override;
  void SbClearDefinitions(ProgramState& st) override;
  void SbLoadDefinitions(ProgramState& st, const std::string& path) override;
  void RecalcFromTopLevel(ProgramState& st, const std::string& workBase) override;
};

}  // namespace kv
