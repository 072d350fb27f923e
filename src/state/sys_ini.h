#pragma once
// The program settings file KVSSYS.INI: the user's working state between runs.

namespace kv {

struct ProgramState;

// What the saving needs of the main window (rectangle in twips).
struct MainWindowPlacement {
  bool minimized = false;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int sizerLeft = 0;  // left position of the tree/sheet splitter
};

// Reads the program's keys of AppPath/KVSSYS.INI (needs LevelCount), loads the
// classification masters it names that exist, and reads the item layout of
// the base text. Missing keys read as -1 or "". False when the item layout
// was refused.
bool SysIniLoad(ProgramState& st);

// Writes them back at the end of the program; the main window's rectangle and
// splitter only when it is not minimised, its size never below 4200 twips.
// False (after a message) when the file cannot be written.
bool SysIniSave(ProgramState& st, const MainWindowPlacement& window);

// Shows the mask-screen names just loaded in the editor's menu and the name of
// screen 0 in status panel 3.
void MaskMenuCaptionSet(ProgramState& st);

}  // namespace kv
