#pragma once
// KvSiwa_Frm ("< master > 内訳書"): the classification master window,
// modeless and topmost, shown without an owner. A menu bar drawn from the
// logic's menu tree over the grid `SiwaSheet`; the logic
// (classify/kv_siwa_frm.h) handles the grid's events, the menus, the resize
// and the close.
#include <QWidget>
#include <memory>

#include "platform/grid/grid_model.h"

class QMenuBar;

namespace kv {

struct ProgramState;
class QtUi;
class GridView;
class KvSiwa_Frm;
class MenuBarView;

class KvSiwaWindow : public QWidget {
 public:
  KvSiwaWindow(ProgramState& st, QtUi& ui);
  ~KvSiwaWindow() override;

  GridModel& SiwaSheet() { return sheet_; }
  GridView* SiwaSheetView() const { return view_; }
  MenuBarView& Menus() { return *menuView_; }
  KvSiwa_Frm& Logic() { return *logic_; }

 protected:
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
  QMenuBar* bar_ = nullptr;
  std::unique_ptr<MenuBarView> menuView_;
  std::unique_ptr<KvSiwa_Frm> logic_;
};

// Registers the window with the Qt seam under kSiwakeWindow (loaded only
// when its logic's load succeeds), and the classification file dialog.
void RegisterSiwaWindow(QtUi& ui, ProgramState& st);

}  // namespace kv
