#include "storage/work_folder_check.h"

#include <filesystem>
#include <system_error>

#include "platform/fs.h"
#include "state/program_state.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

// The path as the file system has it: existing elements resolved (letter
// case, links, ".."), the rest taken as written and normalised.
stdfs::path Resolved(const std::string& text) {
  std::error_code ec;
  stdfs::path abs = stdfs::absolute(stdfs::path(text), ec);
  if (ec) abs = stdfs::path(text);
  stdfs::path out = abs.root_path();
  bool onDisk = true;
  int written = 0;  // elements taken as written after the last one found on disk
  for (const stdfs::path& part : abs.relative_path()) {
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      // A folder that does not exist is no link: ".." simply takes it back.
      out = out.parent_path();
      if (written > 0 && --written == 0) onDisk = true;
      continue;
    }
    if (onDisk) {
      stdfs::path next = out / part;
      if (!stdfs::exists(stdfs::symlink_status(next, ec))) {
        if (std::optional<stdfs::path> found = fs::FindNoCase(out, part.string())) next = *found;
      }
      if (stdfs::exists(next, ec)) {
        stdfs::path real = stdfs::canonical(next, ec);
        if (!ec) {
          out = real;
          continue;
        }
      }
      onDisk = false;
      written = 1;
      out = next;
      continue;
    }
    out /= part;
    ++written;
  }
  return out.lexically_normal();
}

bool IsPrefix(const stdfs::path& folder, const stdfs::path& path) {
  auto f = folder.begin();
  auto p = path.begin();
  for (; f != folder.end(); ++f, ++p) {
    if (f->empty()) continue;  // a trailing separator
    if (p == path.end() || *f != *p) return false;
  }
  return true;
}

}  // namespace

bool PathIsInFolder(const std::string& path, const std::string& folder) {
  if (path.empty() || folder.empty()) return false;
  const stdfs::path file = Resolved(path);
  return IsPrefix(Resolved(folder), file.parent_path());
}

bool IsInWorkFolder(const ProgramState& st, const std::string& path) {
  return PathIsInFolder(path, st.AppPath + st.WorkFolderName);
}

bool IsInRefWorkFolder(const ProgramState& st, const std::string& path) {
  return PathIsInFolder(path, st.AppPath + "/WORK2");
}

}  // namespace kv
