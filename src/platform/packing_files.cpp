#include "platform/packing_files.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <system_error>

#include "platform/fs.h"

namespace kv::packing {

namespace stdfs = std::filesystem;

std::string FoldCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) { return kv::fs::NameEqualsNoCase(a, b); }

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

bool IsPlainName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

std::string DottedExt(std::string_view ext) {
  if (ext.empty() || ext.front() == '.') return std::string(ext);
  return "." + std::string(ext);
}

std::optional<std::vector<std::string>> RegularFileNames(const stdfs::path& folder) {
  std::error_code ec;
  stdfs::directory_iterator it(folder, ec);
  if (ec) return std::nullopt;
  std::vector<std::string> names;
  for (; it != stdfs::directory_iterator(); it.increment(ec)) {
    std::error_code sec;
    if (it->is_regular_file(sec)) names.push_back(it->path().filename().string());
  }
  if (ec) return std::nullopt;
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::string> FindNoCase(const std::vector<std::string>& names, std::string_view wanted) {
  std::optional<std::string> found;
  for (const std::string& n : names) {
    if (n == wanted) return n;
    if (!found && EqualsNoCase(n, wanted)) found = n;
  }
  return found;
}

std::vector<std::string> AllNoCase(const std::vector<std::string>& names, std::string_view wanted) {
  std::vector<std::string> out;
  for (const std::string& n : names)
    if (EqualsNoCase(n, wanted)) out.push_back(n);
  return out;
}

bool SyncPath(const stdfs::path& p, bool folder) {
  int fd = ::open(p.c_str(), (folder ? O_RDONLY | O_DIRECTORY : O_RDWR) | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

TempFolder::TempFolder(const stdfs::path& parent, std::string_view tag) {
  std::string pattern = (parent / ("." + std::string(tag) + "-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempFolder::~TempFolder() {
  if (path_.empty()) return;
  std::error_code ec;
  stdfs::remove_all(path_, ec);
}

RenameJournal::~RenameJournal() { Rollback(); }

bool RenameJournal::Move(const stdfs::path& from, const stdfs::path& to) {
  std::error_code ec;
  if (stdfs::symlink_status(to, ec).type() != stdfs::file_type::not_found) return false;
  stdfs::rename(from, to, ec);
  if (ec) return false;
  done_.emplace_back(from, to);
  return true;
}

void RenameJournal::Rollback() {
  for (auto it = done_.rbegin(); it != done_.rend(); ++it) {
    std::error_code ec;
    stdfs::rename(it->second, it->first, ec);
  }
  done_.clear();
}

}  // namespace kv::packing
