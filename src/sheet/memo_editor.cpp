#include "sheet/memo_editor.h"

namespace kv {

void OpenMemoEditor(ProgramState&, GridModel&, GridModel&, MemoEditorPort&) {}

void CommitMemoRow(ProgramState&, GridModel&, std::string) {}

}  // namespace kv
