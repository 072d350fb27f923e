#include "platform/durable_write.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstdio>

namespace kv::fs {

std::error_code Errno(int e) { return std::error_code(e, std::generic_category()); }

unsigned long Crc(std::string_view bytes) {
  return crc32_z(crc32_z(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.data()), bytes.size());
}

std::string Hex32(unsigned long v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08lx", v & 0xFFFFFFFFUL);
  return buf;
}

void SyncFolder(const std::filesystem::path& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool WriteNewFile(const std::filesystem::path& p, std::string_view bytes, std::error_code& ec) {
  int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    ec = Errno(errno);
    return false;
  }
  const char* at = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, at, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ec = Errno(n < 0 ? errno : EIO);
      ::close(fd);
      ::unlink(p.c_str());
      return false;
    }
    at += n;
    left -= static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    ec = Errno(errno);
    ::unlink(p.c_str());
    return false;
  }
  SyncFolder(p.parent_path());
  return true;
}

bool RecordableName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of(std::string_view("/\\\t\n\r\0", 6)) == std::string_view::npos;
}

}  // namespace kv::fs
