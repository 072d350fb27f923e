#include "editor/toolbars/toolbar_locks.h"

#include <array>

#include "editor/toolbars/toolbar_model.h"
#include "state/menu_model.h"
#include "state/program_state.h"

namespace kv {

namespace {

// The basic toolbar's keys the busy lock switches, placeholders included.
constexpr std::array<std::string_view, 11> kBasicLockKeys{"NEW",   "OPEN", "SAVE", "PRINT", "UNDO", "UNDER",
                                                          "RIGHT", "NOT",  "RTN",  "ZOOM",  "YOSI"};

}  // namespace

void ToolbarsBusyLock(const ProgramState& st, ToolbarModels models, bool busy) {
  if (st.ToolBar1Floating) {
    for (std::string_view key : kBasicLockKeys)
      if (models.basicFloating.Visible(key)) models.basicFloating.SetEnabled(key, !busy);
  } else {
    for (std::string_view key : kBasicLockKeys) models.basic.SetEnabled(key, !busy);
  }
  ToolbarModel& ext = st.ToolBar2Floating ? models.extendedFloating : models.extended;
  for (const ToolButtonState& b : ext.Buttons()) {
    if (b.key == kHiinsatuKey && st.HiinsatuLock) continue;
    if (b.visible) ext.SetEnabled(b.key, !busy);
  }
}

bool HiinsatuUnlockRefused(const ProgramState& st) {
  return st.UnitWindowOpen || st.RefWindowOpen || st.SearchWindowOpen || st.SiwakeWindowOpen;
}

bool HiinsatuLockSet(ProgramState& st, EditorMenus& menus, ToolbarModels models, bool locked) {
  if (!locked && HiinsatuUnlockRefused(st)) return false;
  if (MenuItem* item = menus.Find("Tokusyusub", 1)) item->enabled = !locked;
  if (st.ToolBar2Floating) {
    if (models.extendedFloating.Visible(kHiinsatuKey)) models.extendedFloating.SetEnabled(kHiinsatuKey, !locked);
  } else {
    models.extended.SetEnabled(kHiinsatuKey, !locked);
  }
  st.HiinsatuLock = locked;
  return true;
}

}  // namespace kv
