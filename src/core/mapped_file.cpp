#include "core/mapped_file.h"

#include <setjmp.h>
#include <signal.h>
#include <sys/mman.h>

#include <cerrno>
#include <mutex>
#include <utility>

namespace kv {

MappedFile::MappedFile(int fd, size_t size, bool writable, bool populate, int& error) {
  error = 0;
  if (size == 0) {
    error = EINVAL;
    return;
  }
  const int prot = PROT_READ | (writable ? PROT_WRITE : 0);
  void* p = ::mmap(nullptr, size, prot, MAP_SHARED | (populate ? MAP_POPULATE : 0), fd, 0);
  if (p == MAP_FAILED) {
    error = errno;
    return;
  }
  data_ = static_cast<char*>(p);
  size_ = size;
}

MappedFile::~MappedFile() {
  if (data_) ::munmap(data_, size_);
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    if (data_) ::munmap(data_, size_);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

namespace {

// Where a bus error of this thread jumps to: the innermost guarded run, or
// none. Read by the signal handler on the same thread.
thread_local sigjmp_buf* volatile tJump = nullptr;

struct sigaction gEarlier {};  // the handler before ours
std::once_flag gInstalled;

void OnBusError(int sig, siginfo_t* info, void* context) {
  if (sigjmp_buf* const jump = tJump) {
    tJump = nullptr;
    siglongjmp(*jump, 1);
  }
  // Not a guarded run: what would have happened without the guard.
  if (gEarlier.sa_flags & SA_SIGINFO) {
    gEarlier.sa_sigaction(sig, info, context);
    return;
  }
  if (gEarlier.sa_handler != SIG_DFL && gEarlier.sa_handler != SIG_IGN) {
    gEarlier.sa_handler(sig);
    return;
  }
  // The default action: a fault happens again when the handler returns, a
  // signal sent by a program is raised again.
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  ::sigaction(SIGBUS, &fallback, nullptr);
  if (info == nullptr || info->si_code <= 0) ::raise(sig);
}

void Install() {
  struct sigaction act {};
  act.sa_sigaction = OnBusError;
  act.sa_flags = SA_SIGINFO;
  sigemptyset(&act.sa_mask);
  ::sigaction(SIGBUS, &act, &gEarlier);
}

}  // namespace

bool MappedAccess(void (*fn)(void*), void* arg) {
  std::call_once(gInstalled, Install);
  sigjmp_buf* const outer = tJump;
  sigjmp_buf jump;
  if (sigsetjmp(jump, 1) != 0) {
    tJump = outer;
    return false;
  }
  tJump = &jump;
  fn(arg);
  tJump = outer;
  return true;
}

}  // namespace kv
