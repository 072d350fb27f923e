#include "app/windows/program_wiring.h"

#include <QAction>
#include <QComboBox>
#include <QToolBar>
#include <QTreeView>

#include "app/help_file.h"
#include "app/startup_init.h"
#include "app/windows/help_frm.h"
#include "app/windows/option_windows.h"
#include "app/windows/small_dialogs.h"
#include "app/windows/st_gamen.h"
#include "classify/windows/kv_siwa_window.h"
#include "classify/windows/sch_sheet_window.h"
#include "editor/toolbars/windows/frm_toolbar.h"
#include "editor/windows/frm_kouji_sht.h"
#include "editor/windows/frm_tname.h"
#include "editor/windows/msk_sheet_frm.h"
#include "editor/windows/unit2_frm.h"
#include "reference/windows/ref_sheet_frm.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/tree/qt/tree_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "print/windows/print_windows.h"
#include "sheet/last_used_row.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "storage/lan_lock.h"
#include "storage/last_estimate_setting.h"
#include "storage/old_file_check.h"
#include "storage/recover_file_open.h"
#include "storage/recovery_jobs.h"
#include "storage/sheet_objects.h"
#include "storage/special_print_convert.h"
#include "storage/windows/recovery_windows.h"

namespace kv {

EDTSHEET_FRM* LoadedEditWindow(QtUi& ui) { return dynamic_cast<EDTSHEET_FRM*>(ui.LoadedWindow(kEditWindow)); }

StartupSteps ProgramStartupSteps(QtUi& ui) {
  StartupSteps steps;
  steps.Toolbar2ArrangementRestore = [&ui](ProgramState&) {
    if (EDTSHEET_FRM* w = LoadedEditWindow(ui)) w->Toolbar2ArrangementRestore();
  };
  steps.LanLockAcquire = [](ProgramState& st, const std::string& path) { return LanLockAcquire(st, path); };
  steps.LanLockRelease = [](ProgramState& st) { LanLockRelease(st); };
  steps.OldFileAndPageChk = [](ProgramState& st, const std::string& workBase) {
    return OldFileAndPageChk(st, workBase);
  };
  steps.SpecialPrintConvert = [](ProgramState& st, const std::string& workBase) {
    SpecialPrintConvert(st, workBase);
  };
  steps.RecoverFilesExist = [](ProgramState& st) {
    // What an interrupted save left half done is settled before the work
    // folder is looked at.
    SettleInterruptedSaves(st);
    return RecoverFilesExist(st);
  };
  steps.RecoverFileOpen = [&ui](ProgramState& st) {
    EDTSHEET_FRM* w = LoadedEditWindow(ui);
    RecoverFileOpen(st, {}, w ? &w->EdtSheet() : nullptr);
  };
  steps.LoadSheetObjects = [&ui](ProgramState& st) {
    if (EDTSHEET_FRM* w = LoadedEditWindow(ui))
      LoadSheetObjects(st, st.WorkFileBase, st.SheetObjNo, w->EdtSheet());
  };
  steps.GridOptionsSet = [&ui](ProgramState& st) {
    EDTSHEET_FRM* w = LoadedEditWindow(ui);
    if (!w) return;
    GridModel& g = w->EdtSheet();
    g.SetAutoScroll(false);
    g.SetHeaderClickSelects(false);
    g.SetGridLines(true);
    g.SetMouseMode(st.EditCursor);
    g.SetCursorShown(true);
    // The grid set-up of the sheet shows the grid again; without it the grid
    // stays shown.
    if (st.sheetEngine != nullptr) g.SetVisible(false);
    g.SetPageLineStyle(st.SheetPageLineStyle);
  };
  steps.TreeShowRowSheetHide = [&ui](ProgramState& st) {
    if (EDTSHEET_FRM* w = LoadedEditWindow(ui)) {
      // The tree pane is there when the splitter left room for it.
      w->TreeView1()->setVisible(st.TreeShown);
      w->RowSheet().SetVisible(false);
    }
  };
  steps.GridCellSet = [&ui](ProgramState&, int col, int row, const std::string& text) {
    if (EDTSHEET_FRM* w = LoadedEditWindow(ui)) SetTextData32(w->EdtSheet(), col, row, text);
  };
  steps.Toolbar1ButtonPress = [&ui](ProgramState&, const std::string& key) {
    EDTSHEET_FRM* w = LoadedEditWindow(ui);
    if (!w) return;
    for (QAction* a : w->Toolbar1()->actions())
      if (a->objectName() == ToQ(key) && a->isCheckable()) a->setChecked(true);
  };
  steps.SheetLocate = [&ui](ProgramState&, int col, int row) {
    EDTSHEET_FRM* w = LoadedEditWindow(ui);
    if (w && col >= 1) SetSheetLocate32(w->EdtSheet(), col, row);
  };
  steps.SheetFocusCombosFront = [&ui](ProgramState&) {
    EDTSHEET_FRM* w = LoadedEditWindow(ui);
    if (!w) return;
    w->EdtSheetView()->setFocus();
    w->cmbZoom()->raise();
    w->cmbYosi()->raise();
  };
  return steps;
}

ShutdownSteps ProgramShutdownSteps(QtUi& ui) {
  ShutdownSteps steps;
  steps.LanLockRelease = [](ProgramState& st) { LanLockRelease(st); };
  steps.WindowPlacement = [&ui](ProgramState&) {
    MainWindowPlacement placement;
    placement.minimized = true;
    if (EDTSHEET_FRM* w = LoadedEditWindow(ui)) placement = w->Placement();
    return placement;
  };
  steps.GridRelease = [&ui](ProgramState&) {
    if (EDTSHEET_FRM* w = LoadedEditWindow(ui)) w->EdtSheet().SetAutoScroll(false);
  };
  return steps;
}

EditorWindowHooks ProgramEditorHooks(QtUi& ui, ProgramState& st, const ShutdownSteps& shutdown) {
  EditorWindowHooks hooks;
  hooks.SplashProgress = [&st](int step) { SplashProgress(st, step); };
  hooks.closeSteps.LastUsedRow = [](ProgramState& s) { return LastUsedRow(s); };
  hooks.closeSteps.SaveSheetObjects = [&ui](ProgramState& s, const std::string& workBase) {
    if (EDTSHEET_FRM* w = LoadedEditWindow(ui)) SaveSheetObjects(s, workBase, w->EdtSheet());
  };
  hooks.closeSteps.SaveLastEstimateSetting = [](ProgramState& s, const std::string& path,
                                                const std::string& workBase) {
    SaveLastEstimateSetting(s, path, workBase);
  };
  hooks.closeSteps.AppShutdown = [shutdown](ProgramState& s) {
    bool ok = false;
    AppShutdown(s, ok, shutdown);
    return ok;
  };
  return hooks;
}

void RegisterProgramWindows(QtUi& ui, ProgramState& st, const std::string& programFolder,
                            const EditorWindowHooks& hooks) {
  RegisterSmallDialogs(ui, st);
  RegisterTitleScreen(ui, st, programFolder);
  RegisterOptionWindows(ui, st);
  RegisterRecoveryWindows(ui, st);
  RegisterMaskWindow(ui, st);
  RegisterTotalNamesWindow(ui, st);
  RegisterFloatingToolbars(ui, st);
  RegisterUnitWindow(ui, st);
  RegisterRefWindow(ui, st);
  RegisterKoujiWindow(ui, st);
  RegisterPrintWindows(ui, st);
  RegisterSiwaWindow(ui, st);
  RegisterSearchWindows(ui, st);
  RegisterHelpWindow(ui, st);
  ui.RegisterWindow(kEditWindow, [&st, hooks] {
    auto* w = new EDTSHEET_FRM(st, hooks);
    WireOptionMenus(*w, st);
    // The manual: at its contents, or with the keyword index in front.
    w->WireMenu(
        "HelpIndex", [&st](int) { HelpOpen(st); }, -1);
    w->WireMenu(
        "HelpUsage", [&st](int) { HelpIndexOpen(st); }, -1);
    return w;
  });
}

}  // namespace kv
