#include "storage/windows/recovery_windows.h"

#include "platform/qt/qt_ui.h"
#include "storage/recovery_context.h"
#include "storage/windows/frm_change.h"
#include "storage/windows/frm_recover.h"

namespace kv {

void RegisterRecoveryWindows(QtUi& ui, ProgramState& st) {
  RegisterRecoveryWindows(ui, st, std::make_shared<RecoveryContext>());
}

void RegisterRecoveryWindows(QtUi& ui, ProgramState& st, std::shared_ptr<RecoveryContext> ctx) {
  ui.RegisterWindow(kRecoverWindow, [&st, ctx] { return new frmRecover(st, *ctx); });
  ui.RegisterWindow(kChangeWindow, [&st, ctx] { return new frmChange(st, *ctx); });
}

}  // namespace kv
