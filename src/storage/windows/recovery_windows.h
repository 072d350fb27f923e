#pragma once
// Registers the recovery's windows with the Qt seam: the wizard "frmRecover"
// and its progress window "frmChange", sharing one recovery context.
#include <memory>

namespace kv {

class QtUi;
struct ProgramState;
struct RecoveryContext;

void RegisterRecoveryWindows(QtUi& ui, ProgramState& st);

// The same with a given context (tests set its pauses and read its outcome).
void RegisterRecoveryWindows(QtUi& ui, ProgramState& st, std::shared_ptr<RecoveryContext> ctx);

}  // namespace kv
