#include "platform/fo_window.h"

#include "core/window_services.h"
#include "platform/ui.h"

namespace kv {

void foWindow::Center() {
  if (hwnd_.empty() || !ui_.IsWindowLoaded(hwnd_)) return;
  CenterForm(ui_, hwnd_);
}

void foWindow::TopMost(bool vNewValue) {
  if (hwnd_.empty()) return;
  ui_.SetWindowTopMost(hwnd_, vNewValue);
}

void foWindow::TopMost(int vNewValue) { TopMost(vNewValue == -1); }

}  // namespace kv
