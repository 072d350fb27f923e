// The main window's side of the cover tool hand-off: its own state, its
// enabling and the grid's focus for the hand-off logic.
#include "editor/cover_handoff.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/ui.h"
#include "state/program_state.h"

namespace kv {
namespace {

// Stand-in for `PrinterKey` of the print subsystem, which takes its place
// when it comes: the current printer's device name with "\" as "$" and "/"
// as "-"; "" without a printer.
std::string CoverPrinterKey(ProgramState& st) {
  if (!st.ui.PrinterInstalled()) return {};
  std::string key = st.ui.DefaultPrinterName();
  for (char& c : key) {
    if (c == '\\') c = '$';
    if (c == '/') c = '-';
  }
  return key;
}

}  // namespace

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
  port.PrinterKey = [this] { return CoverPrinterKey(st_); };
  kv::KVCoverProc(st_, ed_, port);
}

void EDTSHEET_FRM::MpCoverFileMake() { kv::MpCoverFileMake(st_, CoverPrinterKey(st_)); }

}  // namespace kv
