#pragma once
// Lock files as the tests write and read them: the machine line, the holder
// line, and a process that no longer runs.
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace kv::test {

// The first line of a lock file: the machine it names ("" when missing).
inline std::string LockMachine(const std::filesystem::path& lock) {
  const std::string bytes = ReadAll(lock);
  return bytes.substr(0, bytes.find_first_of("\r\n"));
}

// The bytes of a lock written by another program of `machine`: process `pid`.
inline std::string HolderLock(const std::string& machine, long pid,
                              const std::string& token = "0123456789abcdef") {
  return machine + "\r\nsomeone " + std::to_string(pid) + " " + token + "\r\n";
}

// The id of a process that has ended (a child reaped at once).
inline long EndedProcessId() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  int status = 0;
  ::waitpid(child, &status, 0);
  return static_cast<long>(child);
}

}  // namespace kv::test
