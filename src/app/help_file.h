#pragma once
// The program's help file, help_v.chm in the program folder.
namespace kv {

struct ProgramState;

// Opens the help file with the desktop's viewer for it when the file is
// there; otherwise nothing happens.
void HelpOpen(ProgramState& st);

}  // namespace kv
