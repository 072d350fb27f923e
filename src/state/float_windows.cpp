#include "state/float_windows.h"

#include <array>

#include "platform/fo_window.h"
#include "platform/ui.h"
#include "state/program_state.h"

namespace kv {

namespace {

// A floating window as the routines visit it: its number in the visiting
// order, its window and whether its flag says it is open.
struct FloatSlot {
  int no;
  std::string_view window;
  bool open;
};

// Windows 3 .. 9: the tool windows. 5 and 6 are the same search window, open
// by itself (5) or from the reference window (6).
std::array<FloatSlot, 7> ToolWindows(const ProgramState& st) {
  return {{{3, kUnitWindow, st.UnitWindowOpen},
           {4, kRefWindow, st.RefWindowOpen},
           {5, kSearchWindow, st.SearchWindowOpen},
           {6, kSearchWindow, st.RefSearchOpen},
           {7, kSiwakeWindow, st.SiwakeWindowOpen},
           {8, kToolBar1Window, st.ToolBar1Floating},
           {9, kToolBar2Window, st.ToolBar2Floating}}};
}

bool Minimized(ProgramState& st, std::string_view window) {
  return st.ui.GetWindowState(window) == WindowState::Minimized;
}

void SetTopMost(ProgramState& st, std::string_view window, bool flag) {
  foWindow w(st.ui);
  w.Attach(window);
  w.TopMost(flag);
  w.Detach();
}

void Raise(ProgramState& st, bool skipMinimized) {
  for (const FloatSlot& s : ToolWindows(st)) {
    if (!s.open || (skipMinimized && Minimized(st, s.window))) continue;
    SetTopMost(st, s.window, s.no != 6);
  }
}

}  // namespace

void FloatWindowsTopMostSet(ProgramState& st, bool flag) {
  if (st.SystemKind == 1 && st.SbMsgShown) SetTopMost(st, kSbMsgWindow, flag);
  if (st.StartingUp) SetTopMost(st, kTitleWindow, flag);
  for (const FloatSlot& s : ToolWindows(st))
    if (s.open && !Minimized(st, s.window)) SetTopMost(st, s.window, flag);
}

FloatWindowsHook FloatWindowsHookOf(ProgramState& st) {
  return [&st](bool flag) { FloatWindowsTopMostSet(st, flag); };
}

void FloatWindowsRaise(ProgramState& st) { Raise(st, false); }

void FloatWindowsRaiseShown(ProgramState& st) { Raise(st, true); }

void FloatWindowsTopMost(ProgramState& st) {
  for (const FloatSlot& s : ToolWindows(st))
    if (s.open && !Minimized(st, s.window)) st.ui.SetWindowTopMost(s.window, true);
}

void FloatWindowsNoTopMost(ProgramState& st) {
  for (const FloatSlot& s : ToolWindows(st))
    if (s.open && !Minimized(st, s.window)) st.ui.SetWindowTopMost(s.window, false);
  st.ui.SendWindowToBottom(kEditWindow);
}

void FloatWindowsRestore(ProgramState& st) {
  for (const FloatSlot& s : ToolWindows(st))
    if (s.open && (s.no == 3 || s.no == 4 || s.no == 5 || s.no == 7))
      st.ui.SetWindowState(s.window, WindowState::Normal);
}

void FloatWindowsUnload(ProgramState& st) {
  std::array<FloatSlot, 7> slots = ToolWindows(st);
  // Visiting order: 3, 6, 4, 5, 7, 8, 9.
  static constexpr std::array<int, 7> kOrder{0, 3, 1, 2, 4, 5, 6};
  bool searchUnloaded = false;
  for (int i : kOrder) {
    const FloatSlot& s = slots[i];
    if (!s.open) continue;
    if (s.window == kSearchWindow) {
      // Both search flags name one window: unloading it a second time would
      // load it afresh just to unload it again.
      if (searchUnloaded) continue;
      searchUnloaded = true;
    }
    st.ui.UnloadWindow(s.window);
  }
}

void SearchWindowUnload(ProgramState& st) {
  if (!st.SearchSheetLoaded) return;
  st.ui.UnloadWindow(kSearchWindow);
  st.SearchSheetLoaded = false;
}

}  // namespace kv

