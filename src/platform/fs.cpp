#include "platform/fs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <random>

namespace kv::fs {
namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Length of the UTF-8 sequence that starts with c (1 for a stray byte).
size_t Utf8SeqLen(unsigned char c) {
  if (c >= 0xF0 && c <= 0xF4) return 4;
  if (c >= 0xE0 && c <= 0xEF) return 3;
  if (c >= 0xC2 && c <= 0xDF) return 2;
  return 1;
}

std::error_code Errno(int e) { return std::error_code(e, std::generic_category()); }

// The path whose file system answers for `path`: the path itself when it
// exists, else its folder when that exists; nullopt otherwise.
std::optional<stdfs::path> ExistingAnchor(const stdfs::path& path) {
  std::error_code ec;
  if (!path.empty() && stdfs::exists(path, ec)) return path;
  stdfs::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  if (stdfs::is_directory(folder, ec)) return folder;
  return std::nullopt;
}

// File-system magic numbers of the network file systems.
constexpr long kNfsMagic = 0x6969;
constexpr long kSmbMagic = 0x517B;
constexpr unsigned long kCifsMagic = 0xFF534D42UL;
constexpr unsigned long kSmb2Magic = 0xFE534D42UL;

bool IsNetworkFs(const struct statfs& s) {
  unsigned long t = static_cast<unsigned long>(s.f_type) & 0xFFFFFFFFUL;
  return t == static_cast<unsigned long>(kNfsMagic) || t == static_cast<unsigned long>(kSmbMagic) ||
         t == kCifsMagic || t == kSmb2Magic;
}

bool WriteAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

// A name for the temporary file beside `target`: hidden, unlikely to clash.
std::string TempName(const stdfs::path& target) {
  static std::atomic<unsigned> counter{0};
  thread_local std::mt19937 rng(std::random_device{}());
  return "." + target.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-" +
         std::to_string(counter++) + "-" + std::to_string(rng() % 1000000);
}

void SyncFolder(const stdfs::path& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool NameEqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

bool HasWildcard(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

bool WildcardMatchNoCase(std::string_view name, std::string_view pattern) {
  if (pattern == "*.*") pattern = "*";
  size_t n = 0, p = 0;
  size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
      continue;
    }
    if (p < pattern.size() && pattern[p] == '?') {
      ++p;
      n += std::min(Utf8SeqLen(static_cast<unsigned char>(name[n])), name.size() - n);
      continue;
    }
    if (p < pattern.size() && FoldAscii(pattern[p]) == FoldAscii(name[n])) {
      ++p;
      ++n;
      continue;
    }
    if (starP == std::string_view::npos) return false;
    // Let the last "*" take one more character and try again from there.
    p = starP + 1;
    starN += std::min(Utf8SeqLen(static_cast<unsigned char>(name[starN])), name.size() - starN);
    n = starN;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::optional<stdfs::path> FindNoCase(const stdfs::path& folder, std::string_view name) {
  if (name.empty() || name.find('/') != std::string_view::npos) return std::nullopt;
  const stdfs::path dir = folder.empty() ? stdfs::path(".") : folder;
  std::error_code ec;
  stdfs::path exact = dir / stdfs::path(std::string(name));
  if (stdfs::symlink_status(exact, ec).type() != stdfs::file_type::not_found && !ec)
    return folder.empty() ? stdfs::path(std::string(name)) : exact;
  std::optional<std::string> best;
  for (stdfs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (NameEqualsNoCase(entry, name) && (!best || entry < *best)) best = entry;
  }
  if (!best) return std::nullopt;
  return folder.empty() ? stdfs::path(*best) : folder / *best;
}

stdfs::path ResolveNoCase(const stdfs::path& path) {
  if (!path.has_filename()) return path;
  std::error_code ec;
  if (stdfs::symlink_status(path, ec).type() != stdfs::file_type::not_found && !ec) return path;
  auto found = FindNoCase(path.parent_path(), path.filename().string());
  return found ? *found : path;
}

bool IsHidden(const stdfs::path& path) {
  std::string name = path.filename().string();
  return !name.empty() && name[0] == '.' && name != "." && name != "..";
}

DriveKind DriveKindOf(const stdfs::path& path) {
  auto anchor = ExistingAnchor(path);
  if (!anchor) return DriveKind::NoRoot;
  struct statfs s {};
  if (::statfs(anchor->c_str(), &s) != 0) return DriveKind::NoRoot;
  if (IsNetworkFs(s)) return DriveKind::Remote;
  if (s.f_flags & ST_RDONLY) return DriveKind::CdRom;
  return DriveKind::Fixed;
}

std::optional<DiskSpace> DiskSpaceOf(const stdfs::path& path) {
  auto anchor = ExistingAnchor(path);
  if (!anchor) return std::nullopt;
  struct statvfs s {};
  if (::statvfs(anchor->c_str(), &s) != 0) return std::nullopt;
  DiskSpace d;
  d.freeClusters = s.f_bavail;
  d.clusterSize = s.f_frsize ? s.f_frsize : s.f_bsize;
  return d;
}

bool WriteFileAtomic(const stdfs::path& path, std::string_view bytes, std::error_code& ec, Flush flush) {
  ec.clear();
  if (!path.has_filename()) {
    ec = Errno(EISDIR);
    return false;
  }
  // Replace the file a symbolic link names, not the link.
  stdfs::path target = path;
  std::error_code lec;
  if (stdfs::is_symlink(path, lec)) {
    target = stdfs::weakly_canonical(path, lec);
    if (lec) {
      ec = lec;
      return false;
    }
  }
  stdfs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";

  struct stat old {};
  bool hadOld = false;
  if (::stat(target.c_str(), &old) == 0) {
    hadOld = true;
    if (S_ISDIR(old.st_mode)) {
      ec = Errno(EISDIR);
      return false;
    }
    if (!S_ISREG(old.st_mode)) {
      ec = Errno(EINVAL);
      return false;
    }
    if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
      ec = Errno(EACCES);
      return false;
    }
    if (::access(target.c_str(), W_OK) != 0) {
      ec = Errno(errno);
      return false;
    }
  } else if (errno != ENOENT) {
    ec = Errno(errno);
    return false;
  }

  stdfs::path temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = folder / TempName(target);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    ec = Errno(errno);
    return false;
  }
  auto fail = [&](int e) {
    if (fd >= 0) ::close(fd);
    ::unlink(temp.c_str());
    ec = Errno(e);
    return false;
  };
  if (hadOld) {
    ::fchmod(fd, old.st_mode & 07777);
    if (::geteuid() == 0) (void)::fchown(fd, old.st_uid, old.st_gid);
  }
  if (!WriteAll(fd, bytes)) return fail(errno);
  if (flush == Flush::Flushed && ::fsync(fd) != 0) return fail(errno);
  int closeResult = ::close(fd);
  fd = -1;
  if (closeResult != 0) return fail(errno);
  if (::rename(temp.c_str(), target.c_str()) != 0) return fail(errno);
  if (flush == Flush::Flushed) SyncFolder(folder);
  return true;
}

std::optional<std::string> ReadFileBytes(const stdfs::path& path, std::error_code& ec) {
  ec.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    ec = Errno(errno);
    return std::nullopt;
  }
  std::string out;
  struct stat s {};
  if (::fstat(fd, &s) == 0 && S_ISDIR(s.st_mode)) {
    ::close(fd);
    ec = Errno(EISDIR);
    return std::nullopt;
  }
  if (s.st_size > 0) out.reserve(static_cast<size_t>(s.st_size));
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      ec = Errno(errno);
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    out.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return out;
}

std::vector<stdfs::path> MatchingFiles(const stdfs::path& folder, std::string_view pattern,
                                       std::error_code& ec) {
  ec.clear();
  std::vector<stdfs::path> out;
  const stdfs::path dir = folder.empty() ? stdfs::path(".") : folder;
  stdfs::directory_iterator it(dir, ec);
  for (stdfs::directory_iterator end; !ec && it != end; it.increment(ec)) {
    const stdfs::path& p = it->path();
    std::string name = p.filename().string();
    if (IsHidden(p) || !WildcardMatchNoCase(name, pattern)) continue;
    std::error_code sec;
    if (!it->is_regular_file(sec)) continue;
    out.push_back(folder.empty() ? stdfs::path(name) : p);
  }
  if (ec) out.clear();
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace kv::fs
