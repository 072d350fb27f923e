// Opening the search window: from the editor for the estimate, from the
// reference window for the reference.
#include "classify/sch_sheet_frm.h"
#include "editor/level_marks_commands.h"
#include "reference/ref_files.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"
#include "storage/level_files.h"

namespace kv {

void SearchWindowShow(ProgramState& st, bool flagFirst) {
  if (!SchPreCheck(st)) return;
  if (flagFirst) st.SearchWindowOpen = true;
  st.ui.ShowModeless(kSearchWindow);
  st.SearchWindowOpen = true;
}

void Ref_Sch_Click(ProgramState& st, const std::function<void()>& closeReference) {
  if (!CheckRefSystem(st)) {
    WarnMsgBox(st, "編集画面と参考画面のシステム設定の形式が異なりますので\r一旦参考画面を閉じます。");
    if (closeReference) closeReference();
    st.RefSheetLoaded = false;
    st.RefWindowOpen = false;
    return;
  }
  if (st.SearchSheetLoaded && st.SearchTitle.empty()) {
    WarnMsgBox(st, "編集画面検索で実行中です");
    return;
  }
  if (IsUntitledName(st.RefWorkFileBase)) {
    WarnMsgBox(st, "参考ﾌｧｲﾙを呼出し後に実行して下さい.");
    return;
  }
  if (st.RefLayoutDiffers) {
    const int col = st.RefSelStart;
    const int levels = std::clamp(st.LevelCount, 1, kMaxLevels);
    for (int l = 1; l <= levels; ++l) {
      if (st.RefColCount[l] < col) {
        WarnMsgBox(st, "検索の位置が無効です");
        return;
      }
    }
    const int cur = std::clamp(st.RefCurrentLevel, 1, kMaxLevels);
    const int c = std::clamp(col, 0, kMaxColumns);
    for (int l = 1; l <= levels; ++l) {
      if (st.RefColStart[l][c] != st.RefColStart[cur][c] || st.RefColWidth[l][c] != st.RefColWidth[cur][c]) {
        WarnMsgBox(st, "各階層の整合が異なります");
        return;
      }
    }
  }
  st.SearchTitle = kRefSearchCaption;
  st.RefSearchOpen = true;
  st.ui.ShowModeless(kSearchWindow);
}

}  // namespace kv
