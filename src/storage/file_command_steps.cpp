#include "storage/file_command_steps.h"

#include <filesystem>
#include <system_error>

#include "platform/fs.h"
#include "sheet/last_used_row.h"
#include "state/data_ini.h"
#include "state/editor_services.h"
#include "state/float_windows.h"
#include "state/layout_file.h"
#include "state/print_services.h"
#include "state/program_state.h"
#include "state/reference_services.h"
#include "state/settings_files.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"
#include "storage/compact_work_files.h"
#include "storage/estimate_pack.h"
#include "storage/file_commands.h"
#include "storage/flush_levels.h"
#include "storage/lan_lock.h"
#include "storage/level_chain.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/sheet_objects.h"
#include "storage/split_path.h"

namespace kv {

std::string UntitledBase(const ProgramState& st) { return st.AppPath + st.WorkFolderName + "/無題"; }

std::string WorkBaseOf(const ProgramState& st, const std::string& name) {
  return st.AppPath + st.WorkFolderName + "/" + name;
}

std::string NameOf(const ProgramState& st, const std::string& path) { return SplitPath(st, path).name; }

bool SameWorkName(const std::string& a, const std::string& b) { return fs::NameEqualsNoCase(a, b); }

void CommandBusySet(ProgramState& st, bool busy) {
  if (st.editor)
    st.editor->ToolBarStateSet(st, busy);
  else
    st.CommandBusy = busy;
  st.ui.SetBusyPointer(busy);
}

CommandEnd::~CommandEnd() {
  if (!st_.CommandBusy) return;
  try {
    CommandBusySet(st_, false);
  } catch (...) {
    st_.CommandBusy = false;
  }
}

int AskUser(ProgramState& st, std::string_view text, int style, std::string_view title) {
  FloatWindowsTopMostSet(st, false);
  const int answer = st.ui.MsgBox(text, style, title);
  FloatWindowsTopMostSet(st, true);
  return answer;
}

std::string NoDataToSaveText() {
  return "保存する見積データが入力されていません。データを入力してからやり直してください。";
}

bool AskToRecord(ProgramState& st, const std::string& text, std::string_view title) {
  const int answer = AskUser(st, text, vbYesNoCancel + vbExclamation, title);
  if (answer == vbYes) {
    if (IsUntitledName(st.WorkFileBase) && st.CurrentLevel == 1 && LastUsedRow(st) == 0) {
      AskUser(st, NoDataToSaveText(), vbOKOnly + vbExclamation);
      return false;
    }
    if (!RecordSheet(st)) return false;
    st.SheetModified = false;
    st.PackPending = true;
    st.PackDeclined = false;  // the user wants the estimate saved
    return true;
  }
  if (answer == vbNo) {
    st.SheetModified = false;
    return true;
  }
  return false;
}

std::string PendingChangesQuestion(const ProgramState& st) {
  return "見積データ [ " + NameOf(st, st.CurrentFilePath) + " ] の内容は変更されています。\n保存しますか？";
}

DeclinedPack AskAboutDeclinedPack(ProgramState& st) {
  if (!st.PackPending || !st.PackDeclined || IsUntitledName(st.WorkFileBase)) return DeclinedPack::Pack;
  const int answer = AskUser(st, PendingChangesQuestion(st), vbYesNoCancel + vbExclamation);
  if (answer == vbYes) {
    st.PackDeclined = false;
    return DeclinedPack::Pack;
  }
  return answer == vbNo ? DeclinedPack::Leave : DeclinedPack::Stop;
}

bool RecordSheet(ProgramState& st) {
  if (st.sheetEngine) return st.sheetEngine->LevelSheetRecord(st);
  if (!FlushLevels(st)) return false;
  if (st.editor) st.editor->PageNumbersWrite(st);
  return true;
}

bool CompactEstimate(ProgramState& st, const std::string& workBase) {
  return st.fileCommands ? st.fileCommands->CompactWorkFiles(st, workBase) : CompactWorkFiles(st, workBase);
}

int PackEstimate(ProgramState& st, const std::string& path) {
  const int result = st.fileCommands ? st.fileCommands->PackEstimateFile(st, path, false)
                                     : PackEstimateFile(st, path, false);
  if (result == kEstimatePacked) st.PackDeclined = false;
  return result;
}

bool PackLockCheck(ProgramState& st) {
  if (LanLockTestForPack(st)) return true;
  AskUser(st, InUseNotSavedText(NameOf(st, st.WorkFileBase)) + "\r名前を変えて保存を行って下さい。",
          vbOKOnly + vbExclamation);
  return false;
}

std::string InUseNotSavedText(const std::string& workName) {
  return "見積データ [ " + workName + " ] は他のユーザによって編集されています。\r" +
         "保存することが出来ませんでした。";
}

std::string PackRefusedText(const std::string& workName) {
  return "ディスクの残り容量が少ない為、見積データ [ " + workName + " ] を保存することが出来ません。\r" +
         "名前を変えて別のドライブに保存して下さい";
}

std::string PackFailedText(const std::string& workName) {
  return "見積データ [ " + workName + " ] を保存することが出来ませんでした。\r" +
         "名前を変えて保存を行って下さい。";
}

std::string ReadOnlyFileText(const std::string& path) {
  return "このﾌｧｲﾙは読取専用か、ﾃﾞｨｽｸがﾗｲﾄﾌﾟﾛﾃｸﾄされています。\r\r(" + path + ")";
}

void PackResultShow(ProgramState& st, int result, const std::string& workName) {
  if (result == kEstimatePackRefused)
    AskUser(st, PackRefusedText(workName), vbOKOnly + vbExclamation);
  else if (result == kEstimatePackFailed)
    AskUser(st, PackFailedText(workName), vbOKOnly + vbExclamation);
}

DiskProbe FileSystemProbe(ProgramState& st) {
  FileCommands* files = FileCommandsOf(st);
  return files ? files->probe : SystemDiskProbe();
}

GridModel* EditorGrid(ProgramState& st) {
  FileCommands* files = FileCommandsOf(st);
  return files ? files->sheetGrid : nullptr;
}

void OpenedEstimateSettings(ProgramState& st, const std::string& name) {
  st.UsesCurrentSettings = true;
  const std::string layout = LayoutFilePath(st, st.WorkFileBase);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(fs::ResolveNoCase(layout), ec)) return;
  const std::string untitled = UntitledBase(st);
  if (LayoutsDiffer(st, st.WorkFileBase, untitled)) {
    if (AskUser(st, LayoutDiffersQuestion(name), vbYesNo + vbQuestion) == vbYes) {
      // The estimate's own settings apply before its layout is read, so that
      // its masks come with it. A layout that is refused leaves the current
      // one, which the estimate then keeps using.
      st.UsesCurrentSettings = false;
      if (!LoadEditLayout(st, st.WorkFileBase)) st.UsesCurrentSettings = true;
      if (st.RefWindowOpen) {
        WarnMsgBox(st, "編集画面と参考画面のシステム設定の形式が異なりますので\r一旦参考画面を閉じます。");
        if (st.reference)
          st.reference->Unload(st);
        else
          st.ui.UnloadWindow(kRefWindow);
      }
    } else {
      // The file takes the current settings.
      CopySettingsFile(st, st.AppPath + "/DAVIROV.INI", st.WorkFileBase + ".INI");
      CopySettingsFile(st, LayoutFilePath(st, untitled), layout);
    }
  }
  DataIniLoad(st, st.WorkFileBase + ".INI");
}

