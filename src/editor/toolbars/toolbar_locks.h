#pragma once
// The two locks on the toolbar buttons, as changes of the button models.
//
// The busy lock switches the buttons of both toolbars while a command runs:
// on the docked basic toolbar all eleven keys, shown or not; on a floating
// toolbar and on the extended toolbar only the shown buttons; the non-print
// row button is left alone while its own lock holds. It is a plain flag: one
// release undoes any number of locks.
//
// The non-print row lock holds the non-print row command (menu item and
// button) while the unit, reference, search or classification window is open;
// an unlock is refused while any of them still is.
#include <string_view>

namespace kv {

struct EditorMenus;
struct ProgramState;
class ToolbarModel;

// The models of both toolbars, docked and floating; which of them is in use
// follows `ToolBar1Floating` and `ToolBar2Floating`.
struct ToolbarModels {
  ToolbarModel& basic;
  ToolbarModel& basicFloating;
  ToolbarModel& extended;
  ToolbarModel& extendedFloating;
};

inline constexpr std::string_view kHiinsatuKey = "HIINSATU";

// The busy lock's work on the buttons (`busy` true disables). Reads
// `ToolBar1Floating`, `ToolBar2Floating` and `HiinsatuLock`.
void ToolbarsBusyLock(const ProgramState& st, ToolbarModels models, bool busy);

// True when an unlock of the non-print row command would be refused now.
bool HiinsatuUnlockRefused(const ProgramState& st);
// Locks (true) or frees the non-print row command: the extended-functions
// menu's item 1 and the HIINSATU button of the extended toolbar in use (a
// hidden button of the floating toolbar is not changed), then `HiinsatuLock`.
// False, and nothing changed, when an unlock is refused.
bool HiinsatuLockSet(ProgramState& st, EditorMenus& menus, ToolbarModels models, bool locked);

}  // namespace kv
