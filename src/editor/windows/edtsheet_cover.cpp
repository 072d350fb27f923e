// The main window's side of the cover tool hand-off: its own state, its
// enabling and the grid's focus for the hand-off logic.
#include "editor/cover_handoff.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/grid/qt/grid_view.h"
#include "print/print_forms.h"
#include "platform/ui.h"
#include "state/program_state.h"

namespace kv {

void EDTSHEET_FRM::KVCoverProc() {
  CoverHandOffPort port;
  port.MainWindowState = [this] {
    if (isMinimized()) return WindowState::Minimized;
    if (isMaximized()) return WindowState::Maximized;
    return WindowState::Normal;
  };
  port.SetMainWindowState = [this](WindowState state) {
    Qt::WindowStates s = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == WindowState::Minimized) s |= Qt::WindowMinimized;
    if (state == WindowState::Maximized) s |= Qt::WindowMaximized;
    setWindowState(s);
  };
  port.SetMainWindowEnabled = [this](bool enabled) { setEnabled(enabled); };
  port.GridFocus = [this] { edtSheet_->setFocus(Qt::OtherFocusReason); };
  port.PrinterKey = [this] { return PrinterKey(st_); };
  kv::KVCoverProc(st_, ed_, port);
}

void EDTSHEET_FRM::MpCoverFileMake() { kv::MpCoverFileMake(st_, PrinterKey(st_)); }

}  // namespace kv
