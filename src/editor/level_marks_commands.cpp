#include "editor/level_marks_commands.h"

#include "state/editor_services.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"
#include "storage/flush_levels.h"
#include "storage/level_files.h"
#include "storage/level_marks_clear.h"
#include "storage/level_read.h"

namespace kv {

void NotPrintLvlClr(ProgramState& st) {
  if (!FlushLevels(st)) return;
  const LevelMarksClearResult cleared = NotPrnLevelLineClear(st, st.WorkFileBase, st.DataLen, 'I', 2);
  if (!cleared.ok) LevelFileErrorShow(st, cleared.file, cleared.detail);
  st.SheetModified = true;
  if (st.editor != nullptr) st.editor->PageNumbersWrite(st);
  SheetServices* engine = st.sheetEngine;
  if (engine != nullptr) {
    engine->PageLinesDraw(st);
    st.SheetLoading = true;
    engine->SheetGridInit(st, st.CurrentLevel);
    st.SheetLoading = false;
    engine->EdtSheet_Pos(st);
    engine->DMButtonsLayout(st);
  }
  // A sheet that cannot be read back stays as it was recorded (the user has
  // been told).
  if (!LevelRowsRead(st, st.CurrentLevel)) return;
  if (engine != nullptr) {
    st.ui.SetBusyPointer(true);
    engine->SheetRedisplay(st, 1, st.UsedRows);
    st.ui.SetBusyPointer(false);
  }
}

bool SchPreCheck(ProgramState& st) {
  if (st.SearchSheetLoaded && !st.SearchTitle.empty()) {
    WarnMsgBox(st, "参考画面検索で実行中です");
    return false;
  }
  if (IsUntitledName(st.WorkFileBase)) {
    WarnMsgBox(st, "ﾌｧｲﾙを保存後に実行して下さい.");
    return false;
  }
  if (st.LevelsDifferInCols) {
    const int c = st.CurrentCol;
    for (int i = 1; i <= st.LevelCount; ++i) {
      if (c > st.ColCount[i] || c > kMaxColumns) {
        WarnMsgBox(st, "検索の位置が無効です");
        return false;
      }
    }
    const int cur = st.CurrentLevel;
    for (int i = 1; i <= st.LevelCount; ++i) {
      if (st.ColStart[i][c] != st.ColStart[cur][c] || st.ColWidth[i][c] != st.ColWidth[cur][c]) {
        WarnMsgBox(st, "各階層の整合が異なります");
        return false;
      }
    }
  }
  return true;
}

}  // namespace kv
