#pragma once
// RefSheet_Frm ("参考画面-1"): the reference window, modeless and topmost,
// beside the editor. A menu bar (ﾌｧｲﾙ, ｺﾋﾟｰ, 画面, 拡張機能, ﾍﾙﾌﾟ) drawn from
// the window's menu model, the level bar (DM_Button 1..8, DMLabel 1..7), the
// level tree RefTreeView, the splitter RefSizer and the grid RefSheet. What
// the window does is the logic's (reference/ref_window.h); this class draws
// the controls, hands the user's actions over and applies the layout.
#include <QMainWindow>
#include <memory>
#include <vector>

#include "platform/grid/grid_model.h"
#include "platform/tree/tree_model.h"

class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QRubberBand;

namespace kv {

struct ProgramState;
class QtUi;
class GridView;
class TreeView;
class MenuBarView;
class RefSheetWindow;

class RefSheet_Frm : public QMainWindow {
 public:
  RefSheet_Frm(ProgramState& st, QtUi& ui);
  ~RefSheet_Frm() override;

  RefSheetWindow& Logic() { return *logic_; }
  GridModel& RefSheet() { return sheet_; }
  GridView* RefSheetView() const { return view_; }
  TreeView* RefTreeView() const { return treeView_; }
  TreeModel& RefTree() { return tree_; }
  QPushButton* DM_Button(int i) const;  // 1..8
  QLabel* DMLabel(int i) const;         // 1..7
  QFrame* RefSizer() const { return sizer_; }
  MenuBarView& Menus() { return *menuView_; }

 protected:
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  int Tw(int px) const;
  int Px(long twips) const;
  void DrawSizerLine(bool shown);

  ProgramState& st_;
  QtUi& ui_;
  GridModel sheet_;
  TreeModel tree_;
  QWidget* central_ = nullptr;
  GridView* view_ = nullptr;
  TreeView* treeView_ = nullptr;
  QFrame* sizer_ = nullptr;
  QRubberBand* sizerLine_ = nullptr;
  int sizerLineX_ = 0;
  bool sizerDragging_ = false;
  std::vector<QPushButton*> dmButtons_;
  std::vector<QLabel*> dmLabels_;
  QMenu* copyPopup_ = nullptr;
  std::unique_ptr<MenuBarView> menuView_;
  std::unique_ptr<RefSheetWindow> logic_;
  bool loaded_ = false;
  bool closing_ = false;
};

// Registers the window with the Qt seam under kRefWindow, and its depth
// dialog of the lower-level copy under kRefDMCopyWindow, and makes the window
// the program's reference services.
void RegisterRefWindow(QtUi& ui, ProgramState& st);

}  // namespace kv
