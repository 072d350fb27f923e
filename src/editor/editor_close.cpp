#include "editor/editor_close.h"

#include "core/window_services.h"
#include "platform/ui.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "storage/split_path.h"

namespace kv {

namespace {

bool Untitled(const ProgramState& st) { return st.WorkFileBase.find("無題") != std::string::npos; }

// A message box between lowering and raising the floating tool windows.
int AskBelowFloats(ProgramState& st, std::string_view text, int style) {
  FloatWindowsTopMostSet(st, false);
  int answer = st.ui.MsgBox(text, style, kMsgTitle);
  FloatWindowsTopMostSet(st, true);
  return answer;
}

}  // namespace

std::string SaveOnCloseQuestion(const std::string& workName) {
  return "見積データ [ " + workName + " ]の内容は変更されています、保存して終了しますか？";
}

bool Form_QueryUnload(ProgramState& st, const EditorCloseSteps& steps) {
  constexpr bool kRefuse = true;
  // 1., 2. A long command or an equipment recalculation runs.
  if (st.CommandBusy) return kRefuse;
  if (st.EquipRecalcRunning) return kRefuse;
  // 3. Only level 1 may close.
  if (st.CurrentLevel > 1) {
    AskBelowFloats(st, "(1)階層で実行して下さい", vbOKOnly);
    return kRefuse;
  }
  // 4. The cover tool works on the estimate's files.
  if (st.CoverToolPid != 0) {
    st.ui.MsgBox("表紙が起動中のため終了できません", vbOKOnly, "終了できません");
    return kRefuse;
  }
  // 5., 6. A recovery or a print runs.
  if (st.RecoveryRunning) return kRefuse;
  if (st.PrintRunning) return kRefuse;
  // 7.
  if (steps.LastUsedRow) st.UsedRows = steps.LastUsedRow(st);
  // 8. Save a changed estimate; an untitled one with nothing in it is let go.
  const bool emptyUntitled = Untitled(st) && st.UsedRows <= 0;
  if (!emptyUntitled && st.SheetModified) {
    int answer =
        AskBelowFloats(st, SaveOnCloseQuestion(SplitPath(st, st.WorkFileBase).name), vbYesNoCancel);
    if (answer == vbCancel) return kRefuse;
    if (answer == vbYes) {
      // Nothing can be recorded without the sheet engine: stay rather than
      // lose the changes.
      if (st.sheetEngine == nullptr || !st.sheetEngine->LevelSheetRecord(st)) return kRefuse;
      st.SheetModified = false;
      st.PackPending = true;
      st.PackDeclined = false;  // the user wants the estimate saved
      if (steps.SaveSheetObjects) steps.SaveSheetObjects(st, st.WorkFileBase);
    } else if (st.PackDeclined) {
      // No, after saving was declined before: the estimate file stays as it
      // was, and nothing is packed at the end.
      st.PackPending = false;
    }
  }
  // 9.
  if (st.CustomerVariant && steps.SaveLastEstimateSetting)
    steps.SaveLastEstimateSetting(st, st.CurrentFilePath, st.WorkFileBase);
  // 10.
  if (steps.AppShutdown && !steps.AppShutdown(st)) return kRefuse;
  return false;
}

}  // namespace kv
