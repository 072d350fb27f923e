#include "storage/recover_file_open.h"

#include "platform/ui.h"
#include "state/calc_services.h"
#include "state/data_ini.h"
#include "state/editor_services.h"
#include "state/file_command_services.h"
#include "state/file_exist_check.h"
#include "state/float_windows.h"
#include "state/layout_file.h"
#include "state/print_services.h"
#include "state/program_state.h"
#include "state/settings_files.h"
#include "state/sheet_services.h"
#include "storage/estimate_unpack.h"
#include "storage/file_command_steps.h"
#include "storage/sheet_objects.h"
#include "storage/split_path.h"

namespace kv {

namespace {

// The restored estimate's layout differs from the current one: the user
// chooses whose settings apply.
void LayoutQuestion(ProgramState& st, const std::string& name, const std::string& untitled) {
  FloatWindowsTopMostSet(st, false);
  const int answer = st.ui.MsgBox(
      "復旧した見積ファイル [ " + name + " ] は、現在使用しているシステム設定と形式が異なります。\n" +
          "[ はい ] を選ぶと、復旧した見積ファイル [ " + name + " ] のシステム設定の形式に変わります。\n" +
          "[ いいえ ] を選ぶと、現在のシステム設定の形式のままの状態で、復旧した見積ファイル [ " + name +
          " ] を開きます。",
      vbYesNo + vbQuestion, "復旧ファイル");
  FloatWindowsTopMostSet(st, true);
  if (answer == vbYes) {
    st.UsesCurrentSettings = false;
    LoadEditLayout(st, st.WorkFileBase);
  } else {
    CopySettingsFile(st, st.AppPath + "/DAVIROV.INI", st.WorkFileBase + ".INI");
    CopySettingsFile(st, LayoutFilePath(st, untitled), LayoutFilePath(st, st.WorkFileBase));
  }
}

}  // namespace

bool RecoverFileOpen(ProgramState& st, const RecentEstimateAdd& addRecent, GridModel* sheetGrid) {
  const std::string p = st.RecoveredFilePath;
  const SplitPathResult parts = SplitPath(st, p);
  const UnpackResult unpacked = UnpackEstimateFile(st, p);
  if (!unpacked.ok()) {
    UnpackFailureShow(st, unpacked);
    return false;
  }

  // The system settings first, as for any estimate being opened.
  const std::string untitled = st.AppPath + "/WORK/無題";
  DataIniLoad(st, st.AppPath + "/DAVIROV.INI");
  LoadEditLayout(st, untitled);

  st.KVData = parts.folder;
  st.CurrentFilePath = p;
  st.WorkFileBase = st.AppPath + st.WorkFolderName + "/" + parts.name;
  st.UsesCurrentSettings = true;

  if (FileExistChk(st, LayoutFilePath(st, st.WorkFileBase)) && LayoutsDiffer(st, st.WorkFileBase, untitled))
    LayoutQuestion(st, parts.name, untitled);
  // The estimate's own settings (tax, rounding, names) apply whatever the
  // layout, as when it is opened from the File menu.
  const std::string settings = st.WorkFileBase + ".INI";
  if (FileExistChk(st, settings)) {
    DataIniLoad(st, settings);
    if (st.editor) st.editor->MaskMenuCaptionSet(st);
    if (st.sheetEngine) st.sheetEngine->PageLinesDraw(st);
    if (st.print) {
      st.print->UpdatePaperMenu(st);
      st.print->FillPaperCombo(st);
    }
  }
  MakeNewFromTemplate(st, st.WorkFileBase);

  // Level 1 is shown.
  TopSheetLoad(st);
  st.SheetLoading = true;
  if (st.sheetEngine) st.sheetEngine->SheetGridInit(st, 1);
  if (sheetGrid) LoadSheetObjects(st, st.WorkFileBase, st.SheetObjNo, *sheetGrid);
  st.SheetLoading = false;
  if (st.sheetEngine) {
    st.sheetEngine->DMButtonsLayout(st);
    st.sheetEngine->EdtSheet_Pos(st);
    st.ui.SetBusyPointer(true);
    st.sheetEngine->SheetRedisplay(st, 1, st.UsedRows);
    st.ui.SetBusyPointer(false);
    st.sheetEngine->EditTreeBuild(st);
  }

  const std::string recent = parts.folder + "/" + parts.name + st.PackedExt;
  if (addRecent)
    addRecent(st, recent);
  else if (st.fileCommands)
    st.fileCommands->AddRecentEstimate(st, recent);

  if (st.SystemKind == 1 && st.calc) st.IsSetubiSiwakeFile = st.calc->IsEquipmentSiwakeFile(st, st.WorkFileBase);
  if (st.sheetEngine) st.sheetEngine->UndoSave(st);
  if (st.editor) st.editor->ToolBarStateSet(st, false);
  return true;
}

}  // namespace kv
