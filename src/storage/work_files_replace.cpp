#include "storage/work_files_replace.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>

#include "core/record_file.h"
#include "platform/record_journal.h"

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

// A set is written in place when every file's old size is known and the
// bytes to write are at most this share of the files: the journal then holds
// every changed byte once more, while a whole-file replacement writes every
// byte of every file.
constexpr std::uint64_t kInPlaceShare = 4;

// The in-place writes of the set, or nullopt when it is better replaced whole.
std::optional<std::vector<fs::FilePatch>> InPlacePatches(const std::vector<WorkFileContent>& files) {
  std::vector<fs::FilePatch> patches;
  std::uint64_t written = 0, total = 0;
  for (const WorkFileContent& f : files) {
    if (!f.oldSize) return std::nullopt;
    fs::FilePatch p{f.path.filename().string(), f.bytes.size(), {}};
    const std::string_view bytes = f.bytes;
    const size_t old = static_cast<size_t>(std::min<std::uint64_t>(*f.oldSize, bytes.size()));
    for (const auto& [at, length] : f.changed) {
      if (at >= old) continue;
      p.writes.emplace_back(at, bytes.substr(at, std::min(length, old - at)));
      written += p.writes.back().second.size();
    }
    if (bytes.size() > old) {
      p.writes.emplace_back(old, bytes.substr(old));
      written += bytes.size() - old;
    }
    total += bytes.size();
    patches.push_back(std::move(p));
  }
  if (written * kInPlaceShare > total) return std::nullopt;
  return patches;
}

WorkFilesReplaced PatchWorkFiles(const std::vector<WorkFileContent>& files, std::vector<fs::FilePatch> patches,
                                 stdfs::path& failed, std::error_code& ec, const fs::RenameObserver& observer) {
  const stdfs::path folder = files.front().path.parent_path();
  std::string failedName;
  const fs::PatchOutcome done =
      fs::PatchThroughJournal(folder, files.front().path.filename().string(), patches, failedName, ec, observer);
  for (const WorkFileContent& f : files) RecordFileChanged(f.path);
  if (done == fs::PatchOutcome::Done) return WorkFilesReplaced::All;
  failed = folder / failedName;
  return done == fs::PatchOutcome::Untouched ? WorkFilesReplaced::None : WorkFilesReplaced::Pending;
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
  if (std::optional<std::vector<fs::FilePatch>> patches = InPlacePatches(files))
    return PatchWorkFiles(files, std::move(*patches), failed, ec, observer);
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
