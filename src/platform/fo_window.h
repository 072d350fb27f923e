#pragma once
// foWindow: holds one window (by its name, the handle of this platform) for the
// two operations nearly every dialog and tool window needs: centring itself on
// the screen and switching its always-on-top state. Attach, operate, Detach.
#include <string>
#include <string_view>

namespace kv {

class Ui;

class foWindow {
 public:
  explicit foWindow(Ui& ui) : ui_(ui) {}

  // Remembers the window, replacing any window attached before.
  void Attach(std::string_view hwnd) { hwnd_ = std::string(hwnd); }
  // Forgets the window; the window itself is left as it is.
  void Detach() { hwnd_.clear(); }

  // Centres the attached window on the screen whatever its state; nothing when
  // no loaded window is attached.
  void Center();

  // Reading never asks the window: always false.
  bool TopMost() const { return false; }
  // true puts the attached window into the topmost band, false takes it out.
  void TopMost(bool vNewValue);
  // As a number: -1 (true) selects the topmost band; any other value,
  // 1 included, takes the window out of it.
  void TopMost(int vNewValue);

 private:
  Ui& ui_;
  std::string hwnd_;  // "" = nothing attached
};

}  // namespace kv
