// The editor window's View menu and the basic toolbar's zoom and paper combos:
// the window's side of the handlers in editor/view_menu.h.
#include <QAbstractItemModel>
#include <QComboBox>
#include <QToolBar>
#include <functional>

#include "editor/toolbars/windows/frm_toolbar.h"
#include "editor/view_menu.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/window_helpers.h"
#include "state/program_state.h"

namespace kv {

namespace {

// The window's menus, combos, status bar and toolbar as the handlers see them.
class EditorViewPort : public ViewMenuPort {
 public:
  EditorViewPort(EDTSHEET_FRM& w, ProgramState& st) : w_(w), st_(st) {}

  EditorMenus& Menus() override { return *w_.Menus(); }
  void MenusChanged() override { w_.MenusChanged(st_); }
  void StatusPanelSet(int panel, const std::string& text) override { w_.StatusPanelSet(panel, text); }
  bool SheetVisible() const override { return w_.EdtSheetView()->isVisible(); }
  void SheetFocus() override { w_.EdtSheetView()->setFocus(); }
  int ZoomComboIndex() const override { return w_.cmbZoom()->currentIndex(); }
  std::string ZoomComboText(int index) const override { return FromQ(w_.cmbZoom()->itemText(index)); }
  int PaperComboIndex() const override { return w_.cmbYosi()->currentIndex(); }
  void PaperComboSelect(int index) override {
    QComboBox* combo = w_.cmbYosi();
    if (index >= 0 && index < combo->count()) combo->setCurrentIndex(index);
  }
  // The floating basic toolbar keeps its own combos in step when it exists.
  void FloatingZoomSelect(int index) override { kv::FloatingZoomSelect(st_.ui, index); }
  void FloatingPaperSelect(int index) override { kv::FloatingPaperSelect(st_.ui, index); }
  bool Toolbar2Visible() const override { return !w_.Toolbar2()->isHidden(); }
  void Toolbar2Customise() override { w_.Toolbar2_DblClick(); }

 private:
  EDTSHEET_FRM& w_;
  ProgramState& st_;
};

// Runs a handler of the View menu over this window.
void OnView(EDTSHEET_FRM& w, ProgramState& st, const std::function<void(ViewMenu&)>& handler) {
  EditorViewPort port(w, st);
  ViewMenu v{st, w.EdtSheet(), port};
  handler(v);
}

// Tells the selections a program makes from the index moves a combo makes
// by itself while its list is filled or emptied (the first item added to an
// empty list becomes selected): those run no handler.
class ComboListWatch : public QObject {
 public:
  explicit ComboListWatch(QComboBox* combo) : QObject(combo) {
    QAbstractItemModel* m = combo->model();
    // Connected after the combo's own handling of the same signals, so the
    // flag is still set while the combo moves its index.
    const auto on = [this] { changing_ = true; };
    const auto off = [this] { changing_ = false; };
    connect(m, &QAbstractItemModel::rowsAboutToBeInserted, this, on);
    connect(m, &QAbstractItemModel::rowsInserted, this, off);
    connect(m, &QAbstractItemModel::rowsAboutToBeRemoved, this, on);
    connect(m, &QAbstractItemModel::rowsRemoved, this, off);
    connect(m, &QAbstractItemModel::modelAboutToBeReset, this, on);
    connect(m, &QAbstractItemModel::modelReset, this, off);
  }
  bool ListChanging() const { return changing_; }

 private:
  bool changing_ = false;
};

// Runs `handler` for every selection of the combo that changes its index,
// by the user or by the program, but not for the list being filled.
void OnComboSelection(EDTSHEET_FRM& w, QComboBox* combo, std::function<void()> handler) {
  auto* watch = new ComboListWatch(combo);
  QObject::connect(combo, &QComboBox::currentIndexChanged, &w, [watch, handler = std::move(handler)](int index) {
    if (index >= 0 && !watch->ListChanging()) handler();
  });
}

}  // namespace

void EDTSHEET_FRM::WireViewMenu() {
  ProgramState& st = st_;
  const auto wire = [this, &st](const std::string& name, int index,
                                std::function<void(ViewMenu&, int)> handler) {
    WireMenu(
        name, [this, &st, handler](int i) { OnView(*this, st, [&](ViewMenu& v) { handler(v, i); }); }, index);
  };
  for (int item : kViewMenuItems) wire("Menu_7Sub", item, [](ViewMenu& v, int i) { Menu_7Sub_Click(v, i); });
  wire("PeparSerect", kAllItems, [](ViewMenu& v, int i) { PeparSerect_Click(v, i); });
  wire("MaskGamen", kAllItems, [](ViewMenu& v, int i) { MaskGamen_Click(v, i); });
  wire("Line_Style", kAllItems, [](ViewMenu& v, int i) { Line_Style_Click(v, i); });
  // The hidden items.
  wire("ZoomSub", kAllItems, [](ViewMenu& v, int i) { ZoomSub_Click(v, i); });
  wire("CoPrinPos", kAllItems, [](ViewMenu& v, int i) { CoPrinPos_Click(v, i); });
  wire("TEST", -1, [](ViewMenu& v, int) { TEST_Click(v); });
  wire("TEST2", -1, [](ViewMenu& v, int) { TEST2_Click(v); });
  // The input-method switch has nothing to switch here.
  WireMenu("IME_Mode", [](int) {}, -1);

  OnComboSelection(*this, cmbZoom_, [this, &st] { OnView(*this, st, [](ViewMenu& v) { cmbZoom_Click(v); }); });
  OnComboSelection(*this, cmbYosi_, [this, &st] { OnView(*this, st, [](ViewMenu& v) { cmbYosi_Click(v); }); });
}

}  // namespace kv
