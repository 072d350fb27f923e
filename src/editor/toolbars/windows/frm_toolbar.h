#pragma once
// frmToolBar ("基本ﾂｰﾙﾊﾞｰ"): the floating basic toolbar. A topmost tool window
// with a caption bar of its own, one row of the basic toolbar's buttons (the
// floating copy's model, owned by the editor) and its own zoom and paper
// combos, exactly as wide as the row up to the paper combo. Its buttons run
// the editor's commands; the auto-advance buttons also press the hidden
// docked button, and "RTN", a double click on the toolbar or the caption, or
// a drop of the window onto the editor's top strip docks it back. Closing it
// in any way docks it back and is never refused.
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/caption_bar.h"

class QComboBox;
class QToolBar;

namespace kv {

class EDTSHEET_FRM;
class QtUi;
class ToolbarActions;
class Ui;
struct ProgramState;

class frmToolBar : public CaptionBarWindow {
 public:
  // Loads the window over the editor: builds the buttons and fills the
  // combos (the zoom list's selection applies the zoom as a choice does).
  frmToolBar(ProgramState& st, EDTSHEET_FRM& editor, QWidget* parent = nullptr);
  ~frmToolBar() override;

  // Builds the buttons and the two combos, fills the zoom list (selecting
  // the item for KVZoom, which runs the zoom handler) and takes the paper
  // list of the editor's combo.
  void FrmToolBarInit();

  QToolBar* Toolbar1() const { return toolbar1_; }
  ToolbarActions* Actions() const { return actions_; }
  QComboBox* cmbZoom() const { return cmbZoom_; }
  QComboBox* cmbYosi() const { return cmbYosi_; }

  // Selections made by the program (the editor's combos keep this window's
  // in step): each runs the combo's handler as a user's choice does, and does
  // nothing when that item is already selected.
  void ZoomSelect(int index);
  void PaperSelect(int index);
  // Refills the paper list and shows the item `selected` (-1 none); a refill
  // is no choice and runs no handler.
  void FillPaperCombo(const std::vector<std::string>& captions, int selected);
  // The paper change behind a choice in this window's paper combo (the
  // editor's paper change with the roles of the two combos exchanged): it
  // gets the chosen index. Unset, a choice changes nothing.
  std::function<void(int index)> paperChosen;

  // Every activation: the combos to the front, the auto-advance button of
  // AutoDownFlag pressed.
  void Form_Activate();
  // One toolbar row inside the frame, as wide as the row up to the paper
  // combo's right edge plus 100 twips.
  void Form_Resize();
  void Toolbar1_ButtonClick(const std::string& key);
  void cmbZoom_Click();
  void cmbYosi_Click();
  // The caption dropped the window: docks back when its top lies in the
  // editor's top strip (above the sheet grid).
  void vsInForm1_Move();
  // Shows the floating model on the buttons.
  void Refresh();

 protected:
  bool event(QEvent* e) override;
  // A double click on the toolbar beside its buttons docks back.
  bool eventFilter(QObject* watched, QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  // Docking back: the docked toolbar shown again, the sheet given back its
  // room, ToolBar1Floating cleared, the focus to the editor.
  void Form_QueryUnload();
  int Px(int twips) const;

  ProgramState& st_;
  QPointer<EDTSHEET_FRM> editor_;
  QWidget* holder_ = nullptr;
  QToolBar* toolbar1_ = nullptr;
  QComboBox* cmbZoom_ = nullptr;
  QComboBox* cmbYosi_ = nullptr;
  ToolbarActions* actions_ = nullptr;
  bool docked_ = false;
};

// The floating basic toolbar when it is loaded, else null.
frmToolBar* LoadedFrmToolBar(Ui& ui);
// The floating basic toolbar, loaded (not shown) when it is not yet; null
// when it cannot be made (no editor window).
frmToolBar* LoadFrmToolBar(Ui& ui);

// The editor's side of the two combo pairs: each acts on the floating basic
// toolbar's combos when that window is loaded and does nothing otherwise
// (the window takes the lists and selections when it is made).
void FloatingZoomSelect(Ui& ui, int index);
void FloatingPaperSelect(Ui& ui, int index);
void FloatingPaperComboFill(Ui& ui, const std::vector<std::string>& captions, int selected);

// Registers both floating toolbars with the Qt seam under their names; each
// is made over the loaded editor window.
void RegisterFloatingToolbars(QtUi& ui, ProgramState& st);

// Shows the floating models on the buttons of whichever floating toolbars
// are loaded (the editor's refresh over every toolbar reaches them here).
void FloatingToolbarsRefresh(Ui& ui);

// After a docked toolbar was hidden or shown again: one layout pass, in
// which the sheet, the tree, the splitter and the level bar take or give up
// the toolbar's room.
void ToolbarRoomChanged(EDTSHEET_FRM& editor, ProgramState& st);

}  // namespace kv
