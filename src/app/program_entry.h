#pragma once
// The program's entry: from a second-instance test to the shown main window
// with the untitled estimate, or with the estimate named on the command line.
#include <string>

namespace kv {

struct ProgramState;
struct StartupSteps;
class InstanceLock;

// What the platform hands the program when it starts.
struct StartupContext {
  // The folder of the program file: every program file is found there.
  std::string ProgramFolder;
  // The program file itself (what the customer variant stores for the
  // companion program).
  std::string ProgramFile;
  // The whole text after the program's name: one path of a packed estimate
  // file, used as it is; "" for none.
  std::string CommandLine;
  // The single-instance lock, held from here to the end of the program. Null:
  // no test for another instance.
  InstanceLock* Instance = nullptr;
};

// The start-up, in order: another instance running ends the program silently;
// the title screen; the customer variant (DAVIROV.INI [SysInfo] SysName holds
// "Varnok"): per-user values of the companion program; the machine name; the
// start-up initialisation; a warning when no printer is installed; the
// estimate named on the command line (lock, unpack, old-format check, the
// layout question, its settings) unless a recovery is pending; level 1 read;
// the main window loaded, set up and shown; its totals line; the toolbars'
// state; the level tree; the numbering sets; the recovery wizard when work
// files of a named estimate were left by an abnormal end.
//
// Returns once the main window is shown; from then on the program runs on the
// main window's events. Ends the program (Ui::EndProgram) where the start-up
// cannot go on: another instance, no base text, a work folder that cannot be
// made, a command-line file given up to another machine.
void Main(ProgramState& st, const StartupContext& ctx, const StartupSteps& steps);

}  // namespace kv
