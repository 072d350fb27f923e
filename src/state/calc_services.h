#pragma once
// What storage and start-up ask of the calculation engine. The engine
// implements this interface; until it is wired in, `ProgramState::calc` is
// null and callers skip the calculation (the sheet is stored as it stands).
#include <string>

namespace kv {

struct ProgramState;

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
  // Calculates the sheet in memory of `level` and writes its totals into
  // `closingRecord`.
  virtual void LevelCalc(ProgramState& st, int level, std::string& closingRecord, int row, int usedRows) = 0;
  // Re-evaluates the columns of `rowRecord` that depend on `changedCol`.
  virtual void RowFormulaCalc(ProgramState& st, int mode, int level, std::string& rowRecord, int changedCol,
                              int flag) = 0;
  // Recalculates every level of the estimate from level 1.
  virtual void RecalcFromTopLevel(ProgramState& st, const std::string& workBase) = 0;
};

}  // namespace kv
