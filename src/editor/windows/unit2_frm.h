#pragma once
// UNIT2_Frm ("単位"): the unit list window, modeless and topmost, shown
// without an owner. A menu bar (ﾌｧｲﾙ: change mode, save, close; 編集: cut,
// copy, paste, delete; ﾍﾙﾌﾟ) over the grid `UNIT2SHEET` of sixty units; the
// logic (editor/unit_list.h) handles the grid's events, the menus, the resize
// and the close.
#include <memory>

#include "editor/windows/tool_window.h"

class QAction;
class QMenu;

namespace kv {

class UnitList;

class UNIT2_Frm : public ToolWindow {
 public:
  UNIT2_Frm(ProgramState& st, QtUi& ui);
  ~UNIT2_Frm() override;

  GridModel& UNIT2SHEET() { return sheet_; }
  GridView* UNIT2SHEETView() const { return view_; }
  // File menu items 0..3 (2 is the separator: null), Edit menu items 0..3.
  QAction* mnuFitem(int index) const;
  QAction* mnuEItem(int index) const;
  QAction* mnuHelp() const { return help_; }
  UnitList& Logic() { return *logic_; }

 protected:
  void showEvent(QShowEvent* e) override;
  void Resized() override;
  bool QueryUnload() override;

 private:
  QMenu* fileMenu_ = nullptr;
  QAction* fItems_[4] = {};
  QAction* eItems_[4] = {};
  QAction* help_ = nullptr;
  std::unique_ptr<UnitList> logic_;
  bool loaded_ = false;
};

// Registers the window with the Qt seam under kUnitWindow.
void RegisterUnitWindow(QtUi& ui, ProgramState& st);

}  // namespace kv
