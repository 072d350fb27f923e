#include "calc/kept_level_files.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string_view>

#include "core/stored_number.h"

namespace kv {
namespace {

std::mutex& PoolMutex() {
  static std::mutex m;
  return m;
}
std::map<std::size_t, KeptLevelFile>& Pool() {
  static std::map<std::size_t, KeptLevelFile> pool;
  return pool;
}

// The link fields of a record: its own, next and child numbers.
constexpr std::size_t kLinkAt = 3;
constexpr std::size_t kLinkBytes = 3 * kStoredNumberWidth;

std::error_code Errno(int e) { return std::error_code(e, std::generic_category()); }

constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;

// Room for `size` bytes, asked for in large pages where the system offers
// them (a hint): records are read all over a file, in chain order, and small
// pages would cost a translation miss for nearly every record.
void Reserve(std::string& out, std::size_t size) {
  if (out.capacity() >= size) return;
  out.clear();  // what it held is read over: not copied into the new room
  out.reserve(size);
  const auto begin = reinterpret_cast<std::uintptr_t>(out.data());
  const std::uintptr_t first = (begin + kLargePage - 1) / kLargePage * kLargePage;
  const std::uintptr_t last = (begin + out.capacity()) / kLargePage * kLargePage;
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

// A file is read a part at a time, so that what is done with each part
// finds it still in the cache.
constexpr std::size_t kReadPart = std::size_t{1} << 20;

// Reads the file at `path` into `out` as ReadWholeFileInto does; `onRead`
// sees the bytes read so far after each part.
bool ReadInParts(const std::filesystem::path& path, std::string& out, std::error_code& ec,
                 const std::function<void(std::size_t)>& onRead) {
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
    const ssize_t n = ::read(fd, out.data() + got, std::min(out.size() - got, kReadPart));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ec = Errno(errno);
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
    if (onRead) onRead(got);
  }
  ::close(fd);
  out.resize(got);
  return true;
}

// Whether the kept links stand for `size` bytes of records of this length
// and base (only the records whose link fields differ then need reading).
bool KeptLinksFit(const KeptLevelFile& file, int recordLength, bool hex, std::size_t size) {
  const std::size_t length = static_cast<std::size_t>(recordLength);
  return file.linksKnown && file.recordLength == recordLength && file.hex == hex && recordLength > 0 &&
         size % length == 0 && file.linkFields.size() == size / length * kLinkBytes;
}

// Records [from, to) of `file.bytes` against the kept link fields: the links
// of each record whose fields differ read again.
void RefreshRecords(KeptLevelFile& file, std::size_t length, std::size_t from, std::size_t to) {
  const std::string_view bytes = file.bytes;
  for (std::size_t i = from; i < to; ++i) {
    const std::string_view rec = bytes.substr(i * length, length);
    char* kept = file.linkFields.data() + i * kLinkBytes;
    if (std::string_view(kept, kLinkBytes) == rec.substr(kLinkAt, kLinkBytes)) continue;
    rec.copy(kept, kLinkBytes, kLinkAt);
    file.links.Add(static_cast<int>(i) + 1, rec);
  }
}

}  // namespace

KeptLevelFile TakeKeptLevelFile(std::size_t slot) {
  std::lock_guard<std::mutex> lock(PoolMutex());
  auto it = Pool().find(slot);
  if (it == Pool().end()) return {};
  KeptLevelFile out = std::move(it->second);
  Pool().erase(it);
  return out;
}

void KeepLevelFile(std::size_t slot, KeptLevelFile&& file) {
  std::lock_guard<std::mutex> lock(PoolMutex());
  Pool().insert_or_assign(slot, std::move(file));
}

bool ReadWholeFileInto(const std::filesystem::path& path, std::string& out, std::error_code& ec) {
  return ReadInParts(path, out, ec, {});
}

LevelFileProblem RefreshLinks(KeptLevelFile& file, int recordLength, bool hex) {
  const std::string_view bytes = file.bytes;
  const std::size_t length = static_cast<std::size_t>(recordLength);
  const std::size_t count = bytes.size() / length;
  if (!KeptLinksFit(file, recordLength, hex, bytes.size())) {
    file.linksKnown = false;
    file.linkFields.clear();
    if (LevelFileProblem p = file.links.Read(bytes, recordLength, hex)) return p;
    file.linkFields.reserve(count * kLinkBytes);
    for (std::size_t at = 0; at < bytes.size(); at += length) file.linkFields.append(bytes.substr(at + kLinkAt, kLinkBytes));
    file.linksKnown = true;
    file.recordLength = recordLength;
    file.hex = hex;
    return {};
  }
  RefreshRecords(file, length, 0, count);
  return {};
}

bool ReadLevelFileInto(const std::filesystem::path& path, KeptLevelFile& file, int recordLength, bool hex,
                       std::error_code& ec, LevelFileProblem& problem) {
  problem = {};
  // The links of the records read so far are refreshed after each part, when
  // the kept links fit the file's size as it was when opened; otherwise (or
  // when the file changed size meanwhile) all of them once at the end.
  std::error_code sizeEc;
  const std::uintmax_t size = std::filesystem::file_size(path, sizeEc);
  const std::size_t length = static_cast<std::size_t>(recordLength);
  const bool fits = !sizeEc && KeptLinksFit(file, recordLength, hex, static_cast<std::size_t>(size));
  std::size_t done = 0;  // records refreshed
  const auto onRead = [&](std::size_t got) {
    if (!fits || got > size) return;
    const std::size_t whole = got / length;
    RefreshRecords(file, length, done, whole);
    done = whole;
  };
  if (!ReadInParts(path, file.bytes, ec, fits ? std::function<void(std::size_t)>(onRead) : nullptr)) return false;
  if (fits && file.bytes.size() == size && done == size / length) return true;
  problem = RefreshLinks(file, recordLength, hex);
  return true;
}

}  // namespace kv
