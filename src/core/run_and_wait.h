#pragma once
// Running an outside program while the user interface stays alive.
#include <string_view>
#include <system_error>

namespace kv {

class Ui;

// How often a running outside program is looked at; pending window events
// are processed between the looks.
inline constexpr int kProcessPollMs = 200;

// Returns when the process has ended: waits for it kProcessPollMs at a time
// and lets the user interface process its pending events after every wait
// that timed out. A process that does not exist (or an id of 0 or below)
// returns at once.
void WaitForProcess(Ui& ui, long pid);

// Starts the command line (the program, then its arguments; a part holding
// blanks is written in double quotes) and waits until its process ends
// (WaitForProcess). The program runs in its own folder, so a bare file name
// argument names a file beside it. `windowStyle` is the system's show-window
// style; programs here open their windows as they like. Returns the error
// when the program cannot be started (no wait then).
std::error_code RunAndWait(Ui& ui, std::string_view commandLine, int windowStyle);

}  // namespace kv
