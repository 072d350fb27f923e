#include "storage/work_files_replace.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kv {
namespace {

namespace stdfs = std::filesystem;

std::error_code Errno(int e) { return std::error_code(e, std::generic_category()); }

// The mode of an existing file that may be replaced; 0644 for a new one.
// False with `ec` for a file that is read-only or cannot be written.
bool WritableMode(const stdfs::path& path, mode_t& mode, std::error_code& ec) {
  struct stat s {};
  mode = 0644;
  if (::stat(path.c_str(), &s) != 0) {
    if (errno == ENOENT) return true;
    ec = Errno(errno);
    return false;
  }
  if (!S_ISREG(s.st_mode)) {
    ec = Errno(S_ISDIR(s.st_mode) ? EISDIR : EINVAL);
    return false;
  }
  // The superuser may write any file: a file without write permission is
  // refused all the same, as the user made it read-only.
  if ((s.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    ec = Errno(EACCES);
    return false;
  }
  if (::access(path.c_str(), W_OK) != 0) {
    ec = Errno(errno);
    return false;
  }
  mode = s.st_mode & 07777;
  return true;
}

}  // namespace

WorkFilesReplaced ReplaceWorkFiles(const std::vector<WorkFileContent>& files, stdfs::path& failed, std::error_code& ec,
                                   const fs::RenameObserver& observer) {
  ec.clear();
  if (files.empty()) return WorkFilesReplaced::All;
  std::vector<mode_t> modes(files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    if (!WritableMode(files[i].path, modes[i], ec)) {
      failed = files[i].path;
      return WorkFilesReplaced::None;
    }
  }
  // The temporaries go when this object does, unless the set was committed.
  fs::FileSetReplace replace(files.front().path.parent_path(), files.front().path.filename().string());
  for (size_t i = 0; i < files.size(); ++i) {
    failed = files[i].path;
    const stdfs::path temp = replace.Temporary(files[i].path.filename().string(), files[i].bytes, ec);
    if (temp.empty()) return WorkFilesReplaced::None;
    if (::chmod(temp.c_str(), modes[i]) != 0) {
      ec = Errno(errno);
      return WorkFilesReplaced::None;
    }
  }
  failed = files.front().path;
  if (replace.Commit(ec, observer)) return WorkFilesReplaced::All;
  return replace.committed() ? WorkFilesReplaced::Pending : WorkFilesReplaced::None;
}

}  // namespace kv
