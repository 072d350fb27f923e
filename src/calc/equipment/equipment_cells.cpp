#include "calc/equipment/equipment_cells.h"

#include <algorithm>

#include "calc/calc_cells.h"
#include "calc/equipment/equipment_definitions.h"
#include "calc/row_calc.h"
#include "calc/strip_spaces.h"
#include "core/column_letter.h"
#include "platform/codepage.h"
#include "platform/ui.h"
#include "sheet/sheet_fields.h"
#include "state/column_numbers.h"
#include "state/float_windows.h"
#include "state/program_state.h"

namespace kv {
namespace {

constexpr std::string_view kSbMsgFrm = "SB_MsgFrm";

std::string& RowOf(ProgramState& st, int row) { return st.SheetRows[static_cast<size_t>(row)]; }

}  // namespace

std::string EquipCellTrimmed(const ProgramState& st, int row, int col) {
  return std::string(EquipCellView(st, row, col));
}

std::string_view EquipCellView(const ProgramState& st, int row, int col) {
  return CellTrimmed(st, st.SheetRows[static_cast<size_t>(row)], st.CurrentLevel, col);
}

std::string EquipCellStripped(const ProgramState& st, int row, int col) {
  // Leading blanks are single-byte characters, dropped here before the copy.
  std::string_view cell = CellBytes(st, st.SheetRows[static_cast<size_t>(row)], st.CurrentLevel, col);
  while (!cell.empty() && cell.front() == ' ') cell.remove_prefix(1);
  std::string s(cell);
  StripSpaces(s);
  return s;
}

std::string_view EquipCellStrippedView(const ProgramState& st, int row, int col, std::string& buffer) {
  std::string_view cell = CellBytes(st, st.SheetRows[static_cast<size_t>(row)], st.CurrentLevel, col);
  while (!cell.empty() && cell.front() == ' ') cell.remove_prefix(1);
  while (!cell.empty() && cell.back() == ' ') cell.remove_suffix(1);
  // Only a blank or a double-byte character (the full-width blank among
  // them) can make the stripped text differ from the trimmed one.
  for (char c : cell) {
    if (c == ' ' || static_cast<unsigned char>(c) >= 0x80) {
      buffer = EquipCellStripped(st, row, col);
      return buffer;
    }
  }
  return cell;
}

bool IsNumberText(std::string_view t) {
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) t.remove_prefix(1);
  bool digit = false, dot = false;
  for (char c : t) {
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c == '.' && !dot) {
      dot = true;
    } else {
      return false;
    }
  }
  return digit;
}

void EquipWriteCell(ProgramState& st, int row, int col, const std::string& value, bool paint) {
  const int level = st.CurrentLevel;
  if (!IsColumnOf(st, level, col)) return;
  if (IsNumericColumn(st, level, col)) {
    EquipWriteFitted(st, row, col, FitToColumn(st, level, col, value), paint);
    return;
  }
  std::string& rec = RowOf(st, row);
  const size_t width = static_cast<size_t>(std::max(st.ColWidth[level][col], 0));
  std::string stored = value.substr(0, std::min(value.size(), width));
  stored.resize(width, ' ');
  FieldStore(st, rec, col, level, stored);
  if (!paint) return;
  if (GridModel* grid = PaintGrid(st, level)) PaintCell(grid, col, row, std::string(CellBytes(st, rec, level, col)));
}

void EquipWriteFitted(ProgramState& st, int row, int col, std::string_view fitted, bool paint) {
  const int level = st.CurrentLevel;
  std::string& rec = RowOf(st, row);
  StoreCell(st, rec, level, col, fitted);
  if (!paint) return;
  if (GridModel* grid = PaintGrid(st, level)) {
    std::string shown(CellBytes(st, rec, level, col));
    NumCommaFormat(st, level, shown, col);
    PaintCell(grid, col, row, shown);
  }
}

std::int64_t EquipCellUnitFactor(const ProgramState& st, int row, int col) {
  // The first character that is no blank, half- or full-width ("　").
  const std::string_view cell = CellBytes(st, st.SheetRows[static_cast<size_t>(row)], st.CurrentLevel, col);
  for (size_t i = 0; i < cell.size(); ++i) {
    const auto c = static_cast<unsigned char>(cell[i]);
    if (c == ' ') continue;
    if (IsSjisLeadByte(c) && i + 1 < cell.size() && c == 0x81 && static_cast<unsigned char>(cell[i + 1]) == 0x40) {
      ++i;
      continue;
    }
    return UnitLetterFactor(cell.substr(i, 1));
  }
  return 1;
}

LevelContext EquipContext(const ProgramState& st) {
  const int level = st.CurrentLevel;
  return {level, level >= 2 ? std::string_view(st.ParentRows[static_cast<size_t>(level - 1)]) : std::string_view(),
          st.SheetTotalRecord};
}

void EquipRowRecalc(ProgramState& st, int row, int col, bool paint) {
  RowFormulaCalc(st, EquipContext(st), row, RowOf(st, row), col, paint);
}

int EquipWriteAutoValues(ProgramState& st, int row, bool paint, bool recalcEach) {
  int last = 0;
  for (int a = 1; a <= st.AutoCount; ++a) {
    const std::string& line = st.AutoLines[static_cast<size_t>(a)];
    if (line.size() < 3) continue;
    const int col = ColLetterToNum(std::string_view(line).substr(2, 1));
    EquipWriteCell(st, row, col, line.size() > 4 ? line.substr(4) : std::string(), paint);
    if (recalcEach) EquipRowRecalc(st, row, col, paint);
    last = col;
  }
  return last;
}

void EquipCalcMessage(ProgramState& st, const std::string& text) {
  FloatWindowsTopMostSet(st, false);
  st.ui.MsgBox(text, vbOKOnly, "計算");
  FloatWindowsTopMostSet(st, true);
}

void SbMsgOpen(ProgramState& st, std::string_view caption, std::string_view text) {
  st.ui.SetWindowText(kSbMsgFrm, "", caption);
  st.ui.SetWindowText(kSbMsgFrm, "Label1(0)", text);
  st.ui.ShowModeless(kSbMsgFrm);
  st.ui.ProcessEvents();
}

void SbMsgSetDetail(ProgramState& st, std::string_view text) {
  if (!st.SbMsgShown) return;
  st.ui.SetWindowText(kSbMsgFrm, "Label1(1)", text);
  st.ui.ProcessEvents();
}

void SbMsgSetDetail(ProgramState& st, int row) {
  if (st.SbMsgShown) SbMsgSetDetail(st, NumberWithSign(row));
}

void SbMsgClose(ProgramState& st) { st.ui.UnloadWindow(kSbMsgFrm); }

std::string NumberWithSign(int n) { return n >= 0 ? " " + std::to_string(n) : std::to_string(n); }

}  // namespace kv
