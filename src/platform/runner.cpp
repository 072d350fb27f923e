#include "platform/runner.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

extern char** environ;

namespace kv {
namespace {

std::error_code Errno(int e) { return std::error_code(e, std::generic_category()); }

// Reaps the process when it is an ended child of ours; true when it was.
bool ReapIfChild(pid_t pid) {
  int status = 0;
  for (;;) {
    pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid) return true;
    if (r < 0 && errno == EINTR) continue;
    return false;
  }
}

int OpenPidFd(pid_t pid) { return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)); }

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> parts;
  std::string cur;
  bool inPart = false, quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inPart = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inPart) parts.push_back(std::move(cur));
      cur.clear();
      inPart = false;
    } else {
      cur.push_back(c);
      inPart = true;
    }
  }
  if (inPart) parts.push_back(std::move(cur));
  return parts;
}

long StartProgram(const std::string& program, const std::vector<std::string>& args,
                  const std::filesystem::path& workDir, std::error_code& ec) {
  ec.clear();
  if (program.empty()) {
    ec = Errno(ENOENT);
    return -1;
  }
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attr;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attr);
  if (!workDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
  // The program starts with no signal blocked and every handler at its default.
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &all);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  pid_t pid = -1;
  int rc = ::posix_spawnp(&pid, program.c_str(), &actions, &attr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  if (rc != 0) {
    ec = Errno(rc);
    return -1;
  }
  return pid;
}

bool ProcessRunning(long pid) {
  if (pid <= 0) return false;
  pid_t p = static_cast<pid_t>(pid);
  int status = 0;
  pid_t r;
  do r = ::waitpid(p, &status, WNOHANG);
  while (r < 0 && errno == EINTR);
  if (r == p) return false;  // our child, ended and now reaped
  if (r == 0) return true;   // our child, still running
  // Not a child of ours: ask whether the process exists.
  return ::kill(p, 0) == 0 || errno == EPERM;
}

bool WaitProcessEnd(long pid, int timeoutMs) {
  if (pid <= 0) return true;
  pid_t p = static_cast<pid_t>(pid);
  int fd = OpenPidFd(p);
  if (fd >= 0) {
    pollfd pfd{fd, POLLIN, 0};
    int r;
    do r = ::poll(&pfd, 1, timeoutMs < 0 ? 0 : timeoutMs);
    while (r < 0 && errno == EINTR);
    ::close(fd);
    if (r == 0) return false;  // still running after the timeout
    ReapIfChild(p);
    return true;
  }
  if (errno == ESRCH) return true;
  // No process descriptors here: look at the process every few milliseconds.
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (!ProcessRunning(pid)) return true;
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace kv
