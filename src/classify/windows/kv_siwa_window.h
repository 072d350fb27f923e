#pragma once
// KvSiwa_Frm ("< master > 内訳書"): the classification master window,
// modeless and topmost, shown without an owner. A menu bar drawn from the
// logic's menu tree over the grid `SiwaSheet`; the logic
// (classify/kv_siwa_frm.h) handles the grid's events, the menus, the resize
// and the close.
#include <memory>

#include "editor/windows/tool_window.h"

namespace kv {

class KvSiwa_Frm;
class MenuBarView;

class KvSiwaWindow : public ToolWindow {
 public:
  KvSiwaWindow(ProgramState& st, QtUi& ui);
  ~KvSiwaWindow() override;

  GridModel& SiwaSheet() { return sheet_; }
  GridView* SiwaSheetView() const { return view_; }
  MenuBarView& Menus() { return *menuView_; }
  KvSiwa_Frm& Logic() { return *logic_; }

 protected:
  void Resized() override;
  bool QueryUnload() override;

 private:
  std::unique_ptr<MenuBarView> menuView_;
  std::unique_ptr<KvSiwa_Frm> logic_;
};

// Registers the window with the Qt seam under kSiwakeWindow (loaded only
// when its logic's load succeeds), the classification file dialog and the
// master print.
void RegisterSiwaWindow(QtUi& ui, ProgramState& st);

}  // namespace kv
