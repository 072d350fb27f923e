#include "platform/machine.h"

#include <pwd.h>
#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace kv {

std::string LocalMachineName() {
  char buf[512];
  std::memset(buf, 0, sizeof buf);
  if (::gethostname(buf, sizeof buf - 1) != 0) return {};
  return std::string(buf, ::strnlen(buf, sizeof buf));
}

std::string LocalUserName() {
  const uid_t uid = ::geteuid();
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buf(static_cast<size_t>(size > 0 ? size : 16384));
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(uid, &entry, buf.data(), buf.size(), &found) == 0 && found && found->pw_name &&
      *found->pw_name)
    return found->pw_name;
  return std::to_string(uid);
}

long CurrentProcessId() { return static_cast<long>(::getpid()); }

bool ProcessExists(long pid) {
  if (pid <= 0 || pid != static_cast<long>(static_cast<pid_t>(pid))) return false;
  if (::kill(static_cast<pid_t>(pid), 0) == 0) return true;
  return errno == EPERM;  // there, but another user's
}

std::string RandomToken() {
  thread_local std::mt19937_64 rng(std::random_device{}());
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(rng()));
  return text;
}

}  // namespace kv