void SettingsDependentsRefresh(ProgramState& st) {
  if (st.editor) st.editor->MaskMenuCaptionSet(st);
  if (st.sheetEngine) {
    st.sheetEngine->PageLinesDraw(st);
    st.sheetEngine->StatusPanelSet(st, 6, st.FontName);  // the settings just loaded name the font
  }
  if (st.print) {
    st.print->UpdatePaperMenu(st);
    st.print->FillPaperCombo(st);
  }
}

namespace {

// The sheet in memory into the grid with its objects.
void SheetIntoGrid(ProgramState& st) {
  st.SheetLoading = true;
  if (st.sheetEngine) st.sheetEngine->SheetGridInit(st, st.CurrentLevel);
  if (GridModel* grid = EditorGrid(st)) LoadSheetObjects(st, st.WorkFileBase, st.SheetObjNo, *grid);
  st.SheetLoading = false;
}

}  // namespace

bool TopSheetLoad(ProgramState& st) {
  st.CurrentLevel = 1;
  if (LevelRead(st, 1)) return true;
  SheetFromChain(st, 1, 1, SheetChain{});
  return false;
}

bool ShowLevelOne(ProgramState& st) {
  const bool ok = TopSheetLoad(st);
  SheetIntoGrid(st);
  if (st.sheetEngine) {
    st.sheetEngine->DMButtonsLayout(st);
    st.sheetEngine->EdtSheet_Pos(st);
    st.sheetEngine->SheetRedisplay(st, 1, st.UsedRows);
    st.sheetEngine->EditTreeBuild(st);
  }
  return ok;
}

void ShowCurrentLevelAgain(ProgramState& st) {
  // A sheet that cannot be read again stays as it was: it is this level's.
  LevelRead(st, st.CurrentLevel);
  SheetIntoGrid(st);
  if (st.sheetEngine) {
    st.sheetEngine->SheetRedisplay(st, 1, st.UsedRows);
    st.sheetEngine->EditTreeBuild(st);
  }
}

}  // namespace kv
