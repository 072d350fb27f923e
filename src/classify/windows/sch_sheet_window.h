#pragma once
// SchSheet_Frm ("文字列検索"): the search window, modeless and topmost. The
// first line holds the search box, the 検索 button and the hit count; the
// second the path label and the 表示ｼﾞｬﾝﾌﾟ button; the result grid fills the
// rest. The logic (classify/sch_sheet_frm.h) does everything; this class
// draws the controls and hands the user's actions over.
#include <QWidget>
#include <memory>

#include "platform/grid/grid_model.h"

class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;

namespace kv {

struct ProgramState;
class QtUi;
class GridView;
class MenuBarView;
class SchSheet_Frm;

class SchSheetWindow : public QWidget {
 public:
  SchSheetWindow(ProgramState& st, QtUi& ui);
  ~SchSheetWindow() override;

  SchSheet_Frm& Logic() { return *logic_; }
  GridModel& SchSheet() { return sheet_; }
  GridView* SchSheetView() const { return view_; }
  QLineEdit* SearchTextBox() const { return searchText_; }
  QPushButton* CommandSearch() const { return search_; }
  QPushButton* CommandJump() const { return jump_; }
  QLabel* Label1() const { return label1_; }
  QLabel* DMLinkLabel() const { return linkLabel_; }
  MenuBarView& Menus() { return *menuView_; }

 protected:
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  int Tw(int px) const;
  int Px(int twips) const;
  void ShowControls();

  ProgramState& st_;
  QtUi& ui_;
  GridModel sheet_;
  QMenuBar* bar_ = nullptr;
  QWidget* area_ = nullptr;
  QLineEdit* searchText_ = nullptr;
  QPushButton* search_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* linkLabel_ = nullptr;
  QPushButton* jump_ = nullptr;
  GridView* view_ = nullptr;
  std::unique_ptr<MenuBarView> menuView_;
  std::unique_ptr<SchSheet_Frm> logic_;
  bool loaded_ = false;
};

// Registers the search window under kSearchWindow and the compound search
// dialog under kKensakuWindow with the Qt seam.
void RegisterSearchWindows(QtUi& ui, ProgramState& st);

}  // namespace kv
