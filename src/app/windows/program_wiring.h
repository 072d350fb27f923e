#pragma once
// The start-up's, the shut-down's and the main window's steps as this build
// provides them: what exists is wired, what other parts of the program do not
// provide yet is left empty (each step says what then happens).
#include "app/app_shutdown.h"
#include "app/startup_steps.h"
#include "editor/windows/edtsheet_frm.h"

namespace kv {

class QtUi;
struct ProgramState;

// The main window when it is loaded, else null.
EDTSHEET_FRM* LoadedEditWindow(QtUi& ui);

StartupSteps ProgramStartupSteps(QtUi& ui);
ShutdownSteps ProgramShutdownSteps(QtUi& ui);
// What the main window is handed when it is made: the title screen's progress
// and its close steps, ending in the shut-down.
EditorWindowHooks ProgramEditorHooks(QtUi& ui, ProgramState& st, const ShutdownSteps& shutdown);

// Registers every window of the program with the seam: the small dialogs, the
// title screen, the options, font and about windows, the recovery wizard and
// its progress window, and the main window
// (made with `hooks`, its menu items of those windows and of help wired).
void RegisterProgramWindows(QtUi& ui, ProgramState& st, const std::string& programFolder,
                            const EditorWindowHooks& hooks);

}  // namespace kv
