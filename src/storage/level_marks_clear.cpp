#include "storage/level_marks_clear.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <system_error>

#include "platform/fs.h"
#include "state/program_state.h"
#include "storage/level_files.h"

namespace kv {

namespace {

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

// Clears the marks of one level file. The file is mapped and each mark byte
// replaced where it lies: a record changes by that one byte, and a stop at
// any point leaves whole records, some cleared and the rest as they were.
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
  if (whole > 0) {
    void* map = ::mmap(nullptr, whole, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (map == MAP_FAILED) {
      const int err = errno;
      ::close(fd);
      return {false, path, ErrnoText(err)};
    }
    char* bytes = static_cast<char*>(map);
    for (size_t pos = at; pos < whole; pos += len)
      if (bytes[pos] == mark) bytes[pos] = ' ';
    ::munmap(map, whole);
  }
  if (::close(fd) != 0) return {false, path, ErrnoText(errno)};
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
