#include "editor/calc_menu.h"

#include "calc/equipment/equipment_recalc.h"
#include "calc/recalc_all_levels.h"
#include "calc/y_calc.h"
#include "classify/sch_sheet_frm.h"
#include "editor/edit_menu.h"
#include "editor/even_spacing.h"
#include "editor/grid_events.h"
#include "editor/level_marks_commands.h"
#include "editor/siwake_file_create.h"
#include "platform/ui.h"
#include "print/orvi_ken.h"
#include "sheet/memo_editor.h"
#include "sheet/selection_helpers.h"
#include "sheet/series_fill.h"
#include "state/calc_services.h"
#include "state/editor_services.h"
#include "state/float_windows.h"
#include "state/menu_model.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"
#include "storage/file_command_steps.h"
#include "storage/level_files.h"

namespace kv {

namespace {

// The special row `index` at the cursor; a memo row opens the memo editor.
void SpecialRow(EditorGrids& g, int index) {
  if (g.st.calc != nullptr && g.st.calc->InsertSpecialRow(g.st, g.sheet, index))
    OpenMemoEditor(g.st, g.sheet, g.rowSheet, g.memo);
}

// What an equipment classification file refuses, "" for the others.
const char* EquipmentFileRefusal(int index) {
  switch (index) {
    case 16: return "設備版の仕訳ファイルでは消費税行を挿入できません。";
    case 17: return "設備版の仕訳ファイルでは諸経費計算行を挿入できません。";
    case 18: return "設備版の仕訳ファイルでは消耗品雑材行を挿入できません。";
    case 19: return "設備版の仕訳ファイルでは経費行を挿入できません。";
    case 20: return "設備版の仕訳ファイルでは集計再計算ができません。";
    default: return "";
  }
}

bool RowChecked(int index) {
  switch (index) {
    case 2: case 3: case 4: case 13: case 14: case 16: case 18: case 19:
      return true;
    default:
      return false;
  }
}

// The refusal of a new row at the cursor, "" when it may come.
const char* RowRefusal(const ProgramState& st) {
  if (st.CurrentRow == 1) return "始めの行では無効です";
  if (st.CurrentRow > st.Imax) return "この行では無効です";
  if (st.UsedRows + 1 > st.Imax) return "最大行を超えるので入力できません";
  return "";
}

// Level 1 only; below it the user is told so.
bool AtTopLevel(ProgramState& st) {
  if (st.CurrentLevel <= 1) return true;
  AskUser(st, "(1)階層で実行して下さい", vbOKOnly);
  return false;
}

// Level 1 of a named estimate only (the extended items 7 .. 11).
bool AtTopLevelOfNamedEstimate(ProgramState& st) {
  if (!AtTopLevel(st)) return false;
  if (!IsUntitledName(st.WorkFileBase)) return true;
  AskUser(st, "ﾌｧｲﾙを保存後に実行して下さい.", vbOKOnly);
  return false;
}

void TotalsSwitchChecked(ProgramState& st) {
  if (st.editor == nullptr) return;
  if (EditorMenus* menus = st.editor->Menus())
    if (MenuItem* item = menus->Find("Menu_3Sub", kCalcTotalsSwitchItem)) item->checked = true;
  st.editor->MenusChanged(st);
}

}  // namespace

void Menu_3Sub_Click(EditorGrids& g, int index) {
  ProgramState& st = g.st;
  MarkingModesOff(st);
  if (st.SystemKind == 1 && st.IsSetubiSiwakeFile && *EquipmentFileRefusal(index) != '\0') {
    WarnMsgBox(st, EquipmentFileRefusal(index));
    return;
  }
  if (index != kCalcYItem) SelRectStore(st, g.sheet);
  if (RowChecked(index) && *RowRefusal(st) != '\0') {
    WarnMsgBox(st, RowRefusal(st));
    return;
  }
  switch (index) {
    case kCalcYItem:
      YKeisanRun(st);
      g.port.SheetFocus();
      break;
    case kCalcEquipmentRecalcItem:
      EquipmentRecalcCommand(st);
      break;
    case kCalcAllLevelsItem:
      if (!st.ReCalcFlag) TotalsSwitchChecked(st);
      RecalcAllLevelsMenuCommand(st);
      break;
    default:
      SpecialRow(g, index);
      break;
  }
}

void Tokusyusub_Click(EditorGrids& g, int index) {
  ProgramState& st = g.st;
  SelRectStore(st, g.sheet);
  if (index != kNotPrintLineItem && st.NotPrintLineMode) NotPrintLine(st);
  if (index != kNotPrintLvlLineItem && st.NotPrintLvlLineMode) NotPrintLvlLine(st);
  if (index >= 7 && index <= kClassifyFileItem && !AtTopLevelOfNamedEstimate(st)) return;
  switch (index) {
    case kNotPrintLineItem:
      NotPrintLine(st);
      break;
    case kNotPrintLvlLineItem:
      NotPrintLvlLine(st);
      break;
    case kMemoRowItem:
      SpecialRow(g, 5);
      break;
    case kSpecialMemoRowItem:
      SpecialRow(g, 20);
      break;
    case kEvenSpacingItem:
      EvenSpacing(st, g.sheet);
      break;
    case kSeriesFillItem:
      SeriesFill(st, g.sheet);
      break;
    case kSearchItem:
      SearchWindowShow(st);
      break;
    case kClassifyFileItem:
      SiwakeFileCreate(st);
      break;
    case kLevelMarksClearItem:
      if (AtTopLevel(st)) NotPrintLvlClr(st);
      break;
    case kSpecialPrintSetupItem:
      if (!AtTopLevel(st)) break;
      if (st.SearchSheetLoaded) {
        st.SearchSheetLoaded = false;
        st.ui.UnloadWindow(kSearchWindow);
      }
      if (st.RefSheetLoaded) {
        st.ui.UnloadWindow(kRefWindow);
        st.RefSheetLoaded = false;
      }
      st.ui.ShowModal(kSpecialPrintWindow);
      FloatWindowsRaise(st);
      break;
    default:
      break;
  }
}

}  // namespace kv
