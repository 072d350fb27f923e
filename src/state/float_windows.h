#pragma once
// The floating tool windows beside the editor (unit list, reference, search,
// classification masters, undocked toolbars, and the calculating window and
// title screen while they are up) sit in the topmost band. A message box or a
// modal dialog would be hidden behind them, so these routines lower them
// before and raise them after; plus restore, unload and unload-the-search-window.
// Each window is found open by its program-state flag alone.
#include <string_view>

#include "core/window_services.h"

namespace kv {

struct ProgramState;

// Window names of the floating windows (the editor's, kEditWindow, is in
// core/window_services.h).
inline constexpr std::string_view kSbMsgWindow = "SB_MsgFrm";
inline constexpr std::string_view kTitleWindow = "ST_Gamen";
inline constexpr std::string_view kUnitWindow = "UNIT2_Frm";
inline constexpr std::string_view kRefWindow = "RefSheet_Frm";
inline constexpr std::string_view kSearchWindow = "SchSheet_Frm";
inline constexpr std::string_view kSiwakeWindow = "KvSiwa_Frm";
inline constexpr std::string_view kToolBar1Window = "frmToolBar";
inline constexpr std::string_view kToolBar2Window = "FrmToolBar2";

// Topmost on (true) or off (false) for every open floating window: the
// calculating window (equipment edition) and the title screen (start-up)
// whatever their state, the others unless minimised. Put around a modal
// message box: false before, true after.
void FloatWindowsTopMostSet(ProgramState& st, bool flag);

// FloatWindowsTopMostSet on this state: the hook the message boxes of core/
// ask through. The state must outlive the hook.
FloatWindowsHook FloatWindowsHookOf(ProgramState& st);

// Topmost on for the open tool windows, minimised or not; the search window
// opened from the reference window ends up out of the band. After a modal
// dialog or busy window closes.
void FloatWindowsRaise(ProgramState& st);

// As FloatWindowsRaise, for the tool windows that are not minimised.
void FloatWindowsRaiseShown(ProgramState& st);

// Topmost on for the open tool windows that are not minimised (editor activated).
void FloatWindowsTopMost(ProgramState& st);

// Takes the open tool windows that are not minimised out of the topmost band
// and puts the editor at the bottom of the window order, so that a dialog being
// loaded shows above them all.
void FloatWindowsNoTopMost(ProgramState& st);

// Back to the normal state: unit list, reference, search and classification windows.
void FloatWindowsRestore(ProgramState& st);

// Unloads every open tool window (the search window once, though two flags may
// name it).
void FloatWindowsUnload(ProgramState& st);

// Unloads the search window when it is loaded.
void SearchWindowUnload(ProgramState& st);

}  // namespace kv
