#pragma once
// Window services every part of the program shares: the standard warning box,
// the busy window, centring a window on the screen and making sure the editor
// window exists. They reach the user only through the UI seam.
#include <functional>
#include <string_view>

#include "platform/ui.h"

namespace kv {

// Title of the program's own message boxes.
inline constexpr std::string_view kMsgTitle = "TheKorvane";
// The busy window.
inline constexpr std::string_view kBusyWindow = "Msg_Frm";
// The editor window.
inline constexpr std::string_view kEditWindow = "EDTSHEET_FRM";

// What a modal box asks of the program's floating tool windows: to leave the
// topmost band before it shows (false) and to come back after it (true), so
// that they never hide it. The program state hands its own (state/warn_msg_box.h);
// empty: there are no floating windows.
using FloatWindowsHook = std::function<void(bool topMost)>;

// Calls the hook, when there is one.
void FloatWindowsAsk(const FloatWindowsHook& floatWindows, bool topMost);

// The standard warning: the floating tool windows are lowered, pending events
// run, the text is shown with the exclamation icon, one OK button and the title
// "TheKorvane", and the floating windows are raised again.
void WarnMsgBox(Ui& ui, std::string_view text, const FloatWindowsHook& floatWindows);

// Shows the busy window with a caption and one line of text and lets pending
// events run so that it paints. The caller unloads "Msg_Frm" when done.
void ProgressMsgShow(Ui& ui, std::string_view caption, std::string_view text);

// Where a window of the given size goes to sit in the middle of the screen:
// half the screen less half the window, each half without remainder.
WindowRect CenterFormRect(TextSize screen, WindowRect form);
// The same for a window in its normal state: (screen - window) / 2, rounded to
// the nearest whole pixel (halves to the even neighbour).
WindowRect CenterFormIfNormalRect(TextSize screen, WindowRect form);

// Centres a loaded window on the screen whatever its state.
void CenterForm(Ui& ui, std::string_view windowName);
// Centres a loaded window only when it is neither minimised nor maximised.
void CenterFormIfNormal(Ui& ui, std::string_view windowName);

// Makes sure the editor window exists (it is neither loaded nor shown).
void TouchEditForm(Ui& ui);

}  // namespace kv
