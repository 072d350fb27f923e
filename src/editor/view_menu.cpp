#include "editor/view_menu.h"

#include <optional>
#include <string_view>

#include "app/options_store.h"
#include "core/ini_file.h"
#include "core/settings_text.h"
#include "editor/edit_menu.h"
#include "editor/unit_list.h"
#include "platform/grid/grid_api.h"
#include "platform/ui.h"
#include "sheet/selection_helpers.h"
#include "state/editor_services.h"
#include "state/float_windows.h"
#include "state/layout_file.h"
#include "state/menu_model.h"
#include "state/menu_rules.h"
#include "state/print_services.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"
#include "storage/flush_levels.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/mask_info_write.h"
#include "storage/sheet_objects.h"

namespace kv {

namespace {

constexpr int kZoomMin = 30;
constexpr int kZoomMax = 200;
constexpr std::string_view kLevelOneOnly = "(1)階層で実行して下さい";

void FocusSheetIfShown(ViewMenu& v) {
  if (v.port.SheetVisible()) v.port.SheetFocus();
}

void ReloadObjects(ViewMenu& v) { LoadSheetObjects(v.st, v.st.WorkFileBase, v.st.SheetObjNo, v.sheet); }

// The grid set up again, its objects loaded, the pointer back, the focus on
// the grid.
void ReLayWithObjects(ViewMenu& v) {
  SheetReLay(v.st);
  ReloadObjects(v);
  v.st.ui.SetBusyPointer(false);
  FocusSheetIfShown(v);
}

// --- Zoom ---

void ZoomApply(ViewMenu& v) {
  SetZoom32(v.sheet, v.st.KVZoom);
  v.port.Menus().At("ZoomSub", 1).caption = ZoomMenuCaption(v.st.KVZoom);
  v.port.MenusChanged();
  SheetReLay(v.st);
  v.st.ui.SetBusyPointer(false);
  v.port.SheetFocus();
}

// The zoom prompt: true with the new zoom in `KVZoom`, false when the answer
// is empty or out of range (after the limit message).
bool ZoomAsk(ViewMenu& v) {
  ProgramState& st = v.st;
  FloatWindowsTopMostSet(st, false);
  v.sheet.SetImeOn(false);
  const std::optional<std::string> answer =
      st.ui.InputBox("ｽﾞｰﾑの倍率を入力して下さい.\n(200% -- 30%)", "Zoom", " " + std::to_string(st.KVZoom));
  const std::string text(TrimBlanks(answer.value_or("")));
  bool ok = false;
  if (!text.empty()) {
    // The first three characters: "150", "150%" and "1500" all read 150.
    const int zoom = WholeNumberValue(text.substr(0, 3));
    ok = zoom >= kZoomMin && zoom <= kZoomMax;
    if (ok)
      st.KVZoom = zoom;
    else
      st.ui.MsgBox("ｽﾞｰﾑ倍率の限度を越えてます!", vbOKOnly, "TheKorvane");
  }
  FloatWindowsTopMostSet(st, true);
  return ok;
}

// --- Paper ---

bool NoPagesToNumber(const ProgramState& st) { return IsUntitledName(st.WorkFileBase) || st.UsedRows == 0; }

// The paper menu's captions and check mark follow `PrnTypeNo`.
void PaperMenuShow(ViewMenu& v) {
  CheckOnly(v.port.Menus(), "PeparSerect", PrintFormNo(v.st));
  if (v.st.print != nullptr) v.st.print->UpdatePaperMenu(v.st);
  v.port.MenusChanged();
}

void PrintTypeSave(ProgramState& st) {
  if (st.print != nullptr) st.print->SavePrintType(st);
}

// After a failed recording of the levels: the old form in the state, the
// menu, both combos and the stored print type.
void PaperChangeUndo(ViewMenu& v, int oldForm) {
  v.st.PrnTypeNo = oldForm;
  PaperMenuShow(v);
  v.port.PaperComboSelect(oldForm - 1);
  v.port.FloatingPaperSelect(oldForm - 1);
  PrintTypeSave(v.st);
}

// The levels recorded with the new form, the page numbers written and the
// sheet read back and repainted from `firstRow`. False, with the old form
// back, when the levels could not be recorded.
bool PagesRenumber(ViewMenu& v, int oldForm, int firstRow) {
  ProgramState& st = v.st;
  if (!FlushLevels(st)) {
    PaperChangeUndo(v, oldForm);
    return false;
  }
  if (st.editor != nullptr) st.editor->PageNumbersWrite(st);
  if (st.sheetEngine != nullptr) st.sheetEngine->PageLinesDraw(st);
  // A sheet that cannot be read back stays as it was recorded (the user has
  // been told).
  if (!LevelRowsRead(st, st.CurrentLevel)) return true;
  st.ui.SetBusyPointer(true);
  if (st.sheetEngine != nullptr) st.sheetEngine->SheetRedisplay(st, firstRow, st.UsedRows);
  v.sheet.SetCurrentCol(st.CurrentCol);
  v.sheet.SetCurrentRow(st.CurrentRow);
  st.ui.SetBusyPointer(false);
  return true;
}

void PageLinesOnly(ProgramState& st) {
  if (st.sheetEngine != nullptr) st.sheetEngine->PageLinesDraw(st);
}

// --- Mask screens ---

void MaskScreenShow(ViewMenu& v, int screen) {
  EditorMenus& menus = v.port.Menus();
  CheckOnly(menus, "MaskGamen", screen);
  v.port.StatusPanelSet(3, menus.At("MaskGamen", screen).caption);
  v.port.MenusChanged();
}

}  // namespace

int PrintFormNo(const ProgramState& st) {
  return st.PrnTypeNo >= 1 && st.PrnTypeNo <= kPrintForms ? st.PrnTypeNo : 1;
}

bool MarkingModesRefused(ProgramState& st) {
  if (st.NotPrintLineMode) {
    WarnMsgBox(st, "非印刷行指定を解除して下さい.");
    return true;
  }
  if (st.NotPrintLvlLineMode) {
    WarnMsgBox(st, "非印刷階層行の指定を解除して下さい.");
    return true;
  }
  return false;
}

void SheetReLay(ProgramState& st) {
  SheetServices* engine = st.sheetEngine;
  if (engine == nullptr) return;
  st.SheetLoading = true;
  engine->SheetGridInit(st, st.CurrentLevel);
  st.SheetLoading = false;
  st.ui.SetBusyPointer(true);
  engine->SheetRedisplay(st, 1, st.UsedRows);
}

void Menu_7Sub_Click(ViewMenu& v, int index) {
  ProgramState& st = v.st;
  SelRectStore(st, v.sheet);
  MarkingModesOff(st);
  switch (index) {
    case 2:
      st.ui.ShowModal("Font_Frm");
      FloatWindowsRaise(st);
      break;
    case 5:
      st.ui.ShowModal("MskSheet_Frm");
      FloatWindowsRaise(st);
      break;
    case 10: {
      st.DMTotalFlag = !st.DMTotalFlag;
      MenuItem& item = v.port.Menus().At("Menu_7Sub", 10);
      item.checked = !item.checked;
      v.port.MenusChanged();
      if (st.sheetEngine != nullptr) st.sheetEngine->DMButtonsLayout(st);
      SheetReLay(st);
      st.ui.SetBusyPointer(false);
      if (st.sheetEngine != nullptr) st.sheetEngine->ShowParentLevelPath(st);
      break;
    }
    case 11:
      UnitWindowShow(st);
      break;
    case 13:
      FloatWindowsTopMostSet(st, false);
      v.port.Toolbar2Customise();
      FloatWindowsTopMostSet(st, true);
      break;
    case 14:
      ViewOptionsCommand(
          st, [&v] { return v.sheet.Zoom(); }, [&v] { ReloadObjects(v); }, [&v] { FocusSheetIfShown(v); });
      break;
    case 15:
      st.ui.ShowModal("frmTName");
      FloatWindowsRaise(st);
      break;
    case 17:
      if (st.editor != nullptr) st.editor->ShowToolBar2(st, !v.port.Toolbar2Visible());
      if (st.sheetEngine != nullptr) st.sheetEngine->DMButtonsLayout(st);
      v.port.SheetFocus();
      break;
    default:
      break;
  }
}

void cmbZoom_Click(ViewMenu& v) {
  ProgramState& st = v.st;
  if (st.CommandBusy) return;
  const int index = v.port.ZoomComboIndex();
  if (index < 0) return;
  SelRectStore(st, v.sheet);
  // The items read " 200%" .. " 30%": the number before the "%".
  std::string text = v.port.ZoomComboText(index);
  if (!text.empty()) text.pop_back();
  st.KVZoom = WholeNumberValue(text);
  v.port.FloatingZoomSelect(index);
  // The grid laid out at this zoom already (the start-up's selection of the
  // stored zoom, before the grid is set up at it) is not laid out again.
  const bool unchanged = v.sheet.Zoom() == st.KVZoom;
  SetZoom32(v.sheet, st.KVZoom);
  MarkingModesOff(st);
  if (!unchanged) ReLayWithObjects(v);
}

void ZoomSub_Click(ViewMenu& v, int index) {
  ProgramState& st = v.st;
  SelRectStore(st, v.sheet);
  if (MarkingModesRefused(st)) return;
  static constexpr int kFixed[] = {140, 120, 100, 90, 80, 70};
  switch (index) {
    case 0:
      break;
    case 1:
      if (st.KVZoom > kZoomMax || st.KVZoom < kZoomMin) st.KVZoom = 100;
      break;
    case 2:
      if (!ZoomAsk(v)) return;
      break;
    default:
      if (index < 3 || index > 8) return;
      st.KVZoom = kFixed[index - 3];
      break;
  }
  ZoomApply(v);
}

void cmbYosi_Click(ViewMenu& v) {
  ProgramState& st = v.st;
  if (st.CommandBusy) return;
  const int index = v.port.PaperComboIndex();
  if (index < 0) return;
  const int oldForm = PrintFormNo(st);
  if (st.CurrentLevel > 1 && index != oldForm - 1) {
    WarnMsgBox(st, kLevelOneOnly);
    v.port.PaperComboSelect(oldForm - 1);
    v.port.FloatingPaperSelect(oldForm - 1);
    return;
  }
  SelRectStore(st, v.sheet);
  MarkingModesOff(st);
  if (index == oldForm - 1 || index >= kPrintForms) return;
  st.PrnTypeNo = index + 1;
  PaperMenuShow(v);
  v.port.FloatingPaperSelect(index);
  if (NoPagesToNumber(st)) {
    PageLinesOnly(st);
    return;
  }
  PrintTypeSave(st);
  PagesRenumber(v, oldForm, 1);
}

void PeparSerect_Click(ViewMenu& v, int index) {
  ProgramState& st = v.st;
  const int oldForm = PrintFormNo(st);
  if (index == oldForm || index < 1 || index > kPrintForms) return;
  if (st.CurrentLevel > 1) {
    WarnMsgBox(st, kLevelOneOnly);
    return;
  }
  SelRectStore(st, v.sheet);
  if (MarkingModesRefused(st)) return;
  st.PrnTypeNo = index;
  PaperMenuShow(v);
  v.port.FloatingPaperSelect(index - 1);
  v.port.PaperComboSelect(index - 1);
  if (NoPagesToNumber(st)) {
    PageLinesOnly(st);
    return;
  }
  PrintTypeSave(st);
  // The same rows per page keep the page numbers valid.
  if (st.PrintRows[size_t(oldForm)] == st.PrintRows[size_t(index)]) return;
  int topCol = 0, topRow = 0;
  GetTopCell32(v.sheet, 0, topCol, topRow);
  PagesRenumber(v, oldForm, topRow);
}

void MaskGamen_Click(ViewMenu& v, int index) {
  ProgramState& st = v.st;
  SelRectStore(st, v.sheet);
  if (MarkingModesRefused(st)) return;
  if (index < 0 || index > 5) return;
  const int level = st.CurrentLevel;
  const int oldScreen = st.XMASK[size_t(level)];
  st.XMASK[size_t(level)] = index;
  MaskScreenShow(v, index);
  int first = level, last = level;
  if (!st.LevelsDifferInCols) {
    FloatWindowsTopMostSet(st, false);
    const int answer = st.ui.MsgBox("全階層の画面切替をしますか?", vbYesNoCancel | vbQuestion, "画面切替");
    FloatWindowsTopMostSet(st, true);
    if (answer == vbCancel) {
      st.XMASK[size_t(level)] = oldScreen;
      MaskScreenShow(v, oldScreen);
      return;
    }
    if (answer == vbYes) {
      first = 1;
      last = st.LevelCount;
      for (int l = first; l <= last; ++l) st.XMASK[size_t(l)] = index;
    }
  }
  MaskInfoWrite(st, st.WorkFileBase, first, last);
  WriteLayoutFile(st, st.WorkFileBase);
  if (st.UsesCurrentSettings) MaskInfoWrite(st, "無題", first, last);
  st.PackPending = true;
  ReLayWithObjects(v);
}

void Line_Style_Click(ViewMenu& v, int index) {
  if (index < 1 || index > 4) return;
  CheckOnly(v.port.Menus(), "Line_Style", index);
  v.port.MenusChanged();
  v.st.SheetPageLineStyle = index - 1;
  v.sheet.SetPageLineStyle(v.st.SheetPageLineStyle);
}

void CoPrinPos_Click(ViewMenu& v, int index) {
  static constexpr const char* kPositions[] = {"左", "中", "右"};
  if (index < 1 || index > 3) return;
  CheckOnly(v.port.Menus(), "CoPrinPos", index);
  v.port.MenusChanged();
  IniPutString("PrintInformation", "NamePosition", kPositions[index - 1], v.st.WorkFileBase + ".INI");
}

void TEST_Click(ViewMenu& v) {
  if (v.st.editor != nullptr) v.st.editor->Form_Resize(v.st);
}

void TEST2_Click(ViewMenu& v) { v.sheet.SetVisible(true); }

}  // namespace kv
