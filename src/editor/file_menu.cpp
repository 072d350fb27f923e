#include "editor/file_menu.h"

#include <exception>
#include <string>
#include <system_error>

#include "core/run_and_wait.h"
#include "editor/kouji_sht.h"
#include "editor/cover_handoff.h"
#include "editor/print_prep.h"
#include "editor/recent_file_open.h"
#include "platform/fs.h"
#include "platform/runner.h"
#include "platform/ui.h"
#include "reference/ref_window.h"
#include "state/editor_services.h"
#include "state/float_windows.h"
#include "state/menu_model.h"
#include "state/menu_rules.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"
#include "storage/file_command_steps.h"
#include "storage/file_new.h"
#include "storage/file_open.h"
#include "storage/file_save.h"
#include "storage/level_files.h"

namespace kv {
namespace {

bool LevelOneOnly(int index) {
  return index == kFileNewItem || index == kFileOpenItem || index == kFileSaveAsItem ||
         (index >= kFirstRecentItem && index <= kLastRecentItem) || index == kExitItem;
}

std::string NumberText(int n) { return n >= 0 ? " " + std::to_string(n) : std::to_string(n); }

void Epilogue(ProgramState& st) {
  if (!st.editor) return;
  if (EditorMenus* menus = st.editor->Menus()) {
    FontMenuCaptionSet(*menus, st.FontName);
    st.editor->MenusChanged(st);
  }
}

void ErrorShow(ProgramState& st, const std::exception& e) {
  std::string text = e.what();
  const auto* se = dynamic_cast<const std::system_error*>(&e);
  if (se && se->code() == std::errc::permission_denied)
    text += "\n開けません。他のﾕｰｻﾞｰが編集中です！";
  else
    text += "\n(Menu1_Sub_Err ｴﾗｰNo" + NumberText(se ? se->code().value() : 0) + ")";
  WarnMsgBox(st, text);
}

// The outside project-information program: the editor minimised and
// disabled while it runs (the floating windows closed first, since nothing
// may be used meanwhile), its state given back afterwards. The program may
// have changed the work files, so the estimate counts as modified; a
// program that cannot start changed nothing.
void ProjectInfoToolRun(ProgramState& st, const std::filesystem::path& tool) {
  const WindowState before = st.ui.GetWindowState(kEditWindow);
  FloatWindowsUnload(st);
  st.ui.SetWindowState(kEditWindow, WindowState::Minimized);
  st.ui.SetWindowEnabled(kEditWindow, false);
  std::error_code ec;
  const long pid = StartProgram(tool.string(), {}, st.AppPath, ec);
  if (!ec) WaitForProcess(st.ui, pid);
  st.ui.SetWindowEnabled(kEditWindow, true);
  st.ui.SetWindowState(kEditWindow, before);
  if (ec) {
    WarnMsgBox(st, "工事情報プログラムを起動できません。\n" + tool.string());
    return;
  }
  st.SheetModified = true;
}

void ProjectInfo(ProgramState& st) {
  if (IsUntitledName(st.WorkFileBase)) {
    WarnMsgBox(st, "見積データを保存後に実行してください。");
    return;
  }
  const auto tool = fs::FindNoCase(st.AppPath, kProjectInfoTool);
  std::error_code ec;
  if (tool && !std::filesystem::is_directory(*tool, ec)) {
    ProjectInfoToolRun(st, *tool);
    return;
  }
  st.ui.ShowModal(kKoujiWindow);
  FloatWindowsRaise(st);
}

// Runs the item's command; false when the epilogue is skipped.
bool RunItem(ProgramState& st, int index, const FileMenuPort& port) {
  if (index == kFileNewItem || index == kFileOpenItem || index == kFileSaveItem || index == kFileSaveAsItem) {
    FloatWindowsTopMostSet(st, false);
    if (index == kFileNewItem) FileNew(st);
    if (index == kFileOpenItem) FileOpen(st);
    if (index == kFileSaveItem) FileSave(st);
    if (index == kFileSaveAsItem) FileSaveAs(st);
    TouchEditForm(st.ui);
    FloatWindowsTopMostSet(st, true);
    if (index != kFileSaveItem && port.LevelRecalcAndShow) port.LevelRecalcAndShow(st);
    if (port.GridFocus) port.GridFocus(st);
    return true;
  }
  if (index == kFileRefItem) {
    RefWindowShow(st);
    return true;
  }
  if (index == kFileCoverItem) {
    if (!CoverPrinterCheck(st)) return false;
    if (port.KVCoverProc) port.KVCoverProc(st);
    return true;
  }
  if (index == kProjectInfoItem) {
    ProjectInfo(st);
    return true;
  }
  if (index >= kFirstRecentItem && index <= kLastRecentItem) {
    if (!RecentFileOpen(st, index - 16, port.LevelRecalcAndShow)) return false;
    if (port.GridFocus) port.GridFocus(st);
    return true;
  }
  if (index == kExitItem) {
    const bool closed = port.UnloadEditor && port.UnloadEditor(st);
    if (!closed && port.GridFocus) port.GridFocus(st);
    return !closed;
  }
  // The print items hand over to their dialogs; without them they do nothing.
  if (index == kPrintSetUpItem) return !st.ui.HasWindow(kPrintSetUpWindow) || PrintSetUpRun(st);
  if (index == kPrintItem) return !st.ui.HasWindow(kPrintWindow) || PrintRun(st);
  return true;  // separators, hidden items and the commands not built here
}

}  // namespace

void Menu_1Sub_Click(ProgramState& st, int index, const FileMenuPort& port) {
  try {
    if (index != kPrintItem && port.SelRectStore) port.SelRectStore(st);
    if (port.NonPrintModesOff) port.NonPrintModesOff(st);
    if (LevelOneOnly(index) && st.CurrentLevel > 1) {
      AskUser(st, "(1)階層で実行して下さい", vbOKOnly);
      return;
    }
    if (RunItem(st, index, port)) Epilogue(st);
  } catch (const std::exception& e) {
    // A command that failed half-way is not carried on with stale data: it
    // ends here, reported, with the busy lock released.
    FloatWindowsTopMostSet(st, true);
    if (st.CommandBusy) CommandBusySet(st, false);
    st.ui.SetBusyPointer(false);
    ErrorShow(st, e);
  }
}

}  // namespace kv
