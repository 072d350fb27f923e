#pragma once
// The print dialogs, registered with the Qt seam under their own names
// ("frmP1SetUp", "frmP2SetUp", "frmP3SetUp", "frmOrviKen").
namespace kv {

class QtUi;
struct ProgramState;

void RegisterPrintWindows(QtUi& ui, ProgramState& st);

}  // namespace kv
