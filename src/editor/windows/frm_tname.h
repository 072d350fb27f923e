#pragma once
// frmTName ("<level>.階層 合計名称"): the total-row names window, modal,
// centred and topmost. A menu "処理(&S)" (save, discard, close) above the
// one-row names grid; the logic (editor/total_names.h) handles the grid's
// events. The window's height is held at the grid's height + 750 twips.
#include <QDialog>
#include <memory>

#include "platform/grid/grid_model.h"

class QAction;

namespace kv {

struct ProgramState;
class QtUi;
class GridView;
class TotalNames;

inline constexpr const char* kTotalNamesWindow = "frmTName";

class frmTName : public QDialog {
 public:
  // `editorSheet`: the editor's sheet grid, whose totals line a save
  // refreshes (null when the editor is not loaded).
  frmTName(ProgramState& st, GridModel* editorSheet, QWidget* parent = nullptr);
  ~frmTName() override;

  GridModel& TotalSheet() { return sheet_; }
  GridView* TotalSheetView() { return view_; }
  QAction* MenuItem(int index) const;
  TotalNames& Logic() { return *logic_; }

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void HoldHeight();

  ProgramState& st_;
  GridModel sheet_;
  GridView* view_ = nullptr;
  QAction* items_[4] = {};
  std::unique_ptr<TotalNames> logic_;
  bool firstShow_ = true;
};

// Registers the window with the Qt seam under kTotalNamesWindow.
void RegisterTotalNamesWindow(QtUi& ui, ProgramState& st);

}  // namespace kv
