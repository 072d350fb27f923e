#include "classify/windows/kv_siwa_window.h"

#include <QMenuBar>

#include "classify/kv_siwa_frm.h"
#include "classify/windows/siwa_prn_dialog.h"
#include "classify/windows/siwake_make_dialog.h"
#include "editor/windows/menu_bar_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/float_windows.h"
#include "state/program_state.h"

namespace kv {

KvSiwaWindow::KvSiwaWindow(ProgramState& st, QtUi& ui) : ToolWindow(st, ui, kSiwakeWindow, "SiwaSheet", true) {
  SiwaWindowPort port;
  BindToolPort(port);
  port.SetCaption = [this](const std::string& caption) { setWindowTitle(ToQ(caption)); };
  port.MenusChanged = [this] {
    if (menuView_) menuView_->Apply(logic_->Menus());
  };
  logic_ = std::make_unique<KvSiwa_Frm>(st_, sheet_, std::move(port));
  menuView_ = std::make_unique<MenuBarView>(*bar_, logic_->Menus(), [this](const std::string& name, int index) {
    if (name == "mnuFItem")
      logic_->mnuFItem_Click(index);
    else if (name == "mnuEItem")
      logic_->mnuEItem_Click(index);
    else if (name == "mnuVZItem")
      logic_->mnuVZItem_Click(index);
  });
}

KvSiwaWindow::~KvSiwaWindow() = default;

void KvSiwaWindow::Resized() {
  if (logic_) logic_->Form_Resize();
}

bool KvSiwaWindow::QueryUnload() { return logic_->Form_QueryUnload(); }

void RegisterSiwaWindow(QtUi& ui, ProgramState& st) {
  RegisterSiwakeMakeDialog(ui, st);
  RegisterSiwaPrnDialog(ui, st);
  ui.RegisterWindow(kSiwakeWindow, [&ui, &st]() -> QWidget* {
    auto* w = new KvSiwaWindow(st, ui);
    // The load decides whether the window opens at all (settings, master file).
    if (!w->Logic().Form_Load()) {
      delete w;
      return nullptr;
    }
    SetTopMost(*w, true);
    return w;
  });
}

}  // namespace kv
