#include "calc/kept_read_buffers.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <map>
#include <mutex>

namespace kv {
namespace {

std::mutex& PoolMutex() {
  static std::mutex m;
  return m;
}
std::map<std::size_t, std::string>& Pool() {
  static std::map<std::size_t, std::string> pool;
  return pool;
}

std::error_code Errno(int e) { return std::error_code(e, std::generic_category()); }

constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;

// Room for `size` bytes, asked for in large pages where the system offers
// them (a hint): records are read all over a file, in chain order, and small
// pages would cost a translation miss for nearly every record.
void Reserve(std::string& out, std::size_t size) {
  if (out.capacity() >= size) return;
  out.reserve(size);
  const auto begin = reinterpret_cast<std::uintptr_t>(out.data());
  const std::uintptr_t first = (begin + kLargePage - 1) / kLargePage * kLargePage;
  const std::uintptr_t last = (begin + out.capacity()) / kLargePage * kLargePage;
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace

std::string TakeReadBuffer(std::size_t slot) {
  std::lock_guard<std::mutex> lock(PoolMutex());
  auto it = Pool().find(slot);
  if (it == Pool().end()) return {};
  std::string out = std::move(it->second);
  Pool().erase(it);
  return out;
}

void GiveBackReadBuffer(std::size_t slot, std::string&& buffer) {
  std::lock_guard<std::mutex> lock(PoolMutex());
  std::string& kept = Pool()[slot];
  if (buffer.capacity() > kept.capacity()) kept = std::move(buffer);
}

bool ReadWholeFileInto(const std::filesystem::path& path, std::string& out, std::error_code& ec) {
  ec.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat s {};
  if (fd < 0 || ::fstat(fd, &s) != 0 || S_ISDIR(s.st_mode)) {
    ec = Errno(fd < 0 ? errno : EISDIR);
    if (fd >= 0) ::close(fd);
    return false;
  }
  // Sized as the file is now; a file that grows meanwhile is read to its end.
  Reserve(out, static_cast<std::size_t>(s.st_size));
  out.resize(static_cast<std::size_t>(s.st_size));
  std::size_t got = 0;
  for (;;) {
    if (got == out.size()) out.resize(out.size() + 65536);
    const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ec = Errno(errno);
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  out.resize(got);
  return true;
}

}  // namespace kv
