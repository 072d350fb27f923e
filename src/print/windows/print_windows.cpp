#include "print/windows/print_windows.h"

#include "editor/print_prep.h"
#include "platform/qt/qt_ui.h"
#include "print/windows/frm_orvi_ken.h"
#include "print/windows/frm_p1_setup.h"
#include "print/windows/frm_p2_setup.h"
#include "print/windows/frm_p3_setup.h"

namespace kv {

void RegisterPrintWindows(QtUi& ui, ProgramState& st) {
  ui.RegisterWindow(kPrintWindow, [&st] { return new frmP1SetUp(st); });
  ui.RegisterWindow(kPrintSetUpWindow, [&st] { return new frmP2SetUp(st); });
  ui.RegisterWindow(kPrintDetailWindow, [&st] { return new frmP3SetUp(st); });
  ui.RegisterWindow(kSpecialPrintWindow, [&st] { return new frmOrviKen(st); });
}

}  // namespace kv
