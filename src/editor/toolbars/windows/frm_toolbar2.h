#pragma once
// FrmToolBar2 ("ﾂｰﾙﾊﾞｰ", caption bar "拡張ﾂｰﾙバー"): the floating extended
// toolbar. A topmost, sizable tool window whose buttons (the floating copy's
// model, owned by the editor) wrap onto further rows when the window is
// narrower than one row; it is never wider than one row of all entries and
// always as high as its rows. Its buttons run the editor's commands; "RTN",
// a double click on the buttons' area or on the caption docks it back.
// Docking back (however the window closes, never refused) shows the docked
// toolbar, enables the View menu's customise and extended-toolbar items,
// stores the window's rectangle under [TOOLBAR2] and hands the non-print-row
// lock back to the docked toolbar.
#include <QPointer>
#include <string>
#include <string_view>

#include "platform/qt/caption_bar.h"

class QLayout;
class QSizeGrip;
class QToolButton;

namespace kv {

class EDTSHEET_FRM;
class ToolbarActions;
class Ui;
struct ProgramState;

class FrmToolBar2 : public CaptionBarWindow {
 public:
  FrmToolBar2(ProgramState& st, EDTSHEET_FRM& editor, QWidget* parent = nullptr);
  ~FrmToolBar2() override;

  // Builds the 32 entries in table order: a tool button per button, a thin
  // line per separator.
  void FrmToolBar2Init();

  // The buttons' area and the button of a key (null when none).
  QWidget* Toolbar2() const { return toolbar2_; }
  QToolButton* Button(std::string_view key) const;
  ToolbarActions* Actions() const { return actions_; }
  // The widest the window may be: the button width times the number of
  // entries (separators included) plus 50 twips, in pixels.
  int WidthLimit() const;

  // The first activation restores the stored button arrangement and takes
  // over the docked non-print-row button's lock.
  void Form_Activate();
  // The width held at the limit, the height at the frame plus the rows the
  // buttons need at that width.
  void Form_Resize();
  void Toolbar2_ButtonClick(const std::string& key);
  // Shows the floating model on the buttons.
  void Refresh();

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  // Where the user's stored arrangement of the extended toolbar's buttons is
  // applied to this window's buttons.
  void ArrangementRestore();
  void Form_QueryUnload();
  int ButtonWidth() const;

  ProgramState& st_;
  QPointer<EDTSHEET_FRM> editor_;
  QWidget* toolbar2_ = nullptr;
  QLayout* wrap_ = nullptr;
  QSizeGrip* grip_ = nullptr;
  ToolbarActions* actions_ = nullptr;
  bool firstActivation_ = true;
  bool resizing_ = false;
  bool docked_ = false;
};

// Enables or disables the View menu's "ﾂｰﾙﾊﾞｰ設定(&T)..." (13) and
// "拡張ﾂｰﾙﾊﾞｰ" (17): off while the extended toolbar floats, so that it is
// never customised or shown docked beside its floating copy.
void ToolbarViewItemsEnable(EDTSHEET_FRM& editor, ProgramState& st, bool enabled);

// The floating extended toolbar when it is loaded, else null.
FrmToolBar2* LoadedFrmToolBar2(Ui& ui);
// The floating extended toolbar, loaded (not shown) when it is not yet; null
// when it cannot be made (no editor window).
FrmToolBar2* LoadFrmToolBar2(Ui& ui);

}  // namespace kv
