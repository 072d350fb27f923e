#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace kv {

std::filesystem::path UserRuntimeFolder() {
  const char* dir = std::getenv("XDG_RUNTIME_DIR");
  if (dir && *dir) return dir;
  return "/tmp";
}

std::filesystem::path InstanceLockPath(std::string_view name) {
  const char* dir = std::getenv("XDG_RUNTIME_DIR");
  if (dir && *dir) return std::filesystem::path(dir) / (std::string(name) + ".lock");
  // The shared temporary folder: one lock file per user.
  return std::filesystem::path("/tmp") /
         (std::string(name) + "-" + std::to_string(::getuid()) + ".lock");
}

InstanceLock::InstanceLock(std::filesystem::path lockFile) : path_(std::move(lockFile)) {}

InstanceLock::~InstanceLock() { Release(); }

InstanceLock::Result InstanceLock::TryAcquire() {
  if (fd_ >= 0) return Result::Acquired;
  // Close-on-exec: a program started by the editor must not inherit the lock.
  // No-follow: a link planted in a shared folder is not opened.
  int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return Result::Unavailable;
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) break;
    if (errno == EINTR) continue;
    int e = errno;
    ::close(fd);
    return e == EWOULDBLOCK ? Result::HeldByOther : Result::Unavailable;
  }
  fd_ = fd;
  return Result::Acquired;
}

void InstanceLock::Release() {
  if (fd_ < 0) return;
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

}  // namespace kv
