#pragma once
// frmKoujiSht ("< estimate > 工事情報 "): the project-information window,
// modal and topmost. Menus "ﾌｧｲﾙ(&F)" (save, close), "編集(&E)" (cut, copy,
// paste, delete; also the grid's popup menu), "画面(&V)" > "ズーム" (100 %
// .. 60 %) and "ﾍﾙﾌﾟ(&H)" above the two-column grid `koujiSht`; the logic
// (editor/kouji_sht.h) handles the grid's events and the menus. The window
// is never smaller than 6000 × 4000 twips.
#include <QDialog>
#include <memory>

#include "platform/grid/grid_model.h"
#include "platform/ui.h"

class QAction;
class QMenu;

namespace kv {

struct ProgramState;
class QtUi;
class GridView;
class KoujiSht;

class frmKoujiSht : public QDialog {
 public:
  explicit frmKoujiSht(ProgramState& st, QWidget* parent = nullptr);
  ~frmKoujiSht() override;

  GridModel& koujiSht() { return grid_; }
  GridView* koujiShtView() const { return view_; }
  KoujiSht& Logic() { return *logic_; }
  // KoujiMenu_1sub(1, 5), KoujiMenu_2Sub(1..4), mnuVZItem(0..4), KoujiMenu3.
  QAction* FileItem(int index) const;
  QAction* EditItem(int index) const;
  QAction* ZoomItem(int index) const;
  QAction* HelpItem() const { return help_; }
  QMenu* EditMenu() const { return editMenu_; }

  // The window's rectangle in twips: its place and its inner size.
  WindowRect RectTwips() const;

 protected:
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  // Esc closes the window as its close button does.
  void reject() override;

 private:
  int Px(int twips) const;
  int Tw(int pixels) const;

  ProgramState& st_;
  GridModel grid_;
  GridView* view_ = nullptr;
  QAction* fileItems_[6] = {};
  QAction* editItems_[5] = {};
  QAction* zoomItems_[5] = {};
  QAction* help_ = nullptr;
  QMenu* editMenu_ = nullptr;
  std::unique_ptr<KoujiSht> logic_;
  bool centre_ = false;  // no rectangle kept: centred when first shown
  bool firstShow_ = true;
  bool closing_ = false;
};

// Registers the window with the Qt seam under kKoujiWindow.
void RegisterKoujiWindow(QtUi& ui, ProgramState& st);

}  // namespace kv
