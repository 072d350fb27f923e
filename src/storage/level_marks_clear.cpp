#include "storage/level_marks_clear.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>
#include <vector>

#include "core/mapped_file.h"
#include "core/record_file.h"
#include "platform/fs.h"
#include "state/program_state.h"
#include "storage/level_files.h"

namespace kv {

namespace {

// Bytes read at a time (whole records of the file) where the file cannot be
// mapped, into room on the stack: fresh memory would cost page faults.
constexpr size_t kPieceBytes = size_t{64} << 10;

std::string ErrnoText(int err) { return std::error_code(err, std::generic_category()).message(); }

// A level file that may be read but not written: fine while no record
// carries the mark.
LevelMarksClearResult CheckUnwritable(const std::filesystem::path& path, int openError, size_t len, size_t at,
                                      char mark) {
  std::error_code ec;
  const std::optional<std::string> bytes = fs::ReadFileBytes(path, ec);
  if (!bytes) return {false, path, ec.message()};
  for (size_t r = 0; r < bytes->size() / len; ++r)
    if ((*bytes)[r * len + at] == mark) return {false, path, ErrnoText(openError)};
  return {};
}

// Clears the marks of one level file read in large pieces, each mark byte
// replaced where it lies by a positioned write of that one byte: a record
// changes by that one byte, and a stop at any point leaves whole records,
// some cleared and the rest as they were. For a file that cannot be mapped.
int ClearByWrites(int fd, size_t whole, size_t len, size_t at, char mark, bool& changed) {
  const size_t piece = std::max<size_t>(1, kPieceBytes / len) * len;
  char room[kPieceBytes];
  std::vector<char> larger(piece > kPieceBytes ? piece : 0);  // a record longer than the room
  char* const buf = piece > kPieceBytes ? larger.data() : room;
  for (size_t start = 0; start < whole;) {
    const size_t want = std::min(piece, whole - start);
    const ssize_t n = ::pread(fd, buf, want, static_cast<off_t>(start));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    const size_t records = static_cast<size_t>(n) / len;  // whole records read
    if (records == 0) break;                              // the file was cut meanwhile
    for (size_t pos = at; pos < records * len; pos += len) {
      if (buf[pos] != mark) continue;
      static constexpr char kBlank = ' ';
      ssize_t w;
      do w = ::pwrite(fd, &kBlank, 1, static_cast<off_t>(start + pos));
      while (w < 0 && errno == EINTR);
      if (w != 1) return w < 0 ? errno : EIO;
      changed = true;
    }
    start += records * len;
  }
  return 0;
}

// The marks of a mapped file, cleared in the mapping: one pass over the
// records, a blank stored over each mark found. Only the pages holding a
// mark are written; each store changes one byte of one record.
struct MappedClearing {
  char* bytes;
  size_t whole, len, at;
  char mark;
  volatile bool changed;
  void operator()() {
    for (size_t pos = at; pos < whole; pos += len) {
      if (bytes[pos] != mark) continue;
      changed = true;
      bytes[pos] = ' ';
    }
  }
};

// Clears the marks of one level file, through a mapping of its whole
// records where the file system allows one. A bus error on the mapping (the
// file cut by another program, no room for a page written) stops the
// clearing as a failed write does.
LevelMarksClearResult ClearFile(const std::filesystem::path& path, size_t len, size_t at, char mark) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    if (err == EACCES || err == EROFS || err == EPERM) return CheckUnwritable(path, err, len, at, mark);
    return {false, path, ErrnoText(err)};
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const int err = errno;
    ::close(fd);
    return {false, path, ErrnoText(err)};
  }
  const size_t whole = static_cast<size_t>(info.st_size) / len * len;  // a partial tail stays untouched
  bool changed = false;
  int err = 0;
  if (whole > 0) {
    int mapError = 0;
    MappedFile map(fd, whole, true, true, mapError);
    if (map) {
      MappedClearing clearing{map.data(), whole, len, at, mark, false};
      if (!MappedAccess(clearing)) err = EIO;
      changed = clearing.changed;
    } else {
      err = ClearByWrites(fd, whole, len, at, mark, changed);
    }
  }
  if (changed) RecordFileChanged(path);
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err != 0) return {false, path, ErrnoText(err)};
  return {};
}

}  // namespace

LevelMarksClearResult NotPrnLevelLineClear(const ProgramState& st, std::string_view workBase, int recordLength,
                                           char mark, int position) {
  if (recordLength <= 0 || position < 1 || position > recordLength) return {};
  for (int level = 1; level <= st.LevelCount && level <= kMaxLevels; ++level) {
    const std::filesystem::path path = LevelFilePath(st, workBase, level);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) continue;
    LevelMarksClearResult r =
        ClearFile(path, static_cast<size_t>(recordLength), static_cast<size_t>(position - 1), mark);
    if (!r.ok) return r;
  }
  return {};
}

}  // namespace kv
