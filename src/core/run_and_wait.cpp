#include "core/run_and_wait.h"

#include <filesystem>
#include <string>
#include <vector>

#include "platform/runner.h"
#include "platform/ui.h"

namespace kv {

void WaitForProcess(Ui& ui, long pid) {
  while (!WaitProcessEnd(pid, kProcessPollMs)) ui.ProcessEvents();
}

std::error_code RunAndWait(Ui& ui, std::string_view commandLine, int windowStyle) {
  std::vector<std::string> parts = SplitCommandLine(commandLine);
  if (parts.empty()) return std::make_error_code(std::errc::invalid_argument);
  std::string program = parts.front();
  parts.erase(parts.begin());
  std::error_code ec;
  // A program given with its folder runs in that folder (named absolutely,
  // since the folder changes before the program is loaded); a bare name is
  // looked up in PATH and runs in the current folder.
  std::filesystem::path folder;
  if (program.find('/') != std::string::npos) {
    std::filesystem::path full = std::filesystem::absolute(program, ec);
    if (ec) return ec;
    program = full.string();
    folder = full.parent_path();
  }
  long pid = StartProgram(program, parts, folder, ec);
  if (ec) return ec;
  WaitForProcess(ui, pid);
  return {};
}

}  // namespace kv
