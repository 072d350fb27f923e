#pragma once
// The orderly end of the program: the open estimate packed when work files
// were written since its last pack, the lock released, the program settings
// saved, the work folders emptied and removed.
#include <functional>
#include <string>

#include "state/sys_ini.h"

namespace kv {

struct ProgramState;

// What the shut-down asks of other parts of the program that it reaches
// through no service of the program state. A step left empty is skipped.
struct ShutdownSteps {
  // Deletes the lock file of the open estimate when it is ours.
  std::function<void(ProgramState&)> LanLockRelease;
  // The main window's rectangle and splitter for KVSSYS.INI. Empty: taken as
  // minimised (the stored rectangle stays).
  std::function<MainWindowPlacement(ProgramState&)> WindowPlacement;
  // Lets the main window's grid go.
  std::function<void(ProgramState&)> GridRelease;
};

// The shut-down. A named estimate with work files written since its last
// pack is compacted, given its page numbers and packed (its work files
// kept); when the user once declined or cancelled saving those changes the
// save question comes first (No: not packed, the program ends; Cancel: `ok`
// false, the program stays open). The pack comes after the lock test of Save: an estimate another user holds (or
// took from this program) is not written over; the user is told and asked
// whether to save it under another name (Yes: Save As; No: the program ends
// and the estimate file keeps the other user's work). `ok` false: the pack
// of the estimate was refused (and the user chose to stay), failed, or the
// Save As offered in its place did not save; nothing else has happened,
// `PackPending` is set again, and the caller keeps the main window open. Otherwise the program
// ends inside (Ui::EndProgram) and the routine does not return.
void AppShutdown(ProgramState& st, bool& ok, const ShutdownSteps& steps);

// Deletes every ordinary file of `folder` (read-only ones too; hidden files
// and subfolders stay), then removes the folder when that left it empty.
// Failures are passed over without a word.
void WorkFolderRemove(const std::string& folder);

}  // namespace kv
