#include "storage/level_marks_clear.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>
#include <vector>

#include "core/record_file.h"
#include "platform/fs.h"
#include "state/program_state.h"
#include "storage/level_files.h"

namespace kv {

namespace {

// Bytes read at a time (whole records of the file), into room on the stack:
// fresh memory would cost page faults.
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

// Clears the marks of one level file. The file is read in large pieces and
// each mark byte found is replaced where it lies by a positioned write of
// that one byte: a record changes by that one byte, and a stop at any point
// leaves whole records, some cleared and the rest as they were.
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
  const size_t piece = std::max<size_t>(1, kPieceBytes / len) * len;
  char room[kPieceBytes];
  std::vector<char> larger(piece > kPieceBytes ? piece : 0);  // a record longer than the room
  char* const buf = piece > kPieceBytes ? larger.data() : room;
  bool changed = false;
  int err = 0;
  for (size_t start = 0; start < whole && err == 0;) {
    const size_t want = std::min(piece, whole - start);
    const ssize_t n = ::pread(fd, buf, want, static_cast<off_t>(start));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      err = errno;
      break;
    }
    const size_t records = static_cast<size_t>(n) / len;  // whole records read
    if (records == 0) break;                              // the file was cut meanwhile
    for (size_t pos = at; pos < records * len; pos += len) {
      if (buf[pos] != mark) continue;
      static constexpr char kBlank = ' ';
      ssize_t w;
      do w = ::pwrite(fd, &kBlank, 1, static_cast<off_t>(start + pos));
      while (w < 0 && errno == EINTR);
      if (w != 1) {
        err = w < 0 ? errno : EIO;
        break;
      }
      changed = true;
    }
    start += records * len;
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
