#pragma once
// The title screen refuses the start while a sibling program runs: the
// utility (window titles beginning "KVUTL") or the system settings program
// ("DI32DUVADODAZ").
#include <string>
#include <vector>

namespace kv {

struct ProgramState;

// The titles of the titled top-level windows of the desktop, topmost first.
std::vector<std::string> ListTopWindows();

// The first title that begins (exactly, letter case and all) with a sibling
// program's prefix decides: its message (OK, title "DI32DODA", floating windows
// lowered around it), then the program ends. No such title: nothing happens.
void SiblingProgramCheck(ProgramState& st, const std::vector<std::string>& titles);

}  // namespace kv
