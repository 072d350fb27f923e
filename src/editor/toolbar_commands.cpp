#include "editor/toolbar_commands.h"

#include "calc/y_calc.h"
#include "core/window_services.h"
#include "classify/sch_sheet_frm.h"
#include "editor/calc_menu.h"
#include "editor/cover_handoff.h"
#include "editor/edit_menu.h"
#include "editor/file_menu.h"
#include "editor/toolbars/toolbar_model.h"
#include "editor/unit_list.h"
#include "platform/ui.h"
#include "reference/ref_window.h"
#include "sheet/edit_popup_menu.h"
#include "sheet/undo_clear.h"
#include "state/editor_services.h"
#include "state/float_windows.h"
#include "state/menu_model.h"
#include "state/program_state.h"
#include "storage/file_command_steps.h"
#include "storage/file_new.h"
#include "storage/file_open.h"
#include "storage/file_save.h"

namespace kv {
namespace {

// The File menu's print item; the View menu's customise and extended toolbar
// items.
constexpr int kFilePrintItem = 15;
constexpr int kViewCustomiseItem = 13;
constexpr int kViewToolbar2Item = 17;

// The total rows and the tax row of the calculation-row menu.
constexpr int kSubtotalItem = 2;
constexpr int kMiddleTotalItem = 3;
constexpr int kGrandTotalItem = 4;
constexpr int kTaxRowItem = 16;

// The sheet grid's popup edit menu: the cell clipboard and the row commands.
constexpr int kPopupCut = 0;
constexpr int kPopupCopy = 1;
constexpr int kPopupPaste = 2;
constexpr int kPopupRowDelete = 5;
constexpr int kPopupRowInsert = 6;
constexpr int kPopupRowCopy = 8;
constexpr int kPopupRowPaste = 9;

constexpr std::string_view kWiredBasic[] = {"NEW", "OPEN", "SAVE", "PRINT", "UNDO", "UNDER", "RIGHT", "NOT", "RTN"};
constexpr std::string_view kWiredExtended[] = {"CUT", "COPY", "PASTE",    "GDEL", "GIN",    "GCOPY",
                                               "GPASTE", "YKEISAN", "S", "T", "D", "TAX",
                                               "TANI", "SANKOU", "HYOUSI", "KOUZI", "HIINSATU", "MEMO", "RENZOK", "SEARCH", "TREE", "DIVID", "RTN"};

// The extended toolbar floats: its customise item and its on/off item would
// act on the docked copy, which is hidden.
void Toolbar2ViewItemsDisable(ProgramState& st) {
  if (!st.editor) return;
  EditorMenus* menus = st.editor->Menus();
  if (!menus) return;
  for (int index : {kViewCustomiseItem, kViewToolbar2Item})
    if (MenuItem* item = menus->Find("Menu_7Sub", index)) item->enabled = false;
  st.editor->MenusChanged(st);
}

}  // namespace

void ToolbarUndock(ProgramState& st, ToolbarCommandPort& port, int bar, int xTw, int yTw, bool centred) {
  // The docked basic toolbar stays enabled through a command (its combos must
  // answer), so a drag on it still arrives: nothing moves while busy.
  if (st.CommandBusy) return;
  const std::string_view window = bar == 1 ? kToolBar1Window : kToolBar2Window;
  port.FloatToolBar(bar, xTw, yTw);
  if (centred) CenterForm(st.ui, window);
  st.ui.ShowModeless(window);
  if (bar == 2) Toolbar2ViewItemsDisable(st);
}

std::span<const std::string_view> WiredToolbarKeys(int bar) {
  if (bar == 1) return kWiredBasic;
  return kWiredExtended;
}

void SetWiredButtons(ToolbarModel& model, int bar) {
  for (std::string_view key : WiredToolbarKeys(bar)) model.SetWired(key);
}

void Toolbar1_ButtonClick(ProgramState& st, GridModel& sheet, ToolbarCommandPort& port, const std::string& key,
                          bool fromFloating) {
  if (st.CommandBusy) return;
  if ((key == "NEW" || key == "OPEN") && st.CurrentLevel > 1) {
    AskUser(st, "(1)階層で実行して下さい", vbOKOnly);
    return;
  }
  MarkingModesOff(st);
  if (key == "NEW") {
    FileNew(st);
  } else if (key == "OPEN") {
    FileOpen(st);
  } else if (key == "SAVE") {
    FileSave(st);
  } else if (key == "PRINT") {
    port.Menu_1Sub_Click(kFilePrintItem);
  } else if (key == "UNDO") {
    UndoRestore(st, sheet);
  } else if (key == "UNDER" || key == "RIGHT" || key == "NOT") {
    st.AutoDownFlag = key == "UNDER" ? 1 : key == "RIGHT" ? 2 : 0;
    if (fromFloating) port.DockedButtonPress(key);
    port.SheetFocus();
  } else if (key == "RTN") {
    if (fromFloating)
      st.ui.UnloadWindow(kToolBar1Window);  // its unload docks it back
    else
      ToolbarUndock(st, port, 1, 0, 0, true);
  }
}

void Toolbar2_ButtonClick(ProgramState& st, GridModel& sheet, ToolbarCommandPort& port, const std::string& key,
                          bool fromFloating) {
  if (st.CommandBusy) return;
  // The row commands leave the totals line alone, without a word.
  if ((key == "GIN" || key == "GDEL") && st.CurrentRow > st.Imax) return;
  // The non-print row button toggles its own mode.
  if (key != "HIINSATU" && st.NotPrintLineMode) NotPrintLine(st);
  if (st.NotPrintLvlLineMode) NotPrintLvlLine(st);

  struct Popup {
    std::string_view key;
    int item;
  };
  static constexpr Popup kPopup[] = {{"CUT", kPopupCut},        {"COPY", kPopupCopy},     {"PASTE", kPopupPaste},
                                     {"GDEL", kPopupRowDelete}, {"GIN", kPopupRowInsert}, {"GCOPY", kPopupRowCopy},
                                     {"GPASTE", kPopupRowPaste}};
  for (const Popup& p : kPopup) {
    if (key == p.key) {
      mnuSysInfo_Click(st, sheet, p.item);
      port.SheetFocus();
      return;
    }
  }
  struct Menu {
    std::string_view key;
    int item;
    bool extended;  // the extended-functions menu, else the calculation-row menu
  };
  static constexpr Menu kMenus[] = {{"S", kSubtotalItem, false},     {"T", kMiddleTotalItem, false},
                                    {"D", kGrandTotalItem, false},   {"TAX", kTaxRowItem, false},
                                    {"MEMO", kMemoRowItem, true},    {"RENZOK", kSeriesFillItem, true}};
  for (const Menu& m : kMenus) {
    if (key == m.key) {
      if (m.extended)
        port.Tokusyusub_Click(m.item);
      else
        port.Menu_3Sub_Click(m.item);
      port.SheetFocus();
      return;
    }
  }
  if (key == "TANI") {
    UnitWindowShow(st);
  } else if (key == "SANKOU") {
    RefWindowShow(st);
  } else if (key == "KOUZI") {
    port.Menu_1Sub_Click(kProjectInfoItem);
  } else if (key == "YKEISAN") {
    YKeisanRun(st);
    if (!fromFloating) port.SheetFocus();
  } else if (key == "HYOUSI") {
    if (fromFloating || CoverPrinterCheck(st)) port.KVCoverProc();
  } else if (key == "HIINSATU") {
    NotPrintLine(st);
    port.SheetFocus();
  } else if (key == "SEARCH") {
    // The docked button marks the window open before showing it, the
    // floating one after.
    SearchWindowShow(st, !fromFloating);
  } else if (key == "TREE") {
    // The layout reads the flag while the tree pane comes or goes.
    st.TreeToggling = true;
    port.TreeDisplay();
    port.SheetFocus();
    st.TreeToggling = false;
  } else if (key == "DIVID") {
    port.ToggleSheetDivide();
    if (!fromFloating) port.SheetFocus();
  } else if (key == "RTN") {
    if (fromFloating) {
      st.ui.UnloadWindow(kToolBar2Window);  // its unload docks it back
    } else {
      ToolbarUndock(st, port, 2, 0, 0, true);
    }
  }
}

}  // namespace kv
