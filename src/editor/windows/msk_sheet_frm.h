#pragma once
// MskSheet_Frm: the mask set-up window. Lists the current level's columns with
// a row of marks; its menu registers the marks and the screen's name, releases
// every mark, cancels or opens the help file. Modal, topmost, centred; its
// height is held at 1675 twips, its width is free.
#include <QDialog>

#include "platform/grid/grid_model.h"

class QAction;

namespace kv {

class GridView;
class QtUi;
struct ProgramState;

inline constexpr const char* kMaskWindow = "MskSheet_Frm";

class MskSheet_Frm : public QDialog {
 public:
  explicit MskSheet_Frm(ProgramState& st, QWidget* parent = nullptr);

  GridModel& MskSheet() { return grid_; }
  GridView* MskSheetView() const { return view_; }
  QAction* MaskRec() const { return rec_; }
  QAction* MaskCancel() const { return cancel_; }
  QAction* MaskOpen() const { return open_; }
  QAction* MaskHelp() const { return help_; }

  void MaskRec_Click();

 protected:
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  int HeldHeight() const;

  ProgramState& st_;
  GridModel grid_;
  GridView* view_ = nullptr;
  QAction* rec_ = nullptr;
  QAction* cancel_ = nullptr;
  QAction* open_ = nullptr;
  QAction* help_ = nullptr;
  bool firstShow_ = true;
};

// Makes the window known to the seam under kMaskWindow.
void RegisterMaskWindow(QtUi& ui, ProgramState& st);

}  // namespace kv
