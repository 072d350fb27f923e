#pragma once
// The single-instance lock: one running editor per user. The lock is an
// advisory lock on a file in the user's runtime folder; the system releases it
// when the holding process ends, so a crashed editor never leaves it held.
#include <filesystem>
#include <string_view>

namespace kv {

// The user's runtime folder ($XDG_RUNTIME_DIR), or the temporary folder when
// it is not set.
std::filesystem::path UserRuntimeFolder();

// The lock file of the program named `name`: "<name>.lock" in
// $XDG_RUNTIME_DIR, or "<name>-<user id>.lock" in /tmp.
std::filesystem::path InstanceLockPath(std::string_view name = "korvane");

class InstanceLock {
 public:
  enum class Result {
    Acquired,     // this object holds the lock now
    HeldByOther,  // another instance holds it
    Unavailable,  // the lock file cannot be opened; nothing can be told
  };

  explicit InstanceLock(std::filesystem::path lockFile = InstanceLockPath());
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Takes the lock without waiting. Taking it again while held is Acquired.
  Result TryAcquire();
  void Release();
  bool Held() const { return fd_ >= 0; }
  const std::filesystem::path& LockFile() const { return path_; }

 private:
  std::filesystem::path path_;
  int fd_ = -1;
};

}  // namespace kv
