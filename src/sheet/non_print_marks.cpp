#include "sheet/non_print_marks.h"

#include <string>
#include <string_view>

#include "platform/grid/grid_api.h"
#include "platform/ui.h"
#include "sheet/sheet_painting.h"
#include "state/calc_services.h"
#include "state/program_state.h"
#include "state/stored_number_base.h"
#include "state/warn_msg_box.h"
#include "storage/row_record.h"

namespace kv {
namespace {

bool ColumnShown(const ProgramState& st, int level, int col) {
  const int screen = st.XMASK[static_cast<size_t>(level)];
  return screen < 0 || screen >= kMaskScreens || st.MaskDef[level][col][static_cast<size_t>(screen)] != 'M';
}

// Every shown cell of the row back to the grid's default text colour: the
// colour of the mark just removed would otherwise stay on a plain row.
void ShownCellsColourReset(ProgramState& st, GridModel& grid, int row) {
  const int level = st.CurrentLevel;
  for (int c = 1; c <= st.ColCount[static_cast<size_t>(level)] && c <= kMaxColumns; ++c) {
    if (!ColumnShown(st, level, c)) continue;
    SetSheetLocate32(grid, c, row);
    grid.SetCurrentCellColour(0);
  }
}

// Cursor back on the toggled row in its column, the row repainted.
void ToggleEnd(ProgramState& st, GridModel& grid, int row, int col) {
  st.CurrentCol = col;
  SetSheetLocate32(grid, st.CurrentCol, row);
  RowDisplay(st, grid, row, row);
}

bool RowOutsideSheet(ProgramState& st, int row) {
  if (row >= 1 && row <= st.UsedRows) return false;
  st.ui.Beep();
  return true;
}

void Recalc(ProgramState& st, int row) {
  if (st.ReCalcFlag && st.calc != nullptr) st.calc->LevelRecalcAndShow(st, st.SheetTotalRecord, row + 1, st.UsedRows);
}

// The first level without a column whose type begins with `prefix`; 0 when
// every level has one.
int LevelLacking(const ProgramState& st, std::string_view prefix) {
  for (int level = 1; level <= st.LevelCount && level <= 8; ++level) {
    bool found = false;
    for (int c = 1; c <= st.ColCount[static_cast<size_t>(level)] && c <= kMaxColumns && !found; ++c)
      found = std::string_view(st.ColType[level][c]).substr(0, 2) == prefix;
    if (!found) return level;
  }
  return 0;
}

}  // namespace

void NotPrintLineToggle(ProgramState& st, GridModel& grid, int row) {
  if (RowOutsideSheet(st, row)) return;
  const int col = st.CurrentCol;
  std::string& rec = st.SheetRows[static_cast<size_t>(row)];
  const char mark = RecordByte(rec, kPrintMarkPos);
  if (mark == 'I' || mark == ' ') {
    SetRecordByte(rec, kPrintMarkPos, 'U');
  } else if (mark == 'U') {
    SetRecordByte(rec, kPrintMarkPos, ' ');
    ShownCellsColourReset(st, grid, row);
  }
  ToggleEnd(st, grid, row, col);
  Recalc(st, row);
}

void NotPrintLvlLineToggle(ProgramState& st, GridModel& grid, int row) {
  if (RowOutsideSheet(st, row)) return;
  const int col = st.CurrentCol;
  std::string& rec = st.SheetRows[static_cast<size_t>(row)];
  const char mark = RecordByte(rec, kPrintMarkPos);
  const bool hasBreakdown = BaseStrToNum(LinkField(rec, kChildPos), st) >= 1;
  bool sumsChanged = false;
  if ((mark == 'U' || mark == ' ') && hasBreakdown) {
    SetRecordByte(rec, kPrintMarkPos, 'I');
    sumsChanged = mark == 'U';
  } else if (mark == 'I') {
    SetRecordByte(rec, kPrintMarkPos, ' ');
    ShownCellsColourReset(st, grid, row);
  }
  ToggleEnd(st, grid, row, col);
  if (sumsChanged) Recalc(st, row);
}

bool CheckSiwakeCodes(ProgramState& st) {
  struct Check {
    std::string_view prefix;
    const char* text;
  };
  static constexpr Check kChecks[] = {
      {"I1", "階層目に仕訳コード１の項目が設定がされていません"},
      {"I2", "階層目に仕訳コード２の項目が設定がされていません"},
  };
  for (const Check& check : kChecks) {
    const int level = LevelLacking(st, check.prefix);
    if (level == 0) continue;
    WarnMsgBox(st, std::to_string(level) + check.text + "\n仕訳ﾌｧｲﾙ作成を中止します.");
    return true;
  }
  return false;
}

}  // namespace kv
