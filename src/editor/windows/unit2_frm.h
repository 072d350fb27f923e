#pragma once
// UNIT2_Frm ("単位"): the unit list window, modeless and topmost, shown
// without an owner. A menu bar (ﾌｧｲﾙ: change mode, save, close; 編集: cut,
// copy, paste, delete; ﾍﾙﾌﾟ) over the grid `UNIT2SHEET` of sixty units; the
// logic (editor/unit_list.h) handles the grid's events, the menus, the resize
// and the close.
#include <QWidget>
#include <memory>

#include "platform/grid/grid_model.h"

class QAction;
class QMenu;

namespace kv {

struct ProgramState;
class QtUi;
class GridView;
class UnitList;

class UNIT2_Frm : public QWidget {
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
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  int Tw(int px) const;
  int Px(int twips) const;

  ProgramState& st_;
  QtUi& ui_;
  GridModel sheet_;
  GridView* view_ = nullptr;
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
