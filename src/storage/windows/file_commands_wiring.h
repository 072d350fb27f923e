#pragma once
// Hands the program its file commands: `st.fileCommands` set to `files`
// (which must outlive the program state's use of it) and the lock dialog
// registered with the Qt seam.
namespace kv {

class QtUi;
class FileCommands;
struct ProgramState;

void WireFileCommands(QtUi& ui, ProgramState& st, FileCommands& files);

}  // namespace kv
