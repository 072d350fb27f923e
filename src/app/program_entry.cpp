#include "app/program_entry.h"

#include "app/startup_init.h"
#include "app/startup_steps.h"
#include "app/totals_line.h"
#include "core/ini_file.h"
#include "core/window_services.h"
#include "platform/instance_lock.h"
#include "platform/machine.h"
#include "platform/registry_store.h"
#include "state/calc_services.h"
#include "state/data_ini.h"
#include "state/editor_services.h"
#include "state/file_exist_check.h"
#include "state/float_windows.h"
#include "state/layout_file.h"
#include "state/number_chars.h"
#include "state/program_state.h"
#include "state/settings_take_over.h"
#include "state/sheet_services.h"
#include "state/sys_ini.h"
#include "storage/estimate_unpack.h"
#include "storage/file_command_steps.h"
#include "storage/recover_wizard.h"
#include "storage/split_path.h"
#include "storage/work_files.h"

namespace kv {

namespace {

std::string IniText(std::string_view section, std::string_view key, const std::string& file) {
  std::string value;
  IniGetString(section, key, value, file);
  return value;
}

// The untitled estimate becomes the open one.
void UntitledOpen(ProgramState& st) {
  st.WorkFileBase = st.AppPath + st.WorkFolderName + "/無題";
  st.CurrentFilePath = st.WorkFileBase;
}

// A command-line file that is not opened after all gives back what it took:
// its lock file and its work files. The untitled estimate takes its place.
void CommandLineFileDrop(ProgramState& st, const StartupSteps& steps, const std::string& name) {
  if (steps.LanLockRelease) steps.LanLockRelease(st);
  WorkFilesDelete(st, name);
  UntitledOpen(st);
  st.OpenedFromCommandLine = false;
}

// The customer variant: the companion program finds this program, and this
// program the companion, through per-user values.
void CustomerVariantCheck(ProgramState& st, const StartupContext& ctx) {
  const std::string sysName = IniText("SysInfo", "SysName", ctx.ProgramFolder + "/DAVIROV.INI");
  if (sysName.find("Varnok") == std::string::npos) return;
  st.CustomerVariant = true;
  // The value names the program file the companion starts; on this platform
  // that is the program's own file. A failed write changes nothing here.
  SaveSetting(kAppTitle, "Init", "EXE_Path", ctx.ProgramFile);
  st.CompanionExePath = GetSetting("VETRIX", "Init", "EXE_Path", ctx.ProgramFolder);
}

// The estimate named on the command line becomes the open one: locked,
// unpacked into the work folder, checked for the old format, its layout
// reconciled with the current one and its settings loaded.
void CommandLineFileOpen(ProgramState& st, const StartupContext& ctx, const StartupSteps& steps) {
  // 1. Lock; given up to another machine: the program ends without a word of
  // its own (the lock dialog has spoken).
  if (steps.LanLockAcquire && !steps.LanLockAcquire(st, ctx.CommandLine)) st.ui.EndProgram(0);

  // 2. The file's identity.
  st.OpenedFromCommandLine = true;
  st.CurrentFilePath = ctx.CommandLine;
  const SplitPathResult parts = SplitPath(st, st.CurrentFilePath);
  st.KVData = parts.folder;
  st.WorkFileBase = st.AppPath + st.WorkFolderName + "/" + parts.name;

  // 3. Unpack. A file that cannot be unpacked (missing, damaged, foreign) is
  // reported and not opened: the untitled estimate is.
  const UnpackResult unpacked = UnpackEstimateFile(st, st.CurrentFilePath);
  if (!unpacked.ok()) {
    UnpackFailureShow(st, unpacked);
    CommandLineFileDrop(st, steps, parts.name);
    return;
  }

  // 4. Old format refused: the untitled estimate takes the file's place, and
  // the file is left to others as it was found (no lock, no work files).
  if (steps.OldFileAndPageChk && !steps.OldFileAndPageChk(st, st.WorkFileBase)) {
    CommandLineFileDrop(st, steps, parts.name);
    return;
  }

  // 5. Layout: only an estimate that brings its own layout, and only when it
  // differs from the current one, asks.
  const std::string untitledBase = st.AppPath + st.WorkFolderName + "/無題";
  if (FileExistChk(st, LayoutFilePath(st, st.WorkFileBase)) &&
      LayoutsDiffer(st, st.WorkFileBase, untitledBase)) {
    FloatWindowsTopMostSet(st, false);
    const int answer = st.ui.MsgBox(LayoutDiffersQuestion(parts.name), vbYesNo + vbQuestion, kMsgTitle);
    FloatWindowsTopMostSet(st, true);
    if (answer == vbYes) {
      // The estimate's layout becomes current, its masks with it (the flag is
      // cleared before the layout is read); a layout that is refused leaves
      // the current one, which the estimate then keeps using.
      st.UsesCurrentSettings = false;
      if (!LoadEditLayout(st, st.WorkFileBase)) st.UsesCurrentSettings = true;
      DataIniLoad(st, st.WorkFileBase + ".INI");
      MaskMenuCaptionSet(st);
    } else {
      TakeCurrentSettings(st, st.WorkFileBase);
    }
  }

  // 6. The estimate's settings; a missing settings (or layout) file is first
  // made from the current one, never read as missing values.
  MakeNewFromTemplate(st, st.WorkFileBase);
  DataIniLoad(st, st.WorkFileBase + ".INI");

  // 7, 8. Kind of file; special print conversion.
  if (st.SystemKind == 1 && st.calc != nullptr)
    st.IsSetubiSiwakeFile = st.calc->IsEquipmentSiwakeFile(st, st.WorkFileBase);
  if (st.SpecialPrintSpec && steps.SpecialPrintConvert) steps.SpecialPrintConvert(st, st.WorkFileBase);
}

// The totals line, grid row Imax + 1, from the sheet's closing record.
void TotalsLinePaint(ProgramState& st, const StartupSteps& steps) {
  if (!steps.GridCellSet) return;
  const int level = st.CurrentLevel;
  const std::vector<std::string> texts = TotalsLineTexts(st, level);
  for (size_t c = 1; c < texts.size(); ++c) steps.GridCellSet(st, static_cast<int>(c), st.Imax + 1, texts[c]);
}

// The toolbars as the user left them.
void ToolbarStateRestore(ProgramState& st, const StartupSteps& steps) {
  if (st.AutoDownFlag != 0 && steps.Toolbar2ArrangementRestore) steps.Toolbar2ArrangementRestore(st);
  static constexpr std::string_view kAutoDownKeys[3] = {"NOT", "UNDER", "RIGHT"};
  if (st.AutoDownFlag >= 0 && st.AutoDownFlag <= 2 && steps.Toolbar1ButtonPress)
    steps.Toolbar1ButtonPress(st, std::string(kAutoDownKeys[st.AutoDownFlag]));
  // A missing key hides the extended toolbar.
  const std::string visible = IniText("TOOLBAR2", "Visible", st.AppPath + "/KVSSYS.INI");
  const bool show = !visible.empty() && IniGetInt("TOOLBAR2", "Visible", st.AppPath + "/KVSSYS.INI") != 0;
  if (st.editor != nullptr) st.editor->ShowToolBar2(st, show);
}

// Work files left by an abnormal end: the recovery wizard, with the main
// window minimised meanwhile, and the estimate it restored opened.
void RecoveryRun(ProgramState& st, const StartupSteps& steps) {
  st.RecoveryRunning = true;
  st.ui.SetWindowState(kEditWindow, WindowState::Minimized);
  st.RecoveredFilePath.clear();
  st.ui.ShowModal(kRecoverWindow);
  st.ui.UnloadWindow(kRecoverWindow);
  st.RecoveryRunning = false;
  st.ui.SetWindowState(kEditWindow, WindowState::Normal);
  if (!st.RecoveredFilePath.empty() && steps.RecoverFileOpen) {
    st.ui.SetBusyPointer(true);
    steps.RecoverFileOpen(st);
    st.ui.SetBusyPointer(false);
  }
}

}  // namespace

void Main(ProgramState& st, const StartupContext& ctx, const StartupSteps& steps) {
  // 1, 2. One editor per user: a second start ends at once, silently. A lock
  // that cannot be asked about stops nobody.
  st.NoSplash = false;
  if (ctx.Instance != nullptr && ctx.Instance->TryAcquire() == InstanceLock::Result::HeldByOther)
    st.ui.EndProgram(0);

  // 3, 4. The title screen (its load ends the program while a sibling
  // program runs).
  st.StartingUp = true;
  if (!st.NoSplash) {
    st.ui.ShowModeless(kTitleWindow);
    st.ui.ProcessEvents();
  }

  // 5 .. 7. Message boxes without a title of their own carry kAppTitle; the
  // customer variant; the machine name.
  CustomerVariantCheck(st, ctx);
  st.MachineName = LocalMachineName();

  // 8. Settings, folders, column definitions (progress 2..14).
  SplashProgress(st, 1);
  StartupInit(st, ctx.ProgramFolder);

  // 9. Printing needs a printer; the start goes on without one. The print
  // program's PDF output counts as one, so on this platform the box is not
  // shown, and the print system is not asked here.
  if (!st.ui.PrinterInstalled())
    st.ui.MsgBox(
        "プリンタがインストールされていないため、TheKorvaneから印刷することが出来ません\r"
        "TheKorvaneから印刷を行うためには、プリンタをインストールしてください。",
        vbOKOnly, kAppTitle);

  // 10, 11. The estimate named on the command line, unless a recovery is
  // pending (then the wizard decides what opens).
  st.OpenedFromCommandLine = false;
  const bool pendingRecovery = steps.RecoverFilesExist && steps.RecoverFilesExist(st);
  if (!pendingRecovery && !ctx.CommandLine.empty()) CommandLineFileOpen(st, ctx, steps);

  // 12, 13. The first use of a control of the main window loads it (its load
  // advances the progress bar through steps 15..29); then the grid options.
  st.ui.SetControlEnabled(kEditWindow, "EdtSheet", true);
  if (steps.GridOptionsSet) steps.GridOptionsSet(st);

  // 14 .. 16. Level 1 into memory; for a command-line file the grid is set up
  // and painted before the window is shown.
  SplashProgress(st, 30);
  st.SheetTotalRecord.assign(static_cast<size_t>(st.DataLen), ' ');
  SplashProgress(st, 31);
  TopSheetLoad(st);
  SplashProgress(st, 32);
  SplashProgress(st, 33);
  SplashProgress(st, 34);
  st.SheetLoading = true;
  if (st.OpenedFromCommandLine && st.sheetEngine != nullptr)
    st.sheetEngine->SheetGridInit(st, st.CurrentLevel);
  if (steps.LoadSheetObjects) steps.LoadSheetObjects(st);
  st.SheetLoading = false;
  SplashProgress(st, 35);
  if (st.OpenedFromCommandLine && st.sheetEngine != nullptr)
    st.sheetEngine->SheetRedisplay(st, 1, st.UsedRows);
  SplashProgress(st, 36);
  SplashProgress(st, 37);

  // 17, 18. Toolbars (progress 38..64); the title screen gives way to the
  // main window; otherwise the grid is set up now, once.
  if (steps.TreeShowRowSheetHide) steps.TreeShowRowSheetHide(st);
  if (st.editor != nullptr) {
    st.editor->ToolBar1Init(st);
    st.editor->ToolBar2Init(st);
  }
  st.PrintRangeMode = 0;
  st.ui.UnloadWindow(kTitleWindow);
  st.ui.ShowModeless(kEditWindow);
  if (!st.OpenedFromCommandLine && st.sheetEngine != nullptr)
    st.sheetEngine->SheetGridInit(st, st.CurrentLevel);

  // 19 .. 24.
  TotalsLinePaint(st, steps);
  ToolbarStateRestore(st, steps);
  if (st.sheetEngine != nullptr) st.sheetEngine->EditTreeBuild(st);
  if (st.OpenedFromCommandLine) {
    if (st.sheetEngine != nullptr) st.sheetEngine->UndoSave(st);
    st.OpenedFromCommandLine = false;
  }
  NumberCharsInit(st);
  if (steps.SheetLocate) steps.SheetLocate(st, st.ToTalNameColmun, 1);

  // 25. Recovery.
  if (pendingRecovery) RecoveryRun(st, steps);

  // 26. Laid out and ready for the user.
  st.StartingUp = false;
  st.ui.ProcessEvents();
  if (st.editor != nullptr) st.editor->Form_Resize(st);
  if (steps.SheetFocusCombosFront) steps.SheetFocusCombosFront(st);
}

}  // namespace kv
