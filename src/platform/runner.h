#pragma once
// Starting outside programs and watching their processes.
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kv {

// Splits a command line into the program and its arguments: blanks separate
// the parts, a part in double quotes may hold blanks (the quotes are dropped).
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// Starts `program` (a path, or a bare name looked up in PATH) with `args`
// (not counting the program itself). The program runs in `workDir` when it
// is not empty, else in the current folder. Returns the process id, or -1
// with `ec` set when the program cannot be started.
long StartProgram(const std::string& program, const std::vector<std::string>& args,
                  const std::filesystem::path& workDir, std::error_code& ec);

// True while the process runs. A process started by this program that has
// ended is reaped here. A process id of 0 or below never runs.
bool ProcessRunning(long pid);

// Waits at most `timeoutMs` milliseconds for the process to end. True when it
// has ended (a process that does not exist has ended); an ended process
// started by this program is reaped.
bool WaitProcessEnd(long pid, int timeoutMs);

}  // namespace kv
