#include "core/window_services.h"

#include <cmath>

namespace kv {

void FloatWindowsAsk(const FloatWindowsHook& floatWindows, bool topMost) {
  if (floatWindows) floatWindows(topMost);
}

void WarnMsgBox(Ui& ui, std::string_view text, const FloatWindowsHook& floatWindows) {
  FloatWindowsAsk(floatWindows, false);
  ui.ProcessEvents();
  ui.MsgBox(text, vbOKOnly + vbExclamation, kMsgTitle);
  FloatWindowsAsk(floatWindows, true);
}

void ProgressMsgShow(Ui& ui, std::string_view caption, std::string_view text) {
  ui.SetWindowText(kBusyWindow, "", caption);
  ui.ShowModeless(kBusyWindow);
  ui.SetWindowText(kBusyWindow, "Label", text);
  ui.ProcessEvents();
}

WindowRect CenterFormRect(TextSize screen, WindowRect form) {
  form.left = screen.width / 2 - form.width / 2;
  form.top = screen.height / 2 - form.height / 2;
  return form;
}

WindowRect CenterFormIfNormalRect(TextSize screen, WindowRect form) {
  form.left = static_cast<int>(std::nearbyint((screen.width - form.width) / 2.0));
  form.top = static_cast<int>(std::nearbyint((screen.height - form.height) / 2.0));
  return form;
}

void CenterForm(Ui& ui, std::string_view windowName) {
  auto bounds = ui.WindowBounds(windowName);
  if (!bounds) return;
  WindowRect r = CenterFormRect(ui.ScreenSize(), *bounds);
  ui.MoveWindow(windowName, r.left, r.top);
}

void CenterFormIfNormal(Ui& ui, std::string_view windowName) {
  auto bounds = ui.WindowBounds(windowName);
  if (!bounds || ui.GetWindowState(windowName) != WindowState::Normal) return;
  WindowRect r = CenterFormIfNormalRect(ui.ScreenSize(), *bounds);
  ui.MoveWindow(windowName, r.left, r.top);
}

void TouchEditForm(Ui& ui) { ui.TouchWindow(kEditWindow); }

}  // namespace kv
