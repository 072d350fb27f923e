// The docked toolbars of the editor window: building their buttons, showing
// the extended toolbar, their stored arrangement and customise dialog, and
// the busy and non-print row locks on their buttons.
#include <QComboBox>
#include <QEvent>
#include <QPushButton>
#include <QToolBar>
#include <algorithm>

#include "core/ini_file.h"
#include "editor/toolbars/toolbar_arrangement.h"
#include "editor/toolbars/toolbar_locks.h"
#include "editor/toolbars/windows/toolbar_actions.h"
#include "editor/toolbars/windows/toolbar_customize_dialog.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/qt/window_helpers.h"
#include "platform/registry_store.h"
#include "platform/ui.h"
#include "state/menu_rules.h"
#include "state/print_services.h"
#include "state/program_state.h"

namespace kv {

namespace {

// A double click on the extended toolbar itself (not on one of its buttons)
// opens its customise dialog.
class DoubleClickWatcher : public QObject {
 public:
  DoubleClickWatcher(QWidget* watched, std::function<void()> onDoubleClick)
      : QObject(watched), onDoubleClick_(std::move(onDoubleClick)) {
    watched->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::MouseButtonDblClick) {
      onDoubleClick_();
      return true;
    }
    return false;
  }

 private:
  std::function<void()> onDoubleClick_;
};

RegistryStore SettingsStore() { return RegistryStore(RegistryFolder()); }

}  // namespace

void EDTSHEET_FRM::ToolBar1Init(ProgramState& st) {
  if (toolbar1Actions_) return;
  toolbar1Actions_ = new ToolbarActions(toolbar1Model_, this);
  toolbar1Actions_->clicked = [this](const std::string& key) { Toolbar1_ButtonClick(key); };
  // The combos take the width of their placeholders.
  auto placeholder = [this](std::string_view key) -> QWidget* {
    const ToolButtonDef* d = FindToolButton(BasicToolbarTable(), key);
    QComboBox* combo = key == "ZOOM" ? cmbZoom_ : key == "YOSI" ? cmbYosi_ : nullptr;
    if (!combo || !d) return nullptr;
    combo->setFixedWidth(Px(d->widthTw));
    combo->show();
    return combo;
  };
  toolbar1Actions_->AddTo(toolbar1_, placeholder, [this](int step) { SplashProgress(step); });

  // The zoom list, then the stored zoom's item (the nearest listed one):
  // selecting it runs the combo's handler, which applies the zoom. The list
  // is filled quietly, so only that selection is seen.
  const int zoomIndex = ZoomListIndex(st.KVZoom);
  {
    const QSignalBlocker quiet(cmbZoom_);
    cmbZoom_->clear();
    for (const std::string& item : ZoomListItems()) cmbZoom_->addItem(ToQ(item));
    cmbZoom_->setCurrentIndex(-1);
  }
  // Wider than its placeholder when " 200%" would not fit in it.
  cmbZoom_->setFixedWidth(std::max(cmbZoom_->width(), cmbZoom_->sizeHint().width()));
  cmbZoom_->setCurrentIndex(zoomIndex);
  if (st.print != nullptr) st.print->FillPaperCombo(st);
  SplashProgress(48);
}

void EDTSHEET_FRM::ToolBar2Init(ProgramState&) {
  if (toolbar2Actions_) return;
  toolbar2Actions_ = new ToolbarActions(toolbar2Model_, this);
  toolbar2Actions_->clicked = [this](const std::string& key) { Toolbar2_ButtonClick(key); };
  toolbar2Actions_->AddTo(toolbar2_, nullptr, [this](int step) { SplashProgress(step); });
  new DoubleClickWatcher(toolbar2_, [this] { Toolbar2_DblClick(); });
}

void EDTSHEET_FRM::ShowToolBar2(ProgramState& st, bool visible) {
  // While the extended toolbar floats its docked copy stays hidden.
  if (st.ToolBar2Floating) return;
  toolbar2_->setVisible(visible);
  const bool shown = !toolbar2_->isHidden();
  menus_.At("Menu_7Sub", 17).checked = shown;
  menus_.At("Menu_7Sub", 13).enabled = shown;
  IniPutString("TOOLBAR2", "Visible", shown ? "1" : "0", st.AppPath + "/KVSSYS.INI");
  MenusChanged();
  Form_Resize(st);
}

void EDTSHEET_FRM::ToolBarStateSet(ProgramState& st, bool busy) {
  st.CommandBusy = busy;
  st.ui.ProcessEvents();
  ToolbarsBusyLock(st, {toolbar1Model_, floatToolbar1Model_, toolbar2Model_, floatToolbar2Model_}, busy);
  // The docked extended toolbar as a whole; the docked basic one stays
  // enabled so that its combos, which test the busy flag, are not disabled.
  if (!st.ToolBar2Floating) toolbar2_->setEnabled(!busy);
  ToolbarsRefresh();
  if (!st.ToolBar1Floating) {
    cmbZoom_->raise();
    cmbYosi_->raise();
  }
  BusyLockMenus(menus_, st.SystemKind, busy);
  MenusChanged();
  // Every level button: a level move never starts inside a command.
  for (QPushButton* b : dmButtons_) b->setEnabled(!busy);
}

void EDTSHEET_FRM::HiinsatuStateSet(bool locked) {
  if (!HiinsatuLockSet(st_, menus_, {toolbar1Model_, floatToolbar1Model_, toolbar2Model_, floatToolbar2Model_},
                       locked))
    return;
  ToolbarsRefresh();
  MenusChanged();
}

void EDTSHEET_FRM::Toolbar1_Change() { ArrangementSave(SettingsStore(), kBasicArrangement, toolbar1Model_); }

void EDTSHEET_FRM::Toolbar2_Change() { ArrangementSave(SettingsStore(), kExtendedArrangement, toolbar2Model_); }

void EDTSHEET_FRM::Toolbar2ArrangementRestore() {
  ArrangementRestore(SettingsStore(), kExtendedArrangement, toolbar2Model_);
  if (toolbar2Actions_) toolbar2Actions_->ApplyOrder(toolbar2_);
  ToolbarsRefresh();
}

void EDTSHEET_FRM::Toolbar2_DblClick() {
  ToolbarArrangement arrangement = ArrangementOf(toolbar2Model_);
  if (!ToolbarCustomizeDialog::Run(this, ExtendedToolbarTable(), arrangement)) return;
  ApplyArrangement(toolbar2Model_, arrangement);
  if (toolbar2Actions_) toolbar2Actions_->ApplyOrder(toolbar2_);
  ToolbarsRefresh();
  Toolbar2_Change();
}

void EDTSHEET_FRM::ToolbarsRefresh() {
  if (toolbar1Actions_) toolbar1Actions_->Refresh();
  if (toolbar2Actions_) toolbar2Actions_->Refresh();
  if (floatToolbarsRefresh) floatToolbarsRefresh();
}

}  // namespace kv
