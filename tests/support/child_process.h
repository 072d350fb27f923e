#pragma once
// Processes for the tests of who owns a file: one that keeps running (stopped)
// until the object goes, and the number of one that has ended.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kv::test {

class LiveProcess {
 public:
  LiveProcess() : pid_(::fork()) {
    if (pid_ == 0) {
      ::raise(SIGSTOP);
      ::_exit(0);
    }
  }
  ~LiveProcess() { End(); }
  LiveProcess(const LiveProcess&) = delete;
  LiveProcess& operator=(const LiveProcess&) = delete;

  pid_t pid() const { return pid_; }
  void End() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_;
};

// The process number of a child that has ended and been reaped.
inline pid_t EndedProcessId() {
  pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

}  // namespace kv::test
