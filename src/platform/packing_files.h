#pragma once
// File-system helpers shared by the packing calls: names compared without
// regard to letter case, a private temporary folder, and a journal of renames
// that can be undone, so that an unpacked work set is moved in whole or not
// at all. (Files replaced on disk for good go through file_set_replace.h,
// which also holds when the process is stopped.)
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kv::packing {

// ASCII letters folded to upper case; other bytes (Japanese text) unchanged.
std::string FoldCase(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool EndsWithNoCase(std::string_view s, std::string_view suffix);

// A name that is one path component: not empty, not "." or "..", and without
// "/", "\" or NUL.
bool IsPlainName(std::string_view name);

// "OPD" -> ".OPD"; ".OPD" stays.
std::string DottedExt(std::string_view ext);

// Names of the regular files (or links to them) directly in folder, sorted.
// nullopt when the folder cannot be read.
std::optional<std::vector<std::string>> RegularFileNames(const std::filesystem::path& folder);

// The name among names equal to wanted without regard to case; the exact
// spelling wins over the others.
std::optional<std::string> FindNoCase(const std::vector<std::string>& names, std::string_view wanted);

// Every name among names equal to wanted without regard to case.
std::vector<std::string> AllNoCase(const std::vector<std::string>& names, std::string_view wanted);

// Flushes a file's or a folder's data to the disk; false on failure.
bool SyncPath(const std::filesystem::path& p, bool folder);

// A new, empty, hidden folder inside parent, removed with everything in it
// when the object goes.
class TempFolder {
 public:
  explicit TempFolder(const std::filesystem::path& parent, std::string_view tag);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  bool ok() const { return !path_.empty(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Renames done so far, undone in reverse order by Rollback (or by the
// destructor unless Commit was called). Move refuses to replace an existing
// file.
class RenameJournal {
 public:
  RenameJournal() = default;
  ~RenameJournal();
  RenameJournal(const RenameJournal&) = delete;
  RenameJournal& operator=(const RenameJournal&) = delete;

  bool Move(const std::filesystem::path& from, const std::filesystem::path& to);
  void Commit() { done_.clear(); }
  void Rollback();

 private:
  std::vector<std::pair<std::filesystem::path, std::filesystem::path>> done_;
};

}  // namespace kv::packing
