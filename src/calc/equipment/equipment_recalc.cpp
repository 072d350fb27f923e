#include "calc/equipment/equipment_recalc.h"

#include <filesystem>
#include <optional>
#include <vector>

#include "calc/calc_cells.h"
#include "calc/calc_expression.h"
#include "calc/equipment/equipment_aggregation.h"
#include "calc/equipment/equipment_cells.h"
#include "calc/equipment/equipment_definitions.h"
#include "calc/equipment/equipment_rows.h"
#include "calc/level_calc.h"
#include "calc/rounding.h"
#include "calc/row_calc.h"
#include "calc/strip_spaces.h"
#include "calc/zoku_unit_round.h"
#include "core/column_letter.h"
#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/ui.h"
#include "state/column_numbers.h"
#include "state/editor_services.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "storage/level_chain.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/row_record.h"

namespace kv {
namespace {

bool RunSteps(ProgramState& st, bool paint) {
  if (!ZokuRoundAllRows(st, paint)) return false;
  if (!SikiRulesApply(st, paint)) return false;
  if (!CalcExpenseRows(st, paint)) return false;
  bool again = false;
  if (!CalcConsumablesRow(st, paint, again)) return false;
  if (again && (!SikiRulesApply(st, paint) || !CalcExpenseRows(st, paint))) return false;
  return true;
}

LevelContext ContextOf(const ProgramState& st, int level) {
  return {level, level >= 2 && level <= kMaxLevels ? std::string_view(st.ParentRows[static_cast<size_t>(level - 1)])
                                                   : std::string_view(),
          st.SheetTotalRecord};
}

// The closing record of the breakdown chain from `first` in the level file,
// read by the checked reader of every chain walk; "" when the chain has none.
// nullopt when the file cannot be read or is damaged (a link past the end, a
// loop, a chain entered in its middle, a cut record, a missing file the link
// names): the user has been told.
std::optional<std::string> BreakdownClosing(ProgramState& st, int level, int first) {
  const std::filesystem::path path = LevelFilePath(st, st.WorkFileBase, level);
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    LevelFileFaultShow(st, path, {LevelFault::LinkPastEnd, 0});
    return std::nullopt;
  }
  try {
    RecordFile file(path, st.DataLen, RecordFileMode::ReadOnly);
    SheetChain chain;
    if (LevelFileProblem p =
            ReadSheetChain(FileRecords(file), false, first, IsHexBase(st.H_Link), SheetRowLimit(st) + 1, chain)) {
      LevelFileFaultShow(st, path, p);
      return std::nullopt;
    }
    if (chain.records.empty() || RecordByte(chain.records.back(), kKindPos) != kClosingKind) return std::string();
    return chain.records.back();
  } catch (const RecordFileError& e) {
    LevelFileErrorShow(st, path, e.what());
    return std::nullopt;
  }
}

// The first column of the level below whose carry definition feeds `target`.
int CarrySourceCol(const ProgramState& st, int below, int target) {
  if (below < 1 || below > kMaxLevels) return 0;
  for (int c = 1; c <= CalcColumns(st, below); ++c) {
    const std::string& def = st.ColCarryDef[below][c];
    if (def.empty()) continue;
    const size_t arrow = def.find("->");
    if (arrow != std::string::npos && arrow + 4 < def.size() &&
        ColLetterToNum(std::string_view(def).substr(arrow + 4, 1)) == target)
      return c;
  }
  return 0;
}

}  // namespace

bool RecalcEquipmentTotals(ProgramState& st, bool paint) {
  if (st.SystemKind != 1 || st.IsSetubiSiwakeFile) return true;
  st.EquipRecalcRunning = true;
  if (st.sheetEngine) st.sheetEngine->StatusPanelSet(st, 1, "設備 集計行の再計算中！");
  st.ui.SetBusyPointer(true);
  SbMsgOpen(st, "計  算", "集計行の再計算中！");
  CalcInit(st);
  const bool ok = RunSteps(st, paint);
  if (ok) {
    const bool noDisplay = st.CalcNoDisplay;
    st.CalcNoDisplay = !paint;
    LevelCalc(st, st.CurrentLevel, st.SheetTotalRecord, 1, st.UsedRows);
    st.CalcNoDisplay = noDisplay;
  }
  st.ui.SetBusyPointer(false);
  SbMsgClose(st);
  st.EquipRecalcRunning = false;
  if (st.sheetEngine) st.sheetEngine->StatusPanelClear(st, 1);
  return ok;
}

void EquipmentRecalcCommand(ProgramState& st) {
  if (st.CommandBusy) return;
  if (st.editor) st.editor->ToolBarStateSet(st, true);
  RecalcEquipmentTotals(st, true);
  st.SheetModified = true;
  if (st.editor) st.editor->ToolBarStateSet(st, false);
}

bool ZokuPairUpdate(ProgramState& st, std::string& rec, int level, int col, int row) {
  if (st.SystemKind != 1 || !IsItemRow(rec)) return false;
  bool handled = false;
  const bool hex = IsHexBase(st.H_Link);
  const int child = BaseStrToNum(LinkField(rec, kChildPos), hex);
  // The breakdown's closing record, read once before any pair changes: a
  // breakdown that cannot be read changes nothing (the user has been told).
  std::optional<std::string> closing;
  for (int z = 1; z <= st.ZokuCount && child >= 1 && !closing; ++z) {
    if (st.ZokuUnitCols[static_cast<size_t>(z)] != col) continue;
    if (CarrySourceCol(st, level + 1, st.ZokuValueCols[static_cast<size_t>(z)]) == 0) continue;
    closing = BreakdownClosing(st, level + 1, child);
    if (!closing) return true;
  }
  for (int z = 1; z <= st.ZokuCount; ++z) {
    if (st.ZokuUnitCols[static_cast<size_t>(z)] != col) continue;
    handled = true;
    const int valueCol = st.ZokuValueCols[static_cast<size_t>(z)];
    std::string value;
    bool found = false;
    if (child >= 1) {
      if (const int source = CarrySourceCol(st, level + 1, valueCol); source != 0) {
        found = true;
        if (!closing->empty()) value = std::string(CellTrimmed(st, *closing, level + 1, source));
      }
    }
    if (!found) {
      RowCalc(st, ContextOf(st, level), rec);
      value = std::string(CellBytes(st, rec, level, valueCol));
      StripSpaces(value);
    }
    std::string unit(CellBytes(st, rec, level, col));
    StripSpaces(unit);
    if (!value.empty() && IsNumericColumn(st, level, valueCol)) {
      if (UnitRoundApplies(unit, value)) {
        value = UnitRounded(unit, value);  // rounded up with its fraction: 200.5 to 100 is 300
      } else if (const size_t dot = value.find('.'); dot != std::string::npos) {
        value.erase(dot);
      }
    }
    const std::string fitted = FitToColumn(st, level, valueCol, value);
    StoreCell(st, rec, level, valueCol, fitted);
    if (GridModel* grid = PaintGrid(st, level)) {
      std::string shown = fitted;
      NumCommaFormat(st, level, shown, valueCol);
      PaintCell(grid, valueCol, row, shown);
    }
    RowFormulaCalc(st, ContextOf(st, level), row, rec, valueCol, true);
  }
  return handled;
}

}  // namespace kv
